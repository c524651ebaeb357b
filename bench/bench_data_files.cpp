// Loading and saving portfolios.txt and symboldata.txt of 100,000 lines each,
// side by side with copying the same files the way cp does (as a process,
// and as a read+write loop), plus merging quotes into a list of 10,000
// lines. Saving is atomic and so ends with fsync; the "NoSync" figures run
// the same steps without the fsync calls to show that share. All times are
// wall-clock times, so that the cp process counts whole.
//
// A load into a new store needs fresh memory for every line; where page
// faults are dear (virtual machines) that dominates, which the Reload
// figures (same work, memory already mapped) make visible. To see a single
// first load as at start-up:
//   bench_data_files --benchmark_filter=LoadIntoNewStore --benchmark_min_time=0.000001
#include "portfolio/line_file.h"
#include "portfolio/portfolio_file.h"
#include "quotes/quote_line.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <random>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace
{

namespace fs = std::filesystem;

constexpr int kFileLines = 100000;
constexpr int kMergeLines = 10000;

std::string Symbol(int i)
{
    return "SY" + std::to_string(100000 + i);
}

TextLines PortfolioLines()
{
    TextLines lines;
    for (int folio = 0; folio < 10; ++folio)
        lines.push_back(std::to_string(folio) + "|FOLIO|Portfolio " + std::to_string(folio) + "||");
    for (int i = 0; static_cast<int>(lines.size()) < kFileLines; ++i)
        lines.push_back(std::to_string(i % 10) + "|SEC|" + Symbol(i) + "|121.50|bought in March");
    return lines;
}

std::string QuoteLine(int i, const std::string& time)
{
    return Symbol(i) + "|148.9600|151.2300|150.0100|1.05|120.00|180.00|" + time + "|03/05/2021|";
}

TextLines SymbolLines(int count)
{
    TextLines lines;
    for (int i = 0; i < count; ++i)
        lines.push_back(QuoteLine(i, "14:07:09"));
    return lines;
}

void Check(bool ok, const char* what)
{
    if (!ok)
        throw std::runtime_error(what);
}

// Runs /bin/cp as a process and waits for it.
void CopyWithCpProcess(const char* from, const char* to)
{
    const char* argv[] = {"/bin/cp", from, to, nullptr};
    pid_t pid = 0;
    Check(posix_spawn(&pid, "/bin/cp", nullptr, nullptr, const_cast<char**>(argv), environ) == 0,
          "cannot start cp");
    int status = 0;
    Check(waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0,
          "cp failed");
}

// Copies as cp does without copy offload: read and write in 128 KiB blocks.
void CopyWithReadWrite(const char* from, const char* to)
{
    const int in = ::open(from, O_RDONLY | O_CLOEXEC);
    const int out = ::open(to, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    Check(in >= 0 && out >= 0, "cannot open for copying");
    std::vector<char> block(128 * 1024);
    for (;;)
    {
        const ssize_t got = ::read(in, block.data(), block.size());
        Check(got >= 0, "read failed");
        if (got == 0)
            break;
        Check(::write(out, block.data(), static_cast<size_t>(got)) == got, "write failed");
    }
    ::close(in);
    Check(::close(out) == 0, "close failed");
}

// The steps of the atomic save without its two fsync calls.
void SaveWithoutSync(const char* name, const TextLines& lines)
{
    const std::string bytes = JoinTextLines(lines);
    const std::string temporary = std::string(name) + ".tmp-bench";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    Check(fd >= 0, "cannot create");
    Check(::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()),
          "write failed");
    Check(::close(fd) == 0 && std::rename(temporary.c_str(), name) == 0, "cannot rename");
}

void SetBytes(benchmark::State& state, const char* file)
{
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(fs::file_size(file)));
}

// Each iteration loads into a new, empty store, as the program does at
// start-up; the store is freed outside the timed part. Freeing gives the
// memory back to the system, so each load pays for its page faults afresh.
void BM_LoadIntoNewStore(benchmark::State& state, bool (*load)(DataStore&), const char* file)
{
    for (auto _ : state)
    {
        auto store = std::make_unique<DataStore>();
        Check(load(*store), "load failed");
        state.PauseTiming();
        store.reset();
        state.ResumeTiming();
    }
    SetBytes(state, file);
}

