// A small HTTP/1.1 client offering the steps of the Windows internet client
// the request engine was written against: a root handle with agent and
// optional proxy, a connection to a host, a request on it that is sent and
// then read in chunks, the status and Content-Length as text, and closing a
// handle from another thread to cut short a call blocked on it.
//
// Each handle is shared: the thread that opened it and a worker using it
// both hold it, so closing only cancels; the socket and TLS state are freed
// when the last holder lets go.
#pragma once

#include "platform/inet/link.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform::inet
{

inline constexpr size_t MAX_HEADER_BYTES = 64 * 1024;
inline constexpr std::uint64_t MAX_BODY_BYTES = 64ull * 1024 * 1024;
inline constexpr size_t MAX_READ_BYTES = 8192;

// The user agent of this program's requests.
std::string DefaultUserAgent();

class Connection;

// The root handle.
class Session
{
public:
    // `proxy` is "host:port" (an "http://" in front is allowed), or empty to
    // connect directly.
    Session(std::string agent, std::string proxy);
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    void SetProxyUser(std::string user);
    void SetProxyPassword(std::string password);

    // Worker thread: connects to host:port, through the proxy when there is
    // one (CONNECT for TLS), with TLS when `secure`. Null on any failure,
    // including a certificate that does not verify, and after Close().
    std::shared_ptr<Connection> Connect(const std::string& host, int port, bool secure);

    // Any thread: cancels every connection of this session and refuses new
    // ones.
    void Close();
    bool IsClosed() const;

private:
    friend class Connection;
    bool Register(const std::shared_ptr<Link>& link);
    std::string ProxyAuthorization() const;

    const std::string agent;
    std::string proxyHost;
    int proxyPort = 0;
    std::string proxyUser;
    std::string proxyPassword;

    mutable std::mutex mutex;
    bool closed = false;
    std::vector<std::weak_ptr<Link>> links;
};

class Connection
{
public:
    Connection(std::shared_ptr<Link> link, std::string host, int port, bool secure, bool viaProxy,
               std::string agent, std::string proxyAuthorization);

    void Close() { link->Cancel(); }

    const std::shared_ptr<Link>& GetLink() const { return link; }
    const std::string& Host() const { return host; }
    int Port() const { return port; }
    bool Secure() const { return secure; }
    bool ViaProxy() const { return viaProxy; }
    const std::string& Agent() const { return agent; }
    const std::string& ProxyAuthorization() const { return proxyAuthorization; }

private:
    std::shared_ptr<Link> link;
    std::string host;
    int port;
    bool secure;
    bool viaProxy;
    std::string agent;
    std::string proxyAuthorization;
};

class Request
{
public:
    // `path` is the path with query as the caller wrote it; bytes that
    // cannot stand in a request target are escaped when it is sent.
    Request(std::shared_ptr<Connection> connection, std::string verb, std::string path);

    // Worker thread: sends the request (extra header lines, each ending in
    // CR LF, and a body when not empty) and reads the response headers.
    // False when it could not be sent or no valid response head came back.
    bool Send(std::string_view headers, std::string_view body);

    // After Send: the status code and the Content-Length value as received;
    // false when there is none.
    bool QueryStatusCode(std::string& text) const;
    bool QueryContentLength(std::string& text) const;
    // Any response header by name (case-insensitive), the first one.
    bool QueryHeader(std::string_view name, std::string& value) const;

    // Worker thread: reads up to `size` body bytes (chunked bodies come
    // decoded). True with count 0 at the end of the body; false when the
    // read failed, was cancelled, the body stopped short or grew too big.
    bool Read(char* buffer, size_t size, size_t& count);

    // Any thread: a blocked Send or Read fails and returns.
    void Close() { connection->Close(); }

private:
    enum class Framing
    {
        None,
        Length,
        Chunked,
        UntilClose
    };

    bool ReadHead();
    bool Fill();
    bool ReadLine(std::string& line);
    bool ReadChunked(char* buffer, size_t size, size_t& count);
    size_t TakeBuffered(char* buffer, size_t size);

    std::shared_ptr<Connection> connection;
    std::string verb;
    std::string path;

    bool sent = false;
    std::string statusText;
    std::vector<std::pair<std::string, std::string>> headers;

    Framing framing = Framing::None;
    std::uint64_t remaining = 0; // of a length-framed body or the current chunk
    bool chunkDataDone = true;   // the current chunk (and its CR LF) is read
    bool finished = false;
    bool failed = false;
    std::uint64_t delivered = 0;
    std::string buffered; // bytes received and not yet handed out
    size_t bufferedPos = 0;
    bool streamEnded = false;
    ReadResult lastEnd = ReadResult::End;
};

} // namespace platform::inet
