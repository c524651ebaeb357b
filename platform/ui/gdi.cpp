#include "platform/ui/gdi.h"

#include <mutex>
#include <unordered_map>

namespace platform
{

namespace
{
struct Brushes
{
    std::mutex mutex;
    std::unordered_map<std::uint32_t, COLORREF> live;
    std::uint32_t next = 1;
};

Brushes& TheBrushes()
{
    static Brushes brushes;
    return brushes;
}
} // namespace

COLORREF GetSysColor(int index)
{
    switch (index)
    {
    case COLOR_WINDOW:
    case COLOR_HIGHLIGHTTEXT:
        return RGB(255, 255, 255);
    case COLOR_HIGHLIGHT:
        return RGB(0, 120, 215);
    case COLOR_BTNFACE:
        return RGB(240, 240, 240);
    case COLOR_GRAYTEXT:
        return RGB(109, 109, 109);
    default:
        return RGB(0, 0, 0);
    }
}

HBRUSH CreateSolidBrush(COLORREF colour)
{
    Brushes& brushes = TheBrushes();
    std::lock_guard lock(brushes.mutex);
    const std::uint32_t id = brushes.next++;
    brushes.live.emplace(id, colour);
    return HBRUSH{id};
}

bool DeleteObject(HBRUSH brush)
{
    Brushes& brushes = TheBrushes();
    std::lock_guard lock(brushes.mutex);
    return brushes.live.erase(brush.id) != 0;
}

std::optional<COLORREF> BrushColour(HBRUSH brush)
{
    Brushes& brushes = TheBrushes();
    std::lock_guard lock(brushes.mutex);
    auto it = brushes.live.find(brush.id);
    if (it == brushes.live.end())
        return std::nullopt;
    return it->second;
}

bool CBrush::CreateSolidBrush(COLORREF colour)
{
    DeleteObject();
    handle = platform::CreateSolidBrush(colour);
    return static_cast<bool>(handle);
}

bool CBrush::DeleteObject()
{
    if (!handle)
        return false;
    platform::DeleteObject(handle);
    handle = HBRUSH{};
    return true;
}

int GetSystemMetrics(int index)
{
    switch (index)
    {
    case SM_CXICON:
    case SM_CYICON:
        return 32;
    case SM_CXSMICON:
    case SM_CYSMICON:
        return 16;
    default:
        return 0;
    }
}

} // namespace platform
