// A dialog holding every control kind, on screen: real clicks and keys on
// the Qt widgets reach the layer as its commands and notifications.
#include "qt_test_support.h"

#include "platform/ui/button.h"
#include "platform/ui/combo_box.h"
#include "platform/ui/dialog.h"
#include "platform/ui/edit.h"
#include "platform/ui/list_box.h"
#include "platform/ui/list_view.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/static_ctrl.h"
#include "platform/ui/ui_task.h"
#include "platform/ui/window_placement.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <utility>
#include <vector>

using namespace platform;

namespace
{

constexpr UINT kAllControls = 9101;
constexpr int kCaption = 300;
constexpr int kColoured = 301;
constexpr int kName = 302;
constexpr int kCheck = 303;
constexpr int kChoice = 304;
constexpr int kPick = 305;
constexpr int kApply = 306;
constexpr int kGrid = 307;
constexpr int kSetup = 308;

constexpr COLORREF kLabelText = RGB(0, 127, 0);
constexpr COLORREF kLabelBack = RGB(255, 255, 200);

void RegisterAllControlsDialog()
{
    DialogTemplate t{.id = kAllControls,
                     .caption = u"All controls",
                     .width = 260,
                     .height = 150,
                     .style = DS_SHELLFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME |
                              WS_MINIMIZEBOX | WS_MAXIMIZEBOX};
    t.controls = {
        LText(kCaption, u"&Name:", 6, 8, 30, 8),
        EditText(kName, 40, 6, 90, 12, ES_AUTOHSCROLL),
        RText(kColoured, u" S&P 500:", 140, 6, 70, 12, SS_NOPREFIX, WS_EX_STATICEDGE),
        CheckBox(kCheck, u"Keep recent", 40, 22, 80, 10),
        ComboBox(kChoice, 40, 36, 90, 60, CBS_DROPDOWN | WS_TABSTOP | WS_VSCROLL,
                 {u"FinnHub", u"AlphaVantage  (5x/min)"}),
        ListBox(kPick, 140, 22, 70, 30, LBS_NOTIFY | WS_BORDER | WS_TABSTOP),
        Control(kGrid, std::string(kListViewClass), u"", 6, 56, 204, 60,
                WS_VISIBLE | WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SHOWSELALWAYS),
        PushButton(kSetup, u"Setup", 216, 6, 38, 12),
        PushButton(kApply, u"Apply", 6, 128, 40, 14),
        PushButton(IDCANCEL, u"Cancel", 160, 128, 44, 14),
        DefPushButton(IDOK, u"OK", 210, 128, 44, 14),
    };
    t.controls[6].anchor = Anchor{.sizeX = 100, .sizeY = 100};
    t.controls[7].anchor = Anchor{.moveX = 100};
    RegisterDialogTemplate(std::move(t));
}

// A label that answers its own colour request, as CColorStatic does.
class ColourLabel final : public CStatic
{
public:
    HBRUSH CtlColor(CDC& dc, UINT) override
    {
        dc.SetTextColor(kLabelText);
        dc.SetBkColor(kLabelBack);
        return brush;
    }
    CBrush brush{kLabelBack};
};

class AllControlsDialog final : public CDialogEx
{
public:
    AllControlsDialog() : CDialogEx(kAllControls)
    {
        BindControl(kColoured, label);
        BindControl(kGrid, grid);
        for (int id : {kApply, kSetup})
            OnClicked(id, [this, id] { commands.push_back({id, BN_CLICKED}); });
        OnCommandFrom(kName, EN_CHANGE, [this] { commands.push_back({kName, EN_CHANGE}); });
        OnCommandFrom(kCheck, BN_CLICKED, [this] { commands.push_back({kCheck, BN_CLICKED}); });
        OnCommandFrom(kChoice, CBN_SELCHANGE,
                      [this] {
                          commands.push_back({kChoice, CBN_SELCHANGE});
                      });
        OnCommandFrom(kChoice, CBN_EDITCHANGE,
                      [this] {
                          commands.push_back({kChoice, CBN_EDITCHANGE});
                      });
        OnCommandFrom(kPick, LBN_SELCHANGE, [this] { commands.push_back({kPick, LBN_SELCHANGE}); });
    }

