// The quote grid: one row per entry of the active portfolio, showing the
// entry's symbol, its stored quote data, values derived from them and from
// the entry (change in percent, gain over the price paid, place of the last
// price in the day's and the year's range), with rises and falls coloured.
// Rows are never edited: the grid is emptied and refilled as a whole.
#pragma once

#include "gridctrl/report_grid.h"
#include "portfolio/data_store.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quote_grid
{

// Columns (0 is the grid's hidden label column).
inline constexpr int kSymbol = 1;
inline constexpr int kDayLow = 2;
inline constexpr int kDayHigh = 3;
inline constexpr int kLast = 4;
inline constexpr int kChange = 5;
inline constexpr int kChangePercent = 6;
inline constexpr int kPaid = 7;
inline constexpr int kGainPercent = 8;
inline constexpr int kPreviousClose = 9;
inline constexpr int kLow52 = 10;
inline constexpr int kHigh52 = 11;
inline constexpr int kPriceTime = 12;
inline constexpr int kDate52 = 13;
inline constexpr int kYield = 14;
inline constexpr int kNotes = 15;
inline constexpr int kDayRange = 16;
inline constexpr int kYearRange = 17;

inline constexpr platform::COLORREF kRiseColour = platform::RGB(0, 127, 0);
inline constexpr platform::COLORREF kFallColour = platform::RGB(255, 0, 0);

} // namespace quote_grid

class myGridCtrl : public CReportGridGroups
{
public:
    // Text colours of one row, by column; 0: the column has none of its own.
    using RowColours = std::array<platform::COLORREF, 32>;

    myGridCtrl();
    ~myGridCtrl() override;

    bool OnCellColour(int row, int column, platform::COLORREF& textColour,
                      platform::COLORREF& backColour) override;
    bool OnRowColour(int row, platform::COLORREF& textColour,
                     platform::COLORREF& backColour) override;

    // The row trait, the seventeen columns and the column state kept in the
    // "GridConfig" section with the profiles "Default" and "Special". Once,
    // on the created list, before the first fill.
    void SetupQuoteGrid();

    // Empties the grid and adds one row per SEC line of portfolio `folio`,
    // in the order of folioLines, with the first stored quote line of its
    // symbol (or none).
    void FillQuoteGrid(const DataStore& store, unsigned folio);

    // Appends the row of the SEC line at `secLinePosition` of folioLines,
    // showing `quoteLine`.
    void FormatQuoteRow(const DataStore& store, std::size_t secLinePosition,
                        std::string_view quoteLine);

    // Empty for an empty field, else "%.2f" of its number.
    static std::u16string FormatPriceText(std::string_view field);

    // A non-zero `value` shows as "%.2f" in the cell, green when it is
    // positive and red when it is negative; 0 leaves the cell as it is.
    void SetSignedCell(int row, int column, double value);

    const std::vector<RowColours>& CellColours() const { return cellColours; }

    platform::COLORREF commentRowBackColour = platform::RGB(225, 225, 225);
    platform::COLORREF symbolColumnBackColour = platform::RGB(225, 225, 225);

private:
    // A text colour of the row's own for a column (0: none).
    void SetCellColour(int row, int column, platform::COLORREF colour);

    std::vector<RowColours> cellColours;
    RowColours newRowColours{};
};
