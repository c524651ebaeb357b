// The main window. For now it opens captioned "Brindle" and closes on the
// cancel command (Esc, the close box, or a termination signal when headless).
#pragma once

#include "platform/ui/window.h"

class CBrindleDlg : public platform::Window
{
public:
    CBrindleDlg() = default;
    ~CBrindleDlg() override;

    // Opens the window and runs a nested message loop until it is closed.
    // Returns the result code it was ended with.
    std::intptr_t DoModal();

    // Ends the modal loop with `result` and closes the window.
    void EndDialog(std::intptr_t result);

    platform::LRESULT WindowProc(platform::UINT message, platform::WPARAM wParam,
                                 platform::LPARAM lParam) override;
    std::string_view ClassName() const override { return "#32770"; }

private:
    bool ended = false;
    std::intptr_t result = 0;
};
