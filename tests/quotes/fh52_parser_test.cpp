#include "quotes/fh52_parser.h"

#include "parser_fixture.h"

#include <algorithm>

using namespace parser_testing;

namespace
{

constexpr const char* kCandleBody =
    R"({"c":[10,11.5,11.25],"h":[10.5,12,12.5],"l":[9.5,10.75,9.75],"o":[10,11,12],)"
    R"("s":"ok","t":[1614729600,1614816000,1614902400],"v":[100,200,300]})";

using Fh52Record = ParserTest;

TEST_F(Fh52Record, ReducesTheArraysByTheirOrder)
{
    struct Case
    {
        std::string body;
        const char* record;
    };
    const Case cases[] = {
        {kCandleBody, "|||11.25|-0.25|9.50|12.50|14:07:09b|03/05/2021|"},
        // Highest high and lowest low over every value, the oldest included.
        {R"({"c":[1,2],"h":[20,1,2],"l":[0.5,3,4],"o":[],"t":[0]})",
         "|||2.00|1.00|0.50|20.00|14:07:09b||"},
        // One close: no last, change 0.00; an empty array is one value 0.
        {R"({"c":[7],"h":[8],"l":[],"o":[],"t":[1614902400]})",
         "||||0.00|0.00|8.00|14:07:09b|03/05/2021|"},
        // The close is printed first, the change taken from the printed text.
        {R"({"c":[10.004,10.006],"h":[1],"l":[1],"o":[1],"t":[1]})",
         "|||10.01|0.01|1.00|1.00|14:07:09b|01/01/1970|"},
        // No arrays at all.
        {R"({"s":"no_data","x":"abcdefgh"})", "|||||||14:07:09b||"},
        // A "v" or a "}" outside the opens ends the walk; nothing after the
        // fifth array is read.
        {R"({"c":[1,2],"v":[5,6],"h":[9]})", "|||2.00|1.00|||14:07:09b||"},
        {R"({"c":[1,2],"h":[3],"l":[1],"o":[v}],"t":[1614902400]}],[99]})",
         "|||2.00|1.00|1.00|3.00|14:07:09b|03/05/2021|"},
        // Short bodies.
        {"{\"s\":\"no_data\"}", "|||||||0b||"},
        {"", "|||||||0b||"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FH52_CandlesToRecord(c.body), c.record) << c.body;
}

TEST_F(Fh52Record, ReadsTheDateInUtcAndKeepsTimeStampsWithinReach)
{
    const testing_support::ScopedEnv east("TZ", "XST-12");
    const auto dateOf = [](const std::string& stamp)
    {
        const std::string record =
            FH52_CandlesToRecord(R"({"c":[1],"h":[1],"l":[1],"o":[1],"t":[)" + stamp + "]}");
        return record.substr(record.rfind('b') + 2, record.size() - record.rfind('b') - 3);
    };
    EXPECT_EQ(dateOf(std::to_string(kMarch5)), "03/05/2021");
    EXPECT_EQ(dateOf("1,2," + std::to_string(kMarch5 + 86399)), "03/05/2021");
    EXPECT_EQ(dateOf("0"), "");
    EXPECT_EQ(dateOf(" 0"), "01/01/1970");
    EXPECT_EQ(dateOf("-86400"), "12/31/1969");
    // Past the 32-bit range the date is still right.
    EXPECT_EQ(dateOf("4102444800"), "01/01/2100");
    // Beyond any calendar: no date, and no overflow.
    EXPECT_EQ(dateOf("99999999999999999999999"), "");
    EXPECT_EQ(dateOf("-99999999999999999999999"), "");
}

TEST_F(Fh52Record, TakesArraysOfAnyLength)
{
    std::string highs;
    for (int i = 0; i < 1000; ++i)
        highs += (i ? "," : "") + std::to_string(i == 900 ? 5000 : i % 50);
    const std::string record = FH52_CandlesToRecord(R"({"c":[)" + highs + R"(],"h":[)" + highs +
                                                    R"(],"l":[)" + highs + "]}");
    EXPECT_EQ(record, "|||49.00|1.00|0.00|5000.00|14:07:09b||");
}

TEST_F(Fh52Record, NeverLetsAValueBreakTheLine)
{
    std::string body = R"({"c":[1],"h":[1],"l":[1],"o":[1],"t":[1]})";
    body += std::string(100, '\0');
    EXPECT_EQ(FH52_CandlesToRecord(body), "||||0.00|1.00|1.00|14:07:09b|01/01/1970|");
    std::string unclosed(200'000, '[');
    unclosed += std::string(200'000, ',');
    const std::string record = FH52_CandlesToRecord(unclosed);
    EXPECT_EQ(std::count(record.begin(), record.end(), '|'), 9);
}

TEST_F(ParserTest, Fh52GridResultReplacesTheLineAndFreesTheSlot)
{
    store.symbolLines = {"AAPL|1|2|3|4|5|6|7|8|1.5", "X|y", "AAPL|dup"};
    RequestSlot slot = BusySlot("AAPL", kCandleBody);
    Parse_FH52_OneGrid(slot, store);
    EXPECT_EQ(store.symbolLines,
              (TextLines{"AAPL|||11.25|-0.25|9.50|12.50|14:07:09b|03/05/2021|", "X|y"}));
    ExpectFree(slot);

    slot = BusySlot("X", "{}");
    Parse_FH52_OneGrid(slot, store);
    EXPECT_EQ(store.symbolLines[1], "X|||||||0b||");
    EXPECT_TRUE(prompter.Boxes().empty());
}

} // namespace
