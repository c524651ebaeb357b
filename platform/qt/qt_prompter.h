// Message boxes shown with Qt. The box is modal to the application, yet the
// wait for the answer is a layer loop, so timers and the HTTP engine's
// callbacks keep running while the box is open.
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

private:
    WindowMirror& mirror;
};

} // namespace platform::qt
