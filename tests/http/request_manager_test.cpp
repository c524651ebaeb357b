// The request engine against quotesim over real sockets: what each fault
// leaves in the request and which events the owner hears.
#include "http/request_manager.h"
#include "platform/inet/url.h"
#include "platform/ui/clock.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/window.h"
#include "support/loopback_listener.h"
#include "support/quotesim_env.h"
#include "test_proxy.h"

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <map>
#include <memory>

using testing_support::ElapsedMs;

namespace
{

struct Event
{
    std::int32_t id = 0;
    char kind = 0; // 'H' headers, 'F' finished, 'T' timed out
    std::int32_t status = 0;
    std::int32_t length = 0;
    bool readCompleted = false;
    std::int32_t bytes = 0;
    std::string body;
    std::uint32_t openFlags = 0;
};

class RecordingManager : public HttpRequestManager
{
public:
    void OnResponseHeaders(HttpRequest& r) override
    {
        events.push_back(
            {r.requestId, 'H', r.statusCode, r.contentLength, false, 0, "", r.options.openFlags});
        if (onHeaders)
            onHeaders(r);
    }
    void OnRequestFinished(HttpRequest& r) override
    {
        std::string body = r.TakeReceived();
        secondTake = r.TakeReceived();
        events.push_back({r.requestId, 'F', r.statusCode, r.contentLength, r.readCompleted.load(),
                          r.BytesReceived(), body, r.options.openFlags});
    }
    void OnRequestTimeout(HttpRequest& r) override
    {
        events.push_back({r.requestId, 'T', r.statusCode, 0, false, 0, "", 0});
    }

    std::string Kinds(std::int32_t id) const
    {
        std::string kinds;
        for (const Event& e : events)
            if (e.id == id)
                kinds.push_back(e.kind);
        return kinds;
    }
    const Event* Find(std::int32_t id, char kind) const
    {
        for (const Event& e : events)
            if (e.id == id && e.kind == kind)
                return &e;
        return nullptr;
    }
    bool Idle() const { return runningRequests.empty() && closingRequests.empty(); }
    bool PumpRunning() const
    {
        return platform::ThreadQueue::ForCurrentThread()->HasTimer(eventWindow, PUMP_TIMER_ID);
    }
    bool HasTimer(std::int32_t id) const
    {
        return platform::ThreadQueue::ForCurrentThread()->HasTimer(
            eventWindow, static_cast<platform::UINT_PTR>(id));
    }
    size_t Closing() const { return closingRequests.size(); }

    std::vector<Event> events;
    std::string secondTake = "unset";
    std::function<void(HttpRequest&)> onHeaders;
};

bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000)
{
    const auto start = std::chrono::steady_clock::now();
    while (!done())
    {
        if (ElapsedMs(start) > timeoutMs)
            return false;
        WaitWithMessagePump(5);
    }
    return true;
}

HttpRequestOptions Get(const std::u16string& url)
{
    HttpRequestOptions options;
    options.url = url;
    options.userAgent = u"";
    return options;
}

std::u16string QuoteUrl(const std::u16string& scheme, const std::u16string& symbol,
                        const std::u16string& key = u"fh-test-key")
{
    return scheme + u"://finnhub.io/api/v1/quote?symbol=" + symbol + u"&token=" + key;
}

using DeafListener = testing_support::LoopbackListener;

class RequestEngineTest : public ::testing::Test
{
protected:
    testing_support::SimEnvironment sim;
    RecordingManager manager;
};

} // namespace

