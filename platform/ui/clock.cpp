#include "platform/ui/clock.h"

#include <atomic>
#include <chrono>

namespace platform
{

std::uint64_t SystemClock::NowMs()
{
    using namespace std::chrono;
    return static_cast<std::uint64_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

std::time_t SystemClock::WallTime()
{
    return std::time(nullptr);
}

void SystemClock::WaitFor(std::condition_variable& cv, std::unique_lock<std::mutex>& lock,
                          std::uint32_t ms)
{
    cv.wait_for(lock, std::chrono::milliseconds(ms));
}

namespace
{
SystemClock systemClock;
std::atomic<Clock*> currentClock{&systemClock};
} // namespace

Clock& CurrentClock()
{
    return *currentClock.load(std::memory_order_acquire);
}

void SetClock(Clock* clock)
{
    currentClock.store(clock ? clock : &systemClock, std::memory_order_release);
}

std::uint32_t GetTickCount()
{
    return static_cast<std::uint32_t>(CurrentClock().NowMs());
}

} // namespace platform
