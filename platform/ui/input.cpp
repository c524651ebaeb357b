#include "platform/ui/input.h"

#include "platform/ui/message_queue.h"
#include "platform/ui/window.h"

namespace platform
{

namespace
{
thread_local unsigned heldModifiers = 0;

// Holds the modifiers for the life of one delivery.
class HeldModifiers
{
public:
    explicit HeldModifiers(unsigned modifiers) : saved(heldModifiers) { heldModifiers = modifiers; }
    ~HeldModifiers() { heldModifiers = saved; }
    HeldModifiers(const HeldModifiers&) = delete;
    HeldModifiers& operator=(const HeldModifiers&) = delete;

private:
    unsigned saved;
};
} // namespace

short GetKeyState(int vk)
{
    unsigned bit = 0;
    if (vk == static_cast<int>(VK_SHIFT))
        bit = MOD_SHIFT;
    else if (vk == static_cast<int>(VK_CONTROL))
        bit = MOD_CONTROL;
    else if (vk == static_cast<int>(VK_MENU))
        bit = MOD_ALT;
    return (heldModifiers & bit) != 0 ? static_cast<short>(-128) : 0;
}

bool AcceptsInput(const Window& window)
{
    for (const Window* current = &window; current;)
    {
        if (!current->IsCreated() || !current->IsWindowVisible() || !current->IsWindowEnabled())
            return false;
        if (current->IsTopLevel())
            return true;
        current = FromHandle(current->GetParent());
    }
    return false;
}

void NotifyParent(Window& control, UINT code)
{
    const HWND parent = control.GetParent();
    if (!parent || parent == HWND_MESSAGE)
        return;
    SendMessage(parent, WM_COMMAND, MAKEWPARAM(static_cast<unsigned>(control.GetDlgCtrlID()), code),
                static_cast<LPARAM>(control.Handle().id));
}

bool DeliverInput(const MSG& msg, unsigned modifiers)
{
    Window* target = FromHandle(msg.hwnd);
    if (!target || !AcceptsInput(*target))
        return false;
    HeldModifiers held(modifiers);
    if (!PreTranslateMessage(msg))
        DispatchMessage(msg);
    return true;
}

bool PressKey(UINT vk, unsigned modifiers, HWND target)
{
    if (!target)
        target = GetFocus();
    if (!DeliverInput(MSG{target, WM_KEYDOWN, vk, 1}, modifiers))
        return false;
    if (IsWindow(target))
        DeliverInput(MSG{target, WM_KEYUP, vk, 1}, modifiers);
    return true;
}

bool TypeChars(std::u16string_view text, HWND target)
{
    for (char16_t c : text)
    {
        const HWND to = target ? target : GetFocus();
        if (!DeliverInput(MSG{to, WM_CHAR, c, 1}))
            return false;
    }
    return true;
}

} // namespace platform
