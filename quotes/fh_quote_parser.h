// FinnHub quote responses: one JSON object whose member values are taken by
// position (counted by the commas between members), not by name.
#pragma once

#include "app/app_settings.h"
#include "mainwnd/request_slot.h"
#include "portfolio/data_store.h"

#include <string>
#include <string_view>

// The record of a quote body: empty for a body shorter than 5 bytes, else
// "|dayLow|dayHigh|last|change|||priceTime||". The values at comma counts 0
// (current price), 3 (high), 4 (low) keep the service's digits; change is
// current price minus the value at count 6 (previous close), "%.2f".
// priceTime is the time of parsing, or "0" when the last value is exactly
// "0" (a quote without data).
std::string FH_QuoteToRecord(std::string_view body);

// A quote for the grid: merges the symbol's line into symbolLines, or shows
// the data error when ShowErrors is on; then frees the slot.
void Parse_FH_OneGrid(RequestSlot& slot, DataStore& store, const AppSettings& settings);

// A quote for the index header: appends the line to resultLines, or shows
// the bad return when ShowErrors is on. The slot stays as it is.
void Parse_FH_Top(const RequestSlot& slot, DataStore& store, const AppSettings& settings);
