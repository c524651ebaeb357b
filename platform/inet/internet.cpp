#include "platform/inet/internet.h"

#include "platform/inet/url.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>

namespace platform::inet
{

namespace
{

constexpr size_t FILL_BYTES = 16 * 1024;
constexpr size_t MAX_LINE_BYTES = 4096;

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

// A host name or address that can go into a request line and Host header.
bool IsValidHost(std::string_view host)
{
    if (host.empty() || host.size() > 255)
        return false;
    return std::all_of(host.begin(), host.end(),
                       [](char c)
                       {
                           return std::isalnum(static_cast<unsigned char>(c)) || c == '-' ||
                                  c == '.' || c == '_' || c == ':' || c == '[' || c == ']';
                       });
}

// host:port as it goes into a Host header or CONNECT line; IPv6 bracketed.
std::string Authority(const std::string& host, int port, bool withPort)
{
    std::string out =
        host.find(':') != std::string::npos && host.front() != '[' ? "[" + host + "]" : host;
    if (withPort)
        out += ":" + std::to_string(port);
    return out;
}

// No CR or LF may reach a header line from a value.
std::string OneLine(std::string_view value)
{
    std::string out;
    for (char c : value)
        if (c != '\r' && c != '\n')
            out.push_back(c);
    return out;
}

// The caller's header lines, each ending in CR LF; empty lines are dropped so
// that they cannot end the header block early.
std::string NormalizeHeaderLines(std::string_view text)
{
    std::string out;
    while (!text.empty())
    {
        const size_t end = text.find_first_of("\r\n");
        const std::string_view line = text.substr(0, end);
        if (!Trim(line).empty())
        {
            out.append(line);
            out.append("\r\n");
        }
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return out;
}

} // namespace

std::string DefaultUserAgent()
{
    return "Mozilla/5.0 (X11; Linux x86_64) Brindle/1.0";
}

// ---------------------------------------------------------------- Session

Session::Session(std::string agentText, std::string proxy) : agent(OneLine(agentText))
{
    std::string_view text = Trim(proxy);
    if (text.size() >= 7 && EqualNoCase(text.substr(0, 7), "http://"))
        text.remove_prefix(7);
    if (const size_t slash = text.find('/'); slash != std::string_view::npos)
        text = text.substr(0, slash);
    if (text.empty())
        return;
    const size_t bracket = text.find(']');
    const size_t colon = text.rfind(':');
    proxyPort = 80;
    if (colon != std::string_view::npos && (bracket == std::string_view::npos || colon > bracket))
    {
        int port = 0;
        const std::string_view digits = text.substr(colon + 1);
        auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), port);
        if (error == std::errc() && end == digits.data() + digits.size() && port > 0 &&
            port < 65536)
            proxyPort = port;
        text = text.substr(0, colon);
    }
    if (text.size() >= 2 && text.front() == '[' && text.back() == ']')
        text = text.substr(1, text.size() - 2);
    proxyHost = std::string(text);
}

void Session::SetProxyUser(std::string user)
{
    std::lock_guard lock(mutex);
    proxyUser = std::move(user);
}

void Session::SetProxyPassword(std::string password)
{
    std::lock_guard lock(mutex);
    proxyPassword = std::move(password);
}

std::string Session::ProxyAuthorization() const
{
    std::lock_guard lock(mutex);
    if (proxyHost.empty() || (proxyUser.empty() && proxyPassword.empty()))
        return {};
    return "Basic " + Base64(proxyUser + ":" + proxyPassword);
}

bool Session::Register(const std::shared_ptr<Link>& link)
{
    std::lock_guard lock(mutex);
    if (closed)
        return false;
    std::erase_if(links, [](const std::weak_ptr<Link>& weak) { return weak.expired(); });
    links.push_back(link);
    return true;
}

void Session::Close()
{
    std::vector<std::weak_ptr<Link>> toCancel;
    {
        std::lock_guard lock(mutex);
        closed = true;
        toCancel.swap(links);
    }
    for (const std::weak_ptr<Link>& weak : toCancel)
        if (std::shared_ptr<Link> link = weak.lock())
            link->Cancel();
}

bool Session::IsClosed() const
{
    std::lock_guard lock(mutex);
    return closed;
}