TEST_F(RequestEngineTest, FaultMatrix)
{
    constexpr int FULL = -1;
    constexpr int HALF = -2;
    const std::string errorBody = "{\"error\":\"simulated status 503\"}";
    const int errorSize = static_cast<int>(errorBody.size());
    struct Case
    {
        std::u16string symbol;
        int status;
        int length;
        bool readCompleted;
        int bytes;
    };
    const Case cases[] = {
        {u"IBM", 200, FULL, true, FULL},
        {u"IBM~delay=50", 200, FULL, true, FULL},
        {u"IBM~status=503", 503, errorSize, true, errorSize},
        {u"IBM~short", 200, FULL, false, HALF},
        {u"IBM~cut", 200, FULL, false, HALF},
        {u"IBM~nolength", 200, 0, true, FULL},
        {u"IBM~chunked", 200, 0, true, FULL},
        {u"IBM~chunked,slow=5", 200, 0, true, FULL},
        {u"IBM~headerpad=70000", 0, 0, false, 0},
        {u"IBM~length=70000000", 200, 70000000, false, 0},
    };
    for (const std::u16string scheme : {u"https", u"http"})
    {
        manager.events.clear();
        std::map<std::int32_t, const Case*> issued;
        for (const Case& c : cases)
            issued[manager.AddRequest(Get(QuoteUrl(scheme, c.symbol)))] = &c;
        const std::int32_t badKey = manager.AddRequest(Get(QuoteUrl(scheme, u"IBM", u"wrong")));
        ASSERT_TRUE(PumpUntil(
            [&]
            {
                return std::count_if(manager.events.begin(), manager.events.end(),
                                     [](const Event& e) { return e.kind == 'F'; }) ==
                       static_cast<long>(issued.size() + 1);
            }));

        const Event* clean = manager.Find(issued.begin()->first, 'F');
        ASSERT_TRUE(clean);
        const int full = static_cast<int>(clean->body.size());
        ASSERT_GT(full, 20);
        for (const auto& [id, c] : issued)
        {
            SCOPED_TRACE(std::string(c->symbol.begin(), c->symbol.end()) + " over " +
                         std::string(scheme.begin(), scheme.end()));
            EXPECT_EQ(manager.Kinds(id), "HF");
            const Event* finished = manager.Find(id, 'F');
            ASSERT_TRUE(finished);
            const int bytes = c->bytes == FULL ? full : c->bytes == HALF ? full / 2 : c->bytes;
            EXPECT_EQ(finished->status, c->status);
            EXPECT_EQ(finished->length, c->length == FULL ? full : c->length);
            EXPECT_EQ(finished->readCompleted, c->readCompleted);
            EXPECT_EQ(finished->bytes, bytes);
            EXPECT_EQ(static_cast<int>(finished->body.size()), bytes);
        }
        EXPECT_EQ(manager.Kinds(badKey), "HF");
        EXPECT_EQ(manager.Find(badKey, 'F')->status, 401);
        EXPECT_TRUE(manager.Find(badKey, 'F')->readCompleted);
    }
    EXPECT_TRUE(PumpUntil([&] { return manager.Idle(); }, 2000));
}

TEST_F(RequestEngineTest, IdsCountFrom100AndThePumpStopsWhenIdle)
{
    EXPECT_FALSE(manager.PumpRunning());
    EXPECT_EQ(manager.AddRequest(Get(QuoteUrl(u"https", u"A"))), 100);
    EXPECT_EQ(manager.AddRequest(Get(QuoteUrl(u"https", u"B"))), 101);
    EXPECT_TRUE(manager.PumpRunning());
    ASSERT_NE(manager.FindRequest(101), nullptr);
    EXPECT_EQ(manager.FindRequest(101)->requestId, 101);
    EXPECT_EQ(manager.FindRequest(99), nullptr);
    manager.DeleteRequest(12345); // unknown: nothing happens

    ASSERT_TRUE(PumpUntil([&] { return manager.Idle() && !manager.PumpRunning(); }));
    EXPECT_EQ(manager.Kinds(100), "HF");
    EXPECT_EQ(manager.Kinds(101), "HF");
    EXPECT_EQ(manager.secondTake, ""); // the body was taken once
    EXPECT_EQ(manager.FindRequest(100), nullptr);
    EXPECT_EQ(manager.AddRequest(Get(QuoteUrl(u"https", u"C"))), 102);
    EXPECT_TRUE(manager.PumpRunning());
}

