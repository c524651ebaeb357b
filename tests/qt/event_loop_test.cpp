#include "qt_test_support.h"

#include "platform/ui/clock.h"
#include "platform/ui/message_box.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/ui_task.h"
#include "platform/ui/window.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <functional>
#include <thread>

using namespace platform;
using qt_testing::QtTest;

namespace
{

// Calls `onMessage` for every message after creation.
class ScriptedWindow final : public Window
{
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (onMessage)
            onMessage(message, wParam, lParam);
        return Window::WindowProc(message, wParam, lParam);
    }
    std::function<void(UINT, WPARAM, LPARAM)> onMessage;
};

using EventLoopTest = QtTest;

TEST_F(EventLoopTest, PostFromWorkerThreadWakesTheQtLoop)
{
    ScriptedWindow window;
    window.Create(CreateParams{.parent = HWND_MESSAGE});
    bool arrived = false;
    window.onMessage = [&](UINT message, WPARAM, LPARAM)
    {
        if (message == WM_APP + 5)
            arrived = true;
    };
    std::thread worker(
        [hwnd = window.Handle()]
        {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            PostMessage(hwnd, WM_APP + 5, 0, 0);
        });
    // Without a wake the Qt loop would sleep through the whole minute.
    const std::uint64_t start = CurrentClock().NowMs();
    RunMessageLoopUntil([&] { return arrived || CurrentClock().NowMs() - start > 60'000; });
    worker.join();
    EXPECT_TRUE(arrived);
    EXPECT_LT(CurrentClock().NowMs() - start, 30'000u);
}

TEST_F(EventLoopTest, LayerTimersAndQtEventsBothRunWhileTheLoopWaits)
{
    ScriptedWindow window;
    window.Create(CreateParams{.parent = HWND_MESSAGE});
    int ticks = 0;
    window.onMessage = [&](UINT message, WPARAM wParam, LPARAM)
    {
        if (message == WM_TIMER && wParam == 9)
            ++ticks;
    };
    bool qtRan = false;
    QTimer::singleShot(0, [&] { qtRan = true; });
    SetTimer(window.Handle(), 9, 5);
    RunMessageLoopUntil([&] { return ticks >= 3; });
    EXPECT_TRUE(qtRan);
    EXPECT_GE(ticks, 3);
}

TEST_F(EventLoopTest, MessageBoxLetsTimersFireAndReturnsTheButtonClicked)
{
    struct Case
    {
        UINT type;
        QMessageBox::StandardButton click;
        int expected;
        const char* picture;
    };
    const Case cases[] = {
        {MB_OK | MB_ICONINFORMATION, QMessageBox::Ok, IDOK, "message_box_ok"},
        {MB_OKCANCEL | MB_ICONWARNING, QMessageBox::Cancel, IDCANCEL, "message_box_ok_cancel"},
        {MB_YESNO | MB_ICONQUESTION, QMessageBox::No, IDNO, "message_box_yes_no"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.picture);
        ScriptedWindow window;
        window.Create(CreateParams{.parent = HWND_MESSAGE});
        int ticks = 0;
        window.onMessage = [&](UINT message, WPARAM, LPARAM)
        {
            if (message != WM_TIMER || ++ticks != 3)
                return;
            // The box is open and the timer still fires: answer it now.
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->text(), QString("Something & more happened."));
            qt_testing::SaveScreenshot(*box, c.picture);
            QTest::mouseClick(box->button(c.click), Qt::LeftButton);
        };
        SetTimer(window.Handle(), 1, 5);
        const int answer = MessageBox(HWND{}, u"Something & more happened.", u"Brindle", c.type);
        EXPECT_EQ(answer, c.expected);
        EXPECT_GE(ticks, 3);
    }
}

TEST_F(EventLoopTest, EscapeAnswersOkOrCancelAndNeverAYesNoBox)
{
    const std::pair<UINT, int> cases[] = {{MB_OK, IDOK}, {MB_OKCANCEL, IDCANCEL}};
    for (auto [type, expected] : cases)
    {
        PostTask(
            []
            {
                QWidget* box = QApplication::activeModalWidget();
                ASSERT_NE(box, nullptr);
                QTest::keyClick(box, Qt::Key_Escape);
            });
        EXPECT_EQ(MessageBox(HWND{}, u"text", u"caption", type), expected);
    }
    // Yes/No: Escape does nothing; the box waits for a button.
    PostTask(
        []
        {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            QTest::keyClick(box, Qt::Key_Escape);
            PostTask(
                [box]
                {
                    EXPECT_EQ(QApplication::activeModalWidget(), box);
                    QTest::mouseClick(box->button(QMessageBox::Yes), Qt::LeftButton);
                });
        });
    EXPECT_EQ(MessageBox(HWND{}, u"Delete it?", u"caption", MB_YESNO | MB_ICONQUESTION), IDYES);
}

} // namespace
