// The one lock of the HTTP engine and the buffer it guards: the body bytes a
// transfer thread has received and the owner has not taken yet.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>

namespace inner
{

// Owns one critical section for the life of the object.
class AutoCritSec
{
public:
    AutoCritSec() = default;
    virtual ~AutoCritSec() = default;
    AutoCritSec(const AutoCritSec&) = delete;
    AutoCritSec& operator=(const AutoCritSec&) = delete;

    // Lockable, for std::lock_guard.
    void lock() { section.lock(); }
    void unlock() { section.unlock(); }

private:
    std::mutex section;
};

class ReceiveBuffer : public AutoCritSec
{
public:
    ReceiveBuffer() = default;
    ~ReceiveBuffer() override = default;

    // Transfer thread: counts the bytes first, then appends them.
    void Append(const char* data, std::size_t count);

    // Any thread: the bytes received so far; the buffer is left empty.
    std::string Take();

    // Body bytes read so far, whether taken or not.
    std::atomic<std::int32_t> bytesReceived{0};

private:
    std::string body;
};

} // namespace inner
