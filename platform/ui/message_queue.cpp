#include "platform/ui/message_queue.h"

#include "platform/ui/clock.h"
#include "platform/ui/messages.h"
#include "platform/ui/window.h"
#include "platform/ui/window_internal.h"

#include <algorithm>

namespace platform
{

std::shared_ptr<ThreadQueue> ThreadQueue::ForCurrentThread()
{
    thread_local std::shared_ptr<ThreadQueue> queue = std::make_shared<ThreadQueue>();
    return queue;
}

void ThreadQueue::Notify()
{
    arrived.notify_all();
    EventPump* current;
    {
        std::lock_guard lock(mutex);
        current = pump;
    }
    if (current)
        current->Wake();
}

void ThreadQueue::Post(const MSG& msg)
{
    {
        std::lock_guard lock(mutex);
        posted.push_back(msg);
    }
    Notify();
}

void ThreadQueue::SendNotify(const MSG& msg)
{
    {
        std::lock_guard lock(mutex);
        sent.push_back(msg);
    }
    Notify();
}

void ThreadQueue::DispatchSentMessages()
{
    for (;;)
    {
        MSG msg;
        {
            std::lock_guard lock(mutex);
            if (sent.empty())
                return;
            msg = sent.front();
            sent.pop_front();
        }
        if (Window* window = FromHandle(msg.hwnd))
            window->WindowProc(msg.message, msg.wParam, msg.lParam);
    }
}

bool ThreadQueue::Peek(MSG& msg, bool remove)
{
    DispatchSentMessages();
    std::lock_guard lock(mutex);
    if (!posted.empty())
    {
        msg = posted.front();
        if (remove)
            posted.pop_front();
        return true;
    }
    const std::uint64_t now = CurrentClock().NowMs();
    Timer* due = nullptr;
    for (Timer& timer : timers)
        if (timer.dueMs <= now && (!due || timer.dueMs < due->dueMs))
            due = &timer;
    if (!due)
        return false;
    msg = MSG{due->hwnd, WM_TIMER, due->id, 0};
    if (remove)
        due->dueMs = now + due->intervalMs;
    return true;
}

bool ThreadQueue::HasInputLocked(std::uint64_t now) const
{
    if (!sent.empty() || !posted.empty())
        return true;
    return std::any_of(timers.begin(), timers.end(),
                       [now](const Timer& timer) { return timer.dueMs <= now; });
}

bool ThreadQueue::HasInput()
{
    const std::uint64_t now = CurrentClock().NowMs();
    std::lock_guard lock(mutex);
    return HasInputLocked(now);
}

std::optional<std::uint64_t> ThreadQueue::NextTimerDueLocked() const
{
    std::optional<std::uint64_t> next;
    for (const Timer& timer : timers)
        if (!next || timer.dueMs < *next)
            next = timer.dueMs;
    return next;
}

bool ThreadQueue::WaitForInput(std::uint32_t ms)
{
    Clock& clock = CurrentClock();
    const std::uint64_t start = clock.NowMs();
    for (;;)
    {
        const std::uint64_t now = clock.NowMs();
        std::unique_lock lock(mutex);
        if (HasInputLocked(now))
            return true;
        const std::uint64_t elapsed = now - start;
        if (ms != INFINITE && elapsed >= ms)
            return false;
        std::uint64_t wait = ms == INFINITE ? INFINITE : ms - elapsed;
        if (auto due = NextTimerDueLocked())
            wait = std::min(wait, *due - now); // due > now: no timer is due yet
        if (pump)
        {
            EventPump* current = pump;
            lock.unlock();
            current->Wait(*this, static_cast<std::uint32_t>(wait));
        }
        else
        {
            clock.WaitFor(arrived, lock, static_cast<std::uint32_t>(wait));
        }
    }
}

void ThreadQueue::SetTimer(HWND hwnd, UINT_PTR id, UINT ms)
{
    const std::uint64_t due = CurrentClock().NowMs() + ms;
    {
        std::lock_guard lock(mutex);
        auto it =
            std::find_if(timers.begin(), timers.end(),
                         [&](const Timer& timer) { return timer.hwnd == hwnd && timer.id == id; });
        if (it != timers.end())
        {
            it->intervalMs = ms;
            it->dueMs = due;
        }
        else
        {
            timers.push_back(Timer{hwnd, id, ms, due});
        }
    }
    Notify();
}

bool ThreadQueue::KillTimer(HWND hwnd, UINT_PTR id)
{
    std::lock_guard lock(mutex);
    auto it =
        std::find_if(timers.begin(), timers.end(),
                     [&](const Timer& timer) { return timer.hwnd == hwnd && timer.id == id; });
    if (it == timers.end())
        return false;
    timers.erase(it);
    return true;
}

bool ThreadQueue::HasTimer(HWND hwnd, UINT_PTR id)
{
    std::lock_guard lock(mutex);
    return std::any_of(timers.begin(), timers.end(),
                       [&](const Timer& timer) { return timer.hwnd == hwnd && timer.id == id; });
}

void ThreadQueue::KillTimersOf(HWND hwnd)
{
    std::lock_guard lock(mutex);
    std::erase_if(timers, [hwnd](const Timer& timer) { return timer.hwnd == hwnd; });
}

void ThreadQueue::RemoveMessagesOf(HWND hwnd)
{
    std::lock_guard lock(mutex);
    std::erase_if(posted, [hwnd](const MSG& msg) { return msg.hwnd == hwnd; });
    std::erase_if(sent, [hwnd](const MSG& msg) { return msg.hwnd == hwnd; });
}

void ThreadQueue::SetPump(EventPump* newPump)
{
    std::lock_guard lock(mutex);
    pump = newPump;
}

// ---- Free functions --------------------------------------------------------

bool PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    std::shared_ptr<ThreadQueue> queue = QueueOf(hwnd);
    if (!queue)
        return false;
    queue->Post(MSG{hwnd, message, wParam, lParam});
    return true;
}

