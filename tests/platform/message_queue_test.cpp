#include "platform/ui/clock.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/window.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

using namespace platform;

namespace
{

// Records every message it receives, in order.
class RecordingWindow : public Window
{
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message != WM_CREATE && message != WM_DESTROY)
            seen.push_back(MSG{Handle(), message, wParam, lParam});
        return Window::WindowProc(message, wParam, lParam);
    }
    std::vector<MSG> seen;
};

class MessageQueueTest : public ::testing::Test
{
protected:
    void SetUp() override { window.Create(CreateParams{.parent = HWND_MESSAGE}); }
    void TearDown() override
    {
        window.Destroy();
        other.Destroy();
    }

    ManualClock clock;
    ScopedClock useClock{clock};
    RecordingWindow window;
    RecordingWindow other;
};

TEST_F(MessageQueueTest, TimerComesAfterPostedMessages)
{
    SetTimer(window.Handle(), 7, 10);
    clock.Advance(50);
    PostMessage(window.Handle(), WM_APP + 1, 1, 0);
    PostMessage(window.Handle(), WM_APP + 2, 2, 0);
    PumpWaitingMessages();
    ASSERT_EQ(window.seen.size(), 3u);
    EXPECT_EQ(window.seen[0].message, WM_APP + 1);
    EXPECT_EQ(window.seen[1].message, WM_APP + 2);
    EXPECT_EQ(window.seen[2].message, WM_TIMER);
    EXPECT_EQ(window.seen[2].wParam, 7u);
}

TEST_F(MessageQueueTest, LateTimerFiresOnceNotOncePerMissedPeriod)
{
    SetTimer(window.Handle(), 1, 100);
    clock.Advance(1000);
    PumpWaitingMessages();
    EXPECT_EQ(window.seen.size(), 1u);
    clock.Advance(99);
    PumpWaitingMessages();
    EXPECT_EQ(window.seen.size(), 1u);
    clock.Advance(1);
    PumpWaitingMessages();
    EXPECT_EQ(window.seen.size(), 2u);
}

TEST_F(MessageQueueTest, KilledTimerNeverFiresEvenWhenAlreadyDue)
{
    SetTimer(window.Handle(), 3, 10);
    clock.Advance(20);
    EXPECT_TRUE(KillTimer(window.Handle(), 3));
    PumpWaitingMessages();
    EXPECT_TRUE(window.seen.empty());
    EXPECT_FALSE(KillTimer(window.Handle(), 3));
}

TEST_F(MessageQueueTest, SettingTimerAgainRestartsItsPeriod)
{
    SetTimer(window.Handle(), 30, 100);
    clock.Advance(90);
    SetTimer(window.Handle(), 30, 100);
    clock.Advance(90);
    PumpWaitingMessages();
    EXPECT_TRUE(window.seen.empty());
    clock.Advance(10);
    PumpWaitingMessages();
    EXPECT_EQ(window.seen.size(), 1u);
}

TEST_F(MessageQueueTest, TimersOfDestroyedWindowAreGone)
{
    other.Create(CreateParams{.parent = HWND_MESSAGE});
    const HWND gone = other.Handle();
    SetTimer(gone, 1, 10);
    PostMessage(gone, WM_APP, 0, 0);
    other.Destroy();
    clock.Advance(100);
    PumpWaitingMessages();
    EXPECT_TRUE(other.seen.empty());
    EXPECT_FALSE(PostMessage(gone, WM_APP, 0, 0));
}

TEST_F(MessageQueueTest, WaitForInputReturnsWhenTimerFallsDue)
{
    SetTimer(window.Handle(), 1, 40);
    const auto start = clock.NowMs();
    EXPECT_TRUE(MsgWaitForInput(1000));
    EXPECT_EQ(clock.NowMs() - start, 40u);
    EXPECT_FALSE(window.seen.size());
    KillTimer(window.Handle(), 1);
    EXPECT_FALSE(MsgWaitForInput(25));
}

