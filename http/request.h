// One request of the HTTP engine: the caller's options, the parts of its
// URL, its own client handles, a connect thread and then a transfer thread,
// the response status and length, and the guarded receive buffer.
//
// Workers hold the request by shared ownership, so a worker that outlives
// the manager's wait (and is abandoned) never touches freed memory; the
// manager's Destroy() releases what belongs to the user-interface thread.
#pragma once

#include "http/receive_buffer.h"
#include "http/request_options.h"

#include "platform/ui/win_types.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

namespace platform
{
class WorkerThread;
}
namespace platform::inet
{
class Session;
class Connection;
class Request;
} // namespace platform::inet

// The event message a request sends to the manager's window: wParam is the
// request id, lParam one of the events below.
inline constexpr platform::UINT WM_HTTP_EVENT = 0x8030; // WM_APP + 0x30
inline constexpr platform::LPARAM HTTP_EVENT_CONNECTED = 0;
inline constexpr platform::LPARAM HTTP_EVENT_SENT = 1;
inline constexpr platform::LPARAM HTTP_EVENT_FINISHED = 2;

class HttpRequest : public std::enable_shared_from_this<HttpRequest>
{
public:
    // Builds the request and starts its connect thread and time-out timer
    // (user-interface thread, by the manager only).
    static std::shared_ptr<HttpRequest> Create(std::int32_t requestId, platform::HWND notifyWindow,
                                               const HttpRequestOptions& options);
    virtual ~HttpRequest();
    HttpRequest(const HttpRequest&) = delete;
    HttpRequest& operator=(const HttpRequest&) = delete;

    // Event 0: opens the HTTP request and starts the transfer thread.
    void Open();
    // Event 1: fills statusCode and contentLength.
    void ReadResponseInfo();
    // Cuts short the live worker by closing the handle it is blocked on and
    // returns that worker; null when none is running.
    std::shared_ptr<platform::WorkerThread> StopWorker();
    // The body bytes received so far; the buffer is left empty.
    std::string TakeReceived() { return receiveBuffer.Take(); }
    std::int32_t BytesReceived() const { return receiveBuffer.bytesReceived.load(); }

    // Event 0 handled: the manager lets go of the connect thread.
    void ReleaseConnectThread() { connectThread.reset(); }
    // True while a worker thread of the request is still running.
    bool HasLiveWorker() const;
    // The end of the request's life on the user-interface thread: kills its
    // timer, closes its handles and lets go of its threads.
    void Destroy();

    const std::int32_t requestId;
    const platform::HWND notifyWindow;
    HttpRequestOptions options;
    int scheme = 0; // 4 https, 3 http, 0 when the URL could not be cracked
    std::u16string hostName;
    std::u16string objectPath;   // path with query
    std::int32_t statusCode = 0; // user-interface thread only
    std::int32_t contentLength = 0;
    std::atomic<bool> readCompleted{false}; // set by the transfer thread before event 2
    inner::ReceiveBuffer receiveBuffer;

private:
    HttpRequest(std::int32_t requestId, platform::HWND notifyWindow,
                const HttpRequestOptions& options);
    void Start();
    void RunConnect(std::shared_ptr<platform::inet::Session> session);
    void RunTransfer(std::shared_ptr<platform::inet::Request> request);

    std::shared_ptr<platform::inet::Session> internetHandle;
    std::shared_ptr<platform::inet::Connection> connectHandle; // written by the connect thread
    std::shared_ptr<platform::inet::Request> requestHandle;
    std::shared_ptr<platform::WorkerThread> connectThread;
    std::shared_ptr<platform::WorkerThread> transferThread;
};