TEST_F(RequestEngineTest, UnusableUrlsStillSendEveryEvent)
{
    const std::int32_t bad = manager.AddRequest(Get(u"not a url"));
    const std::int32_t noHost = manager.AddRequest(Get(u"https://no-such-host.invalid/x"));
    ASSERT_TRUE(PumpUntil([&] { return manager.Idle(); }));
    for (std::int32_t id : {bad, noHost})
    {
        EXPECT_EQ(manager.Kinds(id), "HF");
        EXPECT_EQ(manager.Find(id, 'F')->status, 0);
        EXPECT_FALSE(manager.Find(id, 'F')->readCompleted);
        EXPECT_EQ(manager.Find(id, 'F')->bytes, 0);
    }
}

TEST_F(RequestEngineTest, CertificateFailuresAreFailedConnects)
{
    // A name the certificate does not carry, sent to the same server.
    testing_support::ScopedEnv route("BRINDLE_CONNECT_TO",
                                     sim.server.ConnectTo() + ",example.com:443:127.0.0.1:" +
                                         std::to_string(sim.server.HttpsPort()));
    const std::int32_t wrongName = manager.AddRequest(Get(u"https://example.com/api/v1/quote"));
    ASSERT_TRUE(PumpUntil([&] { return manager.Idle(); }));
    {
        // An authority we do not trust.
        testing_support::ScopedEnv trustNothing("SSL_CERT_FILE", (sim.dir / "none.pem").string());
        manager.AddRequest(Get(QuoteUrl(u"https", u"A")));
        ASSERT_TRUE(PumpUntil([&] { return manager.Idle(); }));
    }
    const std::int32_t untrusted = wrongName + 1;
    for (std::int32_t id : {wrongName, untrusted})
    {
        EXPECT_EQ(manager.Kinds(id), "HF");
        EXPECT_EQ(manager.Find(id, 'F')->status, 0);
        EXPECT_FALSE(manager.Find(id, 'F')->readCompleted);
    }
    EXPECT_EQ(sim.server.RequestCount(), 0u);
}

TEST_F(RequestEngineTest, RequestCarriesVerbBodyRangeAgentAndFlags)
{
    HttpRequestOptions post = Get(u"http://localhost/echo");
    post.verb = 2;
    post.postData = "x=1&y=2";
    post.rangeStart = 5;
    post.headers = u"X-One: 1\r\nX-Two: 2\r\n";
    post.userAgent = u"Agent/7";
    const std::int32_t postId = manager.AddRequest(post);

    // A port written in the URL is not used: https goes to 443.
    HttpRequestOptions odd = Get(u"https://finnhub.io:9999/echo?a=1");
    odd.verb = 7;
    odd.postData.clear();
    const std::int32_t oddId = manager.AddRequest(odd);
    ASSERT_NE(manager.FindRequest(oddId), nullptr);
    EXPECT_EQ(manager.FindRequest(oddId)->scheme, 4);
    EXPECT_EQ(manager.FindRequest(oddId)->hostName, u"finnhub.io");
    EXPECT_EQ(manager.FindRequest(oddId)->objectPath, u"/echo?a=1");
    EXPECT_EQ(manager.FindRequest(postId)->scheme, 3);
    ASSERT_TRUE(PumpUntil([&] { return manager.Idle(); }));

    EXPECT_EQ(manager.Find(postId, 'F')->body, "x=1&y=2");
    EXPECT_EQ(manager.Find(postId, 'F')->openFlags, 0x84000000u);
    EXPECT_EQ(manager.Find(oddId, 'F')->openFlags, 0x84800000u);
    std::string postHead;
    std::string getHead;
    for (const std::string& head : sim.server.RequestHeads())
        (head.rfind("POST", 0) == 0 ? postHead : getHead) = head;
    EXPECT_EQ(postHead.rfind("POST /echo HTTP/1.1\r\n", 0), 0u);
    EXPECT_NE(postHead.find("\r\nX-One: 1\r\nX-Two: 2\r\nRange: bytes=5-\r\n"), std::string::npos);
    EXPECT_NE(postHead.find("\r\nUser-Agent: Agent/7\r\n"), std::string::npos);
    EXPECT_EQ(manager.Find(oddId, 'F')->status, 200);
    EXPECT_EQ(getHead.rfind("GET /echo?a=1 HTTP/1.1\r\nHost: finnhub.io\r\n", 0), 0u);
    EXPECT_EQ(getHead.find("User-Agent"), std::string::npos);
    EXPECT_EQ(getHead.find("Range"), std::string::npos);
    EXPECT_EQ(getHead.find("Content-Length"), std::string::npos);
}

