#include "portfolio/portfolio_file.h"

#include "platform/text/code_page.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <ostream>

using namespace testing_support;
using namespace std::string_literals;

namespace
{

TEST(EnsureDefaultPortfolio, NoFileGivesTheDefaultPortfolioWithoutWritingIt)
{
    const TempDir dir;
    const ScopedWorkingDir inDir(dir.Path());
    DataStore store;
    EXPECT_FALSE(LoadPortfolios(store));
    EnsureDefaultPortfolio(store);
    EXPECT_EQ(store.folioLines, TextLines{"0|FOLIO|Default||"});
    EXPECT_FALSE(dir.Exists("portfolios.txt"));
}

TEST(EnsureDefaultPortfolio, LeavesLoadedPortfoliosAlone)
{
    DataStore store;
    store.folioLines = {"0|FOLIO|Mine||", "0|SEC|IBM||"};
    EnsureDefaultPortfolio(store);
    EXPECT_EQ(store.folioLines, (TextLines{"0|FOLIO|Mine||", "0|SEC|IBM||"}));
}

struct NameCase
{
    const char* line;
    std::optional<std::string> name;
};

void PrintTo(const NameCase& p, std::ostream* out)
{
    *out << p.line;
}

class FolioNameOfTest : public ::testing::TestWithParam<NameCase>
{
};

TEST_P(FolioNameOfTest, TakesTheTextAfterTheFirstFolioMarker)
{
    EXPECT_EQ(FolioNameOf(GetParam().line), GetParam().name) << GetParam().line;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FolioNameOfTest,
    ::testing::Values(NameCase{"0|FOLIO|Default||", "Default"},
                      NameCase{"1|FOLIO|Retire|ment||", "Retire"},        // up to the next "|"
                      NameCase{"junk 7|FOLIO|Other||", "Other"},          // marker after other text
                      NameCase{"0|FOLIO|No separators", "No separators"}, // up to the end
                      NameCase{"0|FOLIO|", ""},                           // an empty name is a name
                      NameCase{"0|FOLIO|A|FOLIO|B||", "A"},               // first marker wins
                      NameCase{"0|SEC|FOLIO|1.00|", "1.00"}, // any line with the marker names one
                      NameCase{"0|folio|Lower||", std::nullopt}, NameCase{"", std::nullopt},
                      NameCase{"FOLIO|x", std::nullopt}));

TEST(SecLinesOf, TakesTheLinesStartingWithTheNumberAndSec)
{
    DataStore store;
    store.folioLines = {"0|FOLIO|A||",    "0|SEC|IBM|1.00|", "1|FOLIO|B||", "1|SEC|MSFT||",
                        "0|SEC|-note||",  "10|SEC|TEN||",    " 0|SEC|X||",  "x0|SEC|Y||",
                        "0|SECRET|odd||", "11|FOLIO|C||"};
    EXPECT_EQ(SecLinesOf(store, 0),
              (TextLines{"0|SEC|IBM|1.00|", "0|SEC|-note||", "0|SECRET|odd||"}));
    EXPECT_EQ(SecLinePositions(store, 0), (std::vector<std::size_t>{1, 4, 8}));
    EXPECT_EQ(SecLinesOf(store, 1), TextLines{"1|SEC|MSFT||"});
    EXPECT_EQ(SecLinesOf(store, 10), TextLines{"10|SEC|TEN||"});
    EXPECT_TRUE(SecLinesOf(store, 2).empty());
}

TEST(NarrowText, KeepsTheLowEightBitsOfEachUnit)
{
    EXPECT_EQ(NarrowText(u"IBM 12.50"), "IBM 12.50");
    EXPECT_EQ(NarrowText(u""), "");
    EXPECT_EQ(NarrowText(u"caf\u00E9"), "caf\xE9");
    EXPECT_EQ(NarrowText(u"\u20AC\u0141"), "\xAC\x41"); // beyond eight bits: not preserved
    EXPECT_EQ(NarrowText(u"a\0b"s), "a\0b"s);
}

TEST(NarrowText, DisplayDecodingIsItsInverse)
{
    std::u16string every;
    for (char16_t unit = 0; unit <= 0xFF; ++unit)
        every.push_back(unit);
    EXPECT_EQ(platform::DecodeAnsi(NarrowText(every)), every);
}

} // namespace
