#include "quotes/quote_grid.h"

#include "gridctrl/grid_fixture.h"
#include "gridctrl/layout_section_profiles.h"
#include "platform/profile/profile_store.h"
#include "portfolio/portfolio_file.h"
#include "quotes/quote_line.h"
#include "support/temp_dir.h"

#include "platform/ui/gdi.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

using namespace platform;
using namespace quote_grid;
using grid_testing::RecordingTarget;

namespace
{

constexpr COLORREF kGreen = RGB(0, 127, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGrey = RGB(225, 225, 225);
constexpr COLORREF kYellow = RGB(255, 255, 200);
const COLORREF kBlack = platform::GetSysColor(platform::COLOR_WINDOWTEXT);
const COLORREF kWhite = platform::GetSysColor(platform::COLOR_WINDOW);

class QuoteGridTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetAppProfile(std::make_unique<ProfileStore>(
            dir / "Brindle.reg", u"HKEY_CURRENT_USER\\Software\\Brindle\\Brindle"));
        parent.Create(CreateParams{.rect = RECT{0, 0, 1600, 1200}});
        grid.Create(CreateParams{.style = WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL |
                                          LVS_SHOWSELALWAYS,
                                 .rect = RECT{0, 0, 1500, 24 + 40 * 20},
                                 .parent = parent.Handle(),
                                 .id = 1001});
        grid.SetupQuoteGrid();
    }
    void TearDown() override { SetAppProfile(nullptr); }

    // Fills portfolio 1 from SEC lines (after "1|SEC|") and quote lines.
    void Fill(const std::vector<std::string>& entries, TextLines quoteLines)
    {
        store.folioLines = {"1|FOLIO|Main||"};
        for (const std::string& entry : entries)
            store.folioLines.push_back("1|SEC|" + entry);
        store.symbolLines = std::move(quoteLines);
        grid.FillQuoteGrid(store, 1);
    }

    std::vector<std::u16string> RowTexts(int row) const
    {
        std::vector<std::u16string> texts;
        for (int column = 1; column <= 17; ++column)
            texts.push_back(grid.GetItemText(row, column));
        return texts;
    }

    RecordingTarget Paint()
    {
        RecordingTarget target;
        grid.Paint(&target);
        return target;
    }

    // Text colours painted in a row, for the columns that are not black.
    std::vector<std::pair<int, COLORREF>> Coloured(const RecordingTarget& painted, int row) const
    {
        std::vector<std::pair<int, COLORREF>> coloured;
        for (int column = 1; column <= 17; ++column)
            if (painted.At(row, column).textColour != kBlack)
                coloured.emplace_back(column, painted.At(row, column).textColour);
        return coloured;
    }

    testing_support::TempDir dir;
    Window parent;
    myGridCtrl grid;
    DataStore store;
};

TEST_F(QuoteGridTest, SetupBuildsSeventeenColumnsAndTheColumnState)
{
    const std::vector<std::tuple<std::u16string, int, int>> expected{
        {u"Symbol", LVCFMT_LEFT, 60},    {u"Day Low", LVCFMT_RIGHT, 60},
        {u"Day High", LVCFMT_RIGHT, 60}, {u"Last", LVCFMT_RIGHT, 60},
        {u"Change", LVCFMT_RIGHT, 60},   {u"Chng %", LVCFMT_RIGHT, 60},
        {u"Paid", LVCFMT_RIGHT, 60},     {u"Gain %", LVCFMT_RIGHT, 60},
        {u"Prv. Cls", LVCFMT_RIGHT, 60}, {u"52w. Lo", LVCFMT_RIGHT, 60},
        {u"52w. Hi", LVCFMT_RIGHT, 60},  {u"Price Time", LVCFMT_RIGHT, 60},
        {u"52w Date", LVCFMT_LEFT, 60},  {u"Yield", LVCFMT_RIGHT, 40},
        {u"Notes", LVCFMT_LEFT, 300},    {u"D% Rng", LVCFMT_RIGHT, 60},
        {u"Y% Rng", LVCFMT_RIGHT, 60},
    };
    ASSERT_EQ(grid.GetColumnCount(), 18);
    EXPECT_FALSE(grid.IsColumnShown(0));
    for (int column = 1; column <= 17; ++column)
    {
        LVCOLUMN info{.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM};
        ASSERT_TRUE(grid.GetColumn(column, info));
        const auto& [caption, format, width] = expected[static_cast<std::size_t>(column - 1)];
        EXPECT_EQ(info.text, caption);
        EXPECT_EQ(info.fmt & 3, format) << column;
        EXPECT_EQ(info.cx, width) << column;
        EXPECT_EQ(info.iSubItem, column);
        EXPECT_TRUE(grid.IsColumnShown(column));
    }
    EXPECT_EQ(grid.GetExtendedStyle() & LVS_EX_FULLROWSELECT, 0u);

    auto* section = dynamic_cast<CLayoutSectionAppProfile*>(grid.ColumnState());
    ASSERT_NE(section, nullptr);
    EXPECT_EQ(section->ViewName(), u"GridConfig");
    EXPECT_EQ(section->ProfileNames(), (std::vector<std::u16string>{u"Default", u"Special"}));

    auto* trait = dynamic_cast<CRowTraitText*>(&grid.BaseRowTrait());
    ASSERT_NE(trait, nullptr);
    EXPECT_EQ(trait->altTextColour, RGB(0, 0, 0));
    EXPECT_EQ(trait->altBackColour, kYellow);
    EXPECT_EQ(trait->rowTextColour, kNoColour);
    EXPECT_EQ(trait->rowBackColour, kNoColour);
}

