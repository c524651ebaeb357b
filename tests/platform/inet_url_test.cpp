#include "platform/inet/url.h"

#include <gtest/gtest.h>

using namespace platform::inet;

TEST(CrackUrl, SplitsSchemeHostAndPathWithQuery)
{
    struct Case
    {
        std::u16string url;
        bool ok;
        int scheme;
        std::u16string host;
        std::u16string path;
        int port;
    };
    const Case cases[] = {
        {u"https://finnhub.io/api/v1/quote?symbol=A&token=k", true, SCHEME_HTTPS, u"finnhub.io",
         u"/api/v1/quote?symbol=A&token=k", 443},
        {u"HTTP://Example.com", true, SCHEME_HTTP, u"Example.com", u"/", 80},
        {u"http://host:8080/x?y#frag", true, SCHEME_HTTP, u"host", u"/x?y", 8080},
        {u"https://host?q=1", true, SCHEME_HTTPS, u"host", u"/?q=1", 443},
        {u"https://user:pw@host/p", true, SCHEME_HTTPS, u"host", u"/p", 443},
        {u"http://[::1]:81/p", true, SCHEME_HTTP, u"[::1]", u"/p", 81},
        {u"ftp://host/p", false, 0, u"", u"", 0},
        {u"not a url", false, 0, u"", u"", 0},
        {u"https:///path", false, 0, u"", u"", 0},
        {u"http://host:99999/", false, 0, u"", u"", 0},
        {u"", false, 0, u"", u"", 0},
    };
    for (const Case& c : cases)
    {
        UrlComponents parts;
        EXPECT_EQ(CrackUrl(c.url, parts), c.ok);
        EXPECT_EQ(parts.scheme, c.scheme);
        EXPECT_EQ(parts.hostName, c.host);
        EXPECT_EQ(parts.urlPath, c.path);
        EXPECT_EQ(parts.port, c.port);
    }
}

TEST(EscapeRequestTarget, EncodesOnlyWhatCanNeverStandInATarget)
{
    EXPECT_EQ(EscapeRequestTarget("/q?symbol=A&B&token=k%20"), "/q?symbol=A&B&token=k%20");
    EXPECT_EQ(EscapeRequestTarget("/q?symbol=BRK B"), "/q?symbol=BRK%20B");
    EXPECT_EQ(EscapeRequestTarget("/q?s=A\r\nX-Evil: 1"), "/q?s=A%0D%0AX-Evil:%201");
    EXPECT_EQ(EscapeRequestTarget("/q?s=\x7F\xC3\xA9\t"), "/q?s=%7F%C3%A9%09");
    EXPECT_EQ(EscapeRequestTarget(""), "/");
    EXPECT_EQ(EscapeRequestTarget("?a=1"), "/?a=1");
}

TEST(ConnectToOverride, FollowsCurlRules)
{
    const std::string rules = "finnhub.io:443:127.0.0.1:4443,:80:10.0.0.1:,bad,x:1:[::1]:9";
    auto to = ConnectToOverride("FinnHub.io", 443, rules);
    ASSERT_TRUE(to);
    EXPECT_EQ(to->host, "127.0.0.1");
    EXPECT_EQ(to->port, 4443);
    to = ConnectToOverride("any.host", 80, rules); // empty host matches all, empty port keeps
    ASSERT_TRUE(to);
    EXPECT_EQ(to->host, "10.0.0.1");
    EXPECT_EQ(to->port, 80);
    to = ConnectToOverride("x", 1, rules);
    ASSERT_TRUE(to);
    EXPECT_EQ(to->host, "::1");
    EXPECT_FALSE(ConnectToOverride("finnhub.io", 8443, rules));
    EXPECT_FALSE(ConnectToOverride("finnhub.io", 443, ""));
}

TEST(Base64, EncodesCredentials)
{
    EXPECT_EQ(Base64("Aladdin:open sesame"), "QWxhZGRpbjpvcGVuIHNlc2FtZQ==");
    EXPECT_EQ(Base64("ab"), "YWI=");
    EXPECT_EQ(Base64("abc"), "YWJj");
    EXPECT_EQ(Base64(""), "");
}
