// Deterministic synthetic market data: the same symbol on the same day
// always gives the same prices, and different symbols differ. Answers are
// formatted as the real services send them (member and column order).
#pragma once

#include <ctime>
#include <string>
#include <string_view>
#include <vector>

namespace quotesim
{

struct DayBar
{
    std::time_t time = 0; // 00:00 UTC of the day
    double open = 0;
    double high = 0;
    double low = 0;
    double close = 0;
    long volume = 0;
};

// The bar of one day (weekends included; callers skip them).
DayBar BarOf(std::string_view symbol, long dayNumber);

// Trading days (Monday to Friday) from `from` to `to`, oldest first, at
// most `limit` of the latest ones.
std::vector<DayBar> TradingDays(std::string_view symbol, std::time_t from, std::time_t to,
                                size_t limit);

// FinnHub /api/v1/quote: {"c":..,"d":..,"dp":..,"h":..,"l":..,"o":..,"pc":..,"t":..}
std::string FinnHubQuoteJson(std::string_view symbol, std::time_t now);
// FinnHub /api/v1/stock/candle: {"c":[..],"h":[..],"l":[..],"o":[..],"s":"ok","t":[..],"v":[..]}
std::string FinnHubCandleJson(std::string_view symbol, std::time_t from, std::time_t to);
// AlphaVantage TIME_SERIES_DAILY as CSV, newest day first, 100 days.
std::string AlphaVantageCsv(std::string_view symbol, std::time_t now);

// What the services answer for a symbol they do not know.
std::string FinnHubEmptyQuoteJson();
std::string FinnHubNoDataJson();
std::string AlphaVantageErrorJson();

} // namespace quotesim