std::shared_ptr<Connection> Session::Connect(const std::string& host, int port, bool secure)
{
    if (!IsValidHost(host) || port <= 0 || port > 65535)
        return nullptr;
    auto link = std::make_shared<Link>();
    if (!Register(link))
        return nullptr;
    const std::string authorization = ProxyAuthorization();

    if (!proxyHost.empty())
    {
        if (!link->ConnectTcp(proxyHost, proxyPort))
            return nullptr;
        if (secure)
        {
            // A tunnel through the proxy, then TLS end to end with the host.
            const std::string target = Authority(host, port, true);
            std::string head = "CONNECT " + target + " HTTP/1.1\r\nHost: " + target + "\r\n";
            if (!agent.empty())
                head += "User-Agent: " + agent + "\r\n";
            if (!authorization.empty())
                head += "Proxy-Authorization: " + authorization + "\r\n";
            head += "\r\n";
            if (!link->WriteAll(head))
                return nullptr;
            // Read the proxy's answer byte by byte: nothing after it may be
            // swallowed, the TLS handshake follows on the same stream.
            std::string answer;
            while (answer.size() < MAX_HEADER_BYTES &&
                   answer.find("\r\n\r\n") == std::string::npos &&
                   answer.find("\n\n") == std::string::npos)
            {
                char c = 0;
                size_t got = 0;
                if (link->Read(&c, 1, got) != ReadResult::Data || got != 1)
                    return nullptr;
                answer.push_back(c);
            }
            // "HTTP/1.x 2xx"
            if (answer.size() < 12 || answer.compare(0, 5, "HTTP/") != 0)
                return nullptr;
            const size_t space = answer.find(' ');
            if (space == std::string::npos || space + 1 >= answer.size() ||
                answer[space + 1] != '2')
                return nullptr;
            if (!link->StartTls(host))
                return nullptr;
        }
        return std::make_shared<Connection>(link, host, port, secure, !secure, agent,
                                            authorization);
    }

    Endpoint target{host, port};
    if (const char* rules = std::getenv("BRINDLE_CONNECT_TO"); rules && *rules)
        if (std::optional<Endpoint> redirected = ConnectToOverride(host, port, rules))
            target = *redirected;
    if (!link->ConnectTcp(target.host, target.port))
        return nullptr;
    if (secure && !link->StartTls(host))
        return nullptr;
    return std::make_shared<Connection>(link, host, port, secure, false, agent, std::string());
}

// ---------------------------------------------------------------- Connection

Connection::Connection(std::shared_ptr<Link> link, std::string host, int port, bool secure,
                       bool viaProxy, std::string agent, std::string proxyAuthorization)
    : link(std::move(link)), host(std::move(host)), port(port), secure(secure), viaProxy(viaProxy),
      agent(std::move(agent)), proxyAuthorization(std::move(proxyAuthorization))
{
}

// ---------------------------------------------------------------- Request

Request::Request(std::shared_ptr<Connection> connection, std::string verb, std::string path)
    : connection(std::move(connection)), verb(std::move(verb)), path(std::move(path))
{
}

bool Request::Send(std::string_view extraHeaders, std::string_view body)
{
    if (sent)
        return false;
    sent = true;
    const Connection& c = *connection;
    const int defaultPort = c.Secure() ? 443 : 80;
    const std::string hostHeader = Authority(c.Host(), c.Port(), c.Port() != defaultPort);

    std::string head = verb + " ";
    if (c.ViaProxy())
        head += "http://" + hostHeader;
    head += EscapeRequestTarget(path) + " HTTP/1.1\r\n";
    head += "Host: " + hostHeader + "\r\n";
    if (!c.Agent().empty())
        head += "User-Agent: " + c.Agent() + "\r\n";
    if (c.ViaProxy() && !c.ProxyAuthorization().empty())
        head += "Proxy-Authorization: " + c.ProxyAuthorization() + "\r\n";
    head += "Accept: */*\r\n";
    head += "Connection: close\r\n";
    if (!body.empty() || verb == "POST")
        head += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    head += NormalizeHeaderLines(extraHeaders);
    head += "\r\n";
    head.append(body);

    // A server may answer and close before reading everything we send (an
    // early 401, say): its answer still counts.
    const bool written = c.GetLink()->WriteAll(head);
    if (!ReadHead())
    {
        failed = true;
        return false;
    }
    return written || !statusText.empty();
}

