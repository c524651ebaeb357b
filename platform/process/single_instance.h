// The machine-wide single-instance lock: an abstract Unix socket named after
// the lock's name. Binding it succeeds for one process only, and the kernel
// releases it when that process ends, however it ends.
#pragma once

#include <string>
#include <string_view>

namespace platform
{

class InstanceLock
{
public:
    // Tries to take the lock `name`.
    explicit InstanceLock(std::string_view name);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // False when another process holds the lock (or it could not be made).
    bool Acquired() const { return fd >= 0; }
    // True when the lock was there already, as ERROR_ALREADY_EXISTS says.
    bool AlreadyExists() const { return alreadyExists; }

private:
    int fd = -1;
    bool alreadyExists = false;
};

} // namespace platform
