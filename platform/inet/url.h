// URL pieces for the HTTP client: splitting an address into scheme, host
// and path with query, writing a request target safely, and the
// BRINDLE_CONNECT_TO redirections used by tests and the demo.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform::inet
{

inline constexpr int SCHEME_UNKNOWN = 0;
inline constexpr int SCHEME_HTTP = 3;
inline constexpr int SCHEME_HTTPS = 4;

struct UrlComponents
{
    int scheme = SCHEME_UNKNOWN;
    std::u16string hostName;
    std::u16string urlPath; // path with its query string
    int port = 0;           // the port written in the URL, else the scheme's
};

// ASCII texts equal but for letter case (header names, schemes, hosts).
bool EqualNoCase(std::string_view a, std::string_view b);

// Splits an absolute http or https URL. False (and empty parts, scheme 0)
// when it is not one.
bool CrackUrl(std::u16string_view url, UrlComponents& parts);

// The request target as it goes on the wire: bytes that can never stand in
// a target (controls, space, DEL, non-ASCII) are percent-encoded, everything
// else, "&" and "%" included, goes as given. An empty path becomes "/".
std::string EscapeRequestTarget(std::string_view path);

struct Endpoint
{
    std::string host;
    int port = 0;
};

// Where a connection to host:port really goes, after the BRINDLE_CONNECT_TO
// list ("host:port:addr:port[,...]", as curl's --connect-to; an empty field
// matches any host or port, or keeps it). Nothing when no entry applies.
std::optional<Endpoint> ConnectToOverride(std::string_view host, int port, std::string_view rules);

// Basic credentials "user:password" in base64.
std::string Base64(std::string_view bytes);

} // namespace platform::inet
