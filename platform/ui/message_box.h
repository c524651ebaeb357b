// Message boxes. On screen a backend shows them; headless, a Prompter
// answers them (tests script the answers and read what was shown).
#pragma once

#include "platform/ui/win_types.h"

#include <string>
#include <string_view>

namespace platform
{

// Buttons (low four bits) and icon of a message box.
inline constexpr UINT MB_OK = 0x0;
inline constexpr UINT MB_OKCANCEL = 0x1;
inline constexpr UINT MB_YESNO = 0x4;
inline constexpr UINT MB_TYPEMASK = 0xF;
inline constexpr UINT MB_ICONERROR = 0x10;
inline constexpr UINT MB_ICONQUESTION = 0x20;
inline constexpr UINT MB_ICONWARNING = 0x30;
inline constexpr UINT MB_ICONINFORMATION = 0x40;
inline constexpr UINT MB_ICONMASK = 0xF0;

struct MessageBoxRequest
{
    HWND owner;
    std::u16string text;
    std::u16string caption;
    UINT type = MB_OK;
};

class Prompter
{
public:
    virtual ~Prompter() = default;
    // Shows the box and returns the button chosen (IDOK, IDCANCEL, IDYES,
    // IDNO). Runs while the caller waits, as a modal box does.
    virtual int ShowMessageBox(const MessageBoxRequest& request) = 0;
};

// Puts a prompter in place (nullptr: the default one, which answers OK,
// or Yes for a Yes/No box, and writes the box to standard error).
void SetPrompter(Prompter* prompter);
Prompter& CurrentPrompter();

// Shows a message box and returns the chosen button.
int MessageBox(HWND owner, std::u16string_view text, std::u16string_view caption, UINT type);

// A message box captioned with the application's name.
int AfxMessageBox(std::u16string_view text, UINT type = MB_OK);

// The caption of AfxMessageBox boxes.
void SetAppTitle(std::u16string title);
const std::u16string& AppTitle();

} // namespace platform
