#include "platform/text/code_page.h"

namespace platform
{

std::u16string DecodeAnsi(std::string_view bytes)
{
    std::u16string text(bytes.size(), u'\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[i]));
    return text;
}

std::string EncodeAnsi(std::u16string_view text)
{
    std::string bytes(text.size(), '\0');
    for (size_t i = 0; i < text.size(); ++i)
        bytes[i] = text[i] <= 0xFF ? static_cast<char>(text[i]) : '?';
    return bytes;
}

namespace
{
bool IsHigh(char16_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLow(char16_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

void AppendUtf16(std::u16string& out, char32_t cp)
{
    if (cp < 0x10000)
    {
        out.push_back(static_cast<char16_t>(cp));
        return;
    }
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
}
} // namespace

std::optional<std::u16string> Utf8ToUtf16(std::string_view bytes)
{
    std::u16string out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();)
    {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80)
        {
            out.push_back(lead);
            ++i;
            continue;
        }
        int extra;
        char32_t cp;
        char32_t minimum;
        if ((lead & 0xE0) == 0xC0)
        {
            extra = 1;
            cp = lead & 0x1F;
            minimum = 0x80;
        }
        else if ((lead & 0xF0) == 0xE0)
        {
            extra = 2;
            cp = lead & 0x0F;
            minimum = 0x800;
        }
        else if ((lead & 0xF8) == 0xF0)
        {
            extra = 3;
            cp = lead & 0x07;
            minimum = 0x10000;
        }
        else
        {
            return std::nullopt;
        }
        if (bytes.size() - i <= static_cast<size_t>(extra))
            return std::nullopt;
        for (int k = 1; k <= extra; ++k)
        {
            const auto next = static_cast<unsigned char>(bytes[i + static_cast<size_t>(k)]);
            if ((next & 0xC0) != 0x80)
                return std::nullopt;
            cp = (cp << 6) | (next & 0x3F);
        }
        if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return std::nullopt;
        AppendUtf16(out, cp);
        i += static_cast<size_t>(extra) + 1;
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i)
    {
        char32_t cp = text[i];
        if (IsHigh(text[i]) && i + 1 < text.size() && IsLow(text[i + 1]))
        {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        }
        else if (IsHigh(text[i]) || IsLow(text[i]))
        {
            cp = 0xFFFD;
        }
        if (cp < 0x80)
        {
            out.push_back(static_cast<char>(cp));
        }
        else if (cp < 0x800)
        {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
        else if (cp < 0x10000)
        {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
        else
        {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

bool HasUnpairedSurrogate(std::u16string_view text)
{
    for (size_t i = 0; i < text.size(); ++i)
    {
        if (IsHigh(text[i]) && i + 1 < text.size() && IsLow(text[i + 1]))
            ++i;
        else if (IsHigh(text[i]) || IsLow(text[i]))
            return true;
    }
    return false;
}

} // namespace platform
