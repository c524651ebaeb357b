// Runs layer code for Qt's input handlers inside the layer's message loop.
// A Qt handler never calls into the system's code directly (which may open
// a modal dialog): it posts the work here, so that it runs in order with the
// thread's other messages, after Qt's handler has returned.
#pragma once

#include "platform/ui/window.h"

#include <cstdint>
#include <functional>
#include <map>

namespace platform::qt
{

class UiBridge final : public Window
{
public:
    UiBridge();
    ~UiBridge() override;

    // Runs `work` from the layer's loop; nothing when the bridge is gone.
    void Post(std::function<void()> work);

    // Posts an empty message, so that a layer loop checks its end condition.
    void Nudge();

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    std::string_view ClassName() const override { return "QtBridge"; }

private:
    static constexpr UINT kRunWork = WM_APP + 0x3F01;
    std::map<std::uint64_t, std::function<void()>> pending;
    std::uint64_t nextId = 1;
};

} // namespace platform::qt
