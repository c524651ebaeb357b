#include "quotes/quote_line.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <ostream>

#include <cstring>
#include <limits>

using namespace testing_support;

namespace
{

TEST(SplitQuoteFields, GivesTenFieldsWhateverTheLineHolds)
{
    const QuoteFields full = SplitQuoteFields("IBM|1|2|3|4|5|6|14:07:09|03/05/2021|9");
    EXPECT_EQ(full[QuoteField::symbol], "IBM");
    EXPECT_EQ(full[QuoteField::last], "3");
    EXPECT_EQ(full[QuoteField::priceTime], "14:07:09");
    EXPECT_EQ(full[QuoteField::yield], "9");

    const QuoteFields shortLine = SplitQuoteFields("IBM|1");
    EXPECT_EQ(shortLine[QuoteField::dayLow], "1");
    EXPECT_EQ(shortLine[QuoteField::dayHigh], "");
    EXPECT_EQ(shortLine[QuoteField::yield], "");

    EXPECT_EQ(SplitQuoteFields("A|1|2|3|4|5|6|7|8|9|10|11")[QuoteField::yield], "9");
}

class SymbolLinesTest : public ::testing::Test
{
protected:
    TextLines& Lines() { return store.symbolLines; }
    DataStore store;
};

TEST_F(SymbolLinesTest, FindMatchesTheWholeSymbolByteForByte)
{
    Lines() = {"ABC|1|2|3|4|5|6|7|8|9", "aapl|a", "AB|first", "AAPL|upper", "AB|second"};
    EXPECT_EQ(FindSymbolLine(store, "AB"), "AB|first");
    EXPECT_EQ(FindSymbolLine(store, "ABC"), "ABC|1|2|3|4|5|6|7|8|9");
    EXPECT_EQ(FindSymbolLine(store, "AAPL"), "AAPL|upper");
    EXPECT_EQ(FindSymbolLine(store, "aapl"), "aapl|a");
    EXPECT_EQ(FindSymbolLine(store, "A"), std::nullopt);
    EXPECT_EQ(FindSymbolLine(store, "Aapl"), std::nullopt);
    EXPECT_EQ(FindSymbolLine(store, ""), std::nullopt);
}

TEST_F(SymbolLinesTest, ReplaceTakesTheFirstPlaceAndDropsLaterDuplicates)
{
    Lines() = {"AB|old1", "ABC|keep", "ab|keep", "AB|old2", "X|keep", "AB|old3"};
    ReplaceSymbolLine(store, "AB||||0.00|1.00|2.00|14:00:00b|03/05/2021|");
    EXPECT_EQ(Lines(), (TextLines{"AB||||0.00|1.00|2.00|14:00:00b|03/05/2021|", "ABC|keep",
                                  "ab|keep", "X|keep"}));
}

TEST_F(SymbolLinesTest, ReplaceAppendsANewSymbolAndIgnoresAnEmptyLine)
{
    Lines() = {"A|1"};
    ReplaceSymbolLine(store, "B|2");
    ReplaceSymbolLine(store, "");
    EXPECT_EQ(Lines(), (TextLines{"A|1", "B|2"}));
}

TEST_F(SymbolLinesTest, ReplaceEmptiesWhatTheNewSourceLeavesEmpty)
{
    Lines() = {"IBM|1|2|3|0.10|100.00|150.00|14:00:00|03/05/2021|4.5"};
    ReplaceSymbolLine(store, "IBM|1.5|2.5|3.5|0.20|||||"); // an AlphaVantage-style result
    EXPECT_EQ(Lines(), TextLines{"IBM|1.5|2.5|3.5|0.20|||||"});
}

TEST_F(SymbolLinesTest, MergeUpdatesTheFirstLineAndDropsLaterDuplicates)
{
    Lines() = {"X|keep", "IBM|1|2|3|0.10|100.00|150.00|09:00:00|03/05/2021|4.5", "IBM|dup",
               "IBMX|keep"};
    MergeSymbolLine(store, "IBM|11|12|13|0.50|||15:30:00||");
    EXPECT_EQ(Lines(),
              (TextLines{"X|keep", "IBM|11|12|13|0.50|100.00|150.00|15:30:00|03/05/2021|4.5",
                         "IBMX|keep"}));
}

TEST_F(SymbolLinesTest, MergeAppendsANewSymbolUnmerged)
{
    MergeSymbolLine(store, "IBM|11|12|13|0.50|||15:30:00||");
    MergeSymbolLine(store, "ibm|1|2|3|4|||0||"); // another symbol: case counts
    EXPECT_EQ(Lines(), (TextLines{"IBM|11|12|13|0.50|||15:30:00||", "ibm|1|2|3|4|||0||"}));
}

TEST_F(SymbolLinesTest, MergeOfAQuoteWithNoTimeOnlyMarksIt)
{
    Lines() = {"IBM|1|2|3|0.10|100.00|150.00|09:00:00|03/05/2021|4.5"};
    MergeSymbolLine(store, "IBM|0|0|0|0.00|||0||");
    EXPECT_EQ(Lines(), TextLines{"IBM|1|2|3|0.10|100.00|150.00|0|03/05/2021|4.5"});
}

struct MergeCase
{
    const char* name;
    const char* existing;
    const char* incoming;
    const char* merged;
};

void PrintTo(const MergeCase& p, std::ostream* out)
{
    *out << p.name;
}

class MergeQuoteFieldsTest : public ::testing::TestWithParam<MergeCase>
{
};

TEST_P(MergeQuoteFieldsTest, Merges)
{
    EXPECT_EQ(MergeQuoteFields(GetParam().existing, GetParam().incoming), GetParam().merged);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MergeQuoteFieldsTest,
    ::testing::Values(
        MergeCase{"TakesDayFieldsAndTime", "S|1|2|3|4|5|6|7|8|9", "N|a|b|c|d|e|f|g|h|i",
                  "S|a|b|c|d|5|6|g|8|9"},
        MergeCase{"TimeZeroMarksOnlyTheTime", "S|1|2|3|4|5|6|7|8|9", "N|a|b|c|d|e|f|0|h|i",
                  "S|1|2|3|4|5|6|0|8|9"},
        MergeCase{"EmptyTimeCarriesNoData", "S|1|2|3|4|5|6|7|8|9", "N|a|b|c|d|e|f||h|i",
                  "S|1|2|3|4|5|6|0|8|9"},
        MergeCase{"NewLineWithoutATimeFieldCarriesNoData", "S|1|2|3|4|5|6|7|8|9", "N|a|b",
                  "S|1|2|3|4|5|6|0|8|9"},
        MergeCase{"TimeAsLastFieldCounts", "S|1|2|3|4|5|6|7|8|9", "N|a|b|c|d|e|f|g",
                  "S|a|b|c|d|5|6|g|8|9"},
        MergeCase{"OnlyAZeroTimeIsNoData", "S|1|2|3|4|5|6|7|8|9", "N|a|b|c|d|||00||",
                  "S|a|b|c|d|5|6|00|8|9"},
        MergeCase{"ShortStoredLineIsCompleted", "S|1|2", "N|a|b|c|d|||t||", "S|a|b|c|d|||t||"},
        MergeCase{"ShortStoredLineIsCompletedWithoutData", "S", "N|a|b|c|d|||0||", "S|||||||0||"},
        MergeCase{"FieldsBeyondTheTenthAreDropped", "S|1|2|3|4|5|6|7|8|9|10|11", "N|a|b|c|d|||t||",
                  "S|a|b|c|d|5|6|t|8|9"},
        MergeCase{"NewFieldsBeyondTheTenthAreIgnored", "S|1|2|3|4|5|6|7|8|9", "N|a|b|c|d|||t|||x|y",
                  "S|a|b|c|d|5|6|t|8|9"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SymbolDataFile, LoadKeepsDuplicatesAndTheNextMergeCollapsesThem)
{
    const TempDir dir;
    const ScopedWorkingDir inDir(dir.Path());
    dir.Write("symboldata.txt", "IBM|1|2|3|4|5|6|7|8|9\r\nMSFT|x\r\n\r\nIBM|dup\r\n");
    DataStore store;
    ASSERT_TRUE(LoadSymbolData(store));
    EXPECT_EQ(store.symbolLines, (TextLines{"IBM|1|2|3|4|5|6|7|8|9", "MSFT|x", "IBM|dup"}));
    EXPECT_EQ(FindSymbolLine(store, "IBM"), "IBM|1|2|3|4|5|6|7|8|9");

    MergeSymbolLine(store, "IBM|a|b|c|d|||t||");
    ASSERT_TRUE(SaveSymbolData(store));
    EXPECT_EQ(dir.Read("symboldata.txt"), "IBM|a|b|c|d|5|6|t|8|9\nMSFT|x\n");
    EXPECT_FALSE(dir.Exists("portfolios.txt"));
}

struct TimeCase
{
    const char* tz;
    std::time_t moment;
    const char* text;
};

void PrintTo(const TimeCase& p, std::ostream* out)
{
    *out << p.tz << " " << p.moment;
}

class FormatTimeHMSTest : public ::testing::TestWithParam<TimeCase>
{
};

TEST_P(FormatTimeHMSTest, GivesTheLocalTimeOfDay)
{
    const ScopedEnv zone("TZ", GetParam().tz);
    EXPECT_EQ(FormatTimeHMS(GetParam().moment), GetParam().text);
    EXPECT_EQ(FormatTimeHMSText(GetParam().moment),
              std::u16string(GetParam().text, GetParam().text + std::strlen(GetParam().text)));
}

// POSIX zone rules, so that no zone database is needed.
INSTANTIATE_TEST_SUITE_P(
    Zones, FormatTimeHMSTest,
    ::testing::Values(TimeCase{"UTC0", 0, "00:00:00"},
                      TimeCase{"UTC0", 1614953229, "14:07:09"}, // 2021-03-05 14:07:09 UTC
                      TimeCase{"EST5", 1614953229, "09:07:09"}, // west of UTC
                      TimeCase{"IST-5:30", 1614953229, "19:37:09"},
                      TimeCase{"EST5", 3600, "20:00:00"}, // the day before
                      // Daylight saving time: 2021-07-01 12:00 UTC is 14:00 in summer
                      // and 2021-01-01 12:00 UTC is 13:00 in winter.
                      TimeCase{"CET-1CEST,M3.5.0,M10.5.0/3", 1625140800, "14:00:00"},
                      TimeCase{"CET-1CEST,M3.5.0,M10.5.0/3", 1609502400, "13:00:00"}));

TEST(FormatTimeHMS, AMomentBeyondTheCalendarGivesNoText)
{
    const ScopedEnv zone("TZ", "UTC0");
    EXPECT_EQ(FormatTimeHMS(std::numeric_limits<std::time_t>::max()), "");
}

} // namespace
