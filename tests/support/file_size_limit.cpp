#include "support/file_size_limit.h"

#include <csignal>
#include <stdexcept>
#include <unistd.h>

namespace testing_support
{

ScopedFileSizeLimit::ScopedFileSizeLimit(rlim_t bytes)
{
    if (getrlimit(RLIMIT_FSIZE, &previous) != 0)
        throw std::runtime_error("getrlimit failed");
    // Past the limit the kernel sends SIGXFSZ, which would end the test.
    previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = previous;
    limit.rlim_cur = bytes;
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
        throw std::runtime_error("setrlimit failed");
}

ScopedFileSizeLimit::~ScopedFileSizeLimit()
{
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);
}

bool IgnoresPermissions()
{
    return geteuid() == 0;
}

} // namespace testing_support
