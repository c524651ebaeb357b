#include "platform/ui/button.h"
#include "platform/ui/clock.h"
#include "platform/ui/combo_box.h"
#include "platform/ui/dialog.h"
#include "platform/ui/edit.h"
#include "platform/ui/input.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/scripted_prompter.h"
#include "platform/ui/static_ctrl.h"
#include "platform/ui/ui_task.h"
#include "platform/ui/window_placement.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace platform;

namespace
{

constexpr UINT kTestDialog = 9001;
constexpr int kName = 200;
constexpr int kNumber = 201;
constexpr int kCheck = 202;
constexpr int kChoice = 203;
constexpr int kLabel = 204;
constexpr int kApply = 205;
constexpr int kHiddenButton = 206;
constexpr int kDisabledEdit = 207;

void RegisterTestDialog()
{
    DialogTemplate t{.id = kTestDialog,
                     .caption = u"Test",
                     .width = 200,
                     .height = 100,
                     .style = DS_SHELLFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME |
                              WS_MINIMIZEBOX | WS_MAXIMIZEBOX};
    t.controls = {
        LText(kLabel, u"Name:", 4, 4, 40, 8),
        EditText(kName, 50, 4, 100, 12, ES_AUTOHSCROLL),
        EditText(kNumber, 50, 20, 30, 12),
        CheckBox(kCheck, u"Check", 50, 36, 60, 10),
        ComboBox(kChoice, 50, 50, 60, 40, CBS_DROPDOWN | WS_TABSTOP, {u"One", u"Two"}),
        EditText(kDisabledEdit, 120, 20, 30, 12, WS_DISABLED),
        PushButton(kHiddenButton, u"Hidden", 4, 60, 30, 12, 0),
        PushButton(kApply, u"Apply", 4, 80, 40, 14),
        PushButton(IDCANCEL, u"Cancel", 100, 80, 40, 14),
        DefPushButton(IDOK, u"OK", 150, 80, 40, 14),
    };
    t.controls[6].style &= ~WS_VISIBLE;
    t.controls[1].anchor = Anchor{.sizeX = 100};
    t.controls[9].anchor = Anchor{.moveX = 100, .moveY = 100};
    RegisterDialogTemplate(std::move(t));
}

// A static that names itself, to show that the template made this object.
class MemberStatic : public CStatic
{
public:
    HBRUSH CtlColor(CDC& dc, UINT) override
    {
        dc.SetTextColor(RGB(255, 0, 0));
        dc.SetBkColor(RGB(255, 255, 255));
        return brush;
    }
    CBrush brush{RGB(255, 255, 255)};
};

class TestDialog : public CDialogEx
{
public:
    explicit TestDialog(HWND owner = {}) : CDialogEx(kTestDialog, owner)
    {
        BindControl(kLabel, label);
        OnClicked(kApply, [this] { ++applied; });
    }

    bool OnInitDialog() override
    {
        ++initCalls;
        CDialogEx::OnInitDialog();
        if (endInInit)
            EndDialog(77);
        return true;
    }
    void DoDataExchange(CDataExchange& dx) override
    {
        DDX_Text(dx, kName, name);
        DDX_Text(dx, kNumber, number);
        DDV_MinMaxInt(dx, number, 0, 600);
        DDX_Check(dx, kCheck, check);
        DDX_CBIndex(dx, kChoice, choice);
    }
    bool OnHelpInfo(HELPINFO& info) override
    {
        helpFrom.push_back(info.ctrlId);
        return false;
    }
    void OnSysCommand(UINT id, LPARAM lParam) override
    {
        sysCommands.push_back(id);
        CDialogEx::OnSysCommand(id, lParam);
    }
    void OnTimer(UINT_PTR id) override { timers.push_back(id); }

    MemberStatic label;
    std::u16string name = u"initial";
    int number = 15;
    int check = 1;
    int choice = 1;
    int applied = 0;
    int initCalls = 0;
    bool endInInit = false;
    std::vector<int> helpFrom;
    std::vector<UINT> sysCommands;
    std::vector<UINT_PTR> timers;
};

class DialogTest : public ::testing::Test
{
protected:
    void SetUp() override { RegisterTestDialog(); }

