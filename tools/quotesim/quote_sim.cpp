#include "quote_sim.h"

#include "certificates.h"
#include "market_data.h"

#include <openssl/err.h>
#include <openssl/ssl.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <map>
#include <stdexcept>

namespace quotesim
{

namespace
{

constexpr size_t MAX_HEAD_BYTES = 64 * 1024;
constexpr size_t MAX_BODY_BYTES = 1024 * 1024;
constexpr int MAX_PAUSE_MS = 60 * 1000;
constexpr int MAX_SILENCE_MS = 60 * 1000;

int ToInt(std::string_view text, int fallback = 0)
{
    int value = fallback;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

std::string PercentDecode(std::string_view text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] == '%' && i + 2 < text.size())
        {
            int value = 0;
            auto [end, error] =
                std::from_chars(text.data() + i + 1, text.data() + i + 3, value, 16);
            if (error == std::errc() && end == text.data() + i + 3)
            {
                out.push_back(static_cast<char>(value));
                i += 2;
                continue;
            }
        }
        out.push_back(text[i]);
    }
    return out;
}

std::map<std::string, std::string> ParseQuery(std::string_view query)
{
    std::map<std::string, std::string> params;
    while (!query.empty())
    {
        const size_t amp = query.find('&');
        const std::string_view pair = query.substr(0, amp);
        const size_t eq = pair.find('=');
        params.emplace(PercentDecode(pair.substr(0, eq)), eq == std::string_view::npos
                                                              ? std::string()
                                                              : PercentDecode(pair.substr(eq + 1)));
        if (amp == std::string_view::npos)
            break;
        query.remove_prefix(amp + 1);
    }
    return params;
}

const char* Reason(int status)
{
    switch (status)
    {
    case 200:
        return "OK";
    case 400:
        return "Bad Request";
    case 401:
        return "Unauthorized";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 429:
        return "Too Many Requests";
    case 500:
        return "Internal Server Error";
    case 502:
        return "Bad Gateway";
    case 503:
        return "Service Unavailable";
    default:
        return "Status";
    }
}

struct Answer
{
    int status = 200;
    std::string contentType = "application/json; charset=utf-8";
    std::string body;
    Fault fault;
};

// One side of a connection, plain or TLS, blocking.
class Stream
{
public:
    Stream(int fd, SSL* ssl) : fd(fd), ssl(ssl) {}

    bool Write(std::string_view data)
    {
        while (!data.empty())
        {
            if (ssl)
            {
                size_t written = 0;
                if (SSL_write_ex(ssl, data.data(), data.size(), &written) != 1)
                    return false;
                data.remove_prefix(written);
            }
            else
            {
                const ssize_t written = send(fd, data.data(), data.size(), MSG_NOSIGNAL);
                if (written < 0 && errno == EINTR)
                    continue;
                if (written <= 0)
                    return false;
                data.remove_prefix(static_cast<size_t>(written));
            }
        }
        return true;
    }

    // >0 bytes, 0 at the end, -1 on error.
    long Read(char* buffer, size_t size)
    {
        if (ssl)
        {
            size_t got = 0;
            if (SSL_read_ex(ssl, buffer, size, &got) == 1)
                return static_cast<long>(got);
            return SSL_get_error(ssl, 0) == SSL_ERROR_ZERO_RETURN ? 0 : -1;
        }
        for (;;)
        {
            const ssize_t got = recv(fd, buffer, size, 0);
            if (got < 0 && errno == EINTR)
                continue;
            return static_cast<long>(got);
        }
    }

private:
    int fd;
    SSL* ssl;
};

int ListenOn(int port)
{
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        throw std::runtime_error("quotesim: cannot make a socket");
    const int one = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK); // loopback only
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(fd, 512) != 0)
    {
        close(fd);
        throw std::runtime_error("quotesim: cannot listen on port " + std::to_string(port));
    }
    return fd;
}

int PortOf(int fd)
{
    sockaddr_in address{};
    socklen_t length = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    return ntohs(address.sin_port);
}

