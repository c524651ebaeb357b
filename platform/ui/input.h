// Input from the user, as a backend (or a test) hands it to the layer. Key
// and character messages go to the target window through the message
// loop's PreTranslateMessage first, so that a dialog sees Tab, Enter,
// Escape and F1 before its controls do. The controls' own entry points
// (CButton::Click, CEdit::TypeText, CComboBox::ChooseItem...) use the
// helpers below; input reaches only a window that is visible and enabled
// with all its ancestors.
#pragma once

#include "platform/ui/messages.h"
#include "platform/ui/win_types.h"

#include <string_view>

namespace platform
{

class Window;

// Virtual key codes.
inline constexpr UINT VK_BACK = 0x08;
inline constexpr UINT VK_TAB = 0x09;
inline constexpr UINT VK_RETURN = 0x0D;
inline constexpr UINT VK_SHIFT = 0x10;
inline constexpr UINT VK_CONTROL = 0x11;
inline constexpr UINT VK_MENU = 0x12;
inline constexpr UINT VK_ESCAPE = 0x1B;
inline constexpr UINT VK_SPACE = 0x20;
inline constexpr UINT VK_PRIOR = 0x21;
inline constexpr UINT VK_NEXT = 0x22;
inline constexpr UINT VK_END = 0x23;
inline constexpr UINT VK_HOME = 0x24;
inline constexpr UINT VK_LEFT = 0x25;
inline constexpr UINT VK_UP = 0x26;
inline constexpr UINT VK_RIGHT = 0x27;
inline constexpr UINT VK_DOWN = 0x28;
inline constexpr UINT VK_INSERT = 0x2D;
inline constexpr UINT VK_DELETE = 0x2E;
inline constexpr UINT VK_F1 = 0x70;
inline constexpr UINT VK_F2 = 0x71;
inline constexpr UINT VK_F4 = 0x73;
inline constexpr UINT VK_F5 = 0x74;

// Modifier keys held while a key is delivered.
inline constexpr unsigned MOD_SHIFT = 1;
inline constexpr unsigned MOD_CONTROL = 2;
inline constexpr unsigned MOD_ALT = 4;

// The state of VK_SHIFT, VK_CONTROL and VK_MENU during the delivery of a
// key: negative (high bit set) while held, as GetKeyState reports it.
short GetKeyState(int vk);

// True when `window` exists, is visible and enabled, and so are all its
// ancestors: the user can reach it.
bool AcceptsInput(const Window& window);

// Tells the parent of `control` WM_COMMAND with the control's id and `code`.
void NotifyParent(Window& control, UINT code);

// Runs one input message: PreTranslateMessage along the target's
// ancestors, then the target's procedure. False when the target cannot
// take input.
bool DeliverInput(const MSG& msg, unsigned modifiers = 0);

// A key pressed on `target` (a null handle: the window with the focus):
// WM_KEYDOWN, then WM_KEYUP.
bool PressKey(UINT vk, unsigned modifiers = 0, HWND target = {});

// Characters typed on `target` (null: the focus window), one WM_CHAR each.
bool TypeChars(std::u16string_view text, HWND target = {});

} // namespace platform
