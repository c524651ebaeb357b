// One request of the main dialog in flight, and the AlphaVantage batch
// counters that the result handlers update.
#pragma once

#include "http/request_options.h"

#include <cstdint>
#include <string>

struct RequestSlot
{
    std::int32_t requestId = 0; // the engine's id; 0 while the slot is free
    std::string body;           // the response body once the request has finished
    HttpRequestOptions options; // the request as handed to the engine
    std::string symbol;         // the symbol requested, as line bytes

    bool IsBusy() const { return requestId != 0; }

    // Makes the slot free again: no id, no body, no symbol, no address.
    void Free()
    {
        requestId = 0;
        std::string().swap(body); // a large body gives its memory back
        symbol.clear();
        options.url.clear();
    }
};

// The main dialog's counts of the running AlphaVantage batch.
struct AvBatchCounters
{
    std::int32_t avSymbolCount = 0; // requests of the batch not yet answered
    std::int32_t avErrorCount = 0;  // data errors in the batch
    std::u16string avErrorText;     // symbols with data errors, ", "-separated
};
