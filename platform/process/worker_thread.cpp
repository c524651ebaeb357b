#include "platform/process/worker_thread.h"

#include <chrono>
#include <thread>

namespace platform
{

std::shared_ptr<WorkerThread> WorkerThread::Start(std::function<void()> body)
{
    std::shared_ptr<WorkerThread> worker(new WorkerThread());
    // The thread holds only the shared state and its own body, so it may
    // outlive the WorkerThread object safely.
    std::thread(
        [state = worker->state, body = std::move(body)]
        {
            body();
            std::lock_guard lock(state->mutex);
            state->finished = true;
            state->done.notify_all();
        })
        .detach();
    return worker;
}

WorkerThread::~WorkerThread() = default;

bool WorkerThread::Finished() const
{
    std::lock_guard lock(state->mutex);
    return state->finished;
}

bool WorkerThread::Wait(std::uint32_t ms) const
{
    std::unique_lock lock(state->mutex);
    return state->done.wait_for(lock, std::chrono::milliseconds(ms),
                                [this] { return state->finished; });
}

void WorkerThread::Abandon()
{
    // The thread is detached from the start; abandoning it only means that
    // nobody waits for it any more.
}

bool WaitForAll(const std::vector<std::shared_ptr<WorkerThread>>& threads, std::uint32_t ms)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (const auto& thread : threads)
    {
        const auto now = std::chrono::steady_clock::now();
        const auto left =
            now < deadline ? std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now)
                           : std::chrono::milliseconds(0);
        if (!thread->Wait(static_cast<std::uint32_t>(left.count())))
            return false;
    }
    return true;
}

} // namespace platform
