#include "platform/qt/key_translation.h"

#include <QKeyEvent>

namespace platform::qt
{

std::optional<UINT> VirtualKeyOf(const QKeyEvent& event)
{
    const int key = event.key();
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return static_cast<UINT>('A' + (key - Qt::Key_A));
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return static_cast<UINT>('0' + (key - Qt::Key_0));
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
        return kVkF1 + static_cast<UINT>(key - Qt::Key_F1);
    switch (key)
    {
    case Qt::Key_Backspace:
        return kVkBack;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return kVkTab;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return kVkReturn;
    case Qt::Key_Escape:
        return kVkEscape;
    case Qt::Key_Space:
        return kVkSpace;
    case Qt::Key_PageUp:
        return kVkPrior;
    case Qt::Key_PageDown:
        return kVkNext;
    case Qt::Key_End:
        return kVkEnd;
    case Qt::Key_Home:
        return kVkHome;
    case Qt::Key_Left:
        return kVkLeft;
    case Qt::Key_Up:
        return kVkUp;
    case Qt::Key_Right:
        return kVkRight;
    case Qt::Key_Down:
        return kVkDown;
    case Qt::Key_Insert:
        return kVkInsert;
    case Qt::Key_Delete:
        return kVkDelete;
    case Qt::Key_Menu:
        return kVkApps;
    case Qt::Key_Plus:
        return kVkAdd;
    case Qt::Key_Minus:
        return kVkSubtract;
    case Qt::Key_Shift:
        return kVkShift;
    case Qt::Key_Control:
        return kVkControl;
    case Qt::Key_Alt:
        return kVkMenu;
    default:
        return std::nullopt;
    }
}

bool IsDialogKey(UINT vk)
{
    return vk == kVkTab || vk == kVkReturn || vk == kVkEscape || vk == kVkF1;
}

} // namespace platform::qt
