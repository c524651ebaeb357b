#include "quotes/quote_line.h"

#include "platform/text/code_page.h"
#include "portfolio/line_file.h"

#include <algorithm>

namespace
{

// Removes every line that begins with `key` except the first, which it
// gives (the end when there is none).
TextLines::iterator KeepFirstLineOf(TextLines& lines, std::string_view key)
{
    const auto matches = [key](const std::string& line) { return line.starts_with(key); };
    const auto first = std::find_if(lines.begin(), lines.end(), matches);
    if (first != lines.end())
        lines.erase(std::remove_if(std::next(first), lines.end(), matches), lines.end());
    return first;
}

// Stores `newLine` for its symbol: the first stored line of the symbol
// becomes combine(stored, newLine), later ones are removed, and the new
// line is appended when there was none. An empty line changes nothing.
template <typename Combine>
void StoreSymbolLine(DataStore& store, std::string newLine, Combine combine)
{
    if (newLine.empty())
        return;
    TextLines& lines = store.symbolLines;
    const auto first = KeepFirstLineOf(lines, SymbolKeyOf(newLine));
    if (first == lines.end())
        lines.push_back(std::move(newLine));
    else
        *first = combine(*first, std::move(newLine));
}
} // namespace

QuoteFields SplitQuoteFields(std::string_view line)
{
    QuoteFields fields{};
    for (std::size_t i = 0; i < QuoteField::count; ++i)
    {
        const std::size_t bar = line.find('|');
        fields[i] = line.substr(0, bar);
        if (bar == std::string_view::npos)
            break;
        line.remove_prefix(bar + 1);
    }
    return fields;
}

std::string_view SymbolKeyOf(std::string_view line)
{
    const std::size_t bar = line.find('|');
    return bar == std::string_view::npos ? line : line.substr(0, bar + 1);
}

bool LoadSymbolData(DataStore& store)
{
    return LoadTextLines(kSymbolDataFileName, store.symbolLines);
}

bool SaveSymbolData(const DataStore& store)
{
    return SaveTextLines(kSymbolDataFileName, store.symbolLines);
}

std::optional<std::string> FindSymbolLine(const DataStore& store, std::string_view symbol)
{
    for (const std::string& line : store.symbolLines)
    {
        if (line.size() > symbol.size() && line.starts_with(symbol) && line[symbol.size()] == '|')
            return line;
    }
    return std::nullopt;
}

void ReplaceSymbolLine(DataStore& store, std::string newLine)
{
    StoreSymbolLine(store, std::move(newLine),
                    [](const std::string&, std::string line) { return line; });
}

void MergeSymbolLine(DataStore& store, std::string newLine)
{
    StoreSymbolLine(store, std::move(newLine),
                    [](const std::string& stored, std::string line)
                    { return MergeQuoteFields(stored, line); });
}

std::string MergeQuoteFields(std::string_view existing, std::string_view newLine)
{
    QuoteFields fields = SplitQuoteFields(existing);
    const QuoteFields incoming = SplitQuoteFields(newLine);
    const std::string_view time = incoming[QuoteField::priceTime];
    if (time.empty() || time == "0")
    {
        fields[QuoteField::priceTime] = "0";
    }
    else
    {
        for (const std::size_t i : {QuoteField::dayLow, QuoteField::dayHigh, QuoteField::last,
                                    QuoteField::change, QuoteField::priceTime})
            fields[i] = incoming[i];
    }
    std::string merged;
    for (std::size_t i = 0; i < QuoteField::count; ++i)
    {
        if (i > 0)
            merged += '|';
        merged += fields[i];
    }
    return merged;
}

std::string FormatTimeHMS(std::time_t moment)
{
    // localtime_r alone may keep the zone it saw first; tzset picks up TZ.
    tzset();
    std::tm local{};
    if (localtime_r(&moment, &local) == nullptr)
        return {};
    char text[16];
    const std::size_t length = std::strftime(text, sizeof text, "%H:%M:%S", &local);
    return std::string(text, length);
}

std::u16string FormatTimeHMSText(std::time_t moment)
{
    return platform::DecodeAnsi(FormatTimeHMS(moment));
}