// Loads again into the store that holds the previous load: the heap keeps
// its pages, so this shows the cost without page faults.
void BM_Reload(benchmark::State& state, bool (*load)(DataStore&), const char* file)
{
    DataStore store;
    for (auto _ : state)
        Check(load(store), "load failed");
    SetBytes(state, file);
}

void BM_SavePortfolios(benchmark::State& state)
{
    DataStore store;
    store.folioLines = PortfolioLines();
    for (auto _ : state)
        Check(SavePortfolios(store), "save failed");
    SetBytes(state, kPortfolioFileName);
}

void BM_SaveSymbolData(benchmark::State& state)
{
    DataStore store;
    store.symbolLines = SymbolLines(kFileLines);
    for (auto _ : state)
        Check(SaveSymbolData(store), "save failed");
    SetBytes(state, kSymbolDataFileName);
}

void BM_SavePortfoliosNoSync(benchmark::State& state)
{
    const TextLines lines = PortfolioLines();
    for (auto _ : state)
        SaveWithoutSync(kPortfolioFileName, lines);
    SetBytes(state, kPortfolioFileName);
}

void BM_SaveSymbolDataNoSync(benchmark::State& state)
{
    const TextLines lines = SymbolLines(kFileLines);
    for (auto _ : state)
        SaveWithoutSync(kSymbolDataFileName, lines);
    SetBytes(state, kSymbolDataFileName);
}

void BM_Copy(benchmark::State& state, void (*copyFile)(const char*, const char*), const char* file)
{
    const std::string copy = std::string(file) + ".copy";
    for (auto _ : state)
        copyFile(file, copy.c_str());
    SetBytes(state, file);
}

void BM_MergeSymbolLine(benchmark::State& state)
{
    DataStore store;
    store.symbolLines = SymbolLines(kMergeLines);
    std::vector<std::string> quotes;
    std::mt19937 random(42);
    for (int i = 0; i < kMergeLines; ++i)
        quotes.push_back(QuoteLine(static_cast<int>(random() % kMergeLines), "15:30:00"));
    for (auto _ : state)
    {
        for (const std::string& quote : quotes)
            MergeSymbolLine(store, quote);
    }
    Check(store.symbolLines.size() == kMergeLines, "merge changed the line count");
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kMergeLines);
}

BENCHMARK_CAPTURE(BM_LoadIntoNewStore, Portfolios, LoadPortfolios, kPortfolioFileName)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Reload, Portfolios, LoadPortfolios, kPortfolioFileName)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Copy, CpProcessPortfolios, CopyWithCpProcess, kPortfolioFileName)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Copy, ReadWritePortfolios, CopyWithReadWrite, kPortfolioFileName)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_SavePortfolios)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SavePortfoliosNoSync)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_LoadIntoNewStore, SymbolData, LoadSymbolData, kSymbolDataFileName)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Reload, SymbolData, LoadSymbolData, kSymbolDataFileName)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Copy, CpProcessSymbolData, CopyWithCpProcess, kSymbolDataFileName)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Copy, ReadWriteSymbolData, CopyWithReadWrite, kSymbolDataFileName)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_SaveSymbolData)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SaveSymbolDataNoSync)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MergeSymbolLine)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    // The files live in a folder of their own, made the working directory.
    std::string pattern = (fs::temp_directory_path() / "brindle-bench-XXXXXX").string();
    Check(mkdtemp(pattern.data()) != nullptr, "mkdtemp failed");
    const fs::path previous = fs::current_path();
    fs::current_path(pattern);
    Check(SaveTextLines(kPortfolioFileName, PortfolioLines()), "cannot write portfolios");
    Check(SaveTextLines(kSymbolDataFileName, SymbolLines(kFileLines)), "cannot write symbol data");
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fs::current_path(previous);
    fs::remove_all(pattern);
    return 0;
}
