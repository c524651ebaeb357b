// A TCP socket listening on a free loopback port, closed with the object.
// Nothing accepts on it unless the owner does: connections then complete at
// the kernel and wait forever for an answer, as a deaf server's would.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace testing_support
{

class LoopbackListener
{
public:
    explicit LoopbackListener(int backlog = 16)
    {
        fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(fd, backlog);
        socklen_t length = sizeof address;
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
        port = ntohs(address.sin_port);
    }
    ~LoopbackListener() { ::close(fd); }
    LoopbackListener(const LoopbackListener&) = delete;
    LoopbackListener& operator=(const LoopbackListener&) = delete;

    int fd = -1;
    int port = 0;
};

} // namespace testing_support
