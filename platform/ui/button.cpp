#include "platform/ui/button.h"

#include "platform/ui/input.h"

namespace platform
{

bool CButton::IsPushButton() const
{
    const DWORD type = GetButtonType();
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

bool CButton::IsCheckBox() const
{
    const DWORD type = GetButtonType();
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE ||
           type == BS_AUTO3STATE;
}

void CButton::SetCheck(int state)
{
    const DWORD type = GetButtonType();
    if (!IsCheckBox() && type != BS_RADIOBUTTON && type != BS_AUTORADIOBUTTON)
        return;
    if (state < BST_UNCHECKED || state > BST_INDETERMINATE)
        state = BST_UNCHECKED;
    if (state == check)
        return;
    check = state;
    NotifyChanged(WindowChange::Content);
}

bool CButton::Click()
{
    const DWORD type = GetButtonType();
    if (type == BS_GROUPBOX || !AcceptsInput(*this))
        return false;
    SetFocus(Handle());
    if (type == BS_AUTOCHECKBOX)
        SetCheck(check == BST_UNCHECKED ? BST_CHECKED : BST_UNCHECKED);
    else if (type == BS_AUTO3STATE)
        SetCheck((check + 1) % 3);
    else if (type == BS_AUTORADIOBUTTON)
        SetCheck(BST_CHECKED);
    if (IsCreated())
        NotifyParent(*this, BN_CLICKED);
    return true;
}

LRESULT CButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_GETDLGCODE:
        if (GetButtonType() == BS_GROUPBOX)
            return DLGC_STATIC;
        if (GetButtonType() == BS_DEFPUSHBUTTON)
            return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
        return DLGC_BUTTON | (IsPushButton() ? DLGC_UNDEFPUSHBUTTON : 0);
    case WM_KEYDOWN:
        if (wParam == VK_SPACE)
        {
            Click();
            return 0;
        }
        break;
    default:
        break;
    }
    return Window::WindowProc(message, wParam, lParam);
}

} // namespace platform
