#include "test_proxy.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace testing_support
{

namespace
{

int ConnectLoopback(int port)
{
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
    {
        close(fd);
        return -1;
    }
    return fd;
}

bool SendAll(int fd, std::string_view data)
{
    while (!data.empty())
    {
        const ssize_t n = send(fd, data.data(), data.size(), MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        data.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

// Copies bytes both ways until either side ends (bounded by 10 s of quiet).
void Relay(int a, int b, const std::atomic<bool>& stopping)
{
    char buffer[16384];
    while (!stopping.load())
    {
        pollfd fds[2] = {{a, POLLIN, 0}, {b, POLLIN, 0}};
        const int ready = poll(fds, 2, 10000);
        if (ready <= 0)
            return;
        for (int i = 0; i < 2; ++i)
        {
            if (!fds[i].revents)
                continue;
            const ssize_t n = recv(fds[i].fd, buffer, sizeof buffer, 0);
            if (n <= 0 || !SendAll(fds[1 - i].fd, std::string_view(buffer, static_cast<size_t>(n))))
                return;
        }
    }
}

} // namespace

TestProxy::TestProxy(int httpPort, int httpsPort, std::string authorization)
    : httpPort(httpPort), httpsPort(httpsPort), authorization(std::move(authorization))
{
    acceptor = std::thread([this] { Accept(); });
}

TestProxy::~TestProxy()
{
    stopping = true;
    shutdown(listener.fd, SHUT_RDWR);
    acceptor.join();
    {
        std::lock_guard lock(mutex);
        for (int fd : openFds)
            shutdown(fd, SHUT_RDWR);
    }
    for (std::thread& thread : threads)
        thread.join();
}

std::vector<std::string> TestProxy::Heads() const
{
    std::lock_guard lock(mutex);
    return heads;
}

void TestProxy::Accept()
{
    while (!stopping.load())
    {
        const int client = accept4(listener.fd, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0)
            return;
        std::lock_guard lock(mutex);
        openFds.insert(client);
        threads.emplace_back([this, client] { Serve(client); });
    }
}

void TestProxy::Serve(int client)
{
    std::string head;
    char c = 0;
    while (head.size() < 65536 && head.find("\r\n\r\n") == std::string::npos &&
           recv(client, &c, 1, 0) == 1)
        head.push_back(c);
    {
        std::lock_guard lock(mutex);
        heads.push_back(head);
    }
    const bool tunnel = head.rfind("CONNECT ", 0) == 0;
    int upstream = -1;
    if (!authorization.empty() &&
        head.find("\r\nProxy-Authorization: " + authorization + "\r\n") == std::string::npos)
        SendAll(client, "HTTP/1.1 407 Proxy Authentication Required\r\n"
                        "Proxy-Authenticate: Basic realm=\"test\"\r\nContent-Length: 0\r\n"
                        "Connection: close\r\n\r\n");
    else if ((upstream = ConnectLoopback(tunnel ? httpsPort : httpPort)) < 0)
        SendAll(client, "HTTP/1.1 502 Bad Gateway\r\nContent-Length: 0\r\n\r\n");
    else if (tunnel)
    {
        if (SendAll(client, "HTTP/1.1 200 Connection established\r\n\r\n"))
            Relay(client, upstream, stopping);
    }
    else
    {
        // "GET http://host[:port]/path HTTP/1.1" to origin form.
        const size_t scheme = head.find("http://");
        const size_t path = scheme == std::string::npos ? scheme : head.find('/', scheme + 7);
        if (path != std::string::npos)
            head.erase(scheme, path - scheme);
        if (SendAll(upstream, head))
            Relay(client, upstream, stopping);
    }
    if (upstream >= 0)
        close(upstream);
    {
        std::lock_guard lock(mutex);
        openFds.erase(client);
    }
    close(client);
}

} // namespace testing_support
