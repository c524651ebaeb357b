// Buttons: push buttons (BS_PUSHBUTTON, BS_DEFPUSHBUTTON), check boxes
// (BS_CHECKBOX, BS_AUTOCHECKBOX and their three-state kinds) and group
// boxes (BS_GROUPBOX), told apart by the style's type bits as the window
// system does. A click tells the parent WM_COMMAND with BN_CLICKED.
#pragma once

#include "platform/ui/control_codes.h"
#include "platform/ui/window.h"

namespace platform
{

class CButton : public Window
{
public:
    std::string_view ClassName() const override { return "Button"; }

    DWORD GetButtonType() const { return GetStyle() & BS_TYPEMASK; }
    void SetButtonStyle(DWORD type) { ModifyStyle(BS_TYPEMASK, type & BS_TYPEMASK); }
    bool IsPushButton() const;
    bool IsCheckBox() const;
    bool IsDefaultButton() const { return GetButtonType() == BS_DEFPUSHBUTTON; }

    // BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE; push buttons and
    // group boxes are always unchecked.
    int GetCheck() const { return check; }
    void SetCheck(int state);

    // Input: the user clicks the button (or presses Space on it). It takes
    // the focus (not a group box); an automatic check box changes its
    // state; then the parent is told BN_CLICKED. False when the button
    // cannot take input.
    bool Click();

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    int check = BST_UNCHECKED;
};

} // namespace platform
