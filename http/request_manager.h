// The HTTP request engine: runs any number of requests at once on worker
// threads and reports their events on the user-interface thread, through a
// hidden message-only window, to three virtual callbacks. A request that has
// finished, timed out or been deleted waits in closingRequests until its
// workers have ended and is destroyed by the pump timer.
#pragma once

#include "http/request.h"
#include "http/request_options.h"

#include "platform/ui/win_types.h"

#include <cstdint>
#include <deque>
#include <memory>

class HttpRequestManager
{
public:
    HttpRequestManager();
    // Teardown: waits at most shutdownWaitMs in total for live workers, then
    // abandons the rest, and destroys every request.
    virtual ~HttpRequestManager();
    HttpRequestManager(const HttpRequestManager&) = delete;
    HttpRequestManager& operator=(const HttpRequestManager&) = delete;

    // The request has been sent and its status and headers read.
    virtual void OnResponseHeaders(HttpRequest& request);
    // The body read has ended, normally or by failure.
    virtual void OnRequestFinished(HttpRequest& request);
    // The request's own time-out ran out while it was still running.
    virtual void OnRequestTimeout(HttpRequest& request);

    // Starts a request; returns its id (100, 101, ... never reused).
    std::int32_t AddRequest(const HttpRequestOptions& options);
    // Stops a running request and parks it for destruction; also from a
    // callback for the request it was given. Unknown ids do nothing.
    void DeleteRequest(std::int32_t id);
    // The running request with that id, or null.
    HttpRequest* FindRequest(std::int32_t id);
    // Destroys the first closing request whose workers have ended; false
    // when there was none.
    bool ReapOneClosed();

    static platform::LRESULT EventWindowProc(platform::HWND hwnd, platform::UINT message,
                                             platform::WPARAM wParam, platform::LPARAM lParam);

    static constexpr platform::UINT_PTR PUMP_TIMER_ID = 30;
    static constexpr platform::UINT PUMP_INTERVAL_MS = 100;

protected:
    std::deque<std::shared_ptr<HttpRequest>> runningRequests;
    std::deque<std::shared_ptr<HttpRequest>> closingRequests;
    platform::HWND eventWindow;
    std::uint32_t shutdownWaitMs = 3000;
    std::int32_t nextRequestId = 100;

private:
    std::shared_ptr<HttpRequest> FindShared(std::int32_t id) const;
    void OnEvent(std::int32_t id, platform::LPARAM event);
    void OnTimer(platform::UINT_PTR id);
};

// Waits `milliseconds` while dispatching every message of the calling
// (user-interface) thread.
void WaitWithMessagePump(std::uint32_t milliseconds);