    bool OnInitDialog() override
    {
        CDialogEx::OnInitDialog();
        GetControl<CButton>(kCheck)->SetCheck(BST_UNCHECKED);
        GetControl<CComboBox>(kChoice)->SetCurSel(0);
        auto* pick = GetControl<CListBox>(kPick);
        for (const char16_t* name : {u"Default", u"Tech", u"Banks"})
            pick->AddString(name);
        grid.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
        grid.InsertColumn(0, u"Symbol", LVCFMT_LEFT, 80);
        grid.InsertColumn(1, u"Last", LVCFMT_RIGHT, 70);
        for (int row = 0; row < 3; ++row)
        {
            grid.InsertItem(row, row == 0 ? u"MSFT" : row == 1 ? u"AAPL" : u"-- comment");
            grid.SetItemText(row, 1, row == 2 ? u"" : u"101.25");
        }
        return true;
    }

    void OnOK() override
    {
        okCount++;
        CDialogEx::OnOK();
    }
    void OnCancel() override
    {
        cancelCount++;
        CDialogEx::OnCancel();
    }

    bool OnHelpInfo(HELPINFO& info) override
    {
        helpFrom.push_back(info.ctrlId);
        return true;
    }

    bool Saw(int id, UINT code) const
    {
        return std::find(commands.begin(), commands.end(), std::pair{id, code}) != commands.end();
    }

    ColourLabel label;
    CListCtrl grid;
    std::vector<std::pair<int, UINT>> commands;
    int okCount = 0;
    int cancelCount = 0;
    std::vector<int> helpFrom;
};

class DialogWidgetsTest : public qt_testing::QtTest
{
protected:
    void SetUp() override
    {
        RegisterAllControlsDialog();
        ASSERT_TRUE(dialog.CreateFromTemplate());
        ASSERT_NE(Widget(kName), nullptr);
    }
    void TearDown() override { dialog.Destroy(); }

    QWidget* Widget(int id) const
    {
        Window* control = dialog.GetDlgItem(id);
        return control ? WidgetOf(control->Handle()) : nullptr;
    }
    template <class T> T* As(int id) const { return qobject_cast<T*>(Widget(id)); }

    AllControlsDialog dialog;
};

TEST_F(DialogWidgetsTest, EveryControlKindIsShownFromTheTemplate)
{
    QWidget* top = WidgetOf(dialog.Handle());
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top->windowTitle(), QString("All controls"));
    EXPECT_TRUE(top->isVisible());
    ASSERT_NE(As<QLineEdit>(kName), nullptr);
    ASSERT_NE(As<QCheckBox>(kCheck), nullptr);
    ASSERT_NE(As<QComboBox>(kChoice), nullptr);
    ASSERT_NE(As<QListWidget>(kPick), nullptr);
    ASSERT_NE(As<QPushButton>(IDOK), nullptr);
    EXPECT_TRUE(As<QPushButton>(IDOK)->isDefault());
    EXPECT_EQ(As<QComboBox>(kChoice)->count(), 2);
    EXPECT_EQ(As<QComboBox>(kChoice)->currentText(), QString("FinnHub"));
    EXPECT_EQ(As<QListWidget>(kPick)->count(), 3);
    // Positions are the template's dialog units in pixels.
    const RECT name = dialog.GetDlgItem(kName)->GetWindowRect();
    EXPECT_EQ(Widget(kName)->geometry(), QRect(name.left, name.top, name.Width(), name.Height()));
    EXPECT_EQ(name.left, DialogUnitsToPixelsX(40));
    qt_testing::SaveScreenshot(*top, "dialog_all_controls");
}

TEST_F(DialogWidgetsTest, StaticTextIsPaintedWithItsColourRequestAnswer)
{
    const QImage image = Widget(kColoured)->grab().toImage();
    // A pixel inside the frame, left of the right-aligned text.
    EXPECT_EQ(image.pixelColor(4, image.height() / 2),
              QColor(GetRValue(kLabelBack), GetGValue(kLabelBack), GetBValue(kLabelBack)));
    bool greenText = false;
    for (int x = 0; x < image.width() && !greenText; ++x)
        for (int y = 0; y < image.height() && !greenText; ++y)
        {
            const QColor c = image.pixelColor(x, y);
            greenText = c.green() > 80 && c.red() < 60 && c.blue() < 60;
        }
    EXPECT_TRUE(greenText);
}

