// The grid's paint pass (every custom-draw stage, the final colours of every
// cell) over a quote-sized grid, and restoring a stored column layout.
#include "gridctrl/layout_section_profiles.h"
#include "gridctrl/report_grid.h"
#include "platform/profile/profile_store.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <vector>

using namespace platform;

namespace
{

constexpr int kRows = 10000;
constexpr int kColumns = 18; // the hidden column 0 and seventeen shown

// Colours in the manner of the quote grid: a grey Symbol column, text
// colours per cell, grey comment rows.
class QuoteLikeGrid : public CReportGridGroups
{
public:
    bool OnCellColour(int row, int column, COLORREF& text, COLORREF& back) override
    {
        if (column == 1)
        {
            back = RGB(225, 225, 225);
            return true;
        }
        const COLORREF colour =
            cellColours[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
        if (colour == 0)
            return false;
        text = colour;
        return true;
    }
    bool OnRowColour(int row, COLORREF&, COLORREF& back) override
    {
        const std::u16string symbol = GetItemText(row, 1);
        if (symbol.empty() || symbol[0] != u'-')
            return false;
        back = RGB(225, 225, 225);
        return true;
    }
    std::vector<std::array<COLORREF, 32>> cellColours;
};

// Sums what is painted, so that nothing can be left out.
class SummingTarget : public PaintTarget
{
public:
    void Cell(const PaintedCell& cell) override
    {
        sum += cell.textColour ^ cell.backColour ^ static_cast<COLORREF>(cell.text.size());
        ++cells;
    }
    void FocusRect(const RECT&) override { ++sum; }
    std::uint64_t sum = 0;
    std::uint64_t cells = 0;
};

void SetUpGrid(QuoteLikeGrid& grid)
{
    grid.Create(CreateParams{.style = LVS_REPORT, .rect = RECT{0, 0, 1200, 800}});
    grid.ModifyExtendedStyle(LVS_EX_FULLROWSELECT, 0);
    auto rowTrait = std::make_unique<CRowTraitText>();
    rowTrait->altTextColour = RGB(0, 0, 0);
    rowTrait->altBackColour = RGB(255, 255, 200);
    grid.SetBaseRowTrait(std::move(rowTrait));
    grid.AddHiddenFirstColumn();
    for (int column = 1; column < kColumns; ++column)
        grid.AddColumn(column, u"Col", column == 1 ? 0 : 1, 60, column);
}

void FillRows(QuoteLikeGrid& grid)
{
    grid.SetRedraw(false);
    for (int row = 0; row < kRows; ++row)
    {
        grid.InsertItem(row, u"r");
        grid.SetItemText(row, 1,
                         row % 17 == 0 ? u"- note" : u"SYM" + std::u16string(1, u'A' + row % 26));
        for (int column = 2; column < kColumns; ++column)
            grid.SetItemText(row, column, u"123.45");
        std::array<COLORREF, 32> colours{};
        if (row % 3 == 0)
            colours[5] = colours[6] = colours[8] = RGB(0, 127, 0);
        if (row % 3 == 1)
            colours[5] = colours[6] = colours[8] = RGB(255, 0, 0);
        colours[16] = row % 2 ? RGB(0, 127, 0) : 0;
        grid.cellColours.push_back(colours);
    }
    grid.SetRedraw(true);
}

void BM_GridPaintPass(benchmark::State& state)
{
    QuoteLikeGrid grid;
    SetUpGrid(grid);
    FillRows(grid);
    grid.SetItemState(5, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    grid.SetFocusColumn(4);
    SummingTarget target;
    for (auto _ : state)
    {
        grid.PaintRows(&target, 0, kRows);
        benchmark::DoNotOptimize(target.sum);
    }
    const double cellsPerPass = static_cast<double>(kRows) * kColumns;
    state.counters["ns_per_cell"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * cellsPerPass,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.SetItemsProcessed(state.iterations() * kRows * kColumns);
}
BENCHMARK(BM_GridPaintPass)->Unit(benchmark::kMillisecond);

void BM_RestoreColumnState(benchmark::State& state)
{
    SetAppProfile(std::make_unique<ProfileStore>(std::filesystem::path{}, u"HKEY_CURRENT_USER"));
    QuoteLikeGrid grid;
    SetUpGrid(grid);
    auto owned = std::make_unique<CLayoutSectionAppProfile>(u"GridConfig");
    owned->AddProfileName(u"Default");
    owned->AddProfileName(u"Special");
    CLayoutSectionAppProfile& section = *owned;
    grid.BindColumnState(std::move(owned));
    // A stored layout: two columns hidden, the rest in reverse order.
    grid.SetColumnShown(7, false);
    grid.SetColumnShown(12, false);
    std::vector<int> order = grid.GetColumnOrderArray();
    std::reverse(order.begin() + 3, order.end());
    grid.SetColumnOrderArray(order);
    grid.StoreColumnState(section);
    for (auto _ : state)
        grid.RestoreColumnState(section);
    SetAppProfile(nullptr);
}
BENCHMARK(BM_RestoreColumnState)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
