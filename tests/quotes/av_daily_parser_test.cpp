#include "quotes/av_daily_parser.h"

#include "parser_fixture.h"
#include "platform/text/code_page.h"

#include <algorithm>

using namespace parser_testing;

namespace
{

constexpr const char* kHeader = "timestamp,open,high,low,close,volume\n";
constexpr const char* kDailyBody = "timestamp,open,high,low,close,volume\n"
                                   "2021-03-05,10.00,12.50,9.75,11.25,500\n"
                                   "2021-03-04,9.50,10.25,9.00,10.00,400\n"
                                   "2021-03-03,9.50,10.25,9.00,7.00,400\n";

using AvRecord = ParserTest;

TEST_F(AvRecord, TakesTheNewestTwoDaysByColumn)
{
    const std::string h = kHeader;
    struct Case
    {
        std::string body;
        const char* record;
    };
    const Case cases[] = {
        {kDailyBody, "|9.75|12.50|11.25|1.25||||03/05/2021|"},
        {"timestamp,open,high,low,close,volume\r\n2021-03-05,10.00,12.50,9.75,11.25,500\r\n"
         "2021-03-04,9.50,10.25,9.00,10.00,400\r\n",
         "|9.75|12.50|11.25|1.25||||03/05/2021|"},
        {h + "2021-03-05 16:00:00,1,2.5,0.5,11.2500,9\n2021-03-04,1,1,1,10,9",
         "|0.5|2.5|11.2500|1.25||||03/05/2021|"},
        // Carriage returns anywhere in a line are dropped.
        {h + "2021-03-0\r5,1,2\r.5,0.5,11.25,9\n20\r21-03-04,1,1,1,1\r0,9",
         "|0.5|2.5|11.25|1.25||||03/05/2021|"},
        {h + "2021-3-5,1,2,3,4,5\n", "|3|2|4||||||"},
        // One day only, or a day before without its close.
        {h + "2021-03-05,1,2,3,4,5", "|3|2|4|||||03/05/2021|"},
        {h + "2021-03-05,1,2,3,4,5\n2021-03-04,1,2,3,4\n", "|3|2|4|||||03/05/2021|"},
        {h + "2021-03-05,1,2,3,4,5\n\n2021-03-04,1,2,3,4,5\n", "|3|2|4|||||03/05/2021|"},
        // Numbers that are not numbers count as 0.
        {h + "2021-03-05,1,2,3,n/a,5\n2021-03-04,1,2,3,2.5,5\n", "|3|2|n/a|-2.50||||03/05/2021|"},
        // The volume column is never filed; nor a column past it.
        {h + "2021-03-05,1,2,3,4\n", "|3|2||||||03/05/2021|"},
        // Header only, or no line feed at all.
        {h, "|||||||||"},
        {"timestamp", "|||||||||"},
        // A first line shorter than five bytes with its line feed.
        {"{\n    \"Error Message\": \"Invalid API call.\"\n}", ""},
        {"abc\nx,y", ""},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AV_DailyToRecord(c.body), c.record) << c.body;
}

TEST_F(AvRecord, NeverLetsAValueBreakTheLine)
{
    const std::string body =
        std::string(kHeader) + "20|1-03-05,1,2|x,3" + std::string(1, '\0') + "y,4,5\n";
    EXPECT_EQ(AV_DailyToRecord(body), "|3y|2x|4|||||03/05/201|");
    std::string commas(kHeader);
    commas += std::string(100'000, ',');
    const std::string record = AV_DailyToRecord(commas);
    EXPECT_EQ(std::count(record.begin(), record.end(), '|'), 9);
}

TEST_F(ParserTest, AvGridResultReplacesTheLineAndCountsTheAnswer)
{
    store.symbolLines = {"IBM|1|2|3|4|100.00|200.00|14:00:00|03/01/2021|2.5", "X|y"};
    AvBatchCounters counters{.avSymbolCount = 3};
    RequestSlot slot = BusySlot("IBM", kDailyBody);
    Parse_AV_OneGrid(slot, store, settings, counters);
    EXPECT_EQ(store.symbolLines, (TextLines{"IBM|9.75|12.50|11.25|1.25||||03/05/2021|", "X|y"}));
    EXPECT_EQ(counters.avSymbolCount, 2);
    EXPECT_EQ(counters.avErrorCount, 0);
    ExpectFree(slot);

    // Header only: accepted for a symbol of two characters or more.
    slot = BusySlot("X", kHeader);
    Parse_AV_OneGrid(slot, store, settings, counters);
    EXPECT_EQ(counters.avErrorCount, 1);
    slot = BusySlot("XY", kHeader);
    Parse_AV_OneGrid(slot, store, settings, counters);
    EXPECT_EQ(store.symbolLines.back(), "XY|||||||||");
    EXPECT_EQ(counters.avSymbolCount, 0);
}

TEST_F(ParserTest, AvGridErrorsAreCountedListedAndShownWhenAsked)
{
    const std::string badBody = "{\n    \"Note\": \"Thank you for using Alpha Vantage!\"\n}";
    struct Case
    {
        int avShowDetail;
        int showErrors;
        bool shown;
    };
    for (const Case c : {Case{0, 0, false}, Case{0, 1, false}, Case{1, 0, false}, Case{1, 1, true}})
    {
        prompter.Clear();
        settings.avShowDetail = c.avShowDetail;
        settings.showErrors = c.showErrors;
        AvBatchCounters counters{.avSymbolCount = 2, .avErrorCount = 1, .avErrorText = u"Q"};
        for (const char* symbol : {"IBM", "ABCDEFGHIJKLM"})
        {
            RequestSlot slot = BusySlot(symbol, badBody);
            Parse_AV_OneGrid(slot, store, settings, counters);
            ExpectFree(slot);
        }
        EXPECT_EQ(counters.avErrorCount, 3);
        EXPECT_EQ(counters.avErrorText, u"Q, IBM, ABCDEFGHIJKLM");
        EXPECT_EQ(counters.avSymbolCount, 0);
        EXPECT_TRUE(store.symbolLines.empty());
        if (c.shown)
        {
            EXPECT_EQ(BoxTexts(),
                      (std::vector<std::u16string>{
                          u"AV DATA ERROR return.  Symbol: IBM returned...\n" +
                              platform::DecodeAnsi(badBody),
                          u"AV DATA ERROR return.  Symbol: ABCDEFGHIJKLM returned...\n" +
                              platform::DecodeAnsi(badBody)}));
        }
        else
        {
            EXPECT_TRUE(prompter.Boxes().empty());
        }
    }
}

TEST_F(ParserTest, AHugeBodyIsShownCut)
{
    settings.avShowDetail = settings.showErrors = 1;
    AvBatchCounters counters;
    RequestSlot slot = BusySlot("IBM", "{\n" + std::string(10'000'000, 'x'));
    Parse_AV_OneGrid(slot, store, settings, counters);
    ASSERT_EQ(prompter.Boxes().size(), 1u);
    const std::u16string& text = prompter.Boxes()[0].text;
    EXPECT_LT(text.size(), 5000u);
    EXPECT_TRUE(text.starts_with(u"AV DATA ERROR return.  Symbol: IBM returned...\n{\nxxx"));
    EXPECT_TRUE(text.ends_with(u"x..."));
}

TEST_F(ParserTest, AvTopResultAppendsOrReports)
{
    RequestSlot slot = BusySlot("SPY", kDailyBody);
    Parse_AV_Top(slot, store, settings);
    EXPECT_EQ(store.resultLines, (TextLines{"SPY|9.75|12.50|11.25|1.25||||03/05/2021|"}));
    EXPECT_EQ(slot.requestId, 101);

    Parse_AV_Top(BusySlot("SPY", "{}"), store, settings);
    EXPECT_TRUE(prompter.Boxes().empty());
    settings.showErrors = 1;
    Parse_AV_Top(BusySlot("SPY", "{}"), store, settings);
    Parse_AV_Top(BusySlot("SPY", "{\n"), store, settings);
    EXPECT_EQ(BoxTexts(),
              (std::vector<std::u16string>{u"Bad Return from AlphaVantage.\n\nSymbol:  SPY",
                                           u"Bad Return from AlphaVantage.\n\nSymbol:  SPY"}));
    EXPECT_EQ(store.resultLines.size(), 1u);
    EXPECT_TRUE(store.symbolLines.empty());
}

} // namespace
