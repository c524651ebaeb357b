#include "market_data.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace quotesim
{

namespace
{

constexpr long SECONDS_PER_DAY = 86400;

std::uint64_t Hash(std::string_view text, std::uint64_t seed = 1469598103934665603ull)
{
    std::uint64_t h = seed;
    for (char c : text)
    {
        h ^= static_cast<unsigned char>(c);
        h *= 1099511628211ull;
    }
    return h;
}

// A number in [0, 1) from the symbol and a day.
double Noise(std::string_view symbol, long day, int salt)
{
    std::uint64_t h = Hash(symbol) ^ (static_cast<std::uint64_t>(day) * 0x9E3779B97F4A7C15ull) ^
                      static_cast<std::uint64_t>(salt) * 0xC2B2AE3D27D4EB4Full;
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdull;
    h ^= h >> 33;
    return static_cast<double>(h % 1000000) / 1000000.0;
}

double Round2(double v)
{
    return std::round(v * 100.0) / 100.0;
}

bool IsWeekday(long day)
{
    // 1970-01-01 was a Thursday.
    const long weekday = ((day % 7) + 7 + 4) % 7; // 0 Sunday
    return weekday != 0 && weekday != 6;
}

std::string Number(double v, const char* format = "%.2f")
{
    char text[64];
    std::snprintf(text, sizeof text, format, v);
    return text;
}

long DayOf(std::time_t t)
{
    return static_cast<long>(t / SECONDS_PER_DAY) - (t < 0 && t % SECONDS_PER_DAY ? 1 : 0);
}

// The latest trading day on or before `day`.
long LatestTradingDay(long day)
{
    while (!IsWeekday(day))
        --day;
    return day;
}

long PreviousTradingDay(long day)
{
    return LatestTradingDay(day - 1);
}

} // namespace

DayBar BarOf(std::string_view symbol, long day)
{
    const double base = 10.0 + static_cast<double>(Hash(symbol) % 49000) / 100.0;
    const double phase = static_cast<double>(Hash(symbol, 7) % 628) / 100.0;
    const double trend = base * (1.0 + 0.15 * std::sin(static_cast<double>(day) * 0.05 + phase));
    DayBar bar;
    bar.time = static_cast<std::time_t>(day) * SECONDS_PER_DAY;
    bar.open = Round2(trend * (0.99 + 0.02 * Noise(symbol, day, 1)));
    bar.close = Round2(trend * (0.99 + 0.02 * Noise(symbol, day, 2)));
    bar.high = Round2(std::max(bar.open, bar.close) * (1.0 + 0.015 * Noise(symbol, day, 3)));
    bar.low = Round2(std::min(bar.open, bar.close) * (1.0 - 0.015 * Noise(symbol, day, 4)));
    bar.volume = 100000 + static_cast<long>(Noise(symbol, day, 5) * 9000000);
    return bar;
}

std::vector<DayBar> TradingDays(std::string_view symbol, std::time_t from, std::time_t to,
                                size_t limit)
{
    std::vector<DayBar> bars;
    if (to < from || limit == 0)
        return bars;
    const long first = DayOf(from);
    long day = DayOf(to);
    for (; day >= first && bars.size() < limit; --day)
        if (IsWeekday(day))
            bars.push_back(BarOf(symbol, day));
    return {bars.rbegin(), bars.rend()};
}

std::string FinnHubQuoteJson(std::string_view symbol, std::time_t now)
{
    const long today = LatestTradingDay(DayOf(now));
    const DayBar bar = BarOf(symbol, today);
    const DayBar previous = BarOf(symbol, PreviousTradingDay(today));
    const double change = Round2(bar.close - previous.close);
    const double percent = change / previous.close * 100.0;
    const long stamp = static_cast<long>(bar.time) + 20 * 3600; // the day's close, 20:00 UTC
    return "{\"c\":" + Number(bar.close) + ",\"d\":" + Number(change) +
           ",\"dp\":" + Number(percent, "%.4f") + ",\"h\":" + Number(bar.high) +
           ",\"l\":" + Number(bar.low) + ",\"o\":" + Number(bar.open) +
           ",\"pc\":" + Number(previous.close) + ",\"t\":" + std::to_string(stamp) + "}";
}

std::string FinnHubCandleJson(std::string_view symbol, std::time_t from, std::time_t to)
{
    const std::vector<DayBar> bars = TradingDays(symbol, from, to, 400);
    if (bars.empty())
        return FinnHubNoDataJson();
    auto array = [&bars](auto field)
    {
        std::string out = "[";
        for (size_t i = 0; i < bars.size(); ++i)
        {
            if (i)
                out += ",";
            out += field(bars[i]);
        }
        return out + "]";
    };
    return "{\"c\":" + array([](const DayBar& b) { return Number(b.close); }) +
           ",\"h\":" + array([](const DayBar& b) { return Number(b.high); }) +
           ",\"l\":" + array([](const DayBar& b) { return Number(b.low); }) +
           ",\"o\":" + array([](const DayBar& b) { return Number(b.open); }) +
           ",\"s\":\"ok\",\"t\":" +
           array([](const DayBar& b) { return std::to_string(static_cast<long>(b.time)); }) +
           ",\"v\":" + array([](const DayBar& b) { return std::to_string(b.volume); }) + "}";
}

std::string AlphaVantageCsv(std::string_view symbol, std::time_t now)
{
    std::vector<DayBar> bars = TradingDays(symbol, now - 200 * SECONDS_PER_DAY, now, 100);
    std::string out = "timestamp,open,high,low,close,volume\r\n";
    for (auto it = bars.rbegin(); it != bars.rend(); ++it)
    {
        std::tm date{};
        gmtime_r(&it->time, &date);
        char day[48];
        std::snprintf(day, sizeof day, "%04d-%02d-%02d", date.tm_year + 1900, date.tm_mon + 1,
                      date.tm_mday);
        out += std::string(day) + "," + Number(it->open, "%.4f") + "," + Number(it->high, "%.4f") +
               "," + Number(it->low, "%.4f") + "," + Number(it->close, "%.4f") + "," +
               std::to_string(it->volume) + "\r\n";
    }
    return out;
}

std::string FinnHubEmptyQuoteJson()
{
    return "{\"c\":0,\"d\":null,\"dp\":null,\"h\":0,\"l\":0,\"o\":0,\"pc\":0,\"t\":0}";
}

std::string FinnHubNoDataJson()
{
    return "{\"s\":\"no_data\"}";
}

std::string AlphaVantageErrorJson()
{
    return "{\n    \"Error Message\": \"Invalid API call. Please retry or visit the "
           "documentation (https://www.alphavantage.co/documentation/) for "
           "TIME_SERIES_DAILY.\"\n}";
}

} // namespace quotesim
