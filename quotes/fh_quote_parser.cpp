#include "quotes/fh_quote_parser.h"

#include "platform/text/code_page.h"
#include "platform/ui/clock.h"
#include "platform/ui/message_box.h"
#include "quotes/quote_line.h"
#include "quotes/quote_text.h"

#include <array>

namespace
{

// The shortest body that can hold a quote.
constexpr std::size_t kMinimumBody = 5;

// The quote line of a slot's body, or nothing when the handler refuses it.
std::optional<std::string> QuoteLineOf(const RequestSlot& slot)
{
    return AcceptedQuoteLine(slot.symbol, FH_QuoteToRecord(slot.body));
}

} // namespace

std::string FH_QuoteToRecord(std::string_view body)
{
    if (body.size() < kMinimumBody)
        return {};
    std::array<std::string, QuoteField::count> fields;
    std::string value;
    std::size_t commas = 0;
    for (const char c : body)
    {
        if (c == '}')
            break;
        if (c == ':')
        {
            value.clear();
        }
        else if (c == ',')
        {
            switch (commas)
            {
            case 0:
                fields[QuoteField::last] = value;
                break;
            case 3:
                fields[QuoteField::dayHigh] = value;
                break;
            case 4:
                fields[QuoteField::dayLow] = value;
                break;
            case 6:
                fields[QuoteField::change] = value;
                break; // the previous close, for now
            default:
                break;
            }
            ++commas;
        }
        else
        {
            value += c;
        }
    }
    fields[QuoteField::priceTime] =
        value == "0" ? std::string("0") : FormatTimeHMS(platform::CurrentClock().WallTime());
    fields[QuoteField::change] = FormatFixed(
        TextToNumber(fields[QuoteField::last]) - TextToNumber(fields[QuoteField::change]), 2);
    return JoinRecord(fields);
}

void Parse_FH_OneGrid(RequestSlot& slot, DataStore& store, const AppSettings& settings)
{
    if (std::optional<std::string> line = QuoteLineOf(slot))
    {
        MergeSymbolLine(store, std::move(*line));
    }
    else if (settings.showErrors != 0)
    {
        platform::AfxMessageBox(u"Parse_FH_OneGrid data ERROR.  Symbol: " +
                                platform::DecodeAnsi(slot.symbol) + u" returned...\n" +
                                BodyForMessage(slot.body));
    }
    slot.Free();
}

void Parse_FH_Top(const RequestSlot& slot, DataStore& store, const AppSettings& settings)
{
    if (std::optional<std::string> line = QuoteLineOf(slot))
        store.resultLines.push_back(std::move(*line));
    else if (settings.showErrors != 0)
        platform::AfxMessageBox(u"Bad Return from FinnHub.\n\nSymbol:  " +
                                platform::DecodeAnsi(slot.symbol));
}
