#include "platform/ui/static_ctrl.h"

#include "platform/ui/input.h"
#include "platform/ui/message_queue.h"

namespace platform
{

ControlColours QueryControlColours(Window& control)
{
    CDC dc;
    dc.SetTextColor(GetSysColor(COLOR_WINDOWTEXT));
    dc.SetBkColor(GetSysColor(COLOR_BTNFACE));
    LRESULT answer = 0;
    if (Window* parent = FromHandle(control.GetParent()))
        answer = parent->WindowProc(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(&dc),
                                    static_cast<LPARAM>(control.Handle().id));
    ControlColours colours;
    const std::optional<COLORREF> fill = BrushColour(BrushFromResult(answer));
    colours.answered = fill.has_value();
    colours.text = dc.GetTextColor();
    colours.textBack = dc.GetBkColor();
    colours.backMode = dc.GetBkMode();
    colours.fill = fill.value_or(GetSysColor(COLOR_BTNFACE));
    return colours;
}

bool CStatic::OnChildNotify(UINT message, WPARAM wParam, LPARAM, LRESULT* result)
{
    if (message != WM_CTLCOLORSTATIC || wParam == 0)
        return false;
    const HBRUSH brush = CtlColor(*reinterpret_cast<CDC*>(wParam), WM_CTLCOLORSTATIC);
    if (!brush)
        return false;
    *result = BrushToResult(brush);
    return true;
}

bool CStatic::Click()
{
    if (!AcceptsInput(*this))
        return false;
    if (GetStyle() & SS_NOTIFY)
        NotifyParent(*this, STN_CLICKED);
    return true;
}

LRESULT CStatic::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_GETDLGCODE)
        return DLGC_STATIC;
    return Window::WindowProc(message, wParam, lParam);
}

} // namespace platform