    // Runs `dialog` modally with `steps` queued before it starts.
    INT_PTR RunWith(CDialogEx& dialog, std::function<void()> steps)
    {
        PostTask(std::move(steps));
        return dialog.DoModal();
    }

    ManualClock clock;
    ScopedClock useClock{clock};
    ScriptedPrompter prompter;
};

TEST_F(DialogTest, BuildsItsControlsFromTheTemplateInDialogUnits)
{
    TestDialog dialog;
    ASSERT_TRUE(dialog.CreateFromTemplate());
    EXPECT_EQ(dialog.GetWindowText(), u"Test");
    EXPECT_EQ(dialog.GetWindowRect().Width(), 300);  // 200 * 6 / 4
    EXPECT_EQ(dialog.GetWindowRect().Height(), 163); // 100 * 13 / 8, rounded
    EXPECT_TRUE(dialog.IsWindowVisible());
    EXPECT_EQ(dialog.ClassName(), "#32770");

    ASSERT_EQ(dialog.Children().size(), 10u);
    Window* name = dialog.GetDlgItem(kName);
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->ClassName(), "Edit");
    EXPECT_EQ(name->GetWindowRect(), (RECT{75, 7, 225, 26}));
    EXPECT_TRUE(name->GetStyle() & WS_CHILD);
    EXPECT_EQ(dialog.GetDlgItem(IDOK)->GetWindowText(), u"OK");
    EXPECT_TRUE(dialog.GetControl<CButton>(IDOK)->IsDefaultButton());
    EXPECT_FALSE(dialog.GetDlgItem(kHiddenButton)->IsWindowVisible());

    // The combo box got its items from the template, then the data exchange
    // selected item 1.
    auto* combo = dialog.GetControl<CComboBox>(kChoice);
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->GetCount(), 2);
    EXPECT_EQ(combo->GetCurSel(), 1);
    EXPECT_EQ(combo->GetWindowText(), u"Two");
}

TEST_F(DialogTest, BoundMemberControlIsTheObjectTheTemplateCreates)
{
    TestDialog dialog;
    dialog.CreateFromTemplate();
    EXPECT_EQ(dialog.GetDlgItem(kLabel), &dialog.label);
    EXPECT_EQ(dialog.label.GetWindowText(), u"Name:");
    EXPECT_EQ(dialog.label.GetWindowRect(), MapDialogRect(RECT{4, 4, 44, 12}));
    EXPECT_EQ(dialog.Children().front(), dialog.label.Handle()); // its place in the Tab order
    EXPECT_FALSE(dialog.BindControl(kName, dialog.label));       // too late once created

    // The reflected colour request reaches the member.
    const ControlColours colours = QueryControlColours(dialog.label);
    EXPECT_TRUE(colours.answered);
    EXPECT_EQ(colours.text, RGB(255, 0, 0));
    EXPECT_EQ(colours.fill, RGB(255, 255, 255));

    dialog.Destroy();
    EXPECT_FALSE(dialog.label.IsCreated());
}

TEST_F(DialogTest, ModalRunEndsWithTheResultAndDataExchanged)
{
    TestDialog dialog;
    const INT_PTR result = RunWith(dialog,
                                   [&]
                                   {
                                       EXPECT_EQ(dialog.initCalls, 1);
                                       auto* name = dialog.GetControl<CEdit>(kName);
                                       name->SetSel(0, -1);
                                       name->TypeText(u"typed");
                                       dialog.GetControl<CButton>(kCheck)->Click();
                                       dialog.GetControl<CButton>(IDOK)->Click();
                                   });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog.name, u"typed");
    EXPECT_EQ(dialog.check, 0);
    EXPECT_EQ(dialog.number, 15);
    EXPECT_FALSE(dialog.IsCreated());
    EXPECT_TRUE(prompter.Boxes().empty());
}

