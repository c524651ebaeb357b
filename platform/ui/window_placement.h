// The window placement record as the window system gives it: 44 bytes,
// little-endian, stored as is in the settings.
#pragma once

#include "platform/ui/win_types.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace platform
{

inline constexpr std::uint32_t WPF_RESTORETOMAXIMIZED = 2;
inline constexpr std::uint32_t SW_HIDE = 0;
inline constexpr std::uint32_t SW_SHOWNORMAL = 1;
inline constexpr std::uint32_t SW_SHOWMINIMIZED = 2;
inline constexpr std::uint32_t SW_SHOWMAXIMIZED = 3;
inline constexpr std::uint32_t SW_MAXIMIZE = 3;
inline constexpr std::uint32_t SW_SHOWNOACTIVATE = 4;
inline constexpr std::uint32_t SW_SHOW = 5;
inline constexpr std::uint32_t SW_MINIMIZE = 6;
inline constexpr std::uint32_t SW_RESTORE = 9;

struct WINDOWPLACEMENT
{
    std::uint32_t length = 44;
    std::uint32_t flags = 0;
    std::uint32_t showCmd = 0;
    POINT ptMinPosition;
    POINT ptMaxPosition;
    RECT rcNormalPosition;

    static constexpr size_t kSize = 44;

    std::vector<std::uint8_t> ToBytes() const;
    // Nothing unless `bytes` holds exactly 44 bytes.
    static std::optional<WINDOWPLACEMENT> FromBytes(const std::vector<std::uint8_t>& bytes);

    friend bool operator==(const WINDOWPLACEMENT&, const WINDOWPLACEMENT&) = default;
};

} // namespace platform

namespace platform
{

class Window;

// The screen's work area, where a maximised window goes. Headless it is a
// 1920 by 1080 screen; a backend puts the real one in place.
RECT GetScreenWorkArea();
void SetScreenWorkArea(const RECT& area);

// Shows, hides, minimises, maximises or restores the window (SW_HIDE,
// SW_SHOW, SW_SHOWNORMAL, SW_RESTORE, SW_SHOWMINIMIZED, SW_MINIMIZE,
// SW_SHOWMAXIMIZED, SW_MAXIMIZE). A maximised window covers the work area;
// restoring brings back the normal rectangle. Returns whether the window
// was visible before.
bool ShowWindow(HWND hwnd, UINT showCommand);

// The placement of a top-level window: flags 2 (WPF_RESTORETOMAXIMIZED)
// when it is maximised, or minimised from the maximised state; the show
// command of its state; no minimised or maximised position (-1, -1); the
// normal rectangle.
bool GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT& placement);
// Puts the window at the record's normal rectangle and into the state of its
// show command.
bool SetWindowPlacement(HWND hwnd, const WINDOWPLACEMENT& placement);

} // namespace platform
