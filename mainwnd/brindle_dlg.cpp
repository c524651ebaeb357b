#include "mainwnd/brindle_dlg.h"

#include "platform/ui/message_queue.h"

using namespace platform;

CBrindleDlg::~CBrindleDlg()
{
    Destroy();
}

std::intptr_t CBrindleDlg::DoModal()
{
    ended = false;
    Create(CreateParams{.text = u"Brindle",
                        .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME |
                                 WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_VISIBLE,
                        .exStyle = WS_EX_APPWINDOW,
                        .rect = RECT{0, 0, 662, 257}});
    RunMessageLoopUntil([this] { return ended; });
    Destroy();
    return result;
}

void CBrindleDlg::EndDialog(std::intptr_t code)
{
    result = code;
    ended = true;
}

LRESULT CBrindleDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE)
    {
        EndDialog(IDCANCEL);
        return 0;
    }
    return Window::WindowProc(message, wParam, lParam);
}