TEST_F(DialogTest, CancelEscapeAndCloseBoxEndWithCancelAndExchangeNothing)
{
    const std::vector<std::function<void(TestDialog&)>> ways = {
        [](TestDialog& d) { d.GetControl<CButton>(IDCANCEL)->Click(); },
        [](TestDialog&) { PressKey(VK_ESCAPE); },
        [](TestDialog& d) { PostMessage(d.Handle(), WM_CLOSE, 0, 0); },
        [](TestDialog& d) { d.ChooseSystemCommand(SC_CLOSE); },
    };
    for (size_t i = 0; i < ways.size(); ++i)
    {
        TestDialog dialog;
        const INT_PTR result = RunWith(dialog,
                                       [&]
                                       {
                                           dialog.GetControl<CEdit>(kName)->TypeText(u"x");
                                           ways[i](dialog);
                                       });
        EXPECT_EQ(result, IDCANCEL) << i;
        EXPECT_EQ(dialog.name, u"initial") << i;
    }
}

TEST_F(DialogTest, DisabledCancelButtonKeepsTheDialogOpen)
{
    TestDialog dialog;
    const INT_PTR result = RunWith(dialog,
                                   [&]
                                   {
                                       dialog.GetDlgItem(IDCANCEL)->EnableWindow(false);
                                       PressKey(VK_ESCAPE);
                                       SendMessage(dialog.Handle(), WM_CLOSE, 0, 0);
                                       EXPECT_FALSE(dialog.IsEnded());
                                       dialog.EndDialog(5);
                                   });
    EXPECT_EQ(result, 5);
}

TEST_F(DialogTest, EndDialogDuringInitialisationNeverShowsTheDialog)
{
    TestDialog dialog;
    dialog.endInInit = true;
    EXPECT_EQ(dialog.DoModal(), 77);
    EXPECT_FALSE(dialog.IsCreated());
}

TEST_F(DialogTest, UnknownTemplateFails)
{
    CDialogEx dialog(4242);
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_FALSE(dialog.CreateFromTemplate());
}

TEST_F(DialogTest, OwnerIsDisabledWhileModalAndFocusComesBack)
{
    TestDialog owner;
    owner.CreateFromTemplate();
    Window* ownerEdit = owner.GetDlgItem(kName);
    SetFocus(ownerEdit->Handle());

    TestDialog dialog(owner.Handle());
    RunWith(dialog,
            [&]
            {
                EXPECT_FALSE(owner.IsWindowEnabled());
                // Input to the owner's controls goes nowhere meanwhile.
                EXPECT_FALSE(owner.GetControl<CButton>(kApply)->Click());
                EXPECT_EQ(owner.applied, 0);
                // The dialog is centred on its owner.
                const RECT o = owner.GetWindowRect();
                const RECT d = dialog.GetWindowRect();
                EXPECT_EQ(d.left - o.left, o.right - d.right);
                dialog.EndDialog(IDOK);
            });
    EXPECT_TRUE(owner.IsWindowEnabled());
    EXPECT_EQ(GetFocus(), ownerEdit->Handle());
}

TEST_F(DialogTest, HandlerTableGetsCommandsOfItsControls)
{
    TestDialog dialog;
    dialog.CreateFromTemplate();
    auto* apply = dialog.GetControl<CButton>(kApply);
    apply->Click();
    apply->Click();
    EXPECT_EQ(dialog.applied, 2);
    EXPECT_EQ(GetFocus(), apply->Handle());
    // A command nobody handles is ignored.
    SendMessage(dialog.Handle(), WM_COMMAND, MAKEWPARAM(9999, BN_CLICKED), 0);
    EXPECT_FALSE(dialog.IsEnded());
}

TEST_F(DialogTest, TabMovesThroughVisibleEnabledTabStopsAndSelectsEditText)
{
    TestDialog dialog;
    dialog.CreateFromTemplate();
    // The first tab stop has the focus after initialisation.
    auto* name = dialog.GetControl<CEdit>(kName);
    EXPECT_EQ(GetFocus(), name->Handle());
    EXPECT_EQ(name->GetSel(), (std::pair<int, int>{0, 7}));

    std::vector<int> order;
    for (int i = 0; i < 7; ++i)
    {
        PressKey(VK_TAB);
        order.push_back(FromHandle(GetFocus())->GetDlgCtrlID());
    }
    // Disabled and hidden controls and the static are skipped; it wraps.
    EXPECT_EQ(order, (std::vector<int>{kNumber, kCheck, kChoice, kApply, IDCANCEL, IDOK, kName}));
    PressKey(VK_TAB, MOD_SHIFT);
    EXPECT_EQ(FromHandle(GetFocus())->GetDlgCtrlID(), IDOK);
}

