#include "quotes/av_daily_parser.h"

#include "platform/text/code_page.h"
#include "platform/ui/message_box.h"
#include "quotes/quote_line.h"
#include "quotes/quote_text.h"

#include <array>
#include <optional>

namespace
{

// The shortest header line (with its line feed) of a usable body.
constexpr std::size_t kMinimumHeader = 5;

// Columns of a data line.
constexpr std::size_t kDateColumn = 0;
constexpr std::size_t kHighColumn = 2;
constexpr std::size_t kLowColumn = 3;
constexpr std::size_t kCloseColumn = 4;

// 2021-03-05 (or any value of at least ten bytes laid out so) as 03/05/2021.
std::string DateText(std::string_view value)
{
    if (value.size() < 10)
        return {};
    std::string date;
    date.append(value.substr(5, 2)).append("/").append(value.substr(8, 2)).append("/");
    date.append(value.substr(0, 4));
    return date;
}

std::optional<std::string> DailyLineOf(const RequestSlot& slot)
{
    return AcceptedQuoteLine(slot.symbol, AV_DailyToRecord(slot.body));
}

// Walks one CSV line from `at` to its line feed or the end of the body,
// skipping CR bytes, and hands every value that a comma ends to
// `cell(column, value)`, which returns false to stop. The last value of the
// line (not followed by a comma) is never handed on. Returns where the walk
// stopped: the line feed, the end of the body, or the stopping comma.
template <typename Cell> std::size_t WalkCsvLine(std::string_view body, std::size_t at, Cell cell)
{
    std::string value;
    std::size_t column = 0;
    for (; at < body.size() && body[at] != '\n'; ++at)
    {
        const char c = body[at];
        if (c == '\r')
            continue;
        if (c != ',')
        {
            value += c;
            continue;
        }
        if (!cell(column, value))
            break;
        value.clear();
        ++column;
    }
    return at;
}

} // namespace

std::string AV_DailyToRecord(std::string_view body)
{
    if (body.empty())
        return {};
    const std::size_t headerEnd = body.find('\n');
    const std::size_t dataStart = headerEnd == std::string_view::npos ? body.size() : headerEnd + 1;
    if (dataStart < kMinimumHeader)
        return {};

    std::array<std::string, QuoteField::count> fields;
    const std::size_t end = WalkCsvLine(body, dataStart,
                                        [&](std::size_t column, const std::string& value)
                                        {
                                            switch (column)
                                            {
                                            case kDateColumn:
                                                fields[QuoteField::dataDate] = DateText(value);
                                                break;
                                            case kHighColumn:
                                                fields[QuoteField::dayHigh] = value;
                                                break;
                                            case kLowColumn:
                                                fields[QuoteField::dayLow] = value;
                                                break;
                                            case kCloseColumn:
                                                fields[QuoteField::last] = value;
                                                break;
                                            default:
                                                break;
                                            }
                                            return true;
                                        });

    // The day before: only its close is read, for the change.
    if (end < body.size())
        WalkCsvLine(body, end + 1,
                    [&](std::size_t column, const std::string& value)
                    {
                        if (column != kCloseColumn)
                            return true;
                        fields[QuoteField::change] = FormatFixed(
                            TextToNumber(fields[QuoteField::last]) - TextToNumber(value), 2);
                        return false;
                    });
    return JoinRecord(fields);
}

void Parse_AV_OneGrid(RequestSlot& slot, DataStore& store, const AppSettings& settings,
                      AvBatchCounters& counters)
{
    if (std::optional<std::string> line = DailyLineOf(slot))
    {
        ReplaceSymbolLine(store, std::move(*line));
    }
    else
    {
        const std::u16string symbol = platform::DecodeAnsi(slot.symbol);
        ++counters.avErrorCount;
        if (!counters.avErrorText.empty())
            counters.avErrorText += u", ";
        counters.avErrorText += symbol;
        if (settings.avShowDetail != 0)
        {
            const std::u16string detail = u"AV DATA ERROR return.  Symbol: " + symbol +
                                          u" returned...\n" + BodyForMessage(slot.body);
            if (settings.showErrors != 0)
                platform::AfxMessageBox(detail);
        }
    }
    slot.Free();
    --counters.avSymbolCount;
}

void Parse_AV_Top(const RequestSlot& slot, DataStore& store, const AppSettings& settings)
{
    if (std::optional<std::string> line = DailyLineOf(slot))
        store.resultLines.push_back(std::move(*line));
    else if (settings.showErrors != 0)
        platform::AfxMessageBox(u"Bad Return from AlphaVantage.\n\nSymbol:  " +
                                platform::DecodeAnsi(slot.symbol));
}
