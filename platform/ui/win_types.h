// Basic types of the window layer, named as the system's code knows them.
#pragma once

#include <cstdint>
#include <string>

namespace platform
{

using UINT = std::uint32_t;
using DWORD = std::uint32_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using UINT_PTR = std::uintptr_t;
using COLORREF = std::uint32_t;

// A window handle: a process-wide number, never reused, so that a message
// for a window that is gone finds nothing instead of a stranger.
struct HWND
{
    std::uint32_t id = 0;

    constexpr explicit operator bool() const { return id != 0; }
    friend constexpr bool operator==(HWND, HWND) = default;
};

// Parent of message-only windows.
inline constexpr HWND HWND_MESSAGE{0xFFFFFFFDu};

struct POINT
{
    int x = 0;
    int y = 0;
    friend constexpr bool operator==(const POINT&, const POINT&) = default;
};

struct RECT
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
    constexpr bool Contains(POINT p) const
    {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    friend constexpr bool operator==(const RECT&, const RECT&) = default;
};

constexpr COLORREF RGB(unsigned r, unsigned g, unsigned b)
{
    return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16);
}
constexpr unsigned GetRValue(COLORREF c)
{
    return c & 0xFF;
}
constexpr unsigned GetGValue(COLORREF c)
{
    return (c >> 8) & 0xFF;
}
constexpr unsigned GetBValue(COLORREF c)
{
    return (c >> 16) & 0xFF;
}

constexpr WPARAM MAKEWPARAM(unsigned low, unsigned high)
{
    return static_cast<WPARAM>((low & 0xFFFF) | ((high & 0xFFFF) << 16));
}
constexpr unsigned LOWORD(std::uintptr_t v)
{
    return v & 0xFFFF;
}
constexpr unsigned HIWORD(std::uintptr_t v)
{
    return (v >> 16) & 0xFFFF;
}

struct MSG
{
    HWND hwnd;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

} // namespace platform
