#include "quotes/fh52_parser.h"

#include "platform/ui/clock.h"
#include "quotes/quote_line.h"
#include "quotes/quote_text.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <limits>
#include <optional>

namespace
{

constexpr std::size_t kMinimumBody = 20;
constexpr std::string_view kShortBodyRecord = "|||||||0b||";

// Array counts, by order of closing.
enum ArrayCount : std::size_t
{
    kCloses = 0,
    kHighs = 1,
    kLows = 2,
    kOpens = 3,
    kTimes = 4,
    kArraysRead = 5,
};

// The values of the array being read. Each value is reduced as it is
// filed, so an array of any length needs no table: the running greatest
// and smallest value, and the latest filed one (the one before the value
// that the closing bracket files).
class ArrayValues
{
public:
    void Restart() { *this = ArrayValues{}; }

    void File(std::string_view text)
    {
        const double number = TextToNumber(text);
        if (filed == 0)
        {
            greatest = smallest = number;
        }
        else
        {
            if (number > greatest)
                greatest = number;
            if (number < smallest)
                smallest = number;
        }
        latest = number;
        ++filed;
    }

    std::size_t Filed() const { return filed; }
    double Latest() const { return latest; }

    // The greatest and smallest of the filed values and `closing`, the value
    // that the closing bracket adds after them.
    double GreatestWith(double closing) const
    {
        return filed == 0 || closing > greatest ? closing : greatest;
    }
    double SmallestWith(double closing) const
    {
        return filed == 0 || closing < smallest ? closing : smallest;
    }

private:
    std::size_t filed = 0;
    double greatest = 0;
    double smallest = 0;
    double latest = 0;
};

// The value as the C library's text-to-integer conversion reads it (blanks,
// a sign, digits; 0 without digits), held at the limits of 64 bits instead
// of overflowing.
std::int64_t TextToSeconds(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    std::int64_t value = 0;
    constexpr std::int64_t limit = std::numeric_limits<std::int64_t>::max();
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    {
        const int digit = text[i] - '0';
        if (value > (limit - digit) / 10)
            return negative ? std::numeric_limits<std::int64_t>::min() : limit;
        value = value * 10 + digit;
    }
    return negative ? -value : value;
}

// mm/dd/yyyy of the UTC day of `seconds`; empty when the moment has no
// calendar date of four-digit year.
std::string UtcDateText(std::int64_t seconds)
{
    const std::time_t moment = static_cast<std::time_t>(seconds);
    std::tm date{};
    if (gmtime_r(&moment, &date) == nullptr)
        return {};
    const long year = static_cast<long>(date.tm_year) + 1900;
    if (year < 1 || year > 9999)
        return {};
    char text[48];
    std::snprintf(text, sizeof text, "%.2d/%.2d/%.2ld", date.tm_mon + 1, date.tm_mday, year);
    return text;
}

} // namespace

std::string FH52_CandlesToRecord(std::string_view body)
{
    if (body.size() < kMinimumBody)
        return std::string(kShortBodyRecord);
    std::array<std::string, QuoteField::count> fields;
    std::string value;
    ArrayValues values;
    std::size_t arrays = 0;
    bool inside = false;
    for (const char c : body)
    {
        if (c == '[')
        {
            inside = true;
            values.Restart();
            value.clear();
        }
        else if (c == ']')
        {
            inside = false;
            const double closing = TextToNumber(value);
            switch (arrays)
            {
            case kCloses:
            {
                double previous = 0;
                if (values.Filed() > 0)
                {
                    fields[QuoteField::last] = FormatFixed(closing, 2);
                    previous = values.Latest();
                }
                fields[QuoteField::change] =
                    FormatFixed(TextToNumber(fields[QuoteField::last]) - previous, 2);
                break;
            }
            case kHighs:
                fields[QuoteField::high52] = FormatFixed(values.GreatestWith(closing), 2);
                break;
            case kLows:
                fields[QuoteField::low52] = FormatFixed(values.SmallestWith(closing), 2);
                break;
            case kTimes:
                if (value != "0")
                    fields[QuoteField::dataDate] = UtcDateText(TextToSeconds(value));
                break;
            default:
                break;
            }
            if (++arrays >= kArraysRead)
                break;
        }
        else if (arrays == kOpens)
        {
            // The opens are not used.
        }
        else if (inside && c == ',')
        {
            values.File(value);
            value.clear();
        }
        else if (c == 'v' || c == '}')
        {
            break;
        }
        else if (inside)
        {
            value += c;
        }
    }
    fields[QuoteField::priceTime] = FormatTimeHMS(platform::CurrentClock().WallTime()) + "b";
    return JoinRecord(fields);
}

void Parse_FH52_OneGrid(RequestSlot& slot, DataStore& store)
{
    ReplaceSymbolLine(store, slot.symbol + FH52_CandlesToRecord(slot.body));
    slot.Free();
}
