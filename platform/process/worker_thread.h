// Worker threads that can be waited for with a time-out. A thread that
// outlives its wait is abandoned, never killed: it runs on detached, and
// whatever it uses is kept alive by shared ownership, so it can never touch
// freed memory.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace platform
{

class WorkerThread
{
public:
    // Starts `body` on a new thread at once.
    static std::shared_ptr<WorkerThread> Start(std::function<void()> body);

    ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // True when the body has returned.
    bool Finished() const;

    // Waits at most `ms` for the body to return; true when it has.
    bool Wait(std::uint32_t ms) const;

    // Stops caring about a thread that is still running: from now on it runs
    // to its end on its own. Waiting is still possible.
    void Abandon();

private:
    struct State
    {
        mutable std::mutex mutex;
        mutable std::condition_variable done;
        bool finished = false;
    };

    WorkerThread() = default;

    std::shared_ptr<State> state = std::make_shared<State>();
};

// Waits for all `threads` together, at most `ms` in total; returns true when
// all of them have finished.
bool WaitForAll(const std::vector<std::shared_ptr<WorkerThread>>& threads, std::uint32_t ms);

} // namespace platform
