// What the parser tests share: a fixed clock at 14:07:09 UTC on 5 March
// 2021, the zone set to UTC, a recording prompter and a data store.
#pragma once

#include "app/app_settings.h"
#include "mainwnd/request_slot.h"
#include "platform/ui/clock.h"
#include "platform/ui/scripted_prompter.h"
#include "portfolio/data_store.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace parser_testing
{

// 2021-03-05 14:07:09 UTC.
inline constexpr std::time_t kParseMoment = 1614953229;
// 2021-03-05 00:00:00 UTC.
inline constexpr std::time_t kMarch5 = 1614902400;

class ParserTest : public ::testing::Test
{
protected:
    RequestSlot BusySlot(std::string symbol, std::string body)
    {
        RequestSlot slot;
        slot.requestId = 101;
        slot.symbol = std::move(symbol);
        slot.body = std::move(body);
        slot.options.url = u"https://example.test/q";
        return slot;
    }

    std::vector<std::u16string> BoxTexts() const
    {
        std::vector<std::u16string> texts;
        for (const auto& box : prompter.Boxes())
            texts.push_back(box.text);
        return texts;
    }

    static void ExpectFree(const RequestSlot& slot)
    {
        EXPECT_EQ(slot.requestId, 0);
        EXPECT_TRUE(slot.body.empty());
        EXPECT_TRUE(slot.symbol.empty());
        EXPECT_TRUE(slot.options.url.empty());
    }

    testing_support::ScopedEnv zone{"TZ", "UTC0"};
    platform::ManualClock clock{1'000'000, kParseMoment};
    platform::ScopedClock clockInPlace{clock};
    platform::ScriptedPrompter prompter;
    DataStore store;
    AppSettings settings;
};

} // namespace parser_testing