TEST_F(QuoteGridTest, AFullRowShowsEveryDerivedColumn)
{
    Fill({"AAPL|10|my note"}, {"AAPL|9.75|12.5|11.25|1.25|9.5|12.50|14:07:09|03/05/2021|1.5"});
    ASSERT_EQ(grid.GetItemCount(), 1);
    EXPECT_EQ(grid.GetItemText(0, 0), u"r");
    EXPECT_EQ(RowTexts(0), (std::vector<std::u16string>{
                               u"AAPL", u"9.75", u"12.50", u"11.25", u"1.25", u"12.50", u"10.00",
                               u"12.50", u"10.00", u"9.50", u"12.50", u"14:07:09", u"03/05/21",
                               u"1.50", u"my note", u"55", u"58"}));
    const RecordingTarget painted = Paint();
    EXPECT_EQ(Coloured(painted, 0),
              (std::vector<std::pair<int, COLORREF>>{{5, kGreen}, {6, kGreen}, {8, kGreen}}));
    EXPECT_EQ(painted.At(0, 1).backColour, kGrey);
    EXPECT_EQ(painted.At(0, 2).backColour, kWhite);
}

TEST_F(QuoteGridTest, FallsAreRedAndRangesColourAtTheirQuarters)
{
    Fill({"A|20|", "B|0|", "C|0|", "D|0|", "E|0|"},
         {
             "A|10|14|11|-1|10|14|t|d|",  // day and year at 25%: red
             "B|10|14|13|0.5|10|14|t|d|", // 75%: green
             "C|10|14|12|0|10|14|t|d|",   // 50%: no colour
             "D|10|14|9|0|10|14|t|d|",    // below the day's low
             "E|10|14|15|0|10|14|t|d|",   // above the day's high
         });
    EXPECT_EQ(RowTexts(0)[kChangePercent - 1], u"-8.33");
    EXPECT_EQ(RowTexts(0)[kGainPercent - 1], u"-45.00");
    EXPECT_EQ(RowTexts(0)[kDayRange - 1], u"25");
    EXPECT_EQ(RowTexts(1)[kYearRange - 1], u"75");
    EXPECT_EQ(RowTexts(2)[kDayRange - 1], u"50");
    EXPECT_EQ(RowTexts(3)[kDayRange - 1], u"-25");
    EXPECT_EQ(RowTexts(4)[kDayRange - 1], u"125");
    const RecordingTarget painted = Paint();
    using Colours = std::vector<std::pair<int, COLORREF>>;
    EXPECT_EQ(Coloured(painted, 0),
              (Colours{{5, kRed}, {6, kRed}, {8, kRed}, {16, kRed}, {17, kRed}}));
    EXPECT_EQ(Coloured(painted, 1),
              (Colours{{5, kGreen}, {6, kGreen}, {16, kGreen}, {17, kGreen}}));
    EXPECT_EQ(Coloured(painted, 2), Colours{});
    EXPECT_EQ(Coloured(painted, 3), (Colours{{16, kRed}, {17, kRed}}));
    EXPECT_EQ(Coloured(painted, 4), (Colours{{16, kGreen}, {17, kGreen}}));
}

TEST_F(QuoteGridTest, RowColoursCombineAlternateCommentAndSymbolColumn)
{
    Fill({"A|1|", "B|1|", "- comment||a note", "-x||", "C|1|"}, {});
    const RecordingTarget painted = Paint();
    const std::vector<COLORREF> backs{kWhite, kYellow, kGrey, kGrey, kWhite};
    for (int row = 0; row < 5; ++row)
    {
        EXPECT_EQ(painted.At(row, kSymbol).backColour, kGrey) << row;
        EXPECT_EQ(painted.At(row, kNotes).backColour, backs[static_cast<std::size_t>(row)]) << row;
        EXPECT_EQ(painted.At(row, kLast).textColour, kBlack) << row;
    }
    EXPECT_EQ(RowTexts(2)[kSymbol - 1], u"- comment");
    EXPECT_EQ(RowTexts(2)[kNotes - 1], u"a note");
}

