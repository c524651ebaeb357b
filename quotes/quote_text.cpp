#include "quotes/quote_text.h"

#include "platform/text/code_page.h"

#include <charconv>
#include <clocale>
#include <cstdlib>
#include <locale.h>
#include <system_error>

namespace
{

// Shown bodies are cut after this many bytes.
constexpr std::size_t kShownBodyLimit = 4096;

locale_t CLocale()
{
    static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t{});
    return c;
}

bool BreaksLine(char c)
{
    return c == '|' || c == '\r' || c == '\n' || c == '\0';
}

} // namespace

double TextToNumber(std::string_view text)
{
    text = text.substr(0, text.find('\0'));
    // Quote values are short: they are terminated on the stack.
    char shortText[64];
    if (text.size() < sizeof shortText)
    {
        text.copy(shortText, text.size());
        shortText[text.size()] = '\0';
        return strtod_l(shortText, nullptr, CLocale());
    }
    const std::string terminated(text);
    return strtod_l(terminated.c_str(), nullptr, CLocale());
}

std::string FormatFixed(double value, int decimals)
{
    // Large enough for every double in fixed notation (up to 309 digits).
    char digits[400];
    const std::to_chars_result result =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, decimals);
    if (result.ec != std::errc{})
        return {};
    return std::string(digits, result.ptr);
}

std::string JoinRecord(const std::array<std::string, 10>& fields)
{
    std::string record;
    for (std::size_t i = 1; i < fields.size(); ++i)
    {
        record += '|';
        for (const char c : fields[i])
        {
            if (!BreaksLine(c))
                record += c;
        }
    }
    return record;
}

std::u16string BodyForMessage(std::string_view body)
{
    std::string_view shown = body.substr(0, body.find('\0'));
    const bool cut = shown.size() > kShownBodyLimit;
    std::u16string text = platform::DecodeAnsi(shown.substr(0, kShownBodyLimit));
    if (cut)
        text += u"...";
    return text;
}

std::optional<std::string> AcceptedQuoteLine(std::string_view symbol, std::string_view record)
{
    std::string line = std::string(symbol).append(record);
    if (line.size() <= 10 || record.empty())
        return std::nullopt;
    return line;
}
