// Filling the quote grid: a 99-row portfolio against 1,000 stored quote
// lines, and a 5,000-row portfolio against 5,000 lines. Every row looks its
// symbol up among the stored lines and fills seventeen cells.
#include "platform/profile/profile_store.h"
#include "quotes/quote_grid.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

using namespace platform;

namespace
{

std::string SymbolName(int i)
{
    char name[16];
    std::snprintf(name, sizeof name, "S%04d", i);
    return name;
}

// Quote lines for `lineCount` symbols, with a duplicate of every tenth one
// further down (the first must win), and a portfolio of `rowCount` entries
// spread over them; every twentieth entry has no stored line.
DataStore MakeStore(int rowCount, int lineCount)
{
    DataStore store;
    for (int i = 0; i < lineCount; ++i)
    {
        const double last = 10 + (i % 97) * 0.37;
        char line[160];
        std::snprintf(line, sizeof line, "%s|%.2f|%.2f|%.2f|%.2f|%.2f|%.2f|14:07:09|03/05/2021|%s",
                      SymbolName(i).c_str(), last - 1, last + 1, last, (i % 7) - 3.0, last - 5,
                      last + 6, i % 5 == 0 ? "1.5" : "");
        store.symbolLines.push_back(line);
    }
    for (int i = 0; i < lineCount; i += 10)
        store.symbolLines.push_back(SymbolName(i) + "|0|0|0|0|0|0|0|0|0");

    store.folioLines.push_back("1|FOLIO|Main||");
    for (int row = 0; row < rowCount; ++row)
    {
        const int symbol = row % 20 == 19 ? lineCount + row : (row * 7919) % lineCount;
        store.folioLines.push_back("1|SEC|" + SymbolName(symbol) + "|" +
                                   std::to_string(5 + row % 30) + "|note " + std::to_string(row));
    }
    return store;
}

void FillQuoteGrid(benchmark::State& state)
{
    SetAppProfile(std::make_unique<ProfileStore>(std::filesystem::path{}, u"HKEY_CURRENT_USER"));
    {
        const DataStore store =
            MakeStore(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
        myGridCtrl grid;
        grid.Create(CreateParams{.style = LVS_REPORT, .rect = RECT{0, 0, 1200, 800}});
        grid.SetupQuoteGrid();
        for (auto _ : state)
        {
            grid.FillQuoteGrid(store, 1);
            benchmark::DoNotOptimize(grid.GetItemCount());
        }
        state.counters["rows"] = grid.GetItemCount();
    }
    SetAppProfile(nullptr);
}

} // namespace

BENCHMARK(FillQuoteGrid)->Args({99, 1000})->Args({5000, 5000})->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
