#include "platform/inet/link.h"

#include "platform/inet/tls_context.h"

#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

#include <arpa/inet.h>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <memory>
#include <system_error>
#include <thread>
#include <utility>

namespace platform::inet
{

namespace
{

struct AddrInfoDeleter
{
    void operator()(addrinfo* info) const { freeaddrinfo(info); }
};

bool IsIpLiteral(const std::string& host)
{
    in6_addr buffer{};
    return inet_pton(AF_INET, host.c_str(), &buffer) == 1 ||
           inet_pton(AF_INET6, host.c_str(), &buffer) == 1;
}

// TLS writes go through write(), which raises SIGPIPE when the peer has
// gone; a server hanging up must fail the request, not end the program.
void IgnoreBrokenPipes()
{
    static std::once_flag once;
    std::call_once(once, [] { std::signal(SIGPIPE, SIG_IGN); });
}

} // namespace

Link::Link() : wakeFd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
    IgnoreBrokenPipes();
}

Link::~Link()
{
    if (ssl)
        SSL_free(ssl);
    if (fd >= 0)
        close(fd);
    if (wakeFd >= 0)
        close(wakeFd);
}

void Link::Cancel()
{
    std::lock_guard lock(mutex);
    cancelled.store(true, std::memory_order_release);
    if (fd >= 0)
        shutdown(fd, SHUT_RDWR);
    if (wakeFd >= 0)
    {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = write(wakeFd, &one, sizeof one);
    }
}

bool Link::RegisterSocket(int newFd)
{
    std::lock_guard lock(mutex);
    if (fd >= 0)
        close(fd);
    fd = newFd;
    return !cancelled.load(std::memory_order_acquire);
}

bool Link::WaitReady(short events)
{
    for (;;)
    {
        if (Cancelled() || wakeFd < 0)
            return false;
        pollfd fds[2] = {{fd, events, 0}, {wakeFd, POLLIN, 0}};
        const int ready = poll(fds, 2, -1);
        if (ready < 0)
        {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (Cancelled() || fds[1].revents != 0)
            return false;
        if (fds[0].revents != 0)
            return true; // readiness or an error the next call reports
    }
}

// A name lookup on a helper thread of its own, so that the worker waiting for
// it can be cut short like any other blocking step. The helper owns its
// share of the state and frees what is left when nobody waits any more.
struct Link::Lookup
{
    std::mutex mutex;
    addrinfo* result = nullptr;
    bool done = false;
    int doneFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);

    ~Lookup()
    {
        if (result)
            freeaddrinfo(result);
        if (doneFd >= 0)
            close(doneFd);
    }
};

addrinfo* Link::Resolve(const std::string& host, int port)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    const std::string service = std::to_string(port);
    if (IsIpLiteral(host))
    {
        hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV;
        addrinfo* found = nullptr;
        return getaddrinfo(host.c_str(), service.c_str(), &hints, &found) == 0 ? found : nullptr;
    }
    hints.ai_flags = AI_ADDRCONFIG | AI_NUMERICSERV;
    auto lookup = std::make_shared<Lookup>();
    if (lookup->doneFd < 0)
        return nullptr;
    try
    {
        std::thread(
            [lookup, host, service, hints]
            {
                addrinfo* found = nullptr;
                if (getaddrinfo(host.c_str(), service.c_str(), &hints, &found) != 0)
                    found = nullptr;
                std::lock_guard lock(lookup->mutex);
                lookup->result = found;
                lookup->done = true;
                const std::uint64_t one = 1;
                [[maybe_unused]] const ssize_t written = write(lookup->doneFd, &one, sizeof one);
            })
            .detach();
    }
    catch (const std::system_error&)
    {
        return nullptr;
    }
    for (;;)
    {
        {
            std::lock_guard lock(lookup->mutex);
            if (lookup->done)
                return std::exchange(lookup->result, nullptr);
        }
        if (Cancelled())
            return nullptr;
        pollfd fds[2] = {{lookup->doneFd, POLLIN, 0}, {wakeFd, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0 && errno != EINTR)
            return nullptr;
    }
}

bool Link::ConnectTcp(const std::string& host, int port)
{
    if (Cancelled() || host.empty())
        return false;
    addrinfo* found = Resolve(host, port);
    if (!found)
        return false;
    const std::unique_ptr<addrinfo, AddrInfoDeleter> list(found);

    for (addrinfo* ai = found; ai; ai = ai->ai_next)
    {
        const int sock =
            socket(ai->ai_family, ai->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, ai->ai_protocol);
        if (sock < 0)
            continue;
        if (!RegisterSocket(sock))
            return false;
        const int one = 1;
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        if (connect(fd, ai->ai_addr, ai->ai_addrlen) == 0)
            return true;
        if (errno != EINPROGRESS)
            continue;
        if (!WaitReady(POLLOUT))
            return false;
        int error = 0;
        socklen_t length = sizeof error;
        if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0)
            return !Cancelled();
    }
    return false;
}

