#include "platform/process/desktop.h"

#include "platform/ui/window.h"

#include <atomic>

namespace platform
{

namespace
{
std::atomic<DesktopWindows*> desktopWindows{nullptr};
}

void SetDesktopWindows(DesktopWindows* desktop)
{
    desktopWindows.store(desktop);
}

bool RaiseWindowByCaption(std::u16string_view caption)
{
    if (DesktopWindows* desktop = desktopWindows.load())
        return desktop->RaiseByCaption(caption);
    return static_cast<bool>(FindWindowByCaption(caption));
}

} // namespace platform
