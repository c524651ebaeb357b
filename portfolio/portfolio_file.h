// The portfolios: portfolios.txt in the working directory, loaded into and
// saved from DataStore::folioLines, and the lookups on those lines.
//
// A FOLIO line names portfolio n ("n|FOLIO|name||"); each SEC line is one
// row of it ("n|SEC|symbol|price paid|notes"). Lines are found by the text
// prefix that carries the number.
#pragma once

#include "portfolio/data_store.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr const char* kPortfolioFileName = "portfolios.txt";

// Reads portfolios.txt into folioLines. False, with folioLines untouched,
// when the file is missing, empty or unreadable.
bool LoadPortfolios(DataStore& store);

// Gives an empty folioLines the single portfolio "Default" (in memory only).
void EnsureDefaultPortfolio(DataStore& store);

// Writes folioLines to portfolios.txt; true when all of it was written.
bool SavePortfolios(const DataStore& store);

// The name on a FOLIO line: the bytes after the first "|FOLIO|" up to the
// next "|" or the end; nothing when the line holds no "|FOLIO|".
std::optional<std::string> FolioNameOf(std::string_view line);

// "n|SEC": the start of every SEC line of portfolio n.
std::string SecLinePrefix(unsigned folioNumber);

// Positions in folioLines of the SEC lines of portfolio n, in list order.
std::vector<std::size_t> SecLinePositions(const DataStore& store, unsigned folioNumber);

// The SEC lines of portfolio n, in list order.
TextLines SecLinesOf(const DataStore& store, unsigned folioNumber);

// Typed text as line bytes: the low eight bits of each UTF-16 code unit.
// platform::DecodeAnsi is its inverse for display.
std::string NarrowText(std::u16string_view text);
