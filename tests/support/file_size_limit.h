// Makes writes beyond a file size fail (EFBIG) for the life of the object,
// as a full disk would; works for root too, unlike a read-only folder.
#pragma once

#include <sys/resource.h>

namespace testing_support
{

class ScopedFileSizeLimit
{
public:
    explicit ScopedFileSizeLimit(rlim_t bytes);
    ~ScopedFileSizeLimit();
    ScopedFileSizeLimit(const ScopedFileSizeLimit&) = delete;
    ScopedFileSizeLimit& operator=(const ScopedFileSizeLimit&) = delete;

private:
    rlimit previous{};
    void (*previousHandler)(int) = nullptr;
};

// True when permission bits do not stop this process (root).
bool IgnoresPermissions();

} // namespace testing_support
