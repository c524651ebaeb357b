#include "platform/qt/qt_clipboard.h"

#include "platform/qt/text.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace platform::qt
{

bool QtClipboard::SetText(std::u16string_view text)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    clipboard->setText(ToQString(text));
    return true;
}

std::optional<std::u16string> QtClipboard::GetText()
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    if (!data || !data->hasText())
        return std::nullopt;
    return FromQString(data->text());
}

bool QtClipboard::Empty()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    clipboard->clear();
    return true;
}

} // namespace platform::qt