bool SendNotifyMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    std::shared_ptr<ThreadQueue> queue = QueueOf(hwnd);
    if (!queue)
        return false;
    if (queue->IsOwnerThread())
    {
        if (Window* window = FromHandle(hwnd))
            window->WindowProc(message, wParam, lParam);
        return true;
    }
    queue->SendNotify(MSG{hwnd, message, wParam, lParam});
    return true;
}

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window* window = FromHandle(hwnd);
    return window ? window->WindowProc(message, wParam, lParam) : 0;
}

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT ms)
{
    std::shared_ptr<ThreadQueue> queue = QueueOf(hwnd);
    if (!queue)
        return 0;
    queue->SetTimer(hwnd, id, ms);
    return id;
}

bool KillTimer(HWND hwnd, UINT_PTR id)
{
    std::shared_ptr<ThreadQueue> queue = QueueOf(hwnd);
    return queue && queue->KillTimer(hwnd, id);
}

bool PeekMessage(MSG& msg, bool remove)
{
    return ThreadQueue::ForCurrentThread()->Peek(msg, remove);
}

bool GetMessage(MSG& msg)
{
    ThreadQueue& queue = *ThreadQueue::ForCurrentThread();
    while (!queue.Peek(msg, true))
        queue.WaitForInput(INFINITE);
    return true;
}

namespace
{
thread_local int dispatchDepth = 0;
thread_local std::vector<std::unique_ptr<Window>> graveyard;
} // namespace

void BuryWindow(std::unique_ptr<Window> window)
{
    if (dispatchDepth == 0)
        window.reset();
    else
        graveyard.push_back(std::move(window));
}

LRESULT DispatchMessage(const MSG& msg)
{
    Window* window = FromHandle(msg.hwnd);
    if (!window)
        return 0;
    ++dispatchDepth;
    const LRESULT result = window->WindowProc(msg.message, msg.wParam, msg.lParam);
    if (--dispatchDepth == 0)
        graveyard.clear();
    return result;
}

bool PreTranslateMessage(const MSG& msg)
{
    for (HWND hwnd = msg.hwnd; hwnd && hwnd != HWND_MESSAGE;)
    {
        Window* window = FromHandle(hwnd);
        if (!window)
            return false;
        if (window->PreTranslateMessage(msg))
            return true;
        hwnd = window->GetParent();
    }
    return false;
}

bool PumpOneMessage()
{
    MSG msg;
    if (!PeekMessage(msg, true))
        return false;
    if (!PreTranslateMessage(msg))
        DispatchMessage(msg);
    return true;
}

void PumpWaitingMessages()
{
    while (PumpOneMessage())
    {
    }
}

bool MsgWaitForInput(std::uint32_t ms)
{
    return ThreadQueue::ForCurrentThread()->WaitForInput(ms);
}

void RunMessageLoopUntil(const std::function<bool()>& done)
{
    ThreadQueue& queue = *ThreadQueue::ForCurrentThread();
    while (!done())
    {
        if (!PumpOneMessage())
            queue.WaitForInput(INFINITE);
    }
}

} // namespace platform