TEST_F(DialogTest, EnterIsTheFocusedPushButtonElseTheDefaultButton)
{
    TestDialog dialog;
    dialog.CreateFromTemplate();
    SetFocus(dialog.GetDlgItem(kApply)->Handle());
    PressKey(VK_RETURN);
    EXPECT_EQ(dialog.applied, 1);
    EXPECT_FALSE(dialog.IsEnded());

    SetFocus(dialog.GetDlgItem(kName)->Handle());
    PressKey(VK_RETURN);
    EXPECT_TRUE(dialog.IsEnded());
    EXPECT_EQ(dialog.Result(), IDOK);
}

TEST_F(DialogTest, EnterWithoutDefaultButtonIsTheOkCommand)
{
    DialogTemplate t{.id = 9002, .caption = u"Plain", .width = 50, .height = 30};
    t.controls = {EditText(10, 2, 2, 40, 12), PushButton(11, u"Other", 2, 16, 40, 12)};
    RegisterDialogTemplate(std::move(t));
    CDialogEx dialog(9002);
    EXPECT_EQ(RunWith(dialog, [] { PressKey(VK_RETURN); }), IDOK);
}

TEST_F(DialogTest, ControlThatWantsAllKeysKeepsEnterAndEscape)
{
    class Greedy : public CEdit
    {
    public:
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
        {
            if (message == WM_GETDLGCODE)
                return DLGC_WANTALLKEYS;
            if (message == WM_KEYDOWN)
                keys.push_back(static_cast<UINT>(wParam));
            return CEdit::WindowProc(message, wParam, lParam);
        }
        std::vector<UINT> keys;
    };
    Greedy greedy;
    TestDialog dialog;
    dialog.BindControl(kName, greedy);
    dialog.CreateFromTemplate();
    SetFocus(greedy.Handle());
    PressKey(VK_RETURN);
    PressKey(VK_ESCAPE);
    PressKey(VK_TAB);
    EXPECT_FALSE(dialog.IsEnded());
    EXPECT_EQ(greedy.keys, (std::vector<UINT>{VK_RETURN, VK_ESCAPE, VK_TAB}));
    EXPECT_EQ(GetFocus(), greedy.Handle());
}

TEST_F(DialogTest, F1AsksForHelpWithTheFocusedControl)
{
    TestDialog dialog;
    dialog.CreateFromTemplate();
    SetFocus(dialog.GetDlgItem(kNumber)->Handle());
    PressKey(VK_F1);
    EXPECT_EQ(dialog.helpFrom, (std::vector<int>{kNumber}));
}

struct IntegerCase
{
    std::u16string typed;
    int stored;         // when accepted
    std::u16string box; // the message when refused
};