bool Link::StartTls(const std::string& host)
{
    if (Cancelled() || fd < 0)
        return false;
    std::shared_ptr<SSL_CTX> context = ClientTlsContext();
    if (!context)
        return false;
    ssl = SSL_new(context.get());
    if (!ssl)
        return false;
    SSL_set_fd(ssl, fd);
    SSL_set_connect_state(ssl);
    if (!IsIpLiteral(host))
        SSL_set_tlsext_host_name(ssl, host.c_str());
    if (SSL_set1_host(ssl, host.c_str()) != 1)
        return false;
    SSL_set_verify(ssl, SSL_VERIFY_PEER, nullptr);

    for (;;)
    {
        ERR_clear_error();
        const int result = SSL_do_handshake(ssl);
        if (result == 1)
            break;
        const int error = SSL_get_error(ssl, result);
        if (error == SSL_ERROR_WANT_READ)
        {
            if (!WaitReady(POLLIN))
                return false;
        }
        else if (error == SSL_ERROR_WANT_WRITE)
        {
            if (!WaitReady(POLLOUT))
                return false;
        }
        else
            return false;
    }
    return SSL_get_verify_result(ssl) == X509_V_OK && !Cancelled();
}

bool Link::WriteAll(std::string_view data)
{
    if (fd < 0)
        return false;
    while (!data.empty())
    {
        if (Cancelled())
            return false;
        if (ssl)
        {
            size_t written = 0;
            ERR_clear_error();
            const int result = SSL_write_ex(ssl, data.data(), data.size(), &written);
            if (result == 1)
            {
                data.remove_prefix(written);
                continue;
            }
            const int error = SSL_get_error(ssl, result);
            if (error == SSL_ERROR_WANT_WRITE)
            {
                if (!WaitReady(POLLOUT))
                    return false;
            }
            else if (error == SSL_ERROR_WANT_READ)
            {
                if (!WaitReady(POLLIN))
                    return false;
            }
            else
                return false;
        }
        else
        {
            const ssize_t written = send(fd, data.data(), data.size(), MSG_NOSIGNAL);
            if (written > 0)
                data.remove_prefix(static_cast<size_t>(written));
            else if (written < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            {
                if (!WaitReady(POLLOUT))
                    return false;
            }
            else if (written < 0 && errno == EINTR)
                continue;
            else
                return false;
        }
    }
    return true;
}

ReadResult Link::Read(char* buffer, size_t size, size_t& count)
{
    count = 0;
    if (fd < 0)
        return ReadResult::Failed;
    for (;;)
    {
        if (Cancelled())
            return ReadResult::Failed;
        if (ssl)
        {
            ERR_clear_error();
            const int result = SSL_read_ex(ssl, buffer, size, &count);
            if (result == 1)
                return ReadResult::Data;
            const int error = SSL_get_error(ssl, result);
            if (error == SSL_ERROR_WANT_READ)
            {
                if (!WaitReady(POLLIN))
                    return ReadResult::Failed;
            }
            else if (error == SSL_ERROR_WANT_WRITE)
            {
                if (!WaitReady(POLLOUT))
                    return ReadResult::Failed;
            }
            else if (error == SSL_ERROR_ZERO_RETURN)
                return ReadResult::End;
            else if (error == SSL_ERROR_SSL &&
                     ERR_GET_REASON(ERR_peek_error()) == SSL_R_UNEXPECTED_EOF_WHILE_READING)
                return Cancelled() ? ReadResult::Failed : ReadResult::AbruptEnd;
            else
                return ReadResult::Failed;
        }
        else
        {
            const ssize_t got = recv(fd, buffer, size, 0);
            if (got > 0)
            {
                count = static_cast<size_t>(got);
                return ReadResult::Data;
            }
            if (got == 0)
                return Cancelled() ? ReadResult::Failed : ReadResult::End;
            if (errno == EAGAIN || errno == EWOULDBLOCK)
            {
                if (!WaitReady(POLLIN))
                    return ReadResult::Failed;
            }
            else if (errno != EINTR)
                return ReadResult::Failed;
        }
    }
}

} // namespace platform::inet
