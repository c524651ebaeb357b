// Quote lines: one symbol's quote data as 8-bit text of ten fields joined
// by "|" (symbol|dayLow|dayHigh|last|change|low52|high52|priceTime|
// dataDate|yield). DataStore::symbolLines holds one per symbol and is kept
// in symboldata.txt in the working directory.
#pragma once

#include "portfolio/data_store.h"

#include <array>
#include <cstddef>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

// Positions of the fields in a quote line.
namespace QuoteField
{
inline constexpr std::size_t symbol = 0;
inline constexpr std::size_t dayLow = 1;
inline constexpr std::size_t dayHigh = 2;
inline constexpr std::size_t last = 3;
inline constexpr std::size_t change = 4;
inline constexpr std::size_t low52 = 5;
inline constexpr std::size_t high52 = 6;
inline constexpr std::size_t priceTime = 7;
inline constexpr std::size_t dataDate = 8;
inline constexpr std::size_t yield = 9;
inline constexpr std::size_t count = 10;
} // namespace QuoteField

using QuoteFields = std::array<std::string_view, QuoteField::count>;

inline constexpr const char* kSymbolDataFileName = "symboldata.txt";

// The ten fields of a line, split at every "|": fields the line lacks are
// empty, fields beyond the tenth are left out. The views point into `line`.
QuoteFields SplitQuoteFields(std::string_view line);

// The key that finds a line's stored line: its text up to and including the
// first "|" (the whole line when it holds none).
std::string_view SymbolKeyOf(std::string_view line);

// Reads symboldata.txt into symbolLines. False, with symbolLines untouched,
// when the file is missing, empty or unreadable.
bool LoadSymbolData(DataStore& store);

// Writes symbolLines to symboldata.txt; true when all of it was written.
bool SaveSymbolData(const DataStore& store);

// The first line of symbolLines that begins with `symbol` followed by "|"
// (byte for byte, case-sensitive), or nothing.
std::optional<std::string> FindSymbolLine(const DataStore& store, std::string_view symbol);

// Stores `newLine` whole as the line of its symbol: it takes the place of
// the first stored line of that symbol, later ones are removed, and it is
// appended when there was none. An empty line changes nothing.
void ReplaceSymbolLine(DataStore& store, std::string newLine);

// As ReplaceSymbolLine, but the first stored line becomes
// MergeQuoteFields(stored, newLine). Used for FinnHub quotes.
void MergeSymbolLine(DataStore& store, std::string newLine);

// A FinnHub quote merged into a stored line, always ten fields. When the new
// line's priceTime is empty or "0" it carries no data and only priceTime
// becomes "0"; otherwise dayLow, dayHigh, last, change and priceTime are
// taken from it and the other fields stay.
std::string MergeQuoteFields(std::string_view existing, std::string_view newLine);

// The local time of day of `moment` as "%H:%M:%S" (for example 14:07:09),
// following the TZ in force. Empty for a moment the C library cannot break
// down. Quote lines hold it as is.
std::string FormatTimeHMS(std::time_t moment);

// FormatTimeHMS as window text.
std::u16string FormatTimeHMSText(std::time_t moment);