TEST_F(MessageQueueTest, NestedLoopDispatchesOtherWindowsTimersAndPosts)
{
    other.Create(CreateParams{.parent = HWND_MESSAGE});
    SetTimer(other.Handle(), 5, 20);
    PostMessage(other.Handle(), WM_APP + 9, 0, 0);
    int ticks = 0;
    // The loop ends from inside a dispatched timer message of another window.
    RunMessageLoopUntil(
        [&]
        {
            ticks =
                static_cast<int>(std::count_if(other.seen.begin(), other.seen.end(),
                                               [](const MSG& m) { return m.message == WM_TIMER; }));
            return ticks >= 3;
        });
    ASSERT_GE(other.seen.size(), 4u);
    EXPECT_EQ(other.seen[0].message, WM_APP + 9);
    EXPECT_EQ(ticks, 3);
}

TEST_F(MessageQueueTest, TickCountWrapsAt32Bits)
{
    clock.SetNowMs(0x1'0000'0005ull);
    EXPECT_EQ(GetTickCount(), 5u);
}

TEST(MessageQueueThreads, NotifySendFromWorkerArrivesOnOwnerThreadInOrder)
{
    RecordingWindow window;
    window.Create(CreateParams{.parent = HWND_MESSAGE});
    const HWND target = window.Handle();
    constexpr int kCount = 500;
    std::thread worker(
        [target]
        {
            for (int i = 0; i < kCount; ++i)
                SendNotifyMessage(target, WM_APP + 0x30, static_cast<WPARAM>(i), 0);
        });
    while (window.seen.size() < static_cast<size_t>(kCount))
        if (!PumpOneMessage())
            MsgWaitForInput(100);
    worker.join();
    for (int i = 0; i < kCount; ++i)
        ASSERT_EQ(window.seen[static_cast<size_t>(i)].wParam, static_cast<WPARAM>(i));
}

TEST(MessageQueueThreads, NotifySendOnOwnerThreadRunsAtOnce)
{
    RecordingWindow window;
    window.Create(CreateParams{.parent = HWND_MESSAGE});
    SendNotifyMessage(window.Handle(), WM_APP, 4, 0);
    ASSERT_EQ(window.seen.size(), 1u);
    EXPECT_EQ(window.seen[0].wParam, 4u);
}

TEST(MessageQueueThreads, PostFromWorkerWakesWaitingThread)
{
    RecordingWindow window;
    window.Create(CreateParams{.parent = HWND_MESSAGE});
    std::thread worker([target = window.Handle()] { PostMessage(target, WM_APP, 1, 0); });
    EXPECT_TRUE(MsgWaitForInput(10'000));
    worker.join();
    PumpWaitingMessages();
    EXPECT_EQ(window.seen.size(), 1u);
}

LRESULT CALLBACK_Proc(HWND hwnd, UINT message, WPARAM, LPARAM)
{
    // Destroys its own window from inside its procedure.
    if (message == WM_APP)
        DestroyWindow(hwnd);
    return 0;
}

TEST(ClassWindows, ProcedureMayDestroyItsOwnWindow)
{
    RegisterWindowClass(u"test_self_destroy", CALLBACK_Proc);
    EXPECT_FALSE(RegisterWindowClass(u"test_self_destroy", CALLBACK_Proc));
    const HWND hwnd =
        CreateWindowOfClass(u"test_self_destroy", CreateParams{.parent = HWND_MESSAGE});
    ASSERT_TRUE(hwnd);
    SetWindowLongPtr(hwnd, GWLP_USERDATA, 42);
    EXPECT_EQ(GetWindowLongPtr(hwnd, GWLP_USERDATA), 42);
    PostMessage(hwnd, WM_APP, 0, 0);
    PumpWaitingMessages();
    EXPECT_FALSE(IsWindow(hwnd));
}

} // namespace
