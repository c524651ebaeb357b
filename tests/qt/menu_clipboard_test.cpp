// Popup menus, the system menu on a right click, and the clipboard, on
// screen.
#include "qt_test_support.h"

#include "platform/ui/clipboard.h"
#include "platform/ui/dialog.h"
#include "platform/ui/menu.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/ui_task.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTest>

#include <functional>
#include <vector>

using namespace platform;

namespace
{

constexpr UINT kCopy = 10;
constexpr UINT kShown = 11;
constexpr UINT kGreyed = 12;
constexpr UINT kLast = 20;
constexpr UINT kChange = 21;

CMenu MakeMenu()
{
    CMenu columns;
    columns.AppendMenu(MF_STRING | MF_CHECKED, kLast, u"Last");
    columns.AppendMenu(MF_STRING, kChange, u"Change");
    CMenu menu;
    menu.AppendMenu(MF_STRING, kCopy, u"&Copy\tCtrl+C");
    menu.AppendMenu(MF_STRING | MF_CHECKED, kShown, u"Show grid lines");
    menu.AppendMenu(MF_STRING | MF_GRAYED, kGreyed, u"Reset columns");
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendPopup(std::move(columns), u"Columns");
    return menu;
}

QMenu* OpenMenu()
{
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

QAction* ActionNamed(QMenu& menu, const QString& text)
{
    for (QAction* action : menu.actions())
        if (action->text() == text)
            return action;
    return nullptr;
}

class Ticker final : public Window
{
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_TIMER && onTick)
            onTick(++ticks);
        return Window::WindowProc(message, wParam, lParam);
    }
    int ticks = 0;
    std::function<void(int)> onTick;
};

using MenuTest = qt_testing::QtTest;

TEST_F(MenuTest, ChosenCommandComesBackWhileTimersKeepFiring)
{
    const CMenu menu = MakeMenu();
    Ticker ticker;
    ticker.Create(CreateParams{.parent = HWND_MESSAGE});
    ticker.onTick = [](int tick)
    {
        if (tick != 3)
            return;
        QMenu* open = OpenMenu();
        ASSERT_NE(open, nullptr);
        QAction* shown = ActionNamed(*open, "Show grid lines");
        ASSERT_NE(shown, nullptr);
        EXPECT_TRUE(shown->isChecked());
        EXPECT_FALSE(ActionNamed(*open, "Reset columns")->isEnabled());
        qt_testing::SaveScreenshot(*open, "popup_menu");
        QTest::mouseClick(open, Qt::LeftButton, {}, open->actionGeometry(shown).center());
    };
    SetTimer(ticker.Handle(), 1, 5);
    EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD, 50, 50, ticker.Handle()), kShown);
    EXPECT_GE(ticker.ticks, 3);
}

TEST_F(MenuTest, GreyedItemsAndEscapeChooseNothing)
{
    const CMenu menu = MakeMenu();
    PostTask(
        []
        {
            QMenu* open = OpenMenu();
            ASSERT_NE(open, nullptr);
            QAction* greyed = ActionNamed(*open, "Reset columns");
            QTest::mouseClick(open, Qt::LeftButton, {}, open->actionGeometry(greyed).center());
            EXPECT_EQ(OpenMenu(), open); // still open
            QTest::keyClick(open, Qt::Key_Escape);
        });
    EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD, 50, 50, HWND{}), 0u);
}

TEST_F(MenuTest, SubmenuItemIsChosenThroughItsParent)
{
    const CMenu menu = MakeMenu();
    PostTask(
        []
        {
            QMenu* open = OpenMenu();
            ASSERT_NE(open, nullptr);
            QAction* columns = ActionNamed(*open, "Columns");
            ASSERT_NE(columns, nullptr);
            ASSERT_NE(columns->menu(), nullptr);
            QAction* change = ActionNamed(*columns->menu(), "Change");
            ASSERT_NE(change, nullptr);
            EXPECT_TRUE(ActionNamed(*columns->menu(), "Last")->isChecked());
            change->trigger();
        });
    EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD, 50, 50, HWND{}), kChange);
}

// A dialog whose system menu carries the program's two entries.
constexpr UINT kMenuDialog = 9102;
constexpr UINT kHelpCommand = 0x20;
constexpr UINT kAboutCommand = 0x10;

class MenuDialog final : public CDialogEx
{
public:
    MenuDialog() : CDialogEx(kMenuDialog) {}
    bool OnInitDialog() override
    {
        CDialogEx::OnInitDialog();
        CMenu* system = GetSystemMenu(false);
        system->AppendMenu(MF_SEPARATOR);
        system->AppendMenu(MF_STRING, kHelpCommand, u"Help...");
        system->AppendMenu(MF_STRING, kAboutCommand, u"&About Brindle...");
        return true;
    }
    void OnSysCommand(UINT id, LPARAM lParam) override
    {
        commands.push_back(id);
        CDialogEx::OnSysCommand(id, lParam);
    }
    std::vector<UINT> commands;
};

TEST_F(MenuTest, RightClickOnTheWindowOffersTheSystemMenuEntries)
{
    RegisterDialogTemplate(DialogTemplate{.id = kMenuDialog,
                                          .caption = u"Brindle",
                                          .width = 120,
                                          .height = 60,
                                          .style = WS_POPUP | WS_CAPTION | WS_SYSMENU |
                                                   WS_THICKFRAME | WS_MINIMIZEBOX |
                                                   WS_MAXIMIZEBOX});
    MenuDialog dialog;
    ASSERT_TRUE(dialog.CreateFromTemplate());
    QWidget* top = WidgetOf(dialog.Handle());
    ASSERT_NE(top, nullptr);
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(20, 20),
                            top->mapToGlobal(QPoint(20, 20)));
    QApplication::sendEvent(top, &click);
    PostTask(
        []
        {
            QMenu* open = OpenMenu();
            ASSERT_NE(open, nullptr);
            QAction* about = ActionNamed(*open, "&About Brindle...");
            ASSERT_NE(about, nullptr);
            ASSERT_NE(ActionNamed(*open, "Help..."), nullptr);
            qt_testing::SaveScreenshot(*open, "system_menu");
            QTest::mouseClick(open, Qt::LeftButton, {}, open->actionGeometry(about).center());
        });
    PumpWaitingMessages();
    ASSERT_EQ(dialog.commands.size(), 1u);
    EXPECT_EQ(dialog.commands[0], kAboutCommand);
    dialog.Destroy();
}

using ClipboardTest = qt_testing::QtTest;

TEST_F(ClipboardTest, UnicodeTextGoesBothWays)
{
    const std::u16string text = u"MSFT\t101.25\r\nZ\u00fcrich \u20ac";
    ASSERT_TRUE(SetClipboardText(text));
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdU16String(), text);
    QGuiApplication::clipboard()->setText(QString::fromUtf16(u"from Qt \u00e9"));
    EXPECT_EQ(GetClipboardText(), std::optional<std::u16string>(u"from Qt \u00e9"));
    ASSERT_TRUE(EmptyClipboard());
    EXPECT_EQ(GetClipboardText(), std::nullopt);
}

} // namespace
