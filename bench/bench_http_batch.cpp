// 200 concurrent HTTPS GETs to quotesim on loopback: the whole batch's wall
// time and CPU time, this program's engine against
// `curl --parallel --parallel-max 200` on the same server in the same run.
//
//   build/bench/bench_http_batch [rounds] [requests]
//
// quotesim runs as its own process (build/quotesim, or $QUOTESIM), so the
// CPU figures are the clients' alone: ours from getrusage(RUSAGE_SELF), curl's
// from wait4().
#include "http/request_manager.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace
{

struct Figures
{
    double wallMs = 0;
    double cpuMs = 0;
};

double CpuMs(const rusage& usage)
{
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
}

double Now()
{
    return std::chrono::duration<double, std::milli>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::string Url(int i)
{
    return "https://finnhub.io/api/v1/quote?symbol=SYM" + std::to_string(i) + "&token=fh-test-key";
}

class BatchManager : public HttpRequestManager
{
public:
    void OnRequestFinished(HttpRequest& request) override
    {
        ++finished;
        if (request.statusCode == 200 && request.readCompleted &&
            request.BytesReceived() == request.contentLength)
            ++good;
        request.TakeReceived();
    }
    int finished = 0;
    int good = 0;
    bool Idle() const { return runningRequests.empty() && closingRequests.empty(); }
};

Figures RunOurs(int requests, int& good)
{
    BatchManager manager;
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    const double start = Now();
    for (int i = 0; i < requests; ++i)
    {
        HttpRequestOptions options;
        const std::string url = Url(i);
        options.url.assign(url.begin(), url.end());
        options.userAgent.clear();
        manager.AddRequest(options);
    }
    while (manager.finished < requests)
        WaitWithMessagePump(1);
    const double wall = Now() - start;
    // Let the pump destroy the requests, outside the measured time.
    while (!manager.Idle())
        WaitWithMessagePump(10);
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    good = manager.good;
    return {wall, CpuMs(after) - CpuMs(before)};
}

Figures RunCurl(int requests, const std::string& caFile, const std::string& connectTo,
                const std::string& configFile)
{
    {
        std::ofstream config(configFile);
        for (int i = 0; i < requests; ++i)
            config << "url = \"" << Url(i) << "\"\noutput = \"/dev/null\"\n";
    }
    const double start = Now();
    const pid_t child = fork();
    if (child == 0)
    {
        std::freopen("/dev/null", "w", stderr);
        execlp("curl", "curl", "--silent", "--no-progress-meter", "--parallel", "--parallel-max",
               "200", "--cacert", caFile.c_str(), "--connect-to", connectTo.c_str(), "--config",
               configFile.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    const double wall = Now() - start;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        std::fprintf(stderr, "curl failed (status %d)\n", status);
    return {wall, CpuMs(usage)};
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const int requests = argc > 2 ? std::max(1, std::atoi(argv[2])) : 200;
    const std::filesystem::path self = std::filesystem::canonical("/proc/self/exe");
    const std::string quotesim = std::getenv("QUOTESIM")
                                     ? std::getenv("QUOTESIM")
                                     : (self.parent_path().parent_path() / "quotesim").string();
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("bench_http_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::string caFile = (dir / "ca.pem").string();
    const std::string portFile = (dir / "ports.txt").string();

    const pid_t server = fork();
    if (server == 0)
    {
        std::freopen(portFile.c_str(), "w", stdout);
        execl(quotesim.c_str(), quotesim.c_str(), "--ca-file", caFile.c_str(), "--http-port", "-1",
              static_cast<char*>(nullptr));
        _exit(127);
    }
    int httpsPort = 0;
    for (int tries = 0; tries < 100 && httpsPort == 0; ++tries)
    {
        usleep(50000);
        std::ifstream in(portFile);
        std::string word;
        while (in >> word)
            if (word.rfind("127.0.0.1:", 0) == 0 && word != "127.0.0.1:-1")
                httpsPort = std::atoi(word.c_str() + 10);
    }
    if (httpsPort == 0)
    {
        std::fprintf(stderr, "quotesim did not start (%s)\n", quotesim.c_str());
        kill(server, SIGTERM);
        return 1;
    }
    const std::string connectTo = "finnhub.io:443:127.0.0.1:" + std::to_string(httpsPort);
    setenv("SSL_CERT_FILE", caFile.c_str(), 1);
    setenv("BRINDLE_CONNECT_TO", connectTo.c_str(), 1);

    std::vector<double> oursWall, oursCpu, curlWall, curlCpu;
    int worstGood = requests;
    int warmUpGood = 0;
    RunOurs(10, warmUpGood); // warm-up
    for (int round = 0; round < rounds; ++round)
    {
        int good = 0;
        const Figures ours = RunOurs(requests, good);
        worstGood = std::min(worstGood, good);
        const Figures curl = RunCurl(requests, caFile, connectTo, (dir / "curl.cfg").string());
        oursWall.push_back(ours.wallMs);
        oursCpu.push_back(ours.cpuMs);
        curlWall.push_back(curl.wallMs);
        curlCpu.push_back(curl.cpuMs);
        std::printf("round %d: ours %.1f ms wall %.1f ms CPU | curl %.1f ms wall %.1f ms CPU\n",
                    round + 1, ours.wallMs, ours.cpuMs, curl.wallMs, curl.cpuMs);
    }
    kill(server, SIGTERM);
    waitpid(server, nullptr, 0);
    std::filesystem::remove_all(dir);

    const double ow = Median(oursWall), oc = Median(oursCpu);
    const double cw = Median(curlWall), cc = Median(curlCpu);
    std::printf("\n%d concurrent HTTPS GETs, median of %d rounds\n", requests, rounds);
    std::printf("  ours: %8.1f ms wall  %8.1f ms CPU  (%d/%d complete)\n", ow, oc, worstGood,
                requests);
    std::printf("  curl: %8.1f ms wall  %8.1f ms CPU\n", cw, cc);
    std::printf("  ours/curl: wall %.2fx  CPU %.2fx  (goal: each within 1.5x)\n", ow / cw, oc / cc);
    return 0;
}
