// One network connection of the HTTP client: a TCP socket, TLS on top when
// asked, and a way for another thread to cut short whatever blocking call a
// worker is making on it.
//
// Every blocking step waits in poll() on the socket and on a wake-up
// descriptor. Cancel() (any thread) sets a flag, shuts the socket down with
// shutdown(SHUT_RDWR) and signals the wake-up descriptor, so a worker blocked
// in connect, handshake, send or receive returns at once. Cancel() never
// closes the descriptor or frees the TLS state: that happens in the
// destructor, which runs when the last owner (the handle or a worker still
// using it) lets go, so a descriptor number is never reused under a worker.
#pragma once

#include <atomic>
#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>

typedef struct ssl_st SSL;
struct addrinfo;

namespace platform::inet
{

enum class ReadResult
{
    Data,      // bytes were read
    End,       // the peer ended the stream cleanly
    AbruptEnd, // a TLS stream ended without close_notify
    Failed     // error or cancelled
};

class Link
{
public:
    Link();
    ~Link();
    Link(const Link&) = delete;
    Link& operator=(const Link&) = delete;

    // Any thread: makes the current and every later blocking call fail.
    void Cancel();
    bool Cancelled() const { return cancelled.load(std::memory_order_acquire); }

    // Worker side. Each returns false on failure or cancellation.
    bool ConnectTcp(const std::string& host, int port);
    // TLS with SNI, verifying the chain against the trusted certificates and
    // the certificate against `host`.
    bool StartTls(const std::string& host);
    bool WriteAll(std::string_view data);
    ReadResult Read(char* buffer, size_t size, size_t& count);

    bool Secure() const { return ssl != nullptr; }

private:
    struct Lookup;
    // The addresses of host:port (freeaddrinfo them); null on failure or
    // cancellation.
    ::addrinfo* Resolve(const std::string& host, int port);
    bool WaitReady(short events);
    bool RegisterSocket(int newFd);

    std::atomic<bool> cancelled{false};
    std::mutex mutex; // guards fd against Cancel() from another thread
    int fd = -1;
    int wakeFd = -1;
    SSL* ssl = nullptr;
};

} // namespace platform::inet
