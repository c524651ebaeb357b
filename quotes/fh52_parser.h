// FinnHub daily candle responses for the 52-week range: one JSON object of
// parallel arrays, told apart by the order in which they close (closes,
// highs, lows, opens, time stamps), not by name.
#pragma once

#include "mainwnd/request_slot.h"
#include "portfolio/data_store.h"

#include <string>
#include <string_view>

// The record of a candle body: "|||last|change|low52|high52|time b|date|".
// last is the latest close and change its difference to the close before,
// low52 and high52 the smallest low and greatest high, all "%.2f"; date is
// the UTC date of the latest time stamp as mm/dd/yyyy. A body shorter than
// 20 bytes gives "|||||||0b||".
std::string FH52_CandlesToRecord(std::string_view body);

// Replaces the symbol's line in symbolLines with the one built from the
// slot's body, then frees the slot.
void Parse_FH52_OneGrid(RequestSlot& slot, DataStore& store);