TEST_F(DialogTest, IntegerExchangeFollowsScanfAndTheRangeCheck)
{
    const std::u16string range = u"Enter an integer between 0 and 600.";
    const std::vector<IntegerCase> cases = {
        {u"0", 0, u""},
        {u"600", 600, u""},
        {u"15 seconds", 15, u""},
        {u"  +42", 42, u""},
        {u"\t7x", 7, u""},
        {u"601", 0, range},
        {u"-1", 0, range},
        {u"99999999999", 0, range}, // saturates instead of wrapping into range
        {u"", 0, u"Enter an integer."},
        {u"abc", 0, u"Enter an integer."},
        {u"-", 0, u"Enter an integer."},
        {std::u16string(63, u' ') + u"5", 0, u"Enter an integer."}, // past 63 characters
        {std::u16string(62, u' ') + u"5", 5, u""},
    };
    for (const IntegerCase& c : cases)
    {
        TestDialog dialog;
        dialog.CreateFromTemplate();
        prompter.Clear();
        dialog.GetDlgItem(kNumber)->SetWindowText(c.typed);
        SetFocus(dialog.GetDlgItem(kName)->Handle());
        dialog.GetControl<CButton>(IDOK)->Click();
        if (c.box.empty())
        {
            EXPECT_TRUE(dialog.IsEnded()) << std::string(c.typed.begin(), c.typed.end());
            EXPECT_EQ(dialog.number, c.stored);
            EXPECT_TRUE(prompter.Boxes().empty());
            continue;
        }
        EXPECT_FALSE(dialog.IsEnded());
        if (c.box != range)
        {
            EXPECT_EQ(dialog.number, 15); // nothing could be read
        }
        ASSERT_EQ(prompter.Boxes().size(), 1u);
        EXPECT_EQ(prompter.Boxes()[0].text, c.box);
        EXPECT_EQ(prompter.Boxes()[0].Buttons(), std::vector<int>{IDOK});
        EXPECT_EQ(prompter.Boxes()[0].owner, dialog.Handle());
        // The offending edit has the focus with its text selected.
        auto* number = dialog.GetControl<CEdit>(kNumber);
        EXPECT_EQ(GetFocus(), number->Handle());
        EXPECT_EQ(number->GetSel(), (std::pair<int, int>{0, static_cast<int>(c.typed.size())}));
    }
}

TEST_F(DialogTest, FailedExchangeStopsAtTheFirstFailure)
{
    TestDialog dialog;
    dialog.CreateFromTemplate();
    dialog.GetDlgItem(kName)->SetWindowText(u"changed");
    dialog.GetDlgItem(kNumber)->SetWindowText(u"x");
    dialog.GetControl<CButton>(kCheck)->SetCheck(BST_UNCHECKED);
    EXPECT_FALSE(dialog.UpdateData(true));
    EXPECT_EQ(dialog.name, u"changed"); // read before the failure
    EXPECT_EQ(dialog.check, 1);         // after it: not read
}

TEST_F(DialogTest, CheckBoxValueOutsideItsStatesShowsUnchecked)
{
    for (int value : {-1, 3, 0x7FFFFFFF})
    {
        TestDialog dialog;
        dialog.check = value;
        dialog.CreateFromTemplate();
        EXPECT_EQ(dialog.GetControl<CButton>(kCheck)->GetCheck(), BST_UNCHECKED);
        dialog.UpdateData(true);
        EXPECT_EQ(dialog.check, 0);
    }
}

TEST_F(DialogTest, ComboIndexOutOfRangeSelectsNothingAndStoresMinusOne)
{
    TestDialog dialog;
    dialog.choice = 5;
    dialog.CreateFromTemplate();
    EXPECT_EQ(dialog.GetControl<CComboBox>(kChoice)->GetCurSel(), CB_ERR);
    dialog.UpdateData(true);
    EXPECT_EQ(dialog.choice, -1);
}

TEST_F(DialogTest, SystemMenuCanBeExtendedAndItsCommandsReachTheDialog)
{
    TestDialog dialog;
    dialog.CreateFromTemplate();
    CMenu* menu = dialog.GetSystemMenu(false);
    ASSERT_NE(menu, nullptr);
    const int standard = menu->GetMenuItemCount();
    EXPECT_EQ(menu->GetMenuString(SC_CLOSE, MF_BYCOMMAND), u"&Close\tAlt+F4");
    menu->AppendMenu(MF_SEPARATOR);
    menu->AppendMenu(MF_STRING, 0x20, u"Help...");
    menu->AppendMenu(MF_STRING, 0x10, u"&About...");
    EXPECT_EQ(menu->GetMenuItemCount(), standard + 3);

    EXPECT_TRUE(dialog.ChooseSystemCommand(0x10));
    EXPECT_FALSE(dialog.ChooseSystemCommand(0x30)); // not in the menu
    prompter.Choose(0x20u);
    dialog.OpenSystemMenu();
    EXPECT_EQ(dialog.sysCommands, (std::vector<UINT>{0x10, 0x20}));
    ASSERT_EQ(prompter.Menus().size(), 1u);
    EXPECT_EQ(prompter.Menus()[0].menu.GetMenuItemCount(), standard + 3);

    // Restore is greyed while the window is normal; Maximize works.
    EXPECT_FALSE(dialog.ChooseSystemCommand(SC_RESTORE));
    EXPECT_TRUE(dialog.ChooseSystemCommand(SC_MAXIMIZE));
    EXPECT_TRUE(dialog.IsZoomed());
    EXPECT_TRUE(dialog.ChooseSystemCommand(SC_RESTORE));
    EXPECT_FALSE(dialog.IsZoomed());

    EXPECT_EQ(dialog.GetSystemMenu(true), nullptr);
    EXPECT_EQ(dialog.GetSystemMenu(false)->GetMenuItemCount(), standard);
}