TEST(HttpRequestOptionsDefaults, AreOurOwn)
{
    const HttpRequestOptions options;
    EXPECT_EQ(options.openFlags, 0x84000000u);
    EXPECT_EQ(options.verb, 0);
    EXPECT_EQ(options.proxyPort, 80);
    EXPECT_EQ(options.timeoutMs, 0u);
    EXPECT_NE(options.userAgent.find(u"Brindle/"), std::u16string::npos);
}

TEST_F(RequestEngineTest, CancelDuringConnectEndsTheWorkerPromptly)
{
    DeafListener deaf;
    testing_support::ScopedEnv route("BRINDLE_CONNECT_TO",
                                     "finnhub.io:443:127.0.0.1:" + std::to_string(deaf.port));
    const std::int32_t id = manager.AddRequest(Get(QuoteUrl(u"https", u"A")));
    WaitWithMessagePump(100);
    ASSERT_NE(manager.FindRequest(id), nullptr); // still connecting
    const auto start = std::chrono::steady_clock::now();
    manager.DeleteRequest(id);
    EXPECT_EQ(manager.FindRequest(id), nullptr);
    EXPECT_EQ(manager.Closing(), 1u);
    ASSERT_TRUE(PumpUntil([&] { return manager.Idle(); }, 1000));
    EXPECT_LT(ElapsedMs(start), 500);
    EXPECT_EQ(manager.Kinds(id), "");
}

TEST_F(RequestEngineTest, CancelDuringSlowBody)
{
    const std::int32_t id = manager.AddRequest(Get(QuoteUrl(u"https", u"A~slow=100,body=4000")));
    ASSERT_TRUE(PumpUntil([&] { return manager.Kinds(id) == "H"; }));
    WaitWithMessagePump(150);
    const auto start = std::chrono::steady_clock::now();
    manager.DeleteRequest(id);
    ASSERT_TRUE(PumpUntil([&] { return manager.Idle(); }, 1000));
    EXPECT_LT(ElapsedMs(start), 500);
    EXPECT_EQ(manager.Kinds(id), "H");
}

TEST_F(RequestEngineTest, DeletingFromOnResponseHeadersMeansNoFinish)
{
    manager.onHeaders = [this](HttpRequest& r)
    {
        manager.DeleteRequest(r.requestId);
        EXPECT_EQ(r.statusCode, 200); // still valid after its own deletion
    };
    const std::int32_t id = manager.AddRequest(Get(QuoteUrl(u"https", u"A~slow=20")));
    ASSERT_TRUE(PumpUntil([&] { return manager.Idle(); }));
    EXPECT_EQ(manager.Kinds(id), "H");
}

TEST_F(RequestEngineTest, TimeOutVersusFinish)
{
    HttpRequestOptions quick = Get(QuoteUrl(u"https", u"A"));
    quick.timeoutMs = 3000;
    HttpRequestOptions late = Get(QuoteUrl(u"https", u"A~delay=3000"));
    late.timeoutMs = 100;
    const std::int32_t quickId = manager.AddRequest(quick);
    const std::int32_t lateId = manager.AddRequest(late);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(PumpUntil([&] { return manager.Idle(); }, 2000));
    EXPECT_LT(ElapsedMs(start), 1000);
    EXPECT_EQ(manager.Kinds(quickId), "HF");
    EXPECT_EQ(manager.Kinds(lateId), "T");
    // The finished request's time-out timer went with it.
    EXPECT_FALSE(manager.HasTimer(quickId));
}