bool Request::Fill()
{
    if (streamEnded)
        return false;
    if (bufferedPos > 0 && bufferedPos == buffered.size())
    {
        buffered.clear();
        bufferedPos = 0;
    }
    else if (bufferedPos > FILL_BYTES)
    {
        buffered.erase(0, bufferedPos);
        bufferedPos = 0;
    }
    const size_t old = buffered.size();
    buffered.resize(old + FILL_BYTES);
    size_t got = 0;
    const ReadResult result = connection->GetLink()->Read(buffered.data() + old, FILL_BYTES, got);
    buffered.resize(old + got);
    if (result == ReadResult::Data && got > 0)
        return true;
    streamEnded = true;
    lastEnd = result;
    return false;
}

bool Request::ReadLine(std::string& line)
{
    for (;;)
    {
        const size_t newline = buffered.find('\n', bufferedPos);
        if (newline != std::string::npos)
        {
            if (newline - bufferedPos > MAX_LINE_BYTES)
                return false;
            line.assign(buffered, bufferedPos, newline - bufferedPos);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            bufferedPos = newline + 1;
            return true;
        }
        if (buffered.size() - bufferedPos > MAX_LINE_BYTES || !Fill())
            return false;
    }
}

bool Request::ReadHead()
{
    for (;;) // interim 1xx answers come before the real one
    {
        // Collect the whole head first, within the header limit.
        size_t headEnd = std::string::npos;
        for (;;)
        {
            const size_t crlf = buffered.find("\r\n\r\n", bufferedPos);
            const size_t lf = buffered.find("\n\n", bufferedPos);
            if (crlf != std::string::npos)
                headEnd = crlf + 4;
            if (lf != std::string::npos && (headEnd == std::string::npos || lf + 2 < headEnd))
                headEnd = lf + 2;
            if (headEnd != std::string::npos)
                break;
            if (buffered.size() - bufferedPos > MAX_HEADER_BYTES || !Fill())
                return false;
        }
        if (headEnd - bufferedPos > MAX_HEADER_BYTES)
            return false;

        std::string_view head(buffered.data() + bufferedPos, headEnd - bufferedPos);
        bufferedPos = headEnd;

        std::vector<std::pair<std::string, std::string>> fields;
        std::string status;
        bool first = true;
        while (!head.empty())
        {
            const size_t lf = head.find('\n');
            std::string_view line = head.substr(0, lf);
            head.remove_prefix(lf == std::string_view::npos ? head.size() : lf + 1);
            if (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
            if (line.empty())
                break;
            if (first)
            {
                first = false;
                // HTTP/1.x NNN reason
                if (line.size() < 12 || line.substr(0, 5) != "HTTP/" || line[8] != ' ')
                    return false;
                const std::string_view code = line.substr(9, 3);
                if (!std::all_of(code.begin(), code.end(),
                                 [](char c) { return c >= '0' && c <= '9'; }) ||
                    (line.size() > 12 && line[12] != ' '))
                    return false;
                status = std::string(code);
                continue;
            }
            if ((line.front() == ' ' || line.front() == '\t') && !fields.empty())
            {
                fields.back().second += " " + std::string(Trim(line));
                continue;
            }
            const size_t colon = line.find(':');
            if (colon == std::string_view::npos || colon == 0)
                continue;
            fields.emplace_back(std::string(Trim(line.substr(0, colon))),
                                std::string(Trim(line.substr(colon + 1))));
        }
        if (status.empty())
            return false;
        if (status[0] == '1' && status != "101")
            continue;

        headers = std::move(fields);
        statusText = status;
        break;
    }

    // How the body is framed.
    const int code = std::atoi(statusText.c_str());
    std::string value;
    if (verb == "HEAD" || code == 204 || code == 304)
        framing = Framing::None;
    else if (QueryHeader("Transfer-Encoding", value) &&
             EqualNoCase(Trim(value.substr(
                             value.rfind(',') == std::string::npos ? 0 : value.rfind(',') + 1)),
                         "chunked"))
        framing = Framing::Chunked;
    else
    {
        bool haveLength = false;
        for (const auto& [name, text] : headers)
        {
            if (!EqualNoCase(name, "Content-Length"))
                continue;
            std::uint64_t length = 0;
            auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), length);
            if (error != std::errc() || end != text.data() + text.size() || text.empty() ||
                (haveLength && length != remaining))
            {
                failed = true; // unreadable or conflicting lengths: no safe framing
                break;
            }
            haveLength = true;
            remaining = length;
        }
        framing = haveLength ? Framing::Length : Framing::UntilClose;
        if (haveLength && remaining > MAX_BODY_BYTES)
            failed = true;
    }
    return true;
}