TEST_F(DialogTest, DynamicLayoutMovesAndGrowsAnchoredControls)
{
    TestDialog dialog;
    dialog.CreateFromTemplate();
    const RECT name = dialog.GetDlgItem(kName)->GetWindowRect();
    const RECT ok = dialog.GetDlgItem(IDOK)->GetWindowRect();
    const RECT apply = dialog.GetDlgItem(kApply)->GetWindowRect();
    RECT r = dialog.GetWindowRect();
    dialog.MoveWindow(RECT{r.left, r.top, r.right + 40, r.bottom + 20});

    const RECT grownName = dialog.GetDlgItem(kName)->GetWindowRect();
    EXPECT_EQ(grownName, (RECT{name.left, name.top, name.right + 40, name.bottom}));
    const RECT movedOk = dialog.GetDlgItem(IDOK)->GetWindowRect();
    EXPECT_EQ(movedOk, (RECT{ok.left + 40, ok.top + 20, ok.right + 40, ok.bottom + 20}));
    EXPECT_EQ(dialog.GetDlgItem(kApply)->GetWindowRect(), apply);

    dialog.MoveWindow(r);
    EXPECT_EQ(dialog.GetDlgItem(IDOK)->GetWindowRect(), ok);
}

// A window of its own, with a timer, outside the dialog.
class TickingWindow : public Window
{
public:
    TickingWindow() { Create(CreateParams{.parent = HWND_MESSAGE}); }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_TIMER)
        {
            ++ticks;
            if (onTick)
                onTick();
        }
        return Window::WindowProc(message, wParam, lParam);
    }
    int ticks = 0;
    std::function<void()> onTick;
};

TEST_F(DialogTest, ModalLoopKeepsDispatchingTimersOfOtherWindows)
{
    TestDialog dialog;
    TickingWindow other;
    other.onTick = [&]
    {
        if (other.ticks == 5)
            dialog.EndDialog(IDOK);
    };
    SetTimer(other.Handle(), 1, 100);
    const INT_PTR result = RunWith(dialog, [&] { SetTimer(dialog.Handle(), 42, 150); });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(other.ticks, 5);
    EXPECT_EQ(dialog.timers, (std::vector<UINT_PTR>{42, 42, 42}));
    KillTimer(other.Handle(), 1);
}

TEST_F(DialogTest, MessageBoxInsideAModalDialogKeepsTimersRunning)
{
    TickingWindow other;
    SetTimer(other.Handle(), 1, 50);
    int ticksWhileOpen = 0;
    prompter.Answer(
        [&](const MessageBoxRequest&)
        {
            const int before = other.ticks;
            RunMessageLoopUntil([&] { return other.ticks >= before + 3; });
            ticksWhileOpen = other.ticks - before;
            return IDYES;
        });
    TestDialog dialog;
    int answer = 0;
    HWND dialogHandle;
    RunWith(dialog,
            [&]
            {
                dialogHandle = dialog.Handle();
                answer = AfxMessageBox(u"Go on?", MB_YESNO);
                EXPECT_TRUE(dialog.IsWindowEnabled());
                dialog.EndDialog(IDOK);
            });
    EXPECT_EQ(answer, IDYES);
    EXPECT_GE(ticksWhileOpen, 3);
    ASSERT_EQ(prompter.Boxes().size(), 1u);
    EXPECT_EQ(prompter.Boxes()[0].owner, dialogHandle);
    EXPECT_EQ(prompter.Boxes()[0].Icon(), MB_ICONQUESTION);
    KillTimer(other.Handle(), 1);
}

} // namespace
