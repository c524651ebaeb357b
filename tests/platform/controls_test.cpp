#include "platform/ui/button.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/combo_box.h"
#include "platform/ui/edit.h"
#include "platform/ui/input.h"
#include "platform/ui/list_box.h"
#include "platform/ui/static_ctrl.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace platform;

namespace
{

// A visible top-level window that records the notifications of its
// children as (control id, code).
class Parent : public Window
{
public:
    Parent() { Create(CreateParams{.style = WS_POPUP | WS_VISIBLE, .rect = {0, 0, 400, 300}}); }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND)
            seen.emplace_back(static_cast<int>(LOWORD(wParam)), HIWORD(wParam));
        if (message == WM_CTLCOLORSTATIC && answerColour)
        {
            auto* dc = reinterpret_cast<CDC*>(wParam);
            dc->SetTextColor(RGB(0, 127, 0));
            return BrushToResult(brush);
        }
        return Window::WindowProc(message, wParam, lParam);
    }
    // The codes seen from control `id`, then forgets them.
    std::vector<UINT> Take(int id)
    {
        std::vector<UINT> codes;
        for (auto& [from, code] : seen)
            if (from == id)
                codes.push_back(code);
        seen.clear();
        return codes;
    }

    std::vector<std::pair<int, UINT>> seen;
    bool answerColour = false;
    CBrush brush{RGB(1, 2, 3)};
};

template <class T> void Make(T& control, Parent& parent, int id, DWORD style, RECT rect = {})
{
    if (rect == RECT{})
        rect = RECT{10, 10, 130, 31};
    control.Create(CreateParams{.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | style,
                                .rect = rect,
                                .parent = parent.Handle(),
                                .id = id});
}

// ---- Static -------------------------------------------------------------

class ColourStatic : public CStatic
{
public:
    HBRUSH CtlColor(CDC& dc, UINT) override
    {
        if (!answer)
            return HBRUSH{};
        dc.SetBkColor(backColour);
        dc.SetTextColor(RGB(255, 0, 0));
        return backBrush;
    }
    bool answer = true;
    COLORREF backColour = RGB(255, 255, 255);
    CBrush backBrush{RGB(255, 255, 255)};
};

