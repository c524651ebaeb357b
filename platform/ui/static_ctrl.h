// Static text: a text with an alignment (SS_LEFT, SS_CENTER, SS_RIGHT) that
// the user cannot change. Its colours come from the colour request
// (WM_CTLCOLORSTATIC) that is sent to the parent before the control is
// drawn; the parent first reflects it back to the control (CtlColor), so a
// derived control can answer it itself.
#pragma once

#include "platform/ui/control_codes.h"
#include "platform/ui/gdi.h"
#include "platform/ui/window.h"

namespace platform
{

// What a control is drawn with, as the colour request left it.
struct ControlColours
{
    COLORREF text = 0;
    COLORREF textBack = 0; // behind the text when the mode is OPAQUE
    int backMode = OPAQUE; // TRANSPARENT: the text has no background
    COLORREF fill = 0;     // the control's background: the brush answered
    bool answered = false; // false: nobody answered, system colours apply
};

// Sends the colour request for `control` to its parent (which reflects it
// to the control first) and returns the colours to draw with. Backends call
// it when they draw a static text, a check box or a group box.
ControlColours QueryControlColours(Window& control);

class CStatic : public Window
{
public:
    std::string_view ClassName() const override { return "Static"; }

    // SS_LEFT, SS_CENTER or SS_RIGHT.
    DWORD GetAlignment() const { return GetStyle() & SS_TYPEMASK; }
    void SetAlignment(DWORD alignment) { ModifyStyle(SS_TYPEMASK, alignment & SS_TYPEMASK); }

    // The reflected colour request: set the colours on `dc` and return the
    // background brush, or a null brush to leave the request to the parent.
    virtual HBRUSH CtlColor(CDC& /*dc*/, UINT /*ctlColor*/) { return HBRUSH{}; }

    // Answers the reflected colour request through CtlColor.
    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    // Input: a click, which with SS_NOTIFY tells the parent STN_CLICKED.
    bool Click();

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

} // namespace platform