TEST_F(RequestEngineTest, ProxyTunnelsHttpsAndForwardsHttpWithCredentials)
{
    const std::string expected = "Basic " + platform::inet::Base64("joe:s3cret");
    testing_support::TestProxy proxy(sim.server.HttpPort(), sim.server.HttpsPort(), expected);
    auto viaProxy = [&](const std::u16string& url, const std::u16string& password)
    {
        HttpRequestOptions options = Get(url);
        options.proxyHost = u"127.0.0.1";
        options.proxyPort = proxy.Port();
        options.proxyUser = u"joe";
        options.proxyPassword = password;
        return manager.AddRequest(options);
    };
    const std::int32_t tunnel = viaProxy(QuoteUrl(u"https", u"A"), u"s3cret");
    const std::int32_t forward = viaProxy(QuoteUrl(u"http", u"A"), u"s3cret");
    const std::int32_t refusedTunnel = viaProxy(QuoteUrl(u"https", u"A"), u"wrong");
    const std::int32_t refusedForward = viaProxy(QuoteUrl(u"http", u"A"), u"wrong");
    ASSERT_TRUE(PumpUntil([&] { return manager.Idle(); }));

    EXPECT_EQ(manager.Find(tunnel, 'F')->status, 200);
    EXPECT_TRUE(manager.Find(tunnel, 'F')->readCompleted);
    EXPECT_EQ(manager.Find(forward, 'F')->status, 200);
    EXPECT_EQ(manager.Find(refusedTunnel, 'F')->status, 0); // no tunnel, no TLS
    EXPECT_EQ(manager.Find(refusedForward, 'F')->status, 407);

    bool sawConnect = false;
    bool sawAbsolute = false;
    for (const std::string& head : proxy.Heads())
    {
        if (head.find(expected) == std::string::npos)
            continue;
        sawConnect |= head.rfind("CONNECT finnhub.io:443 HTTP/1.1\r\n", 0) == 0;
        sawAbsolute |=
            head.rfind("GET http://finnhub.io/api/v1/quote?symbol=A&token=fh-test-key HTTP/1.1\r\n",
                       0) == 0;
    }
    EXPECT_TRUE(sawConnect);
    EXPECT_TRUE(sawAbsolute);
}

TEST_F(RequestEngineTest, EmptyProxyHostConnectsDirectly)
{
    HttpRequestOptions options = Get(QuoteUrl(u"https", u"A"));
    options.proxyPort = 1;
    options.proxyUser = u"joe";
    const std::int32_t id = manager.AddRequest(options);
    ASSERT_TRUE(PumpUntil([&] { return manager.Idle(); }));
    EXPECT_EQ(manager.Find(id, 'F')->status, 200);
}

TEST(RequestEngineTeardown, WaitsAtMostThreeSecondsForAServerThatNeverAnswers)
{
    testing_support::SimEnvironment sim;
    auto manager = std::make_unique<RecordingManager>();
    for (int i = 0; i < 5; ++i)
        manager->AddRequest(Get(QuoteUrl(i % 2 ? u"https" : u"http", u"A~silent")));
    PumpUntil([&] { return sim.server.RequestCount() == 5; }, 2000);
    const auto start = std::chrono::steady_clock::now();
    manager.reset();
    EXPECT_LT(ElapsedMs(start), 3200);
}

TEST(WaitWithMessagePump, DispatchesWhileWaitingAndReturnsOnTime)
{
    platform::ManualClock clock;
    platform::ScopedClock useClock(clock);
    struct Counter : platform::Window
    {
        platform::LRESULT WindowProc(platform::UINT message, platform::WPARAM wParam,
                                     platform::LPARAM lParam) override
        {
            if (message == platform::WM_APP + 5)
                ++count;
            return Window::WindowProc(message, wParam, lParam);
        }
        int count = 0;
    } window;
    window.Create(platform::CreateParams{.parent = platform::HWND_MESSAGE});
    platform::PostMessage(window.Handle(), platform::WM_APP + 5, 0, 0);
    WaitWithMessagePump(0);
    EXPECT_EQ(window.count, 1);

    const std::uint64_t before = clock.NowMs();
    platform::PostMessage(window.Handle(), platform::WM_APP + 5, 0, 0);
    WaitWithMessagePump(250);
    EXPECT_EQ(window.count, 2);
    EXPECT_GE(clock.NowMs() - before, 250u);
    window.Destroy();
}
