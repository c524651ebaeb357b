#include "platform/process/single_instance.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform
{

InstanceLock::InstanceLock(std::string_view name)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    // Abstract namespace: a leading NUL, then the name (cut to fit).
    const size_t length = std::min(name.size(), sizeof(address.sun_path) - 1);
    std::memcpy(address.sun_path + 1, name.data(), length);
    const auto size = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + length);

    fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return;
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), size) != 0)
    {
        alreadyExists = errno == EADDRINUSE;
        ::close(fd);
        fd = -1;
    }
}

InstanceLock::~InstanceLock()
{
    if (fd >= 0)
        ::close(fd);
}

} // namespace platform
