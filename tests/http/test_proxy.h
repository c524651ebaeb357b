// A small HTTP proxy for tests, on loopback: CONNECT tunnels and
// absolute-form requests, with an optional Basic credential check (407 when
// it fails). Every connection goes to the given quotesim ports; the heads it
// received are kept.
#pragma once

#include "support/loopback_listener.h"

#include <atomic>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace testing_support
{

class TestProxy
{
public:
    // `authorization` is the expected "Basic ..." value; empty: no check.
    TestProxy(int httpPort, int httpsPort, std::string authorization);
    ~TestProxy();
    TestProxy(const TestProxy&) = delete;
    TestProxy& operator=(const TestProxy&) = delete;

    int Port() const { return listener.port; }
    std::vector<std::string> Heads() const;

private:
    void Accept();
    void Serve(int client);

    int httpPort;
    int httpsPort;
    std::string authorization;
    LoopbackListener listener{64};
    std::atomic<bool> stopping{false};
    mutable std::mutex mutex;
    std::vector<std::string> heads;
    std::set<int> openFds;
    std::vector<std::thread> threads;
    std::thread acceptor;
};

} // namespace testing_support
