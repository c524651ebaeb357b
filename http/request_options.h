// What a caller asks of the HTTP engine for one request.
#pragma once

#include <cstdint>
#include <string>

// The user agent of a default-constructed options record.
std::u16string ObtainDefaultUserAgent();

// Flags for opening a request.
inline constexpr std::uint32_t INTERNET_FLAG_RELOAD = 0x80000000u;
inline constexpr std::uint32_t INTERNET_FLAG_NO_CACHE_WRITE = 0x04000000u;
inline constexpr std::uint32_t INTERNET_FLAG_SECURE = 0x00800000u;

struct HttpRequestOptions
{
    std::string postData;        // body, sent only when not empty
    std::int32_t verb = 0;       // 0 GET, 1 and 2 POST, 3 DELETE, other GET
    std::u16string url;          // absolute URL
    std::int32_t rangeStart = 0; // when not 0: "Range: bytes=%d-"
    std::u16string userAgent = ObtainDefaultUserAgent();
    std::u16string headers; // extra header lines, each ending in CR LF
    std::uint32_t openFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;
    std::uint32_t timeoutMs = 0; // time-out of the whole request; 0: none
    std::u16string proxyHost;    // when not empty, the proxy to go through
    std::int32_t proxyPort = 80;
    std::u16string proxyUser;
    std::u16string proxyPassword;
};
