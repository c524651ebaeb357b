// The little of drawing the controls need without a screen: colours of the
// system, solid brushes as handles, icons as resource numbers, and the
// colour state of a device context that a colour request fills in.
#pragma once

#include "platform/ui/win_types.h"

#include <optional>

namespace platform
{

// System colours (GetSysColor).
inline constexpr int COLOR_WINDOW = 5;
inline constexpr int COLOR_WINDOWTEXT = 8;
inline constexpr int COLOR_HIGHLIGHT = 13;
inline constexpr int COLOR_HIGHLIGHTTEXT = 14;
inline constexpr int COLOR_BTNFACE = 15;
inline constexpr int COLOR_3DFACE = COLOR_BTNFACE;
inline constexpr int COLOR_GRAYTEXT = 17;
inline constexpr int COLOR_BTNTEXT = 18;

COLORREF GetSysColor(int index);

// A brush handle: a number standing for a solid colour, 0 for none.
struct HBRUSH
{
    std::uint32_t id = 0;
    constexpr explicit operator bool() const { return id != 0; }
    friend constexpr bool operator==(HBRUSH, HBRUSH) = default;
};

// Any thread. Each call makes a new brush; DeleteObject frees it.
HBRUSH CreateSolidBrush(COLORREF colour);
bool DeleteObject(HBRUSH brush);
// The colour of a live brush; nothing for a deleted or null one.
std::optional<COLORREF> BrushColour(HBRUSH brush);

// A brush handle travels in an LRESULT (the answer to a colour request).
inline LRESULT BrushToResult(HBRUSH brush)
{
    return static_cast<LRESULT>(brush.id);
}
inline HBRUSH BrushFromResult(LRESULT result)
{
    return HBRUSH{static_cast<std::uint32_t>(result)};
}

// A solid brush owned by the object.
class CBrush
{
public:
    CBrush() = default;
    explicit CBrush(COLORREF colour) { CreateSolidBrush(colour); }
    ~CBrush() { DeleteObject(); }
    CBrush(const CBrush&) = delete;
    CBrush& operator=(const CBrush&) = delete;

    // Replaces the brush held, if any, by a new one of `colour`.
    bool CreateSolidBrush(COLORREF colour);
    bool DeleteObject();
    HBRUSH GetSafeHandle() const { return handle; }
    operator HBRUSH() const { return handle; }

private:
    HBRUSH handle;
};

inline constexpr int TRANSPARENT = 1;
inline constexpr int OPAQUE = 2;

// The colour state of a device context: what a control is drawn with.
class CDC
{
public:
    COLORREF SetTextColor(COLORREF colour)
    {
        const COLORREF old = textColour;
        textColour = colour;
        return old;
    }
    COLORREF SetBkColor(COLORREF colour)
    {
        const COLORREF old = backColour;
        backColour = colour;
        return old;
    }
    int SetBkMode(int mode)
    {
        const int old = backMode;
        backMode = mode;
        return old;
    }
    COLORREF GetTextColor() const { return textColour; }
    COLORREF GetBkColor() const { return backColour; }
    int GetBkMode() const { return backMode; }

private:
    COLORREF textColour = RGB(0, 0, 0);
    COLORREF backColour = RGB(255, 255, 255);
    int backMode = OPAQUE;
};

// An icon: the resource number it was loaded from, 0 for none.
struct HICON
{
    std::uint32_t id = 0;
    constexpr explicit operator bool() const { return id != 0; }
    friend constexpr bool operator==(HICON, HICON) = default;
};

inline constexpr int SM_CXICON = 11;
inline constexpr int SM_CYICON = 12;
inline constexpr int SM_CXSMICON = 49;
inline constexpr int SM_CYSMICON = 50;

// Metrics of the (virtual) screen the layer draws on.
int GetSystemMetrics(int index);

} // namespace platform
