#include "quotes/fh_quote_parser.h"

#include "parser_fixture.h"

#include <algorithm>

using namespace parser_testing;

namespace
{

constexpr const char* kQuoteBody =
    R"({"c":11.25,"d":1.25,"dp":12.5,"h":12.5,"l":9.75,"o":10,"pc":10,"t":1614974400})";

using FhQuoteRecord = ParserTest;

TEST_F(FhQuoteRecord, TakesValuesByCommaCount)
{
    struct Case
    {
        const char* body;
        const char* record;
    };
    const Case cases[] = {
        {kQuoteBody, "|9.75|12.5|11.25|1.25|||14:07:09||"},
        {R"({"c":0,"d":0,"dp":0,"h":0,"l":0,"o":0,"pc":0,"t":0})", "|0|0|0|0.00|||0||"},
        // No previous close: the change is the current price.
        {R"({"c":11.25,"h":12,"l":9})", "|||11.25|11.25|||14:07:09||"},
        // A time stamp of 0 followed by a blank or a line break is not "0".
        {R"({"c":1,"d":0,"dp":0,"h":1,"l":1,"o":1,"pc":1,"t":0 })", "|1|1|1|0.00|||14:07:09||"},
        {"{\"c\":1,\"d\":0,\"dp\":0,\"h\":1,\"l\":1,\"o\":1,\"pc\":1,\"t\":0\n}",
         "|1|1|1|0.00|||14:07:09||"},
        // Not a quote: nine fields all the same.
        {R"({"error":"x"})", "||||0.00|||14:07:09||"},
        // Nothing after the closing brace is read.
        {R"({"c":5,"t":0}, "x":1, "y":2)", "|||5|5.00|||0||"},
        // Numbers that are not numbers count as 0.
        {R"({"c":null,"d":0,"dp":0,"h":null,"l":null,"o":0,"pc":2.5,"t":1})",
         "|null|null|null|-2.50|||14:07:09||"},
        {"", ""},
        {"{\"c\"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FH_QuoteToRecord(c.body), c.record) << c.body;
}

TEST_F(FhQuoteRecord, NeverLetsAValueBreakTheLine)
{
    const std::string body = std::string(R"({"c":1|2)") + '\0' + "3\r\n4,\"d\":0,\"t\":5}";
    EXPECT_EQ(FH_QuoteToRecord(body), "|||1234|1.00|||14:07:09||");
}

TEST_F(FhQuoteRecord, TakesAnyBytes)
{
    std::string body(100'000, ',');
    body[50] = '\0';
    const std::string record = FH_QuoteToRecord(body);
    EXPECT_EQ(std::count(record.begin(), record.end(), '|'), 9);
    EXPECT_EQ(FH_QuoteToRecord(std::string(1'000'000, 'x')), "||||0.00|||14:07:09||");
}

TEST_F(ParserTest, FhGridResultMergesIntoTheStoredLineAndFreesTheSlot)
{
    store.symbolLines = {"AAPL|1|2|3|4|100.00|200.00|09:00:00b|03/04/2021|1.5", "IBM|x"};
    RequestSlot slot = BusySlot("AAPL", kQuoteBody);
    Parse_FH_OneGrid(slot, store, settings);
    EXPECT_EQ(store.symbolLines, (TextLines{"AAPL|9.75|12.5|11.25|1.25|100.00|200.00|14:07:09|"
                                            "03/04/2021|1.5",
                                            "IBM|x"}));
    ExpectFree(slot);
    EXPECT_TRUE(prompter.Boxes().empty());

    // A quote without data only marks the time.
    slot = BusySlot("AAPL", R"({"c":0,"d":0,"dp":0,"h":0,"l":0,"o":0,"pc":0,"t":0})");
    Parse_FH_OneGrid(slot, store, settings);
    EXPECT_EQ(store.symbolLines[0], "AAPL|9.75|12.5|11.25|1.25|100.00|200.00|0|03/04/2021|1.5");

    // A new symbol is appended as built.
    slot = BusySlot("MSFT", kQuoteBody);
    Parse_FH_OneGrid(slot, store, settings);
    EXPECT_EQ(store.symbolLines.back(), "MSFT|9.75|12.5|11.25|1.25|||14:07:09||");
}

TEST_F(ParserTest, FhGridResultReportsABadBodyOnlyWhenAsked)
{
    store.symbolLines = {"IBM|1|2|3|4|5|6|7|8|9", "ABCDEFGHIJK|keep"};
    RequestSlot slot = BusySlot("IBM", "{}");
    Parse_FH_OneGrid(slot, store, settings);
    EXPECT_TRUE(prompter.Boxes().empty());
    ExpectFree(slot);

    settings.showErrors = 1;
    slot = BusySlot("IBM", "{}");
    Parse_FH_OneGrid(slot, store, settings);
    // A long symbol passes the length rule with a bare symbol: refused too.
    slot = BusySlot("ABCDEFGHIJK", "{}");
    Parse_FH_OneGrid(slot, store, settings);
    ExpectFree(slot);
    EXPECT_EQ(BoxTexts(),
              (std::vector<std::u16string>{
                  u"Parse_FH_OneGrid data ERROR.  Symbol: IBM returned...\n{}",
                  u"Parse_FH_OneGrid data ERROR.  Symbol: ABCDEFGHIJK returned...\n{}"}));
    EXPECT_EQ(prompter.Boxes()[0].type & platform::MB_TYPEMASK, platform::MB_OK);
    EXPECT_EQ(store.symbolLines, (TextLines{"IBM|1|2|3|4|5|6|7|8|9", "ABCDEFGHIJK|keep"}));
}

TEST_F(ParserTest, BodyShownInAMessageStopsAtNul)
{
    settings.showErrors = 1;
    RequestSlot slot = BusySlot("IBM", std::string("ab\0c", 4));
    Parse_FH_OneGrid(slot, store, settings);
    EXPECT_EQ(BoxTexts(), (std::vector<std::u16string>{
                              u"Parse_FH_OneGrid data ERROR.  Symbol: IBM returned...\nab"}));
}

TEST_F(ParserTest, FhTopResultAppendsOrReports)
{
    RequestSlot slot = BusySlot("^DJI", kQuoteBody);
    Parse_FH_Top(slot, store, settings);
    Parse_FH_Top(BusySlot("^DJI", R"({"c":0,"d":0,"dp":0,"h":0,"l":0,"o":0,"pc":0,"t":0})"), store,
                 settings);
    EXPECT_EQ(store.resultLines,
              (TextLines{"^DJI|9.75|12.5|11.25|1.25|||14:07:09||", "^DJI|0|0|0|0.00|||0||"}));
    EXPECT_EQ(slot.requestId, 101); // freeing is the caller's
    EXPECT_TRUE(store.symbolLines.empty());

    Parse_FH_Top(BusySlot("^DJI", "{}"), store, settings);
    EXPECT_TRUE(prompter.Boxes().empty());
    settings.showErrors = 1;
    Parse_FH_Top(BusySlot("^DJI", "{}"), store, settings);
    EXPECT_EQ(BoxTexts(),
              (std::vector<std::u16string>{u"Bad Return from FinnHub.\n\nSymbol:  ^DJI"}));
    EXPECT_EQ(store.resultLines.size(), 2u);
}

} // namespace