TEST_F(QuoteGridTest, EdgeCasesOfTheDerivedColumns)
{
    struct Case
    {
        const char* entry;
        const char* quoteLine; // nullptr: none stored
        std::vector<std::pair<int, std::u16string>> cells;
    };
    const std::vector<Case> cases{
        // No stored line: symbol, paid and note only.
        {"NEW|12.5|watch",
         nullptr,
         {{kSymbol, u"NEW"},
          {kPaid, u"12.50"},
          {kGainPercent, u""},
          {kNotes, u"watch"},
          {kPriceTime, u""},
          {kLast, u""}}},
        // A change of 0 leaves Change and Chng % empty.
        {"Z|0|",
         "Z|1|2|1.5|0.00|||t||",
         {{kChange, u""}, {kChangePercent, u""}, {kPreviousClose, u"1.50"}}},
        // A previous close of 0 or less: no Prv. Cls, but Chng % still.
        {"P|0|", "P|1|2|1|2|||t||", {{kPreviousClose, u""}, {kChangePercent, u"-200.00"}}},
        {"Q|0|", "Q|1|2|1|1|||t||", {{kPreviousClose, u""}, {kChangePercent, u"inf"}}},
        // A 52-week line has no day range; an AlphaVantage line no year range.
        {"W|0|",
         "W|||11.25|-0.25|9.50|12.50|14:07:09b|03/05/2021|",
         {{kDayRange, u""}, {kYearRange, u"58"}, {kPriceTime, u"14:07:09b"}, {kDayLow, u""}}},
        {"V|0|",
         "V|9.75|12.50|11.25|1.25||||03/05/2021|",
         {{kDayRange, u"55"}, {kYearRange, u""}, {kLow52, u""}, {kDate52, u"03/05/21"}}},
        {"T|0|", "T|0|0|0|0.00|||0||", {{kPriceTime, u"0"}, {kDayLow, u"0.00"}}},
        // Short dates stay; a five-character one loses its middle.
        {"S|0|", "S||||||||3/5|", {{kDate52, u"3/5"}}},
        {"R|0|", "R||||||||12345|", {{kDate52, u"145"}}},
        // A yield of 0 or none, and a paid price of 0, show nothing.
        {"Y|0|", "Y|||5||||||0.00", {{kYield, u""}, {kPaid, u""}, {kGainPercent, u""}}},
        {"X|abc|", "X|||5||||||2", {{kYield, u"2.00"}, {kPaid, u""}}},
        // Numbers keep to two decimals, whatever the service sent.
        {"N|3|",
         "N|1.005|x|2.125|||||",
         {{kDayLow, u"1.00"}, {kDayHigh, u"0.00"}, {kLast, u"2.12"}, {kGainPercent, u"-29.17"}}},
        // Lines of other lengths: missing fields are empty, surplus ignored.
        {"F|0|", "F|1|2", {{kDayLow, u"1.00"}, {kDayHigh, u"2.00"}, {kLast, u""}}},
        {"G|0|", "G|1|2|3|4|5|6|7|8|9|10|11", {{kYield, u"9.00"}, {kNotes, u""}}},
    };
    for (const Case& c : cases)
    {
        Fill({c.entry}, c.quoteLine ? TextLines{c.quoteLine} : TextLines{});
        ASSERT_EQ(grid.GetItemCount(), 1) << c.entry;
        for (const auto& [column, text] : c.cells)
            EXPECT_EQ(grid.GetItemText(0, column), text) << c.entry << " column " << column;
    }
}