TEST_F(DialogWidgetsTest, ClicksAndTypingBecomeCommandsAndNotifications)
{
    QTest::mouseClick(As<QPushButton>(kApply), Qt::LeftButton);
    PumpWaitingMessages();
    EXPECT_TRUE(dialog.Saw(kApply, BN_CLICKED));

    QTest::mouseClick(As<QCheckBox>(kCheck), Qt::LeftButton);
    PumpWaitingMessages();
    EXPECT_EQ(dialog.GetControl<CButton>(kCheck)->GetCheck(), BST_CHECKED);
    EXPECT_TRUE(As<QCheckBox>(kCheck)->isChecked());
    EXPECT_TRUE(dialog.Saw(kCheck, BN_CLICKED));

    QTest::keyClicks(As<QLineEdit>(kName), "Tech");
    PumpWaitingMessages();
    EXPECT_EQ(dialog.GetDlgItem(kName)->GetWindowText(), u"Tech");
    EXPECT_TRUE(dialog.Saw(kName, EN_CHANGE));
    EXPECT_EQ(As<QLineEdit>(kName)->text(), QString("Tech"));

    QTest::keyClick(As<QComboBox>(kChoice), Qt::Key_Down);
    PumpWaitingMessages();
    EXPECT_EQ(dialog.GetControl<CComboBox>(kChoice)->GetCurSel(), 1);
    EXPECT_TRUE(dialog.Saw(kChoice, CBN_SELCHANGE));

    QTest::keyClicks(As<QComboBox>(kChoice)->lineEdit(), "x");
    PumpWaitingMessages();
    EXPECT_TRUE(dialog.Saw(kChoice, CBN_EDITCHANGE));
    EXPECT_EQ(dialog.GetControl<CComboBox>(kChoice)->GetCurSel(), CB_ERR);

    QListWidget* pick = As<QListWidget>(kPick);
    QTest::mouseClick(pick->viewport(), Qt::LeftButton, {},
                      pick->visualItemRect(pick->item(2)).center());
    PumpWaitingMessages();
    EXPECT_EQ(dialog.GetControl<CListBox>(kPick)->GetCurSel(), 2);
    EXPECT_TRUE(dialog.Saw(kPick, LBN_SELCHANGE));
    qt_testing::SaveScreenshot(*WidgetOf(dialog.Handle()), "dialog_after_input");
}

TEST_F(DialogWidgetsTest, LayerChangesUpdateTheWidgets)
{
    dialog.GetDlgItem(kName)->SetWindowText(u"Banks");
    EXPECT_EQ(As<QLineEdit>(kName)->text(), QString("Banks"));
    dialog.GetControl<CEdit>(kName)->SetLimitText(5);
    EXPECT_EQ(As<QLineEdit>(kName)->maxLength(), 5);
    dialog.GetControl<CButton>(kCheck)->SetCheck(BST_CHECKED);
    EXPECT_TRUE(As<QCheckBox>(kCheck)->isChecked());
    dialog.GetControl<CComboBox>(kChoice)->AddString(u"Third");
    EXPECT_EQ(As<QComboBox>(kChoice)->count(), 3);
    dialog.GetDlgItem(kApply)->EnableWindow(false);
    EXPECT_FALSE(Widget(kApply)->isEnabled());
    dialog.GetDlgItem(kApply)->ShowWindow(false);
    EXPECT_FALSE(Widget(kApply)->isVisible());
}

TEST_F(DialogWidgetsTest, TabMovesTheFocusInTemplateOrder)
{
    QWidget* top = WidgetOf(dialog.Handle());
    QApplication::setActiveWindow(top);
    SetFocus(dialog.GetDlgItem(kName)->Handle());
    EXPECT_TRUE(Widget(kName)->hasFocus());
    QTest::keyClick(Widget(kName), Qt::Key_Tab);
    PumpWaitingMessages();
    EXPECT_EQ(GetFocus(), dialog.GetDlgItem(kCheck)->Handle());
    EXPECT_TRUE(Widget(kCheck)->hasFocus());
    QTest::keyClick(Widget(kCheck), Qt::Key_Backtab, Qt::ShiftModifier);
    PumpWaitingMessages();
    EXPECT_EQ(GetFocus(), dialog.GetDlgItem(kName)->Handle());
}

TEST_F(DialogWidgetsTest, F1IsTheDialogsHelpRequest)
{
    SetFocus(dialog.GetDlgItem(kName)->Handle());
    QTest::keyClick(Widget(kName), Qt::Key_F1);
    PumpWaitingMessages();
    ASSERT_EQ(dialog.helpFrom.size(), 1u);
    EXPECT_EQ(dialog.helpFrom[0], kName);
}

