// A quotesim server started in-process with the HTTP client pointed at it:
// its authority trusted through SSL_CERT_FILE and the services' hosts sent
// to it through BRINDLE_CONNECT_TO. For test programs that link quotesim_lib.
#pragma once

#include "quote_sim.h"
#include "support/temp_dir.h"

#include <chrono>
#include <functional>
#include <string>

namespace testing_support
{

class SimEnvironment
{
public:
    SimEnvironment()
        : server(quotesim::Config{.caFile = (dir / "ca.pem").string()}),
          trust("SSL_CERT_FILE", (dir / "ca.pem").string()),
          route("BRINDLE_CONNECT_TO", server.ConnectTo())
    {
    }

    std::string CaFile() const { return (dir / "ca.pem").string(); }

    TempDir dir;
    quotesim::Server server;
    ScopedEnv trust;
    ScopedEnv route;
};

// Addresses of the simulated services.
inline std::string FinnHubQuotePath(const std::string& symbol,
                                    const std::string& key = "fh-test-key")
{
    return "/api/v1/quote?symbol=" + symbol + "&token=" + key;
}

inline double ElapsedMs(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since)
        .count();
}

} // namespace testing_support
