#include "http/request_manager.h"

#include "platform/process/worker_thread.h"
#include "platform/ui/clock.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/messages.h"
#include "platform/ui/window.h"

#include <algorithm>
#include <vector>

namespace
{
constexpr std::u16string_view EVENT_WINDOW_CLASS = u"http_event_wnd";
}

HttpRequestManager::HttpRequestManager()
{
    // A second manager finds the class registered already; that is fine.
    platform::RegisterWindowClass(EVENT_WINDOW_CLASS, &HttpRequestManager::EventWindowProc);
    eventWindow = platform::CreateWindowOfClass(
        EVENT_WINDOW_CLASS, platform::CreateParams{.parent = platform::HWND_MESSAGE});
    platform::SetWindowLongPtr(eventWindow, platform::GWLP_USERDATA,
                               reinterpret_cast<platform::LPARAM>(this));
}

HttpRequestManager::~HttpRequestManager()
{
    platform::DestroyWindow(eventWindow);

    std::vector<std::shared_ptr<platform::WorkerThread>> threads;
    auto collect = [&threads](const std::shared_ptr<HttpRequest>& request)
    {
        std::shared_ptr<platform::WorkerThread> thread = request->StopWorker();
        if (thread && std::find(threads.begin(), threads.end(), thread) == threads.end())
            threads.push_back(std::move(thread));
    };
    std::for_each(runningRequests.begin(), runningRequests.end(), collect);
    std::for_each(closingRequests.begin(), closingRequests.end(), collect);

    if (!threads.empty() && !platform::WaitForAll(threads, shutdownWaitMs))
    {
        // What is still running is abandoned: it holds its request by shared
        // ownership and ends on its own.
        for (const auto& thread : threads)
            if (!thread->Finished())
                thread->Abandon();
    }

    for (const auto& request : runningRequests)
        request->Destroy();
    for (const auto& request : closingRequests)
        request->Destroy();
    runningRequests.clear();
    closingRequests.clear();
}

void HttpRequestManager::OnResponseHeaders(HttpRequest&) {}
void HttpRequestManager::OnRequestFinished(HttpRequest&) {}
void HttpRequestManager::OnRequestTimeout(HttpRequest&) {}

std::int32_t HttpRequestManager::AddRequest(const HttpRequestOptions& options)
{
    platform::SetTimer(eventWindow, PUMP_TIMER_ID, PUMP_INTERVAL_MS);
    const std::int32_t id = nextRequestId++;
    runningRequests.push_back(HttpRequest::Create(id, eventWindow, options));
    return id;
}

std::shared_ptr<HttpRequest> HttpRequestManager::FindShared(std::int32_t id) const
{
    auto it = std::find_if(runningRequests.begin(), runningRequests.end(),
                           [id](const auto& request) { return request->requestId == id; });
    return it == runningRequests.end() ? nullptr : *it;
}

HttpRequest* HttpRequestManager::FindRequest(std::int32_t id)
{
    return FindShared(id).get();
}

void HttpRequestManager::DeleteRequest(std::int32_t id)
{
    auto it = std::find_if(runningRequests.begin(), runningRequests.end(),
                           [id](const auto& request) { return request->requestId == id; });
    if (it == runningRequests.end())
        return;
    std::shared_ptr<HttpRequest> request = *it;
    request->StopWorker();
    runningRequests.erase(it);
    closingRequests.push_back(std::move(request));
}

bool HttpRequestManager::ReapOneClosed()
{
    auto it = std::find_if(closingRequests.begin(), closingRequests.end(),
                           [](const auto& request) { return !request->HasLiveWorker(); });
    if (it == closingRequests.end())
        return false;
    std::shared_ptr<HttpRequest> request = *it;
    closingRequests.erase(it);
    request->Destroy();
    return true;
}

void HttpRequestManager::OnTimer(platform::UINT_PTR id)
{
    if (id == PUMP_TIMER_ID)
    {
        if (runningRequests.empty() && closingRequests.empty())
            platform::KillTimer(eventWindow, PUMP_TIMER_ID);
        else
            while (ReapOneClosed())
            {
            }
        return;
    }
    platform::KillTimer(eventWindow, id);
    const auto requestId = static_cast<std::int32_t>(id);
    // Held here so that the request outlives a callback that deletes it.
    if (std::shared_ptr<HttpRequest> request = FindShared(requestId))
    {
        OnRequestTimeout(*request);
        DeleteRequest(requestId);
    }
}

void HttpRequestManager::OnEvent(std::int32_t id, platform::LPARAM event)
{
    std::shared_ptr<HttpRequest> request = FindShared(id);
    if (!request)
        return;
    switch (event)
    {
    case HTTP_EVENT_CONNECTED:
        request->ReleaseConnectThread();
        request->Open();
        break;
    case HTTP_EVENT_SENT:
        request->ReadResponseInfo();
        OnResponseHeaders(*request);
        break;
    case HTTP_EVENT_FINISHED:
        OnRequestFinished(*request);
        DeleteRequest(id);
        break;
    default:
        break;
    }
}

platform::LRESULT HttpRequestManager::EventWindowProc(platform::HWND hwnd, platform::UINT message,
                                                      platform::WPARAM wParam,
                                                      platform::LPARAM lParam)
{
    auto* manager = reinterpret_cast<HttpRequestManager*>(
        platform::GetWindowLongPtr(hwnd, platform::GWLP_USERDATA));
    if (!manager || (message != platform::WM_TIMER && message != WM_HTTP_EVENT))
        return platform::DefWindowProc(hwnd, message, wParam, lParam);
    if (message == platform::WM_TIMER)
        manager->OnTimer(wParam);
    else
        manager->OnEvent(static_cast<std::int32_t>(wParam), lParam);
    return 0;
}

void WaitWithMessagePump(std::uint32_t milliseconds)
{
    const std::uint32_t end = platform::GetTickCount() + milliseconds;
    std::uint32_t remaining = milliseconds;
    for (;;)
    {
        if (platform::MsgWaitForInput(remaining))
            platform::PumpWaitingMessages();
        remaining = end - platform::GetTickCount();
        if (remaining == 0 || remaining > milliseconds)
            break;
    }
}
