// The message queue of a user-interface thread: messages posted from any
// thread, messages notify-sent from other threads, and the timers of the
// thread's windows. Retrieval follows the Windows order: messages sent from
// other threads are dispatched first, then posted messages come in order,
// and a timer message is generated only when nothing else is waiting.
#pragma once

#include "platform/ui/win_types.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace platform
{

class ThreadQueue;

// How a thread waits for input. The headless backend waits on the queue
// itself; the Qt backend runs Qt's event loop while it waits, so that the
// screen stays alive, and wakes it when a message arrives.
class EventPump
{
public:
    virtual ~EventPump() = default;
    // Waits at most `ms` milliseconds, returning early once
    // queue.HasInput() is true. Called on the queue's thread.
    virtual void Wait(ThreadQueue& queue, std::uint32_t ms) = 0;
    // Called from any thread after a message was added.
    virtual void Wake() = 0;
};

inline constexpr std::uint32_t INFINITE = 0xFFFFFFFFu;

class ThreadQueue
{
public:
    // The queue of the calling thread, made on first use.
    static std::shared_ptr<ThreadQueue> ForCurrentThread();

    std::thread::id Owner() const { return owner; }
    bool IsOwnerThread() const { return std::this_thread::get_id() == owner; }

    // Any thread.
    void Post(const MSG& msg);
    void SendNotify(const MSG& msg);

    // Owner thread. Dispatches the messages sent from other threads, then
    // fills `msg` with the next posted message or due timer. False when
    // nothing is waiting.
    bool Peek(MSG& msg, bool remove);

    // Owner thread. Waits until input is waiting or `ms` pass; true when
    // input is waiting. A timer falling due counts as input.
    bool WaitForInput(std::uint32_t ms);

    // True when a message or a due timer is waiting.
    bool HasInput();

    // Timers of windows of this thread.
    void SetTimer(HWND hwnd, UINT_PTR id, UINT ms);
    bool KillTimer(HWND hwnd, UINT_PTR id);
    void KillTimersOf(HWND hwnd);
    bool HasTimer(HWND hwnd, UINT_PTR id);

    // Drops the messages still queued for a window that is going away.
    void RemoveMessagesOf(HWND hwnd);

    // Puts a pump in place for this thread (nullptr: the headless wait).
    void SetPump(EventPump* newPump);

    ThreadQueue() : owner(std::this_thread::get_id()) {}

private:
    struct Timer
    {
        HWND hwnd;
        UINT_PTR id;
        UINT intervalMs;
        std::uint64_t dueMs;
    };

    bool HasInputLocked(std::uint64_t now) const;
    std::optional<std::uint64_t> NextTimerDueLocked() const;
    void DispatchSentMessages();
    void Notify();

    const std::thread::id owner;
    std::mutex mutex;
    std::condition_variable arrived;
    std::deque<MSG> sent;
    std::deque<MSG> posted;
    std::vector<Timer> timers;
    EventPump* pump = nullptr;
};

// Free functions in the manner of the Windows API; they find the queue of
// the window's thread themselves.

// Any thread. False when the window does not exist.
bool PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Any thread. On the window's own thread the procedure runs at once;
// from another thread the message is queued and the caller does not wait.
bool SendNotifyMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Window's own thread: runs the procedure and returns its result (0 for a
// window that does not exist).
LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Owner thread of the window. Setting an existing id restarts its period.
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT ms);
bool KillTimer(HWND hwnd, UINT_PTR id);

bool PeekMessage(MSG& msg, bool remove);
// Waits for the next message. Never returns false: there is no quit message.
bool GetMessage(MSG& msg);
LRESULT DispatchMessage(const MSG& msg);

// Gives the target window and its ancestors the chance to handle a message
// before it is dispatched (dialog keys). True when one of them took it.
bool PreTranslateMessage(const MSG& msg);

// Retrieves, pre-translates and dispatches one waiting message; false when
// none was waiting.
bool PumpOneMessage();

// Dispatches every message that is waiting now.
void PumpWaitingMessages();

// Waits for input with a time-out; true when input arrived.
bool MsgWaitForInput(std::uint32_t ms);

// A nested message loop: dispatches every message of the thread until
// `done` returns true (checked before each wait).
void RunMessageLoopUntil(const std::function<bool()>& done);

} // namespace platform
