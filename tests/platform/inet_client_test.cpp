// The HTTP client over real sockets against quotesim.
#include "platform/inet/internet.h"
#include "support/loopback_listener.h"
#include "support/quotesim_env.h"

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <thread>

using namespace platform::inet;
using testing_support::ElapsedMs;
using testing_support::FinnHubQuotePath;

namespace
{

struct Outcome
{
    bool connected = false;
    bool sent = false;
    std::string status;
    std::string length;
    bool readOk = false;
    std::string body;
    size_t largestRead = 0;
};

Outcome Fetch(const std::string& host, bool secure, const std::string& path,
              const std::string& verb = "GET", const std::string& body = "")
{
    Outcome out;
    Session session("test-agent", "");
    std::shared_ptr<Connection> connection = session.Connect(host, secure ? 443 : 80, secure);
    out.connected = connection != nullptr;
    if (!connection)
        return out;
    Request request(connection, verb, path);
    out.sent = request.Send("", body);
    request.QueryStatusCode(out.status);
    request.QueryContentLength(out.length);
    char buffer[MAX_READ_BYTES];
    for (;;)
    {
        size_t count = 0;
        out.readOk = request.Read(buffer, sizeof buffer, count);
        if (!out.readOk || count == 0)
            break;
        out.largestRead = std::max(out.largestRead, count);
        out.body.append(buffer, count);
    }
    return out;
}

using DeafListener = testing_support::LoopbackListener;

class InetClientTest : public ::testing::Test
{
protected:
    testing_support::SimEnvironment sim;
};

} // namespace

TEST_F(InetClientTest, HttpsQuoteComesWhole)
{
    const Outcome out = Fetch("finnhub.io", true, FinnHubQuotePath("AAPL"));
    ASSERT_TRUE(out.connected);
    EXPECT_TRUE(out.sent);
    EXPECT_EQ(out.status, "200");
    EXPECT_EQ(out.length, std::to_string(out.body.size()));
    EXPECT_TRUE(out.readOk);
    EXPECT_EQ(out.body.rfind("{\"c\":", 0), 0u);

    const std::vector<std::string> heads = sim.server.RequestHeads();
    ASSERT_EQ(heads.size(), 1u);
    EXPECT_EQ(heads[0].rfind("GET /api/v1/quote?symbol=AAPL&token=fh-test-key HTTP/1.1\r\n", 0),
              0u);
    EXPECT_NE(heads[0].find("\r\nHost: finnhub.io\r\n"), std::string::npos);
    EXPECT_NE(heads[0].find("\r\nConnection: close\r\n"), std::string::npos);
    EXPECT_NE(heads[0].find("\r\nUser-Agent: test-agent\r\n"), std::string::npos);
}

TEST_F(InetClientTest, BodiesAreReadInChunksOfAtMost8192AndChunkedIsDecoded)
{
    const std::string path = "/api/v1/stock/candle?symbol=IBM&resolution=D&from=1600000000"
                             "&to=1631536000&token=fh-test-key";
    const Outcome plain = Fetch("finnhub.io", true, path);
    const Outcome chunked = Fetch("finnhub.io", true, path + "&sim=chunked");
    ASSERT_TRUE(plain.readOk);
    ASSERT_GT(plain.body.size(), 8192u);
    EXPECT_EQ(plain.largestRead, 8192u);
    EXPECT_TRUE(chunked.readOk);
    EXPECT_EQ(chunked.length, "");
    EXPECT_EQ(chunked.body, plain.body);
}

TEST_F(InetClientTest, BodyEndingsDecideTheRead)
{
    struct Case
    {
        const char* fault;
        bool readOk;
        bool halfBody;
    };
    const Case cases[] = {
        {"nolength", true, false}, // plain HTTP: the close ends the body
        {"short", false, true},
        {"cut", false, true},
    };
    const Outcome whole = Fetch("finnhub.io", false, FinnHubQuotePath("MSFT"));
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.fault);
        const Outcome out =
            Fetch("finnhub.io", false, FinnHubQuotePath("MSFT") + "&sim=" + c.fault);
        EXPECT_EQ(out.status, "200");
        EXPECT_EQ(out.readOk, c.readOk);
        EXPECT_EQ(out.body.size(), c.halfBody ? whole.body.size() / 2 : whole.body.size());
    }
}

TEST_F(InetClientTest, TlsStreamCutWithoutCloseNotifyIsIncompleteWhenItCarriesTheEnd)
{
    // quotesim closes "nolength" answers cleanly over TLS: that is a whole body.
    EXPECT_TRUE(Fetch("finnhub.io", true, FinnHubQuotePath("MSFT") + "&sim=nolength").readOk);
    // A reset with no length to compare against cannot be a whole body.
    EXPECT_FALSE(Fetch("finnhub.io", true, FinnHubQuotePath("MSFT") + "&sim=nolength,cut").readOk);
}

TEST_F(InetClientTest, CertificateFromAnotherAuthorityFailsTheConnect)
{
    quotesim::Server other(quotesim::Config{.caFile = (sim.dir / "other.pem").string()});
    testing_support::ScopedEnv trustOther("SSL_CERT_FILE", (sim.dir / "other.pem").string());
    EXPECT_FALSE(Fetch("finnhub.io", true, FinnHubQuotePath("AAPL")).connected);
    EXPECT_EQ(sim.server.RequestCount(), 0u);
}

