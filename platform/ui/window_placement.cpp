#include "platform/ui/window_placement.h"

namespace platform
{

namespace
{
void Put(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

std::uint32_t Get(const std::vector<std::uint8_t>& in, size_t offset)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | in[offset + static_cast<size_t>(i)];
    return value;
}

int GetInt(const std::vector<std::uint8_t>& in, size_t offset)
{
    return static_cast<int>(Get(in, offset));
}
} // namespace

std::vector<std::uint8_t> WINDOWPLACEMENT::ToBytes() const
{
    std::vector<std::uint8_t> out;
    out.reserve(kSize);
    for (std::uint32_t value :
         {length, flags, showCmd, static_cast<std::uint32_t>(ptMinPosition.x),
          static_cast<std::uint32_t>(ptMinPosition.y), static_cast<std::uint32_t>(ptMaxPosition.x),
          static_cast<std::uint32_t>(ptMaxPosition.y),
          static_cast<std::uint32_t>(rcNormalPosition.left),
          static_cast<std::uint32_t>(rcNormalPosition.top),
          static_cast<std::uint32_t>(rcNormalPosition.right),
          static_cast<std::uint32_t>(rcNormalPosition.bottom)})
        Put(out, value);
    return out;
}

std::optional<WINDOWPLACEMENT> WINDOWPLACEMENT::FromBytes(const std::vector<std::uint8_t>& bytes)
{
    if (bytes.size() != kSize)
        return std::nullopt;
    WINDOWPLACEMENT wp;
    wp.length = Get(bytes, 0);
    wp.flags = Get(bytes, 4);
    wp.showCmd = Get(bytes, 8);
    wp.ptMinPosition = {GetInt(bytes, 12), GetInt(bytes, 16)};
    wp.ptMaxPosition = {GetInt(bytes, 20), GetInt(bytes, 24)};
    wp.rcNormalPosition = {GetInt(bytes, 28), GetInt(bytes, 32), GetInt(bytes, 36),
                           GetInt(bytes, 40)};
    return wp;
}

} // namespace platform

#include "platform/ui/control_codes.h"
#include "platform/ui/window.h"

#include <mutex>

namespace platform
{

namespace
{
std::mutex workAreaMutex;
RECT workArea{0, 0, 1920, 1080};

// Sends the WM_SIZE of a state change whose rectangle stayed the same.
void SendSize(Window& window, UINT kind)
{
    const RECT r = window.GetWindowRect();
    window.WindowProc(WM_SIZE, kind,
                      static_cast<LPARAM>(MAKEWPARAM(static_cast<unsigned>(r.Width()),
                                                     static_cast<unsigned>(r.Height()))));
}

void Minimise(Window& window)
{
    if (window.IsIconic())
        return;
    window.SetRestoresToMaximized(window.IsZoomed());
    window.ModifyStyle(WS_MAXIMIZE, WS_MINIMIZE);
    SendSize(window, SIZE_MINIMIZED);
}

void Maximise(Window& window)
{
    if (window.IsZoomed())
        return;
    const RECT normal = window.NormalRect();
    window.ModifyStyle(WS_MINIMIZE, WS_MAXIMIZE);
    window.SetRestoresToMaximized(false);
    window.MoveWindow(GetScreenWorkArea());
    window.SetNormalRect(normal);
    SendSize(window, SIZE_MAXIMIZED);
}

void Restore(Window& window)
{
    if (window.IsIconic() && window.RestoresToMaximized())
    {
        window.ModifyStyle(WS_MINIMIZE, WS_MAXIMIZE);
        window.SetRestoresToMaximized(false);
        SendSize(window, SIZE_MAXIMIZED);
        return;
    }
    if (!window.IsIconic() && !window.IsZoomed())
        return;
    const RECT normal = window.NormalRect();
    window.ModifyStyle(WS_MINIMIZE | WS_MAXIMIZE, 0);
    window.SetRestoresToMaximized(false);
    window.MoveWindow(normal);
    SendSize(window, SIZE_RESTORED);
}
} // namespace

RECT GetScreenWorkArea()
{
    std::lock_guard lock(workAreaMutex);
    return workArea;
}

void SetScreenWorkArea(const RECT& area)
{
    std::lock_guard lock(workAreaMutex);
    workArea = area;
}

bool ShowWindow(HWND hwnd, UINT showCommand)
{
    Window* window = FromHandle(hwnd);
    if (!window)
        return false;
    const bool wasVisible = window->IsWindowVisible();
    switch (showCommand)
    {
    case SW_HIDE:
        window->ShowWindow(false);
        return wasVisible;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
        Minimise(*window);
        break;
    case SW_SHOWMAXIMIZED:
        Maximise(*window);
        break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
        Restore(*window);
        break;
    default:
        break;
    }
    if (window->IsCreated())
        window->ShowWindow(true);
    return wasVisible;
}

bool GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT& placement)
{
    const Window* window = FromHandle(hwnd);
    if (!window)
        return false;
    placement = WINDOWPLACEMENT{};
    placement.length = static_cast<std::uint32_t>(WINDOWPLACEMENT::kSize);
    if (window->IsIconic())
    {
        placement.showCmd = SW_SHOWMINIMIZED;
        placement.flags = window->RestoresToMaximized() ? WPF_RESTORETOMAXIMIZED : 0;
    }
    else if (window->IsZoomed())
    {
        placement.showCmd = SW_SHOWMAXIMIZED;
        placement.flags = WPF_RESTORETOMAXIMIZED;
    }
    else
    {
        placement.showCmd = window->IsWindowVisible() ? SW_SHOWNORMAL : SW_HIDE;
    }
    placement.ptMinPosition = POINT{-1, -1};
    placement.ptMaxPosition = POINT{-1, -1};
    placement.rcNormalPosition = window->NormalRect();
    return true;
}

bool SetWindowPlacement(HWND hwnd, const WINDOWPLACEMENT& placement)
{
    Window* window = FromHandle(hwnd);
    if (!window)
        return false;
    if (!window->IsIconic() && !window->IsZoomed())
        window->MoveWindow(placement.rcNormalPosition);
    window->SetNormalRect(placement.rcNormalPosition);
    switch (placement.showCmd)
    {
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
        ShowWindow(hwnd, SW_SHOWMINIMIZED);
        window->SetRestoresToMaximized((placement.flags & WPF_RESTORETOMAXIMIZED) != 0);
        break;
    case SW_SHOWMAXIMIZED:
        ShowWindow(hwnd, SW_SHOWMAXIMIZED);
        break;
    case SW_HIDE:
        window->ShowWindow(false);
        break;
    default:
        ShowWindow(hwnd, SW_SHOWNORMAL);
        break;
    }
    return true;
}

} // namespace platform
