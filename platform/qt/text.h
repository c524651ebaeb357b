// Text between the layer (UTF-16 in std::u16string) and Qt (QString, also
// UTF-16).
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace platform::qt
{

inline QString ToQString(std::u16string_view text)
{
    return QString(reinterpret_cast<const QChar*>(text.data()),
                   static_cast<qsizetype>(text.size()));
}

inline std::u16string FromQString(const QString& text)
{
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                          static_cast<size_t>(text.size()));
}

} // namespace platform::qt
