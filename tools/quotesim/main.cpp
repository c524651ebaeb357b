// build/quotesim: the simulated quote services as a program.
#include "quote_sim.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

namespace
{

void Usage()
{
    std::fprintf(stderr, "usage: quotesim [--http-port N] [--https-port N] [--ca-file PATH]\n"
                         "                [--fh-key KEY] [--av-key KEY]\n"
                         "Ports default to free ones; -1 turns a listener off.\n");
}

} // namespace

int main(int argc, char** argv)
{
    quotesim::Config config;
    config.caFile = "quotesim-ca.pem";
    for (int i = 1; i < argc; ++i)
    {
        const std::string arg = argv[i];
        if (i + 1 >= argc)
        {
            Usage();
            return 2;
        }
        const std::string value = argv[++i];
        if (arg == "--http-port")
            config.httpPort = std::atoi(value.c_str());
        else if (arg == "--https-port")
            config.httpsPort = std::atoi(value.c_str());
        else if (arg == "--ca-file")
            config.caFile = value;
        else if (arg == "--fh-key")
            config.finnHubKey = value;
        else if (arg == "--av-key")
            config.alphaVantageKey = value;
        else
        {
            Usage();
            return 2;
        }
    }

    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    try
    {
        quotesim::Server server(config);
        std::printf("quotesim: http 127.0.0.1:%d https 127.0.0.1:%d\n", server.HttpPort(),
                    server.HttpsPort());
        std::printf("SSL_CERT_FILE=%s\n", config.caFile.c_str());
        std::printf("BRINDLE_CONNECT_TO=%s\n", server.ConnectTo().c_str());
        std::printf("FinnHub key: %s  AlphaVantage key: %s\n", config.finnHubKey.c_str(),
                    config.alphaVantageKey.c_str());
        std::fflush(stdout);
        int received = 0;
        sigwait(&signals, &received);
        server.Stop();
    }
    catch (const std::exception& error)
    {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