bool Request::QueryHeader(std::string_view name, std::string& value) const
{
    for (const auto& [field, text] : headers)
        if (EqualNoCase(field, name))
        {
            value = text;
            return true;
        }
    return false;
}

bool Request::QueryStatusCode(std::string& text) const
{
    if (statusText.empty())
        return false;
    text = statusText;
    return true;
}

bool Request::QueryContentLength(std::string& text) const
{
    return QueryHeader("Content-Length", text);
}

size_t Request::TakeBuffered(char* buffer, size_t size)
{
    const size_t n = std::min(size, buffered.size() - bufferedPos);
    std::copy_n(buffered.data() + bufferedPos, n, buffer);
    bufferedPos += n;
    return n;
}

bool Request::ReadChunked(char* buffer, size_t size, size_t& count)
{
    for (;;)
    {
        if (remaining > 0)
        {
            if (bufferedPos == buffered.size() && !Fill())
                return false;
            count =
                TakeBuffered(buffer, static_cast<size_t>(std::min<std::uint64_t>(size, remaining)));
            remaining -= count;
            return true;
        }
        std::string line;
        if (!chunkDataDone)
        {
            if (!ReadLine(line) || !line.empty())
                return false;
            chunkDataDone = true;
        }
        if (!ReadLine(line))
            return false;
        const std::string_view sizeText = Trim(std::string_view(line).substr(0, line.find(';')));
        std::uint64_t chunk = 0;
        auto [end, error] =
            std::from_chars(sizeText.data(), sizeText.data() + sizeText.size(), chunk, 16);
        if (sizeText.empty() || error != std::errc() || end != sizeText.data() + sizeText.size())
            return false;
        if (chunk == 0)
        {
            // Trailer lines up to the blank line, within the header limit.
            size_t trailerBytes = 0;
            do
            {
                if (!ReadLine(line) || (trailerBytes += line.size() + 2) > MAX_HEADER_BYTES)
                    return false;
            } while (!line.empty());
            finished = true;
            count = 0;
            return true;
        }
        if (chunk > MAX_BODY_BYTES)
            return false;
        remaining = chunk;
        chunkDataDone = false;
    }
}

bool Request::Read(char* buffer, size_t size, size_t& count)
{
    count = 0;
    if (!sent || statusText.empty() || failed || connection->GetLink()->Cancelled())
    {
        failed = true;
        return false;
    }
    if (finished || size == 0)
        return true;
    size = std::min(size, MAX_READ_BYTES);
    bool ok = true;
    switch (framing)
    {
    case Framing::None:
        finished = true;
        return true;
    case Framing::Length:
        if (remaining == 0)
        {
            finished = true;
            return true;
        }
        if (bufferedPos == buffered.size() && !Fill())
        {
            ok = false; // the body stopped before its announced length
            break;
        }
        count = TakeBuffered(buffer, static_cast<size_t>(std::min<std::uint64_t>(size, remaining)));
        remaining -= count;
        break;
    case Framing::Chunked:
        ok = ReadChunked(buffer, size, count);
        break;
    case Framing::UntilClose:
        if (bufferedPos == buffered.size() && !Fill())
        {
            // Only a clean end is the end of such a body; a TLS stream cut
            // without close_notify may have lost its tail.
            ok = lastEnd == ReadResult::End;
            if (ok)
                finished = true;
            break;
        }
        count = TakeBuffered(buffer, size);
        break;
    }
    if (ok)
    {
        delivered += count;
        if (delivered > MAX_BODY_BYTES)
            ok = false;
    }
    if (!ok)
    {
        failed = true;
        count = 0;
    }
    return ok;
}

} // namespace platform::inet