Answer Route(const Config& config, std::string_view target)
{
    const size_t question = target.find('?');
    const std::string_view path = target.substr(0, question);
    std::map<std::string, std::string> params = ParseQuery(
        question == std::string_view::npos ? std::string_view() : target.substr(question + 1));
    Answer answer;
    std::string symbol = params["symbol"];
    std::string faultSpec = params["sim"];
    if (const size_t tilde = symbol.find('~'); tilde != std::string::npos)
    {
        faultSpec += "," + symbol.substr(tilde + 1);
        symbol.resize(tilde);
    }
    answer.fault = ParseFault(faultSpec);
    const std::time_t now = std::time(nullptr);

    if (path == "/api/v1/quote" || path == "/api/v1/stock/candle")
    {
        if (params["token"] != config.finnHubKey)
        {
            answer.status = 401;
            answer.body = "{\"error\":\"Invalid API key\"}";
        }
        else if (path == "/api/v1/quote")
            answer.body = answer.fault.empty || symbol.empty() ? FinnHubEmptyQuoteJson()
                                                               : FinnHubQuoteJson(symbol, now);
        else
            answer.body = answer.fault.empty || symbol.empty()
                              ? FinnHubNoDataJson()
                              : FinnHubCandleJson(symbol, std::atoll(params["from"].c_str()),
                                                  std::atoll(params["to"].c_str()));
    }
    else if (path == "/query")
    {
        if (params["apikey"] != config.alphaVantageKey)
        {
            answer.status = 401;
            answer.body = "{\n    \"Error Message\": \"the parameter apikey is invalid or "
                          "missing.\"\n}";
        }
        else if (params["function"] != "TIME_SERIES_DAILY" || answer.fault.empty || symbol.empty())
            answer.body = AlphaVantageErrorJson();
        else
        {
            answer.contentType =
                params["datatype"] == "csv" ? "application/x-download" : "application/json";
            answer.body = AlphaVantageCsv(symbol, now);
        }
    }
    else if (path == "/echo")
    {
        answer.contentType = "application/octet-stream";
    }
    else
    {
        answer.status = 404;
        answer.body = "{\"error\":\"Not Found\"}";
    }
    if (answer.fault.status != 0)
    {
        answer.status = answer.fault.status;
        answer.body =
            "{\"error\":\"simulated status " + std::to_string(answer.fault.status) + "\"}";
    }
    if (answer.fault.bodyBytes >= 0)
    {
        const size_t wanted = static_cast<size_t>(answer.fault.bodyBytes);
        while (answer.body.size() < wanted)
            answer.body += std::string(std::min<size_t>(wanted - answer.body.size(), 4096), ' ');
        answer.body.resize(wanted);
    }
    return answer;
}

} // namespace

Fault ParseFault(std::string_view spec)
{
    Fault fault;
    while (!spec.empty())
    {
        const size_t comma = spec.find(',');
        const std::string_view item = spec.substr(0, comma);
        const size_t eq = item.find('=');
        const std::string_view word = item.substr(0, eq);
        const std::string_view value =
            eq == std::string_view::npos ? std::string_view() : item.substr(eq + 1);
        if (word == "delay")
            fault.delayMs = std::clamp(ToInt(value), 0, MAX_PAUSE_MS);
        else if (word == "status")
            fault.status = std::clamp(ToInt(value), 100, 999);
        else if (word == "short")
            fault.shortBody = true;
        else if (word == "nolength")
            fault.noLength = true;
        else if (word == "chunked")
            fault.chunked = true;
        else if (word == "cut")
            fault.cut = true;
        else if (word == "silent")
            fault.silent = true;
        else if (word == "slow")
            fault.slowMs = std::clamp(ToInt(value), 0, 5000);
        else if (word == "empty")
            fault.empty = true;
        else if (word == "length")
        {
            long long length = -1;
            std::from_chars(value.data(), value.data() + value.size(), length);
            fault.length = length;
        }
        else if (word == "headerpad")
            fault.headerPadBytes = std::clamp(ToInt(value), 0, 1024 * 1024);
        else if (word == "body")
            fault.bodyBytes = std::clamp(ToInt(value), 0, 16 * 1024 * 1024);
        if (comma == std::string_view::npos)
            break;
        spec.remove_prefix(comma + 1);
    }
    return fault;
}

