// The program as a process: one copy per machine.
#include "app/brindle_app.h"
#include "platform/process/single_instance.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace
{

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// A started copy of the program, killed at the end if still running.
class Program
{
public:
    Program(const std::filesystem::path& workDir, const std::filesystem::path& output)
    {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT, 0644);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        posix_spawn_file_actions_addchdir_np(&actions, workDir.c_str());
        const char* argv[] = {BRINDLE_EXE, "--headless", nullptr};
        EXPECT_EQ(posix_spawn(&pid, BRINDLE_EXE, &actions, nullptr, const_cast<char* const*>(argv),
                              environ),
                  0);
        posix_spawn_file_actions_destroy(&actions);
    }
    ~Program()
    {
        if (pid > 0 && !exited)
        {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
    }

    // The exit status once the process has ended within `limit`.
    std::optional<int> WaitExit(std::chrono::milliseconds limit)
    {
        const auto end = Clock::now() + limit;
        while (Clock::now() < end)
        {
            int status = 0;
            if (::waitpid(pid, &status, WNOHANG) == pid)
            {
                exited = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(10ms);
        }
        return std::nullopt;
    }

    void Signal(int signal) { ::kill(pid, signal); }

private:
    pid_t pid = -1;
    bool exited = false;
};

bool LockHeldElsewhere()
{
    platform::InstanceLock probe(kInstanceMutexName);
    return !probe.Acquired() && probe.AlreadyExists();
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit)
{
    const auto end = Clock::now() + limit;
    while (Clock::now() < end)
    {
        if (condition())
            return true;
        std::this_thread::sleep_for(10ms);
    }
    return condition();
}

TEST(SingleInstance, SecondCopyEndsAtOnceWhileFirstRuns)
{
    testing_support::TempDir dir;
    testing_support::ScopedEnv config("BRINDLE_CONFIG_DIR", (dir / "config").string());
    ASSERT_FALSE(LockHeldElsewhere()) << "another Brindle runs on this machine";

    Program first(dir.Path(), dir / "first.out");
    ASSERT_TRUE(WaitUntil(LockHeldElsewhere, 10s)) << "first copy did not start";

    const auto started = Clock::now();
    Program second(dir.Path(), dir / "second.out");
    EXPECT_EQ(second.WaitExit(5s), 0);
    EXPECT_LT(Clock::now() - started, 2s);
    EXPECT_EQ(dir.Read("second.out"), "") << "the second copy shows nothing";
    EXPECT_FALSE(first.WaitExit(0ms)) << "the first copy goes on";

    // Closing the first copy releases the lock for the next one.
    first.Signal(SIGTERM);
    EXPECT_EQ(first.WaitExit(10s), 0);
    EXPECT_FALSE(LockHeldElsewhere());
}

TEST(SingleInstance, LockIsReleasedWhenHolderDies)
{
    testing_support::TempDir dir;
    testing_support::ScopedEnv config("BRINDLE_CONFIG_DIR", (dir / "config").string());
    Program first(dir.Path(), dir / "first.out");
    ASSERT_TRUE(WaitUntil(LockHeldElsewhere, 10s));
    first.Signal(SIGKILL);
    first.WaitExit(10s);
    EXPECT_TRUE(WaitUntil([] { return !LockHeldElsewhere(); }, 5s));
}

TEST(SingleInstance, LockInProcessRefusesSecondHolder)
{
    platform::InstanceLock first("brindle-test-lock-in-process");
    ASSERT_TRUE(first.Acquired());
    platform::InstanceLock second("brindle-test-lock-in-process");
    EXPECT_FALSE(second.Acquired());
    EXPECT_TRUE(second.AlreadyExists());
}

} // namespace
