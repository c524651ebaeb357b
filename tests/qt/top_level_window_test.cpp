#include "qt_test_support.h"

#include "platform/qt/window_mirror.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/window.h"

#include <QTest>
#include <QWidget>

#include <vector>

using namespace platform;
using qt_testing::QtTest;

namespace
{

class RecordingWindow final : public Window
{
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        seen.push_back(message);
        if (message == WM_KEYDOWN || message == WM_CHAR)
            keys.push_back(MSG{Handle(), message, wParam, lParam});
        if (message == WM_CLOSE)
            return 0; // the test decides when to close
        return Window::WindowProc(message, wParam, lParam);
    }
    std::vector<UINT> seen;
    std::vector<MSG> keys;
};

constexpr DWORD kMainStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX |
                             WS_MAXIMIZEBOX | WS_VISIBLE;

using TopLevelWindowTest = QtTest;

TEST_F(TopLevelWindowTest, WidgetFollowsCaptionRectAndVisibility)
{
    RecordingWindow window;
    window.Create(
        CreateParams{.text = u"Brindle", .style = kMainStyle, .rect = RECT{40, 30, 340, 230}});
    QWidget* widget = WidgetOf(window.Handle());
    ASSERT_NE(widget, nullptr);
    EXPECT_TRUE(widget->isWindow());
    EXPECT_TRUE(widget->isVisible());
    EXPECT_EQ(widget->windowTitle(), QString("Brindle"));
    EXPECT_EQ(widget->geometry(), QRect(40, 30, 300, 200));
    EXPECT_TRUE(widget->windowFlags() & Qt::WindowMaximizeButtonHint);

    window.SetWindowText(u"Brindle \u00e9");
    EXPECT_EQ(widget->windowTitle(), QString::fromUtf16(u"Brindle \u00e9"));
    window.MoveWindow(RECT{10, 20, 410, 320});
    EXPECT_EQ(widget->geometry(), QRect(10, 20, 400, 300));
    window.ShowWindow(false);
    EXPECT_FALSE(widget->isVisible());
    window.ShowWindow(true);
    EXPECT_TRUE(widget->isVisible());
    qt_testing::SaveScreenshot(*widget, "top_level_window");

    window.Destroy();
    EXPECT_EQ(WidgetOf(window.Handle()), nullptr);
}

TEST_F(TopLevelWindowTest, UserResizeReachesTheLayerWithSizeMessage)
{
    RecordingWindow window;
    window.Create(
        CreateParams{.text = u"Resizable", .style = kMainStyle, .rect = RECT{0, 0, 300, 200}});
    QWidget* widget = WidgetOf(window.Handle());
    ASSERT_NE(widget, nullptr);
    window.seen.clear();
    widget->resize(500, 260);
    EXPECT_EQ(window.GetWindowRect().Width(), 500);
    EXPECT_EQ(window.GetWindowRect().Height(), 260);
    EXPECT_NE(std::find(window.seen.begin(), window.seen.end(), WM_SIZE), window.seen.end());
}

TEST_F(TopLevelWindowTest, CloseBoxPostsCloseAndLeavesTheDecisionToTheLayer)
{
    RecordingWindow window;
    window.Create(
        CreateParams{.text = u"Closable", .style = kMainStyle, .rect = RECT{0, 0, 200, 100}});
    QWidget* widget = WidgetOf(window.Handle());
    ASSERT_NE(widget, nullptr);
    widget->close();
    PumpWaitingMessages();
    EXPECT_NE(std::find(window.seen.begin(), window.seen.end(), WM_CLOSE), window.seen.end());
    EXPECT_TRUE(widget->isVisible()); // the layer kept it open

    // A disabled window (the owner of a modal dialog) takes no close at all.
    window.seen.clear();
    window.EnableWindow(false);
    widget->close();
    PumpWaitingMessages();
    EXPECT_EQ(std::find(window.seen.begin(), window.seen.end(), WM_CLOSE), window.seen.end());
}

TEST_F(TopLevelWindowTest, KeysGoToTheLayerAsKeyAndCharacterMessages)
{
    RecordingWindow window;
    window.Create(CreateParams{.text = u"Keys", .style = kMainStyle, .rect = RECT{0, 0, 200, 100}});
    QWidget* widget = WidgetOf(window.Handle());
    ASSERT_NE(widget, nullptr);
    QTest::keyClick(widget, Qt::Key_Escape);
    QTest::keyClick(widget, Qt::Key_A);
    PumpWaitingMessages();
    const std::vector<MSG>& keys = window.keys;
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(keys[0].message, WM_KEYDOWN);
    EXPECT_EQ(keys[0].wParam, 0x1Bu);
    EXPECT_EQ(keys[1].message, WM_KEYDOWN);
    EXPECT_EQ(keys[1].wParam, static_cast<WPARAM>('A'));
    EXPECT_EQ(keys[2].message, WM_CHAR);
    EXPECT_EQ(keys[2].wParam, static_cast<WPARAM>('a'));
}

TEST_F(TopLevelWindowTest, MinimiseAndMaximiseFollowTheStyleBits)
{
    RecordingWindow window;
    window.Create(
        CreateParams{.text = u"States", .style = kMainStyle, .rect = RECT{0, 0, 300, 200}});
    QWidget* widget = WidgetOf(window.Handle());
    ASSERT_NE(widget, nullptr);
    window.ModifyStyle(0, WS_MAXIMIZE);
    EXPECT_TRUE(widget->windowState() & Qt::WindowMaximized);
    window.ModifyStyle(WS_MAXIMIZE, 0);
    EXPECT_FALSE(widget->windowState() & Qt::WindowMaximized);
    // The user maximises: the layer learns the state.
    widget->showMaximized();
    EXPECT_TRUE(window.GetStyle() & WS_MAXIMIZE);
    widget->showNormal();
    EXPECT_FALSE(window.GetStyle() & WS_MAXIMIZE);
}

} // namespace
