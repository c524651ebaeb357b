// FinnHub candle bodies of any bytes through the record builder and the
// grid handler.
#include "fuzz_support.h"
#include "quotes/fh52_parser.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzing::AnswerMessagesSilently();
    const std::string_view body(reinterpret_cast<const char*>(data), size);
    const std::string record = FH52_CandlesToRecord(body);
    if (record.empty())
        std::abort();
    fuzzing::CheckRecord(record);

    DataStore store;
    store.symbolLines = {"IBM|1|2|3|4|5|6|7|8|9", "X|short"};
    RequestSlot slot;
    slot.requestId = 100;
    slot.symbol = fuzzing::SymbolFor(size);
    slot.body = std::string(body);
    Parse_FH52_OneGrid(slot, store);
    if (slot.requestId != 0 || !slot.body.empty())
        std::abort();
    return 0;
}