Server::Server(Config cfg) : config(std::move(cfg))
{
    // A client that hangs up mid-answer must not end the process.
    std::signal(SIGPIPE, SIG_IGN);
    const KeyAndCertificate authority = MakeAuthority("Brindle quotesim authority");
    const KeyAndCertificate server =
        MakeServerCertificate(authority, {"finnhub.io", "www.alphavantage.co", "localhost"});
    caPem = CertificatePem(*authority.certificate);
    if (!config.caFile.empty())
    {
        std::ofstream out(config.caFile, std::ios::binary | std::ios::trunc);
        out << caPem;
        out.close();
        if (!out)
            throw std::runtime_error("quotesim: cannot write " + config.caFile);
    }

    tls.reset(SSL_CTX_new(TLS_server_method()), SSL_CTX_free);
    if (!tls || SSL_CTX_use_certificate(tls.get(), server.certificate.get()) != 1 ||
        SSL_CTX_use_PrivateKey(tls.get(), server.key.get()) != 1)
        throw std::runtime_error("quotesim: cannot set up TLS");
    SSL_CTX_set_min_proto_version(tls.get(), TLS1_2_VERSION);

    wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    try
    {
        if (config.httpPort >= 0)
        {
            httpFd = ListenOn(config.httpPort);
            httpPort = PortOf(httpFd);
        }
        if (config.httpsPort >= 0)
        {
            httpsFd = ListenOn(config.httpsPort);
            httpsPort = PortOf(httpsFd);
        }
    }
    catch (...)
    {
        if (httpFd >= 0)
            close(httpFd);
        close(wakeFd);
        throw;
    }
    if (httpFd >= 0)
        listeners.emplace_back([this] { Listen(httpFd, false); });
    if (httpsFd >= 0)
        listeners.emplace_back([this] { Listen(httpsFd, true); });
}

Server::~Server()
{
    Stop();
}

std::string Server::ConnectTo() const
{
    std::string rules;
    for (const char* host : {"finnhub.io", "www.alphavantage.co", "localhost"})
    {
        if (httpsPort > 0)
            rules += std::string(host) + ":443:127.0.0.1:" + std::to_string(httpsPort) + ",";
        if (httpPort > 0)
            rules += std::string(host) + ":80:127.0.0.1:" + std::to_string(httpPort) + ",";
    }
    if (!rules.empty())
        rules.pop_back();
    return rules;
}

std::vector<std::string> Server::RequestHeads() const
{
    std::lock_guard lock(mutex);
    return heads;
}

std::vector<std::string> Server::RequestBodies() const
{
    std::lock_guard lock(mutex);
    return bodies;
}

size_t Server::RequestCount() const
{
    std::lock_guard lock(mutex);
    return heads.size();
}

void Server::Stop()
{
    if (stopping.exchange(true))
        return;
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = write(wakeFd, &one, sizeof one);
    stopped.notify_all();
    for (std::thread& listener : listeners)
        listener.join();
    {
        std::lock_guard lock(mutex);
        for (int fd : openFds)
            shutdown(fd, SHUT_RDWR);
        stopped.notify_all();
    }
    Reap(true);
    if (httpFd >= 0)
        close(httpFd);
    if (httpsFd >= 0)
        close(httpsFd);
    close(wakeFd);
}

void Server::Reap(bool all)
{
    std::vector<Worker> finished;
    {
        std::lock_guard lock(mutex);
        auto split = std::partition(workers.begin(), workers.end(),
                                    [all](const Worker& w) { return !all && !w.done->load(); });
        std::move(split, workers.end(), std::back_inserter(finished));
        workers.erase(split, workers.end());
    }
    for (Worker& worker : finished)
        worker.thread.join();
}

bool Server::Pause(int ms)
{
    std::unique_lock lock(mutex);
    return !stopped.wait_for(lock, std::chrono::milliseconds(ms),
                             [this] { return stopping.load(); });
}

void Server::Listen(int listenFd, bool secure)
{
    while (!stopping.load())
    {
        pollfd fds[2] = {{listenFd, POLLIN, 0}, {wakeFd, POLLIN, 0}};
        if (poll(fds, 2, 1000) <= 0 || fds[1].revents)
            continue;
        const int fd = accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            continue;
        Reap(false);
        auto done = std::make_shared<std::atomic<bool>>(false);
        std::lock_guard lock(mutex);
        openFds.insert(fd);
        workers.push_back(Worker{std::thread(
                                     [this, fd, secure, done]
                                     {
                                         Serve(fd, secure);
                                         done->store(true);
                                     }),
                                 done});
    }
}

