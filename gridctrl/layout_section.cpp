#include "gridctrl/layout_section.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace
{

std::u16string Widen(const std::string& text)
{
    return std::u16string(text.begin(), text.end());
}

// ASCII text of a number; other code units end it.
std::string NarrowNumber(std::u16string_view text)
{
    std::string narrow;
    for (char16_t unit : text)
    {
        if (unit == 0 || unit > 0x7F)
            break;
        narrow.push_back(static_cast<char>(unit));
    }
    return narrow;
}

} // namespace

CLayoutSection::CLayoutSection(std::u16string viewName) : viewName(std::move(viewName)) {}

CLayoutSection::~CLayoutSection() = default;

std::u16string CLayoutSection::BoolToText(bool value) const
{
    return value ? u"TRUE" : u"FALSE";
}

std::u16string CLayoutSection::IntToText(int value) const
{
    return Widen(std::to_string(value));
}

std::u16string CLayoutSection::FloatToText(double value, int decimals) const
{
    char format[16];
    std::snprintf(format, sizeof format, "%%.%df", decimals);
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, format, value);
    return Widen(buffer);
}

std::u16string CLayoutSection::JoinList(const std::vector<std::u16string>& values,
                                        std::u16string_view delimiter) const
{
    std::u16string joined;
    for (std::size_t i = 0; i < values.size(); ++i)
    {
        if (i > 0)
            joined += delimiter;
        joined += values[i];
    }
    return joined;
}

std::vector<std::u16string> CLayoutSection::SplitList(std::u16string_view text,
                                                      std::u16string_view delimiter) const
{
    std::vector<std::u16string> parts;
    if (text.empty())
        return parts;
    if (delimiter.empty())
    {
        parts.emplace_back(text);
        return parts;
    }
    std::size_t start = 0;
    for (;;)
    {
        const std::size_t found = text.find(delimiter, start);
        if (found == std::u16string_view::npos)
        {
            parts.emplace_back(text.substr(start));
            return parts;
        }
        parts.emplace_back(text.substr(start, found - start));
        start = found + delimiter.size();
    }
}

std::u16string CLayoutSection::SectionName() const
{
    return viewName;
}

std::u16string CLayoutSection::ValueOf(std::u16string_view key,
                                       std::u16string_view defaultValue) const
{
    return LoadValue(SectionName(), key, defaultValue);
}

int CLayoutSection::TextToInt(std::u16string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        negative = text[i++] == u'-';
    long long value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
    {
        value = value * 10 + (text[i] - u'0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        value = INT_MAX;
    return static_cast<int>(value);
}

bool CLayoutSection::BoolValueOf(std::u16string_view key, bool defaultValue) const
{
    const std::u16string text = ValueOf(key, BoolToText(defaultValue));
    if (text.size() == 4)
    {
        std::u16string upper = text;
        for (char16_t& unit : upper)
            if (unit >= u'a' && unit <= u'z')
                unit = static_cast<char16_t>(unit - u'a' + u'A');
        if (upper == u"TRUE")
            return true;
    }
    return TextToInt(text) != 0;
}

int CLayoutSection::IntValueOf(std::u16string_view key, int defaultValue) const
{
    return TextToInt(ValueOf(key, IntToText(defaultValue)));
}

double CLayoutSection::FloatValueOf(std::u16string_view key, double defaultValue) const
{
    const std::string text = NarrowNumber(ValueOf(key, FloatToText(defaultValue, 6)));
    return std::strtod(text.c_str(), nullptr);
}

std::vector<std::u16string> CLayoutSection::ListValueOf(std::u16string_view key,
                                                        std::u16string_view delimiter) const
{
    return SplitList(ValueOf(key, {}), delimiter);
}

void CLayoutSection::SetValue(std::u16string_view key, std::u16string_view value)
{
    StoreValue(SectionName(), key, value);
}

void CLayoutSection::SetBoolValue(std::u16string_view key, bool value)
{
    SetValue(key, BoolToText(value));
}

void CLayoutSection::SetIntValue(std::u16string_view key, int value)
{
    SetValue(key, IntToText(value));
}

void CLayoutSection::SetFloatValue(std::u16string_view key, double value, int decimals)
{
    SetValue(key, FloatToText(value, decimals));
}

void CLayoutSection::SetListValue(std::u16string_view key,
                                  const std::vector<std::u16string>& values,
                                  std::u16string_view delimiter)
{
    SetValue(key, JoinList(values, delimiter));
}

void CLayoutSection::EraseCurrentSection()
{
    EraseSection(SectionName());
}

// --- in-memory section --------------------------------------------------------

bool CLayoutSectionDefault::CLayoutSectionLocal::Find(std::u16string_view key,
                                                      std::u16string& value) const
{
    for (std::size_t i = 0; i < keys.size(); ++i)
        if (keys[i] == key)
        {
            value = values[i];
            return true;
        }
    return false;
}

std::u16string
CLayoutSectionDefault::CLayoutSectionLocal::LoadValue(std::u16string_view, std::u16string_view key,
                                                      std::u16string_view defaultValue) const
{
    std::u16string value;
    return Find(key, value) ? value : std::u16string(defaultValue);
}

void CLayoutSectionDefault::CLayoutSectionLocal::StoreValue(std::u16string_view,
                                                            std::u16string_view key,
                                                            std::u16string_view value)
{
    for (std::size_t i = 0; i < keys.size(); ++i)
        if (keys[i] == key)
        {
            values[i] = value;
            return;
        }
    keys.emplace_back(key);
    values.emplace_back(value);
}

void CLayoutSectionDefault::CLayoutSectionLocal::EraseSection(std::u16string_view)
{
    keys.clear();
    values.clear();
}

// --- section with defaults ------------------------------------------------------

CLayoutSectionDefault::CLayoutSectionDefault(std::u16string viewName)
    : CLayoutSection(viewName), defaults(viewName)
{
}

void CLayoutSectionDefault::RestoreDefaults()
{
    EraseCurrentSection();
    const CLayoutSectionLocal& local = Defaults();
    // Copies, in case storing into the current section touched the defaults.
    const std::vector<std::u16string> keys = local.Keys();
    const std::vector<std::u16string> values = local.Values();
    for (std::size_t i = 0; i < keys.size(); ++i)
        SetValue(keys[i], values[i]);
}

std::u16string CLayoutSectionDefault::ValueOf(std::u16string_view key,
                                              std::u16string_view defaultValue) const
{
    std::u16string fallback;
    if (!defaults.Find(key, fallback))
        fallback = defaultValue;
    return LoadValue(SectionName(), key, fallback);
}
