// The main window, a dialog on template 102. For now it opens captioned
// "Brindle" and closes on the cancel command (Esc, the close box, or a
// termination signal when headless).
#pragma once

#include "platform/ui/dialog.h"

class CBrindleDlg : public platform::CDialogEx
{
public:
    CBrindleDlg();
};