void Server::Serve(int fd, bool secure)
{
    timeval timeout{10, 0}; // a client that goes quiet cannot hold a thread for long
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);

    std::unique_ptr<SSL, decltype(&SSL_free)> ssl(nullptr, SSL_free);
    bool abrupt = false;
    auto finish = [&]
    {
        if (ssl && !abrupt)
            SSL_shutdown(ssl.get());
        ssl.reset();
        {
            std::lock_guard lock(mutex);
            openFds.erase(fd);
        }
        close(fd);
    };

    if (secure)
    {
        ssl.reset(SSL_new(tls.get()));
        SSL_set_fd(ssl.get(), fd);
        if (SSL_accept(ssl.get()) != 1)
        {
            abrupt = true;
            finish();
            return;
        }
    }
    Stream stream(fd, ssl.get());

    // The request head, then a body when one is announced.
    std::string data;
    size_t headEnd = std::string::npos;
    char buffer[16 * 1024];
    while ((headEnd = data.find("\r\n\r\n")) == std::string::npos)
    {
        if (data.size() > MAX_HEAD_BYTES)
            break;
        const long got = stream.Read(buffer, sizeof buffer);
        if (got <= 0)
            break;
        data.append(buffer, static_cast<size_t>(got));
    }
    if (headEnd == std::string::npos)
    {
        abrupt = true;
        finish();
        return;
    }
    const std::string head = data.substr(0, headEnd + 2);
    std::string body = data.substr(headEnd + 4);
    size_t announced = 0;
    {
        std::string lower = head;
        std::transform(lower.begin(), lower.end(), lower.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (const size_t at = lower.find("\r\ncontent-length:"); at != std::string::npos)
            announced = std::min<size_t>(std::strtoull(lower.c_str() + at + 17, nullptr, 10),
                                         MAX_BODY_BYTES);
    }
    while (body.size() < announced)
    {
        const long got = stream.Read(buffer, sizeof buffer);
        if (got <= 0)
            break;
        body.append(buffer, static_cast<size_t>(got));
    }
    {
        std::lock_guard lock(mutex);
        heads.push_back(head);
        if (!body.empty())
            bodies.push_back(body);
    }

    // "GET target HTTP/1.1"
    const size_t firstSpace = head.find(' ');
    const size_t secondSpace = head.find(' ', firstSpace + 1);
    if (firstSpace == std::string::npos || secondSpace == std::string::npos)
    {
        stream.Write("HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        finish();
        return;
    }
    Answer answer =
        Route(config, std::string_view(head).substr(firstSpace + 1, secondSpace - firstSpace - 1));
    if (head.compare(0, firstSpace, "POST") == 0 && answer.body.empty())
        answer.body = body;
    const Fault& fault = answer.fault;

    if (fault.silent)
    {
        // Say nothing until the client gives up or the server stops.
        for (int waited = 0; waited < MAX_SILENCE_MS && !stopping.load(); waited += 50)
        {
            pollfd p{fd, POLLIN, 0};
            if (poll(&p, 1, 50) > 0)
            {
                const long got = stream.Read(buffer, sizeof buffer);
                if (got <= 0)
                    break;
            }
        }
        abrupt = true;
        finish();
        return;
    }
    if (fault.delayMs > 0 && !Pause(fault.delayMs))
    {
        abrupt = true;
        finish();
        return;
    }

    std::string out = "HTTP/1.1 " + std::to_string(answer.status) + " " + Reason(answer.status) +
                      "\r\nServer: quotesim\r\nContent-Type: " + answer.contentType + "\r\n";
    if (fault.headerPadBytes > 0)
    {
        // Many modest lines rather than one huge one.
        for (int left = fault.headerPadBytes; left > 0; left -= 1000)
            out += "X-Pad: " + std::string(static_cast<size_t>(std::min(left, 1000)), 'p') + "\r\n";
    }
    if (fault.chunked)
        out += "Transfer-Encoding: chunked\r\n";
    else if (fault.length >= 0)
        out += "Content-Length: " + std::to_string(fault.length) + "\r\n";
    else if (!fault.noLength)
        out += "Content-Length: " + std::to_string(answer.body.size()) + "\r\n";
    out += "Connection: close\r\n\r\n";

    std::string_view payload = answer.body;
    if (fault.shortBody || fault.cut)
        payload = payload.substr(0, payload.size() / 2);

    bool ok = stream.Write(out);
    if (ok && fault.chunked)
    {
        // Pieces of up to 7 bytes, one with a chunk extension.
        for (size_t at = 0; ok && at < payload.size(); at += 7)
        {
            const std::string_view piece = payload.substr(at, 7);
            char size[32];
            std::snprintf(size, sizeof size, at == 0 ? "%zx;sim=1\r\n" : "%zx\r\n", piece.size());
            ok = stream.Write(std::string(size) + std::string(piece) + "\r\n");
            if (ok && fault.slowMs > 0)
                ok = Pause(fault.slowMs);
        }
        if (ok)
            ok = stream.Write("0\r\n\r\n");
    }
    else if (ok && fault.slowMs > 0)
    {
        for (size_t at = 0; ok && at < payload.size(); at += 16)
        {
            ok = stream.Write(payload.substr(at, 16));
            if (ok && at + 16 < payload.size())
                ok = Pause(fault.slowMs);
        }
    }
    else if (ok)
        ok = stream.Write(payload);
    abrupt = fault.cut || !ok;
    finish();
}

} // namespace quotesim
