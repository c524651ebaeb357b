#include "platform/qt/ui_bridge.h"

#include "platform/ui/message_queue.h"

namespace platform::qt
{

UiBridge::UiBridge()
{
    Create(CreateParams{.parent = HWND_MESSAGE});
}

UiBridge::~UiBridge()
{
    Destroy();
}

void UiBridge::Post(std::function<void()> work)
{
    const std::uint64_t id = nextId++;
    pending.emplace(id, std::move(work));
    PostMessage(Handle(), kRunWork, 0, static_cast<LPARAM>(id));
}

void UiBridge::Nudge()
{
    PostMessage(Handle(), WM_NULL, 0, 0);
}

LRESULT UiBridge::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != kRunWork)
        return Window::WindowProc(message, wParam, lParam);
    auto it = pending.find(static_cast<std::uint64_t>(lParam));
    if (it == pending.end())
        return 0;
    std::function<void()> work = std::move(it->second);
    pending.erase(it);
    work();
    return 0;
}

} // namespace platform::qt