TEST_F(DialogWidgetsTest, GridGrowsWithTheWindowAndSetupKeepsItsRightDistance)
{
    QWidget* top = WidgetOf(dialog.Handle());
    const RECT grid = dialog.grid.GetWindowRect();
    const RECT setup = dialog.GetDlgItem(kSetup)->GetWindowRect();
    const RECT apply = dialog.GetDlgItem(kApply)->GetWindowRect();
    top->resize(top->width() + 100, top->height() + 40);
    const RECT grown = dialog.grid.GetWindowRect();
    EXPECT_EQ(grown.Width(), grid.Width() + 100);
    EXPECT_EQ(grown.Height(), grid.Height() + 40);
    EXPECT_EQ(dialog.GetDlgItem(kSetup)->GetWindowRect().left, setup.left + 100);
    EXPECT_EQ(dialog.GetDlgItem(kApply)->GetWindowRect(), apply);
    EXPECT_EQ(WidgetOf(dialog.grid.Handle())->width(), grown.Width());
    EXPECT_EQ(Widget(kSetup)->x(), setup.left + 100);
    qt_testing::SaveScreenshot(*top, "dialog_resized");
}

TEST_F(DialogWidgetsTest, PlacementRecordFollowsTheScreenWindow)
{
    QWidget* top = WidgetOf(dialog.Handle());
    WINDOWPLACEMENT placement;
    placement.showCmd = SW_SHOWNORMAL;
    placement.rcNormalPosition = RECT{30, 40, 530, 340};
    ASSERT_TRUE(SetWindowPlacement(dialog.Handle(), placement));
    EXPECT_EQ(top->geometry(), QRect(30, 40, 500, 300));
    // The user moves the window.
    top->setGeometry(60, 70, 500, 300);
    WINDOWPLACEMENT read;
    ASSERT_TRUE(GetWindowPlacement(dialog.Handle(), read));
    EXPECT_EQ(read.rcNormalPosition, (RECT{60, 70, 560, 370}));
    EXPECT_EQ(read.ToBytes().size(), WINDOWPLACEMENT::kSize);

    placement.showCmd = SW_SHOWMAXIMIZED;
    ASSERT_TRUE(SetWindowPlacement(dialog.Handle(), placement));
    EXPECT_TRUE(top->windowState() & Qt::WindowMaximized);
    ASSERT_TRUE(GetWindowPlacement(dialog.Handle(), read));
    EXPECT_EQ(read.flags, WPF_RESTORETOMAXIMIZED);
    EXPECT_EQ(read.rcNormalPosition, (RECT{30, 40, 530, 340}));
    // Restored by the user: back at the normal rectangle.
    top->showNormal();
    EXPECT_FALSE(dialog.IsZoomed());
    EXPECT_EQ(dialog.GetWindowRect(), (RECT{30, 40, 530, 340}));
}

// Run modally: Enter is the default button's command, Escape Cancel.
TEST(DialogKeysTest, EnterIsTheDefaultCommandAndEscapeIsCancel)
{
    qt_testing::EnsureApplication();
    platform::qt::QtBackend backend;
    RegisterAllControlsDialog();
    for (auto [key, expected] :
         {std::pair{Qt::Key_Return, IDOK}, std::pair{Qt::Key_Escape, IDCANCEL}})
    {
        AllControlsDialog dialog;
        PostTask(
            [&, key]
            {
                QWidget* name = backend.WidgetOf(dialog.GetDlgItem(kName)->Handle());
                ASSERT_NE(name, nullptr);
                QTest::keyClick(name, key);
            });
        EXPECT_EQ(dialog.DoModal(), expected);
        EXPECT_EQ(dialog.okCount, expected == IDOK ? 1 : 0);
        EXPECT_EQ(dialog.cancelCount, expected == IDCANCEL ? 1 : 0);
    }
}

TEST(DialogKeysTest, CloseBoxIsCancel)
{
    qt_testing::EnsureApplication();
    platform::qt::QtBackend backend;
    RegisterAllControlsDialog();
    AllControlsDialog dialog;
    PostTask([&] { backend.WidgetOf(dialog.Handle())->close(); });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.cancelCount, 1);
}

} // namespace
