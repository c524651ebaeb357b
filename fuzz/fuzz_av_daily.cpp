// AlphaVantage daily series bodies of any bytes through the record builder
// and both result handlers.
#include "fuzz_support.h"
#include "quotes/av_daily_parser.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzing::AnswerMessagesSilently();
    const std::string_view body(reinterpret_cast<const char*>(data), size);
    fuzzing::CheckRecord(AV_DailyToRecord(body));

    DataStore store;
    store.symbolLines = {"IBM|1|2|3|4|5|6|7|8|9", "X|short"};
    AppSettings settings;
    settings.showErrors = 1;
    settings.avShowDetail = 1;
    AvBatchCounters counters{.avSymbolCount = 1};
    RequestSlot slot;
    slot.requestId = 100;
    slot.symbol = fuzzing::SymbolFor(size);
    slot.body = std::string(body);
    Parse_AV_Top(slot, store, settings);
    Parse_AV_OneGrid(slot, store, settings, counters);
    if (slot.requestId != 0 || !slot.body.empty() || counters.avSymbolCount != 0)
        std::abort();
    return 0;
}
