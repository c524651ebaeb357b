// Windows of every program on an X display: found by their exact caption
// (_NET_WM_NAME, else WM_NAME) and brought to the front with
// _NET_ACTIVE_WINDOW. Without an X display only this process's windows are
// seen.
#pragma once

#include "platform/process/desktop.h"

namespace platform::qt
{

class WindowMirror;

class X11Desktop final : public DesktopWindows
{
public:
    // `mirror` raises this process's own windows when there is no X display
    // (may be null).
    explicit X11Desktop(WindowMirror* mirror) : mirror(mirror) {}
    bool RaiseByCaption(std::u16string_view caption) override;

private:
    WindowMirror* mirror;
};

// The same search on the X display named by `displayName` (nullptr: the
// DISPLAY variable); false when the display cannot be opened or no window
// has that caption.
bool RaiseX11WindowByCaption(const char* displayName, std::u16string_view caption);

} // namespace platform::qt