TEST_F(InetClientTest, HostNameNotInTheCertificateFailsTheConnect)
{
    testing_support::ScopedEnv route("BRINDLE_CONNECT_TO",
                                     "example.com:443:127.0.0.1:" +
                                         std::to_string(sim.server.HttpsPort()));
    EXPECT_FALSE(Fetch("example.com", true, FinnHubQuotePath("AAPL")).connected);
    EXPECT_EQ(sim.server.RequestCount(), 0u);
}

TEST_F(InetClientTest, NoTrustedStoreFailsTheConnect)
{
    testing_support::ScopedEnv noStore("SSL_CERT_FILE", (sim.dir / "missing.pem").string());
    EXPECT_FALSE(Fetch("finnhub.io", true, FinnHubQuotePath("AAPL")).connected);
}

TEST_F(InetClientTest, SymbolCannotInjectIntoTheRequest)
{
    const Outcome out =
        Fetch("finnhub.io", true, FinnHubQuotePath("A B\r\nX-Injected: 1\r\n\r\nGET /x"));
    EXPECT_EQ(out.status, "200");
    const std::vector<std::string> heads = sim.server.RequestHeads();
    ASSERT_EQ(heads.size(), 1u);
    EXPECT_EQ(heads[0].find("\r\nX-Injected"), std::string::npos);
    EXPECT_EQ(
        heads[0].rfind("GET /api/v1/quote?symbol=A%20B%0D%0AX-Injected:%201%0D%0A%0D%0AGET%20/"
                       "x&token=fh-test-key HTTP/1.1\r\n",
                       0),
        0u);
}

TEST_F(InetClientTest, OversizedHeadersAndBodiesFailCleanly)
{
    const Outcome head = Fetch("finnhub.io", true, FinnHubQuotePath("A") + "&sim=headerpad=70000");
    EXPECT_FALSE(head.sent);
    EXPECT_EQ(head.status, "");
    EXPECT_FALSE(head.readOk);

    const Outcome fits = Fetch("finnhub.io", true, FinnHubQuotePath("A") + "&sim=headerpad=60000");
    EXPECT_EQ(fits.status, "200");
    EXPECT_TRUE(fits.readOk);

    const Outcome body = Fetch("finnhub.io", true, FinnHubQuotePath("A") + "&sim=length=70000000");
    EXPECT_EQ(body.status, "200");
    EXPECT_EQ(body.length, "70000000");
    EXPECT_FALSE(body.readOk);
    EXPECT_EQ(body.body, "");
}

TEST_F(InetClientTest, PostSendsItsBody)
{
    const Outcome out = Fetch("localhost", false, "/echo", "POST", "a=1&b=2");
    EXPECT_EQ(out.status, "200");
    EXPECT_EQ(out.body, "a=1&b=2");
    ASSERT_EQ(sim.server.RequestHeads().size(), 1u);
    EXPECT_NE(sim.server.RequestHeads()[0].find("\r\nContent-Length: 7\r\n"), std::string::npos);
}

TEST_F(InetClientTest, ClosingTheRequestEndsABlockedRead)
{
    Session session("", "");
    auto connection = session.Connect("finnhub.io", 443, true);
    ASSERT_TRUE(connection);
    auto request =
        std::make_shared<Request>(connection, "GET", FinnHubQuotePath("A") + "&sim=silent");
    auto sent = std::async(std::launch::async, [request] { return request->Send("", ""); });
    EXPECT_EQ(sent.wait_for(std::chrono::milliseconds(100)), std::future_status::timeout);
    const auto start = std::chrono::steady_clock::now();
    request->Close();
    EXPECT_FALSE(sent.get());
    EXPECT_LT(ElapsedMs(start), 500);
}

TEST_F(InetClientTest, ClosingTheSessionEndsABlockedConnect)
{
    DeafListener deaf;
    testing_support::ScopedEnv route("BRINDLE_CONNECT_TO",
                                     "finnhub.io:443:127.0.0.1:" + std::to_string(deaf.port));
    auto session = std::make_shared<Session>("", "");
    auto connected = std::async(std::launch::async,
                                [session] { return session->Connect("finnhub.io", 443, true); });
    EXPECT_EQ(connected.wait_for(std::chrono::milliseconds(100)), std::future_status::timeout);
    const auto start = std::chrono::steady_clock::now();
    session->Close();
    EXPECT_EQ(connected.get(), nullptr);
    EXPECT_LT(ElapsedMs(start), 500);
    EXPECT_EQ(session->Connect("finnhub.io", 443, true), nullptr); // closed stays closed
}

TEST_F(InetClientTest, NamesAreLookedUpAndEveryAddressTried)
{
    // localhost may come back as ::1 first; quotesim listens on 127.0.0.1.
    Session session("", "");
    auto connection = session.Connect("localhost", sim.server.HttpPort(), false);
    ASSERT_TRUE(connection);
    Request request(connection, "GET", FinnHubQuotePath("A"));
    EXPECT_TRUE(request.Send("", ""));
    std::string status;
    EXPECT_TRUE(request.QueryStatusCode(status));
    EXPECT_EQ(status, "200");
    EXPECT_EQ(session.Connect("no-such-host.invalid", 80, false), nullptr);
}
