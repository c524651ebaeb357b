#include "platform/inet/url.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <vector>

namespace platform::inet
{

namespace
{

bool StartsWithNoCase(std::u16string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i)
    {
        const char16_t c = text[i];
        const char16_t lower = c >= u'A' && c <= u'Z' ? c - u'A' + u'a' : c;
        if (lower != static_cast<char16_t>(prefix[i]))
            return false;
    }
    return true;
}

std::optional<int> ParsePort(std::string_view text)
{
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value <= 0 || value > 65535)
        return std::nullopt;
    return value;
}

// Splits one "host:port:addr:port" entry; an address may be bracketed.
std::vector<std::string_view> SplitFields(std::string_view entry)
{
    std::vector<std::string_view> fields;
    size_t start = 0;
    bool bracket = false;
    for (size_t i = 0; i <= entry.size(); ++i)
    {
        if (i < entry.size() && entry[i] == '[')
            bracket = true;
        else if (i < entry.size() && entry[i] == ']')
            bracket = false;
        else if (i == entry.size() || (entry[i] == ':' && !bracket))
        {
            fields.push_back(entry.substr(start, i - start));
            start = i + 1;
        }
    }
    return fields;
}

std::string_view Unbracket(std::string_view host)
{
    if (host.size() >= 2 && host.front() == '[' && host.back() == ']')
        return host.substr(1, host.size() - 2);
    return host;
}

} // namespace

bool EqualNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](char x, char y)
                      {
                          return std::tolower(static_cast<unsigned char>(x)) ==
                                 std::tolower(static_cast<unsigned char>(y));
                      });
}

bool CrackUrl(std::u16string_view url, UrlComponents& parts)
{
    parts = UrlComponents{};
    int scheme = SCHEME_UNKNOWN;
    size_t pos = 0;
    if (StartsWithNoCase(url, "https://"))
    {
        scheme = SCHEME_HTTPS;
        pos = 8;
    }
    else if (StartsWithNoCase(url, "http://"))
    {
        scheme = SCHEME_HTTP;
        pos = 7;
    }
    else
        return false;

    const size_t authorityEnd = std::min(url.find_first_of(u"/?#", pos), url.size());
    std::u16string_view authority = url.substr(pos, authorityEnd - pos);
    if (const size_t at = authority.rfind(u'@'); at != std::u16string_view::npos)
        authority.remove_prefix(at + 1); // user information is not used
    std::u16string_view host = authority;
    int port = scheme == SCHEME_HTTPS ? 443 : 80;
    const size_t closeBracket = authority.find(u']');
    const size_t colon = authority.rfind(u':');
    if (colon != std::u16string_view::npos &&
        (closeBracket == std::u16string_view::npos || colon > closeBracket))
    {
        host = authority.substr(0, colon);
        std::string digits;
        for (char16_t c : authority.substr(colon + 1))
            digits.push_back(c < 0x80 ? static_cast<char>(c) : '?');
        if (!digits.empty())
        {
            const std::optional<int> parsed = ParsePort(digits);
            if (!parsed)
                return false;
            port = *parsed;
        }
    }
    if (host.empty())
        return false;

    std::u16string_view rest = url.substr(authorityEnd);
    if (const size_t hash = rest.find(u'#'); hash != std::u16string_view::npos)
        rest = rest.substr(0, hash);
    parts.scheme = scheme;
    parts.hostName.assign(host);
    parts.urlPath.assign(rest);
    if (parts.urlPath.empty() || parts.urlPath.front() == u'?')
        parts.urlPath.insert(0, u"/");
    parts.port = port;
    return true;
}

std::string EscapeRequestTarget(std::string_view path)
{
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(path.size() + 1);
    if (path.empty() || (path.front() != '/' && path.front() != '*'))
        out.push_back('/');
    for (char ch : path)
    {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte <= 0x20 || byte >= 0x7F)
        {
            out.push_back('%');
            out.push_back(hex[byte >> 4]);
            out.push_back(hex[byte & 0x0F]);
        }
        else
            out.push_back(ch);
    }
    return out;
}

std::optional<Endpoint> ConnectToOverride(std::string_view host, int port, std::string_view rules)
{
    while (!rules.empty())
    {
        const size_t comma = rules.find(',');
        const std::string_view entry = rules.substr(0, comma);
        rules = comma == std::string_view::npos ? std::string_view() : rules.substr(comma + 1);

        const std::vector<std::string_view> fields = SplitFields(entry);
        if (fields.size() != 4)
            continue;
        const std::string_view fromHost = Unbracket(fields[0]);
        if (!fromHost.empty() && !EqualNoCase(fromHost, Unbracket(host)))
            continue;
        if (!fields[1].empty())
        {
            const std::optional<int> fromPort = ParsePort(fields[1]);
            if (!fromPort || *fromPort != port)
                continue;
        }
        Endpoint target{std::string(host), port};
        if (!fields[2].empty())
            target.host = std::string(Unbracket(fields[2]));
        if (!fields[3].empty())
        {
            const std::optional<int> toPort = ParsePort(fields[3]);
            if (!toPort)
                continue;
            target.port = *toPort;
        }
        return target;
    }
    return std::nullopt;
}

std::string Base64(std::string_view bytes)
{
    static constexpr char alphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3)
    {
        const unsigned v = (static_cast<unsigned char>(bytes[i]) << 16) |
                           (static_cast<unsigned char>(bytes[i + 1]) << 8) |
                           static_cast<unsigned char>(bytes[i + 2]);
        out += {alphabet[(v >> 18) & 63], alphabet[(v >> 12) & 63], alphabet[(v >> 6) & 63],
                alphabet[v & 63]};
    }
    if (i < bytes.size())
    {
        unsigned v = static_cast<unsigned char>(bytes[i]) << 16;
        if (i + 1 < bytes.size())
            v |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        out.push_back(alphabet[(v >> 18) & 63]);
        out.push_back(alphabet[(v >> 12) & 63]);
        out.push_back(i + 1 < bytes.size() ? alphabet[(v >> 6) & 63] : '=');
        out.push_back('=');
    }
    return out;
}

} // namespace platform::inet
