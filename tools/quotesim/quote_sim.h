// quotesim: simulated FinnHub and AlphaVantage services on loopback, over
// HTTP and HTTPS, with its own certificate authority, a key check and faults
// chosen per request. Tests start it in-process; build/quotesim runs it as a
// program. See README.md for the routes and the fault selector.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

typedef struct ssl_ctx_st SSL_CTX;

namespace quotesim
{

struct Config
{
    int httpPort = 0;   // 0: a free port; -1: no HTTP listener
    int httpsPort = 0;  // 0: a free port; -1: no HTTPS listener
    std::string caFile; // where the authority's certificate is written (PEM); empty: nowhere
    std::string finnHubKey = "fh-test-key";
    std::string alphaVantageKey = "av-test-key";
};

// What to do wrong with one answer.
struct Fault
{
    int delayMs = 0;        // wait before answering
    int status = 0;         // answer with this status and a short error body
    bool shortBody = false; // send half the body against the full Content-Length, close cleanly
    bool noLength = false;  // no Content-Length: the body runs until the connection closes
    bool chunked = false;   // chunked transfer coding
    bool cut = false;       // half the body, then a close without TLS close_notify
    bool silent = false;    // read the request and never answer
    int slowMs = 0;         // send the body in 16-byte pieces, this long apart
    bool empty = false;     // answer as for a symbol the service does not know
    long long length = -1;  // announce this Content-Length whatever the body
    int headerPadBytes = 0; // add a header of about this many bytes
    int bodyBytes = -1;     // pad or cut the body to this many bytes
};

// "delay=200,status=500,short,nolength,chunked,cut,silent,slow=50,empty,
// length=N,headerpad=N,body=N"; unknown words are ignored.
Fault ParseFault(std::string_view spec);

class Server
{
public:
    // Makes the authority and starts listening; throws std::runtime_error
    // when a port cannot be had or the files cannot be written.
    explicit Server(Config config);
    ~Server();
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    int HttpPort() const { return httpPort; }
    int HttpsPort() const { return httpsPort; }
    const std::string& CaPem() const { return caPem; }

    // A BRINDLE_CONNECT_TO value sending the services' hosts (and localhost)
    // to this server: port 443 to HTTPS, port 80 to HTTP.
    std::string ConnectTo() const;

    // Every request head received (request line and headers, as sent), in
    // order of arrival, and the bodies of requests that had one.
    std::vector<std::string> RequestHeads() const;
    std::vector<std::string> RequestBodies() const;
    size_t RequestCount() const;

    // Ends listening and every open connection; waits for their threads.
    void Stop();

private:
    struct Connection;

    void Listen(int listenFd, bool secure);
    void Serve(int fd, bool secure);
    bool Pause(int ms); // false when stopping
    void Reap(bool all);

    Config config;
    std::string caPem;
    std::shared_ptr<SSL_CTX> tls;
    int httpPort = -1;
    int httpsPort = -1;
    int httpFd = -1;
    int httpsFd = -1;
    int wakeFd = -1;

    std::atomic<bool> stopping{false};
    mutable std::mutex mutex;
    std::condition_variable stopped;
    std::set<int> openFds;
    std::vector<std::string> heads;
    std::vector<std::string> bodies;
    std::vector<std::thread> listeners;
    struct Worker
    {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };
    std::vector<Worker> workers;
};

} // namespace quotesim
