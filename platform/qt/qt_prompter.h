// Message boxes and popup menus shown with Qt. Each is modal, yet the wait
// for the answer is a layer loop, so timers and the HTTP engine's callbacks
// keep running while the box or the menu is open.
#pragma once

#include "platform/ui/message_box.h"

namespace platform::qt
{

class WindowMirror;

class QtPrompter final : public Prompter
{
public:
    explicit QtPrompter(WindowMirror& mirror) : mirror(mirror) {}
    int ShowMessageBox(const MessageBoxRequest& request) override;
    UINT ShowPopupMenu(const MenuRequest& request) override;

private:
    WindowMirror& mirror;
};

} // namespace platform::qt