TEST(StaticTest, ColourRequestIsAnsweredByTheControlThenTheParentThenTheSystem)
{
    Parent parent;
    ColourStatic label;
    Make(label, parent, 1, SS_RIGHT);
    EXPECT_EQ(label.GetAlignment(), SS_RIGHT);

    // A plain parent does not reflect the request to the control; until it
    // answers itself, the system colours apply.
    ControlColours colours = QueryControlColours(label);
    EXPECT_FALSE(colours.answered);
    EXPECT_EQ(colours.fill, GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(colours.text, GetSysColor(COLOR_WINDOWTEXT));

    parent.answerColour = true;
    colours = QueryControlColours(label);
    EXPECT_TRUE(colours.answered);
    EXPECT_EQ(colours.fill, RGB(1, 2, 3));
    EXPECT_EQ(colours.text, RGB(0, 127, 0));
}

TEST(StaticTest, ClickNotifiesOnlyWithNotifyStyle)
{
    Parent parent;
    CStatic plain;
    CStatic notifying;
    Make(plain, parent, 1, 0);
    Make(notifying, parent, 2, SS_NOTIFY);
    plain.Click();
    notifying.Click();
    EXPECT_EQ(parent.seen, (std::vector<std::pair<int, UINT>>{{2, STN_CLICKED}}));
}

// ---- Buttons ------------------------------------------------------------

TEST(ButtonTest, ClicksNotifyTheParentAndAutoCheckBoxesToggle)
{
    Parent parent;
    CButton push;
    CButton check;
    CButton manual;
    CButton group;
    Make(push, parent, 1, BS_PUSHBUTTON);
    Make(check, parent, 2, BS_AUTOCHECKBOX);
    Make(manual, parent, 3, BS_CHECKBOX);
    Make(group, parent, 4, BS_GROUPBOX);

    EXPECT_TRUE(push.Click());
    EXPECT_EQ(parent.Take(1), std::vector<UINT>{BN_CLICKED});
    EXPECT_EQ(GetFocus(), push.Handle());
    EXPECT_EQ(push.GetCheck(), BST_UNCHECKED);

    check.Click();
    EXPECT_EQ(check.GetCheck(), BST_CHECKED);
    check.Click();
    EXPECT_EQ(check.GetCheck(), BST_UNCHECKED);
    EXPECT_EQ(parent.Take(2), (std::vector<UINT>{BN_CLICKED, BN_CLICKED}));

    manual.Click(); // the parent decides
    EXPECT_EQ(manual.GetCheck(), BST_UNCHECKED);
    EXPECT_EQ(parent.Take(3), std::vector<UINT>{BN_CLICKED});

    EXPECT_FALSE(group.Click());
    EXPECT_TRUE(parent.seen.empty());

    // Space on the focused button clicks it.
    SetFocus(check.Handle());
    PressKey(VK_SPACE);
    EXPECT_EQ(check.GetCheck(), BST_CHECKED);
}

TEST(ButtonTest, DisabledOrHiddenButtonsAndChildrenOfDisabledWindowsTakeNoInput)
{
    Parent parent;
    CButton button;
    Make(button, parent, 1, BS_AUTOCHECKBOX);
    button.EnableWindow(false);
    EXPECT_FALSE(button.Click());
    button.EnableWindow(true);
    button.ShowWindow(false);
    EXPECT_FALSE(button.Click());
    button.ShowWindow(true);
    parent.EnableWindow(false);
    EXPECT_FALSE(button.Click());
    EXPECT_TRUE(parent.seen.empty());
    EXPECT_EQ(button.GetCheck(), BST_UNCHECKED);
}

TEST(ButtonTest, SetCheckIgnoresPushButtonsAndStatesOutOfRange)
{
    Parent parent;
    CButton push;
    CButton check;
    Make(push, parent, 1, BS_DEFPUSHBUTTON);
    Make(check, parent, 2, BS_AUTOCHECKBOX);
    push.SetCheck(BST_CHECKED);
    EXPECT_EQ(push.GetCheck(), BST_UNCHECKED);
    EXPECT_TRUE(push.IsDefaultButton());
    check.SetCheck(BST_CHECKED);
    check.SetCheck(7);
    EXPECT_EQ(check.GetCheck(), BST_UNCHECKED);
    EXPECT_TRUE(parent.seen.empty()); // programmatic changes tell nothing
}

// ---- Edit ---------------------------------------------------------------

TEST(EditTest, TypingReplacesTheSelectionAndNotifiesEveryChange)
{
    Parent parent;
    CEdit edit;
    Make(edit, parent, 5, ES_AUTOHSCROLL);
    edit.SetWindowText(u"hello world");
    EXPECT_EQ(edit.GetSel(), (std::pair<int, int>{0, 0}));
    EXPECT_EQ(parent.Take(5), (std::vector<UINT>{EN_UPDATE, EN_CHANGE}));

    edit.SetSel(6, -1);
    EXPECT_TRUE(edit.TypeText(u"there"));
    EXPECT_EQ(edit.GetWindowText(), u"hello there");
    EXPECT_EQ(edit.GetSel(), (std::pair<int, int>{11, 11}));
    EXPECT_EQ(GetFocus(), edit.Handle());
    EXPECT_EQ(parent.Take(5), (std::vector<UINT>{EN_SETFOCUS, EN_UPDATE, EN_CHANGE}));

    PressKey(VK_BACK);
    PressKey(VK_HOME);
    PressKey(VK_DELETE);
    TypeChars(u"J");
    EXPECT_EQ(edit.GetWindowText(), u"Jello ther");
    PressKey(VK_END);
    PressKey(VK_LEFT, MOD_SHIFT);
    PressKey(VK_LEFT, MOD_SHIFT);
    EXPECT_EQ(edit.GetSel(), (std::pair<int, int>{8, 10}));
    edit.ReplaceSel(u"RE");
    EXPECT_EQ(edit.GetWindowText(), u"Jello thRE");
}

TEST(EditTest, TextLimitStopsTypingButNotProgrammaticText)
{
    Parent parent;
    CEdit edit;
    Make(edit, parent, 5, ES_AUTOHSCROLL);
    edit.SetLimitText(4);
    EXPECT_EQ(edit.GetLimitText(), 4);
    edit.TypeText(u"abcdef");
    EXPECT_EQ(edit.GetWindowText(), u"abcd");
    const std::vector<UINT> codes = parent.Take(5);
    EXPECT_EQ(codes.back(), EN_MAXTEXT);
    EXPECT_FALSE(edit.TypeText(u"x"));
    // A selection makes room.
    edit.SetSel(1, 3);
    edit.TypeText(u"XYZ");
    EXPECT_EQ(edit.GetWindowText(), u"aXYd");
    edit.SetWindowText(u"longer than four");
    EXPECT_EQ(edit.GetWindowText(), u"longer than four");
    edit.SetLimitText(0);
    EXPECT_GT(edit.GetLimitText(), 1'000'000);
}

TEST(EditTest, WithoutAutoScrollTypingStopsAtTheVisibleWidth)
{
    Parent parent;
    CEdit fixed;
    CEdit scrolling;
    const RECT narrow{0, 0, 36, 21}; // 24 dialog units: five average characters
    Make(fixed, parent, 1, 0, narrow);
    Make(scrolling, parent, 2, ES_AUTOHSCROLL, narrow);
    EXPECT_EQ(fixed.VisibleChars(), 5);

    fixed.TypeText(u"1234567");
    EXPECT_EQ(fixed.GetWindowText(), u"12345");
    scrolling.TypeText(u"1234567");
    EXPECT_EQ(scrolling.GetWindowText(), u"1234567");
    EXPECT_EQ(scrolling.GetFirstVisibleChar(), 2);
    PressKey(VK_HOME, 0, scrolling.Handle());
    EXPECT_EQ(scrolling.GetFirstVisibleChar(), 0);

    // Margins take room from the text.
    fixed.SetWindowText(u"");
    fixed.SetMargins(6, 6);
    EXPECT_EQ(fixed.VisibleChars(), 3);
    fixed.TypeText(u"1234567");
    EXPECT_EQ(fixed.GetWindowText(), u"123");
    EXPECT_EQ(fixed.GetLeftMargin(), 6);
}

TEST(EditTest, StylesFilterTypedText)
{
    Parent parent;
    CEdit number;
    CEdit upper;
    CEdit readOnly;
    Make(number, parent, 1, ES_NUMBER | ES_AUTOHSCROLL);
    Make(upper, parent, 2, ES_UPPERCASE | ES_AUTOHSCROLL | ES_RIGHT);
    Make(readOnly, parent, 3, ES_READONLY | ES_AUTOHSCROLL);
    number.TypeText(u"a1b2");
    upper.TypeText(u"aapl^dji");
    readOnly.TypeText(u"x");
    EXPECT_EQ(number.GetWindowText(), u"12");
    EXPECT_EQ(upper.GetWindowText(), u"AAPL^DJI");
    EXPECT_EQ(upper.GetAlignment(), ES_RIGHT);
    EXPECT_EQ(readOnly.GetWindowText(), u"");
}

TEST(EditTest, CopyCutAndPasteGoThroughTheClipboard)
{
    Parent parent;
    CEdit edit;
    Make(edit, parent, 1, ES_AUTOHSCROLL);
    edit.SetWindowText(u"abc def");
    SetFocus(edit.Handle());
    PressKey('A', MOD_CONTROL);
    EXPECT_EQ(edit.GetSel(), (std::pair<int, int>{0, 7}));
    edit.SetSel(4, 7);
    PressKey('X', MOD_CONTROL);
    EXPECT_EQ(GetClipboardText(), std::u16string(u"def"));
    EXPECT_EQ(edit.GetWindowText(), u"abc ");
    SetClipboardText(u"xyz\r\nsecond line");
    PressKey('V', MOD_CONTROL);
    EXPECT_EQ(edit.GetWindowText(), u"abc xyz");
    EmptyClipboard();
    EXPECT_FALSE(GetClipboardText().has_value());
}

// ---- Combo box ----------------------------------------------------------

TEST(ComboBoxTest, SelectionChangeIsNotifiedOnlyWhenTheUserReallyChangesIt)
{
    Parent parent;
    CComboBox combo;
    Make(combo, parent, 7, CBS_DROPDOWN);
    combo.AddString(u"FinnHub");
    combo.AddString(u"AlphaVantage  (5x/min)");
    EXPECT_EQ(combo.SetCurSel(1), 1);
    EXPECT_EQ(combo.GetWindowText(), u"AlphaVantage  (5x/min)");
    EXPECT_TRUE(parent.seen.empty());

    EXPECT_TRUE(combo.ChooseItem(1));                           // the same item again
    EXPECT_EQ(parent.Take(7), std::vector<UINT>{CBN_SETFOCUS}); // no SELCHANGE
    combo.ChooseItem(0);
    EXPECT_EQ(parent.Take(7), std::vector<UINT>{CBN_SELCHANGE});
    EXPECT_EQ(combo.GetCurSel(), 0);
    EXPECT_EQ(combo.GetWindowText(), u"FinnHub");
    EXPECT_FALSE(combo.ChooseItem(2));

    // Typing changes the field, not the selection setting: no SELCHANGE,
    // and no item is current any more, so choosing the old one again is a
    // change.
    combo.SetEditSel(0, -1);
    combo.TypeText(u"Fin");
    EXPECT_EQ(combo.GetWindowText(), u"Fin");
    EXPECT_EQ(combo.GetCurSel(), CB_ERR);
    EXPECT_EQ(parent.Take(7), (std::vector<UINT>{CBN_EDITUPDATE, CBN_EDITCHANGE}));
    combo.ChooseItem(0);
    EXPECT_EQ(parent.Take(7), std::vector<UINT>{CBN_SELCHANGE});

    // Arrow keys move the selection and notify.
    PressKey(VK_DOWN);
    EXPECT_EQ(combo.GetCurSel(), 1);
    PressKey(VK_DOWN); // already at the end
    EXPECT_EQ(parent.Take(7), std::vector<UINT>{CBN_SELCHANGE});
}

TEST(ComboBoxTest, ItemsKeepTheSelectionInStepAndSearchIgnoresCase)
{
    Parent parent;
    CComboBox combo;
    Make(combo, parent, 7, CBS_DROPDOWNLIST);
    for (auto text : {u"alpha", u"Beta", u"gamma"})
        combo.AddString(text);
    combo.SetCurSel(2);
    combo.InsertString(0, u"first");
    EXPECT_EQ(combo.GetCurSel(), 3);
    combo.DeleteString(1);
    EXPECT_EQ(combo.GetCurSel(), 2);
    EXPECT_EQ(combo.GetLBText(combo.GetCurSel()), u"gamma");
    combo.DeleteString(2);
    EXPECT_EQ(combo.GetCurSel(), CB_ERR);
    EXPECT_EQ(combo.FindStringExact(-1, u"BETA"), 1);
    EXPECT_EQ(combo.FindString(-1, u"fi"), 0);
    EXPECT_EQ(combo.FindStringExact(-1, u"be"), CB_ERR);
    EXPECT_EQ(combo.InsertString(9, u"x"), CB_ERR);
    EXPECT_EQ(combo.SetCurSel(9), CB_ERR);
    EXPECT_EQ(combo.GetLBText(9), u"");
    EXPECT_FALSE(combo.TypeText(u"x")); // no edit field
    combo.ResetContent();
    EXPECT_EQ(combo.GetCount(), 0);
    EXPECT_EQ(combo.GetWindowText(), u"");
}

TEST(ComboBoxTest, SortedComboInsertsInOrder)
{
    Parent parent;
    CComboBox combo;
    Make(combo, parent, 7, CBS_DROPDOWN | CBS_SORT);
    combo.AddString(u"b");
    combo.AddString(u"C");
    EXPECT_EQ(combo.AddString(u"a"), 0);
    EXPECT_EQ(combo.AddString(u"B2"), 2);
}

// ---- List box -----------------------------------------------------------

TEST(ListBoxTest, SelectionChangeNeedsNotifyStyleAndARealChange)
{
    Parent parent;
    CListBox notifying;
    CListBox quiet;
    Make(notifying, parent, 3, LBS_NOTIFY);
    Make(quiet, parent, 4, 0);
    for (CListBox* list : {&notifying, &quiet})
        for (auto text : {u"Default", u"Retirement", u"Watch"})
            list->AddString(text);

    notifying.SetCurSel(1);
    EXPECT_TRUE(parent.seen.empty());
    notifying.ChooseItem(1);
    notifying.ChooseItem(2);
    EXPECT_EQ(parent.Take(3), (std::vector<UINT>{LBN_SETFOCUS, LBN_SELCHANGE}));
    PressKey(VK_UP);
    PressKey(VK_HOME);
    PressKey(VK_UP);
    EXPECT_EQ(notifying.GetCurSel(), 0);
    EXPECT_EQ(parent.Take(3), (std::vector<UINT>{LBN_SELCHANGE, LBN_SELCHANGE}));
    notifying.DoubleClickItem(0);
    EXPECT_EQ(parent.Take(3), std::vector<UINT>{LBN_DBLCLK});

    quiet.ChooseItem(2);
    EXPECT_EQ(quiet.GetCurSel(), 2);
    EXPECT_TRUE(parent.Take(4).empty());

    EXPECT_EQ(notifying.SetCurSel(-1), LB_ERR);
    EXPECT_EQ(notifying.GetCurSel(), LB_ERR);
    notifying.SetCurSel(2);
    notifying.DeleteString(0);
    EXPECT_EQ(notifying.GetCurSel(), 1);
    EXPECT_EQ(notifying.GetText(1), u"Watch");
    notifying.InsertString(1, u"New");
    EXPECT_EQ(notifying.GetText(notifying.GetCurSel()), u"Watch");
}

} // namespace
