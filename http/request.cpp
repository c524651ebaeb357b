#include "http/request.h"

#include "platform/inet/internet.h"
#include "platform/inet/url.h"
#include "platform/process/worker_thread.h"
#include "platform/text/code_page.h"
#include "platform/ui/message_queue.h"

#include <cstdio>
#include <cstdlib>

namespace
{

const char* VerbText(std::int32_t verb)
{
    switch (verb)
    {
    case 1:
    case 2:
        return "POST";
    case 3:
        return "DELETE";
    default:
        return "GET";
    }
}

// The leading decimal number of a header value; 0 when there is none.
std::int32_t LeadingNumber(const std::string& text)
{
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return static_cast<std::int32_t>(value);
}

bool Running(const std::shared_ptr<platform::WorkerThread>& thread)
{
    return thread && !thread->Finished();
}

} // namespace

HttpRequest::HttpRequest(std::int32_t requestId, platform::HWND notifyWindow,
                         const HttpRequestOptions& options)
    : requestId(requestId), notifyWindow(notifyWindow), options(options)
{
    platform::inet::UrlComponents parts;
    platform::inet::CrackUrl(this->options.url, parts);
    scheme = parts.scheme;
    hostName = parts.hostName;
    objectPath = parts.urlPath;

    std::string proxy;
    if (!this->options.proxyHost.empty())
        proxy = platform::Utf16ToUtf8(this->options.proxyHost) + ":" +
                std::to_string(this->options.proxyPort);
    internetHandle = std::make_shared<platform::inet::Session>(
        platform::EncodeAnsi(this->options.userAgent), proxy);
    if (!this->options.proxyUser.empty())
        internetHandle->SetProxyUser(platform::Utf16ToUtf8(this->options.proxyUser));
    if (!this->options.proxyPassword.empty())
        internetHandle->SetProxyPassword(platform::Utf16ToUtf8(this->options.proxyPassword));
}

std::shared_ptr<HttpRequest> HttpRequest::Create(std::int32_t requestId,
                                                 platform::HWND notifyWindow,
                                                 const HttpRequestOptions& options)
{
    std::shared_ptr<HttpRequest> request(new HttpRequest(requestId, notifyWindow, options));
    request->Start();
    return request;
}

HttpRequest::~HttpRequest() = default;

void HttpRequest::Start()
{
    connectThread = platform::WorkerThread::Start(
        [self = shared_from_this(), session = internetHandle] { self->RunConnect(session); });
    if (options.timeoutMs != 0)
        platform::SetTimer(notifyWindow, static_cast<platform::UINT_PTR>(requestId),
                           options.timeoutMs);
}

void HttpRequest::RunConnect(std::shared_ptr<platform::inet::Session> session)
{
    // The port written in the URL is not used: 443 for https, 80 otherwise.
    const bool secure = scheme == platform::inet::SCHEME_HTTPS;
    if (scheme != platform::inet::SCHEME_UNKNOWN)
        connectHandle =
            session->Connect(platform::Utf16ToUtf8(hostName), secure ? 443 : 80, secure);
    platform::SendNotifyMessage(notifyWindow, WM_HTTP_EVENT,
                                static_cast<platform::WPARAM>(requestId), HTTP_EVENT_CONNECTED);
}

void HttpRequest::Open()
{
    if (scheme == platform::inet::SCHEME_HTTPS)
        options.openFlags |= INTERNET_FLAG_SECURE;
    if (connectHandle)
        requestHandle = std::make_shared<platform::inet::Request>(
            connectHandle, VerbText(options.verb), platform::Utf16ToUtf8(objectPath));
    transferThread = platform::WorkerThread::Start(
        [self = shared_from_this(), request = requestHandle] { self->RunTransfer(request); });
}

void HttpRequest::RunTransfer(std::shared_ptr<platform::inet::Request> request)
{
    std::string headerText = platform::EncodeAnsi(options.headers);
    if (options.rangeStart != 0)
    {
        char range[64];
        std::snprintf(range, sizeof range, "Range: bytes=%d-\r\n", options.rangeStart);
        headerText += range;
    }
    if (request)
        request->Send(headerText, options.postData);
    platform::SendNotifyMessage(notifyWindow, WM_HTTP_EVENT,
                                static_cast<platform::WPARAM>(requestId), HTTP_EVENT_SENT);

    bool lastRead = false;
    if (request)
    {
        char buffer[platform::inet::MAX_READ_BYTES];
        for (;;)
        {
            size_t count = 0;
            lastRead = request->Read(buffer, sizeof buffer, count);
            if (!lastRead || count == 0)
                break;
            receiveBuffer.Append(buffer, count);
        }
    }
    readCompleted.store(lastRead);
    platform::SendNotifyMessage(notifyWindow, WM_HTTP_EVENT,
                                static_cast<platform::WPARAM>(requestId), HTTP_EVENT_FINISHED);
}

void HttpRequest::ReadResponseInfo()
{
    if (!requestHandle)
        return;
    std::string text;
    if (requestHandle->QueryStatusCode(text) && !text.empty())
        statusCode = LeadingNumber(text);
    text.clear();
    if (requestHandle->QueryContentLength(text) && !text.empty())
        contentLength = LeadingNumber(text);
}

std::shared_ptr<platform::WorkerThread> HttpRequest::StopWorker()
{
    if (Running(transferThread))
    {
        if (requestHandle)
            requestHandle->Close();
        requestHandle.reset();
        return transferThread;
    }
    if (Running(connectThread))
    {
        if (internetHandle)
            internetHandle->Close(); // aborts the connect attempt
        internetHandle.reset();
        return connectThread;
    }
    return nullptr;
}

bool HttpRequest::HasLiveWorker() const
{
    return Running(connectThread) || Running(transferThread);
}

void HttpRequest::Destroy()
{
    platform::KillTimer(notifyWindow, static_cast<platform::UINT_PTR>(requestId));
    if (requestHandle)
    {
        requestHandle->Close();
        requestHandle.reset();
    }
    // connectHandle belongs to the connect thread until that thread is done;
    // an abandoned one is cut off through the root handle below and lets go
    // of it itself.
    if (!Running(connectThread))
    {
        if (connectHandle)
            connectHandle->Close();
        connectHandle.reset();
    }
    if (internetHandle)
    {
        internetHandle->Close();
        internetHandle.reset();
    }
    transferThread.reset();
    connectThread.reset();
}