TEST_F(QuoteGridTest, FillTakesThePortfolioInOrderAndTheFirstStoredLine)
{
    store.folioLines = {
        "1|FOLIO|Main||", "2|FOLIO|Other||", "1|SEC|AB|0|",      "2|SEC|XX|0|", "1|SECRET|skip",
        "11|SEC|YY|0|",   "1|SEC|aapl|0|",   "1|SEC|AB|0|again", "1|SEC|ABC",
    };
    store.symbolLines = {"ABC|1|1|3|||||", "AB|1|1|1|||||", "AB|2|2|2|||||", "aapl|4|4|4|||||",
                         "AB"};
    grid.FillQuoteGrid(store, 1);
    ASSERT_EQ(grid.GetItemCount(), 4);
    const std::vector<std::pair<std::u16string, std::u16string>> expected{
        {u"AB", u"1.00"}, {u"aapl", u"4.00"}, {u"AB", u"1.00"}, {u"ABC", u"3.00"}};
    for (int row = 0; row < 4; ++row)
    {
        EXPECT_EQ(grid.GetItemText(row, kSymbol), expected[static_cast<std::size_t>(row)].first);
        EXPECT_EQ(grid.GetItemText(row, kLast), expected[static_cast<std::size_t>(row)].second);
    }
    EXPECT_EQ(grid.GetItemText(3, kNotes), u"ABC"); // no field after the symbol
    EXPECT_EQ(grid.CellColours().size(), 4u);

    grid.FillQuoteGrid(store, 3);
    EXPECT_EQ(grid.GetItemCount(), 0);
    EXPECT_TRUE(grid.CellColours().empty());
}

// The fill's lookup gives what a scan of symbolLines for the first line of
// the symbol gives, over symbols that share prefixes, differ in case, repeat
// or have lines without any "|".
TEST_F(QuoteGridTest, FillFindsWhatAScanFinds)
{
    const std::vector<std::string> names{"A", "AB", "ABC", "ab", "B", "B.X", "C-1", "ZZZZ"};
    std::mt19937 random(7);
    const auto pick = [&] { return names[random() % names.size()]; };
    for (int round = 0; round < 20; ++round)
    {
        TextLines quoteLines;
        for (int i = 0; i < 12; ++i)
        {
            const std::string name = pick();
            quoteLines.push_back(random() % 6 == 0 ? name
                                                   : name + "|||" + std::to_string(i) + "||||||");
        }
        std::vector<std::string> entries;
        for (int i = 0; i < 8; ++i)
            entries.push_back(pick() + "|0|");
        Fill(entries, quoteLines);
        ASSERT_EQ(grid.GetItemCount(), 8);
        for (int row = 0; row < 8; ++row)
        {
            const std::string symbol = NarrowText(grid.GetItemText(row, kSymbol));
            const std::optional<std::string> scanned = FindSymbolLine(store, symbol);
            const std::u16string last =
                scanned ? myGridCtrl::FormatPriceText(SplitQuoteFields(*scanned)[3]) : u"";
            EXPECT_EQ(grid.GetItemText(row, kLast), last) << symbol;
        }
    }
}

TEST_F(QuoteGridTest, RefillingGivesTheSameRowsAndColours)
{
    Fill({"A|20|", "B|1|x", "- c||"}, {"A|10|14|11|-1|10|14|t|d|", "B|10|14|13|0.5|10|14|t|d|"});
    const RecordingTarget first = Paint();
    grid.FillQuoteGrid(store, 1);
    const RecordingTarget second = Paint();
    ASSERT_EQ(first.cells.size(), second.cells.size());
    for (const auto& [at, cell] : first.cells)
    {
        const grid_testing::Painted& again = second.cells.at(at);
        EXPECT_EQ(cell.text, again.text);
        EXPECT_EQ(cell.textColour, again.textColour);
        EXPECT_EQ(cell.backColour, again.backColour);
    }
    EXPECT_EQ(grid.CellColours().size(), 3u);
}

TEST_F(QuoteGridTest, SignedCellsAndPriceTexts)
{
    Fill({"A|0|"}, {});
    grid.SetSignedCell(0, kChange, 0);
    EXPECT_EQ(grid.GetItemText(0, kChange), u"");
    EXPECT_EQ(grid.CellColours()[0][kChange], 0u);
    grid.SetSignedCell(0, kChange, -0.004);
    EXPECT_EQ(grid.GetItemText(0, kChange), u"-0.00");
    EXPECT_EQ(grid.CellColours()[0][kChange], kRed);
    grid.SetSignedCell(0, kChange, 2.5);
    EXPECT_EQ(grid.GetItemText(0, kChange), u"2.50");
    EXPECT_EQ(grid.CellColours()[0][kChange], kGreen);
    // Rows and columns out of reach change nothing.
    grid.SetSignedCell(5, kChange, 1);
    grid.SetSignedCell(0, 40, 1);
    EXPECT_EQ(grid.CellColours().size(), 1u);

    EXPECT_EQ(myGridCtrl::FormatPriceText(""), u"");
    EXPECT_EQ(myGridCtrl::FormatPriceText(" 148.9600"), u"148.96");
    EXPECT_EQ(myGridCtrl::FormatPriceText("n/a"), u"0.00");
    EXPECT_EQ(myGridCtrl::FormatPriceText("-1.5e2"), u"-150.00");
}

} // namespace
