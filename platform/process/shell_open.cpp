#include "platform/process/shell_open.h"

#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace platform
{

bool ShellOpen(const std::string& path)
{
    pid_t pid = 0;
    const char* argv[] = {"xdg-open", path.c_str(), nullptr};
    if (posix_spawnp(&pid, "xdg-open", nullptr, nullptr, const_cast<char* const*>(argv), environ) !=
        0)
        return false;
    int status = 0;
    // xdg-open returns once it has handed the file to its program.
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace platform
