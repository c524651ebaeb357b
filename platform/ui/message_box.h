// Message boxes. On screen a backend shows them; headless, a Prompter
// answers them (tests script the answers and read what was shown).
#pragma once

#include "platform/ui/win_types.h"

#include <string>
#include <string_view>
#include <vector>

namespace platform
{

// Buttons (low four bits) and icon of a message box.
inline constexpr UINT MB_OK = 0x0;
inline constexpr UINT MB_OKCANCEL = 0x1;
inline constexpr UINT MB_YESNO = 0x4;
inline constexpr UINT MB_YESNOCANCEL = 0x3;
inline constexpr UINT MB_TYPEMASK = 0xF;
inline constexpr UINT MB_ICONERROR = 0x10;
inline constexpr UINT MB_ICONQUESTION = 0x20;
inline constexpr UINT MB_ICONWARNING = 0x30;
inline constexpr UINT MB_ICONINFORMATION = 0x40;
inline constexpr UINT MB_ICONMASK = 0xF0;
inline constexpr UINT MB_ICONSTOP = MB_ICONERROR;
inline constexpr UINT MB_ICONEXCLAMATION = MB_ICONWARNING;
inline constexpr UINT MB_ICONASTERISK = MB_ICONINFORMATION;
inline constexpr UINT MB_DEFBUTTON1 = 0x000;
inline constexpr UINT MB_DEFBUTTON2 = 0x100;
inline constexpr UINT MB_DEFMASK = 0xF00;

// The buttons of a box of `type`, left to right (IDOK, IDCANCEL, IDYES,
// IDNO), and the one Escape or the close box answers (0 when the box
// cannot be dismissed that way: Yes/No).
std::vector<int> MessageBoxButtons(UINT type);
int MessageBoxEscapeAnswer(UINT type);
// The button that Enter answers.
int MessageBoxDefaultAnswer(UINT type);

struct MessageBoxRequest
{
    HWND owner;
    std::u16string text;
    std::u16string caption;
    UINT type = MB_OK;
};

struct MenuRequest;

class Prompter
{
public:
    virtual ~Prompter() = default;
    // Shows the box and returns the button chosen (IDOK, IDCANCEL, IDYES,
    // IDNO). Runs while the caller waits, as a modal box does, and keeps
    // dispatching the thread's messages if it waits for anything.
    virtual int ShowMessageBox(const MessageBoxRequest& request) = 0;
    // Shows a popup menu (menu.h) and returns the command chosen, 0 for
    // none. The default chooses nothing.
    virtual UINT ShowPopupMenu(const MenuRequest&) { return 0; }
};

// Puts a prompter in place (nullptr: the default one, which answers OK,
// or Yes for a Yes/No box, and writes the box to standard error).
void SetPrompter(Prompter* prompter);
Prompter& CurrentPrompter();

// Shows a message box and returns the chosen button. The owner, when
// given, is disabled while the box is open. An answer that is not one of
// the box's buttons counts as the Escape answer (the default button where
// there is none).
int MessageBox(HWND owner, std::u16string_view text, std::u16string_view caption, UINT type);

// A message box captioned with the application's name and owned by the
// active window (active_window.h). A box given no icon gets the
// exclamation mark (OK, OK/Cancel) or the question mark (Yes/No).
int AfxMessageBox(std::u16string_view text, UINT type = MB_OK);

// The caption of AfxMessageBox boxes.
void SetAppTitle(std::u16string title);
const std::u16string& AppTitle();

} // namespace platform
