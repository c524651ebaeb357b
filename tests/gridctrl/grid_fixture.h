// A grid on a parent window, with four visible columns after the hidden
// column 0, and a paint target that records every painted cell.
#pragma once

#include "gridctrl/report_grid.h"
#include "platform/ui/window.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace grid_testing
{

using namespace platform;

struct Painted
{
    std::u16string text;
    COLORREF textColour = 0;
    COLORREF backColour = 0;
    RECT rect;
};

class RecordingTarget : public PaintTarget
{
public:
    void Cell(const PaintedCell& cell) override
    {
        cells[{cell.row, cell.subItem}] =
            Painted{std::u16string(cell.text), cell.textColour, cell.backColour, cell.rect};
    }
    void FocusRect(const RECT& rect) override { focusRects.push_back(rect); }
    void EmptyText(std::u16string_view text, const RECT&) override { empty = std::u16string(text); }
    const Painted& At(int row, int column) const { return cells.at({row, column}); }
    bool Has(int row, int column) const { return cells.count({row, column}) != 0; }

    std::map<std::pair<int, int>, Painted> cells;
    std::vector<RECT> focusRects;
    std::u16string empty;
};

// A grid whose colour callbacks a test sets.
class TestGrid : public CReportGridGroups
{
public:
    bool OnRowColour(int row, COLORREF& text, COLORREF& back) override
    {
        return rowColour && rowColour(row, text, back);
    }
    bool OnCellColour(int row, int column, COLORREF& text, COLORREF& back) override
    {
        return cellColour && cellColour(row, column, text, back);
    }
    bool OnCellText(int row, int column, std::u16string& text) override
    {
        return cellText && cellText(row, column, text);
    }
    std::function<bool(int, COLORREF&, COLORREF&)> rowColour;
    std::function<bool(int, int, std::u16string&)> cellText;
    std::function<bool(int, int, COLORREF&, COLORREF&)> cellColour;
};

inline const std::vector<std::u16string> kTitles{u"A", u"B", u"C", u"D"};
inline const std::vector<int> kWidths{60, 70, 80, 90};

class GridTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        parent.Create(CreateParams{.rect = RECT{0, 0, 800, 600}});
        CreateGrid(grid);
    }

    void CreateGrid(TestGrid& target)
    {
        target.Create(CreateParams{.style = WS_CHILD | WS_VISIBLE | LVS_REPORT,
                                   .rect = RECT{0, 0, 500, 24 + 10 * 20},
                                   .parent = parent.Handle(),
                                   .id = 1001});
        target.ModifyExtendedStyle(LVS_EX_FULLROWSELECT, 0);
        target.AddHiddenFirstColumn();
        for (int i = 0; i < 4; ++i)
            target.AddColumn(i + 1, kTitles[static_cast<std::size_t>(i)], 0,
                             kWidths[static_cast<std::size_t>(i)], i + 1);
    }

    void AddRows(int count)
    {
        for (int row = 0; row < count; ++row)
        {
            grid.InsertItem(row, u"r");
            for (int column = 1; column <= 4; ++column)
                grid.SetItemText(row, column,
                                 kTitles[static_cast<std::size_t>(column - 1)] +
                                     std::u16string(1, static_cast<char16_t>(u'0' + row % 10)));
        }
    }

    // Display order of the shown columns, with their widths.
    std::vector<std::pair<int, int>> Shown() const
    {
        std::vector<std::pair<int, int>> shown;
        for (int column : grid.GetColumnOrderArray())
            if (grid.IsColumnShown(column))
                shown.emplace_back(column, grid.GetColumnWidth(column));
        return shown;
    }

    RecordingTarget Paint()
    {
        RecordingTarget target;
        grid.Paint(&target);
        return target;
    }

    Window parent;
    TestGrid grid;
};

} // namespace grid_testing
