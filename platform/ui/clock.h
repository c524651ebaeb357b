// Where the window layer gets its time from. The message loop asks the
// current clock for the millisecond count and lets it do the waiting, so a
// test can put a ManualClock in place and run timers without real time
// passing and without threads.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <ctime>
#include <mutex>

namespace platform
{

class Clock
{
public:
    virtual ~Clock() = default;

    // Milliseconds on a monotonic scale; only differences matter.
    virtual std::uint64_t NowMs() = 0;

    // Seconds since 1970-01-01 UTC, as time() gives them.
    virtual std::time_t WallTime() = 0;

    // Waits on `cv` (whose mutex `lock` holds) for at most `ms`
    // milliseconds or until notified; spurious returns are allowed.
    virtual void WaitFor(std::condition_variable& cv, std::unique_lock<std::mutex>& lock,
                         std::uint32_t ms) = 0;
};

// The real clock: steady time, real waits.
class SystemClock final : public Clock
{
public:
    std::uint64_t NowMs() override;
    std::time_t WallTime() override;
    void WaitFor(std::condition_variable& cv, std::unique_lock<std::mutex>& lock,
                 std::uint32_t ms) override;
};

// A clock that moves only when told to. A wait does not block: it moves
// the clock forward by the time asked for, as if nothing had come.
class ManualClock final : public Clock
{
public:
    explicit ManualClock(std::uint64_t startMs = 1'000'000, std::time_t wallStart = 1'600'000'000)
        : nowMs(startMs), wallStartMs(startMs), wallStart(wallStart)
    {
    }

    std::uint64_t NowMs() override { return nowMs; }
    std::time_t WallTime() override
    {
        return wallStart + static_cast<std::time_t>((nowMs - wallStartMs) / 1000);
    }
    void WaitFor(std::condition_variable&, std::unique_lock<std::mutex>&, std::uint32_t ms) override
    {
        nowMs += ms;
    }

    void Advance(std::uint64_t ms) { nowMs += ms; }
    void SetNowMs(std::uint64_t ms) { nowMs = ms; }

private:
    std::uint64_t nowMs;
    std::uint64_t wallStartMs;
    std::time_t wallStart;
};

// The clock in use; the system clock unless a test has put another in place.
Clock& CurrentClock();

// Puts `clock` in place (nullptr restores the system clock). The caller
// keeps it alive while it is in place.
void SetClock(Clock* clock);

// The 32-bit millisecond tick count; it wraps after about 49.7 days.
std::uint32_t GetTickCount();

// RAII: a clock in place for the life of the object.
class ScopedClock
{
public:
    explicit ScopedClock(Clock& clock) { SetClock(&clock); }
    ~ScopedClock() { SetClock(nullptr); }
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;
};

} // namespace platform
