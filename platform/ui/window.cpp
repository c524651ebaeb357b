#include "platform/ui/window.h"

#include "platform/ui/message_queue.h"
#include "platform/ui/window_internal.h"

#include <algorithm>
#include <atomic>
#include <map>
#include <mutex>
#include <thread>
#include <unordered_map>

namespace platform
{

namespace
{

struct Entry
{
    Window* window;
    std::shared_ptr<ThreadQueue> queue;
    std::thread::id owner;
};

// Every live window of the process by handle number. Lookups come from any
// thread (posting), so the map is locked; the window objects themselves are
// touched only on their own thread.
struct Registry
{
    std::mutex mutex;
    std::unordered_map<std::uint32_t, Entry> windows;
    std::vector<std::uint32_t> topLevel; // creation order
    std::uint32_t nextId = 1;
};

Registry& TheRegistry()
{
    static Registry registry;
    return registry;
}

std::atomic<WindowObserver*> observer{nullptr};
thread_local HWND focusWindow;

// A window created from a registered class: its procedure is a function.
class ClassWindow final : public Window
{
public:
    explicit ClassWindow(WNDPROC proc) : proc(proc) {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        return proc(Handle(), message, wParam, lParam);
    }
    std::string_view ClassName() const override { return "Class"; }

private:
    WNDPROC proc;
};

struct ClassRegistry
{
    std::mutex mutex;
    std::map<std::u16string, WNDPROC, std::less<>> classes;
    // Windows of registered classes, owned here until DestroyWindow.
    std::unordered_map<std::uint32_t, std::unique_ptr<Window>> owned;
};

ClassRegistry& TheClasses()
{
    static ClassRegistry classes;
    return classes;
}

} // namespace

void SetWindowObserver(WindowObserver* newObserver)
{
    observer.store(newObserver);
}
WindowObserver* GetWindowObserver()
{
    return observer.load();
}

Window::~Window()
{
    Destroy();
}

HWND Window::Create(const CreateParams& params)
{
    if (hwnd)
        return hwnd;
    Registry& registry = TheRegistry();
    {
        std::lock_guard lock(registry.mutex);
        const std::uint32_t id = registry.nextId++;
        registry.windows.emplace(
            id, Entry{this, ThreadQueue::ForCurrentThread(), std::this_thread::get_id()});
        hwnd = HWND{id};
        if (!params.parent || params.parent == HWND_MESSAGE)
            registry.topLevel.push_back(id);
    }
    parent = params.parent;
    controlId = params.id;
    text = params.text;
    rect = params.rect;
    normalRect = params.rect;
    style = params.style;
    exStyle = params.exStyle;
    if (parent && parent != HWND_MESSAGE)
        if (Window* parentWindow = FromHandle(parent))
            parentWindow->children.push_back(hwnd);
    if (WindowObserver* current = observer.load())
        current->OnCreated(*this);
    WindowProc(WM_CREATE, 0, 0);
    return hwnd;
}

void Window::Destroy()
{
    if (!hwnd)
        return;
    const HWND self = hwnd;
    if (WindowObserver* current = observer.load())
        current->OnDestroying(*this);
    WindowProc(WM_DESTROY, 0, 0);
    for (HWND child : std::vector<HWND>(children))
        if (Window* childWindow = FromHandle(child))
            childWindow->Destroy();
    children.clear();
    if (parent && parent != HWND_MESSAGE)
        if (Window* parentWindow = FromHandle(parent))
            std::erase(parentWindow->children, self);
    if (focusWindow == self)
        focusWindow = HWND{};

    std::shared_ptr<ThreadQueue> queue = QueueOf(self);
    {
        Registry& registry = TheRegistry();
        std::lock_guard lock(registry.mutex);
        registry.windows.erase(self.id);
        std::erase(registry.topLevel, self.id);
    }
    if (queue)
    {
        queue->KillTimersOf(self);
        queue->RemoveMessagesOf(self);
    }
    hwnd = HWND{};
}

LRESULT Window::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProc(message, wParam, lParam);
}

LRESULT Window::DefWindowProc(UINT message, WPARAM, LPARAM)
{
    if (message == WM_CLOSE)
        DestroyWindow(hwnd);
    return 0;
}

void Window::NotifyChanged(WindowChange what)
{
    if (!hwnd)
        return;
    if (WindowObserver* current = observer.load())
        current->OnChanged(*this, what);
}

void Window::SetWindowText(std::u16string newText)
{
    if (newText == text)
        return;
    text = std::move(newText);
    NotifyChanged(WindowChange::Text);
    OnTextChanged();
}

void Window::MoveWindow(const RECT& newRect)
{
    if (newRect == rect)
        return;
    const bool resized = newRect.Width() != rect.Width() || newRect.Height() != rect.Height();
    rect = newRect;
    if (!IsIconic() && !IsZoomed())
        normalRect = newRect;
    NotifyChanged(WindowChange::Rect);
    if (hwnd && resized)
        WindowProc(WM_SIZE, 0,
                   static_cast<LPARAM>(MAKEWPARAM(static_cast<unsigned>(rect.Width()),
                                                  static_cast<unsigned>(rect.Height()))));
}

void Window::ModifyStyle(DWORD remove, DWORD add)
{
    const DWORD newStyle = (style & ~remove) | add;
    if (newStyle == style)
        return;
    style = newStyle;
    NotifyChanged(WindowChange::Style);
}

void Window::ModifyStyleEx(DWORD remove, DWORD add)
{
    const DWORD newStyle = (exStyle & ~remove) | add;
    if (newStyle == exStyle)
        return;
    exStyle = newStyle;
    NotifyChanged(WindowChange::Style);
}

void Window::ShowWindow(bool show)
{
    const bool was = IsWindowVisible();
    ModifyStyle(show ? 0 : WS_VISIBLE, show ? WS_VISIBLE : 0);
    if (hwnd && was != show)
        WindowProc(WM_SHOWWINDOW, show ? 1 : 0, 0);
}

void Window::EnableWindow(bool enable)
{
    const bool was = IsWindowEnabled();
    ModifyStyle(enable ? WS_DISABLED : 0, enable ? 0 : WS_DISABLED);
    if (hwnd && was != enable)
        WindowProc(WM_ENABLE, enable ? 1 : 0, 0);
}

Window* Window::GetDlgItem(int id) const
{
    for (HWND child : children)
        if (Window* window = FromHandle(child); window && window->GetDlgCtrlID() == id)
            return window;
    return nullptr;
}

Window* FromHandle(HWND hwnd)
{
    if (!hwnd)
        return nullptr;
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    auto it = registry.windows.find(hwnd.id);
    if (it == registry.windows.end() || it->second.owner != std::this_thread::get_id())
        return nullptr;
    return it->second.window;
}

std::shared_ptr<ThreadQueue> QueueOf(HWND hwnd)
{
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    auto it = registry.windows.find(hwnd.id);
    return it == registry.windows.end() ? nullptr : it->second.queue;
}

std::vector<HWND> TopLevelWindows()
{
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    std::vector<HWND> result;
    for (std::uint32_t id : registry.topLevel)
        if (registry.windows.at(id).owner == std::this_thread::get_id())
            result.push_back(HWND{id});
    return result;
}

HWND FindWindowByCaption(std::u16string_view caption)
{
    for (HWND hwnd : TopLevelWindows())
        if (Window* window = FromHandle(hwnd);
            window && !window->IsMessageOnly() && window->GetWindowText() == caption)
            return hwnd;
    return HWND{};
}

bool IsWindow(HWND hwnd)
{
    if (!hwnd)
        return false;
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    return registry.windows.count(hwnd.id) != 0;
}

bool DestroyWindow(HWND hwnd)
{
    Window* window = FromHandle(hwnd);
    if (!window)
        return false;
    window->Destroy();
    std::unique_ptr<Window> owned;
    {
        ClassRegistry& classes = TheClasses();
        std::lock_guard lock(classes.mutex);
        auto it = classes.owned.find(hwnd.id);
        if (it != classes.owned.end())
        {
            owned = std::move(it->second);
            classes.owned.erase(it);
        }
    }
    if (owned)
        BuryWindow(std::move(owned));
    return true;
}

HWND GetFocus()
{
    return focusWindow;
}

HWND SetFocus(HWND hwnd)
{
    const HWND old = focusWindow;
    if (hwnd == old || (hwnd && !FromHandle(hwnd)))
        return old;
    focusWindow = hwnd;
    if (Window* oldWindow = FromHandle(old))
        oldWindow->WindowProc(WM_KILLFOCUS, hwnd.id, 0);
    if (Window* newWindow = FromHandle(hwnd))
        newWindow->WindowProc(WM_SETFOCUS, old.id, 0);
    if (WindowObserver* current = observer.load())
        current->OnFocusChanged(old, hwnd);
    return old;
}

bool RegisterWindowClass(std::u16string_view className, WNDPROC proc)
{
    ClassRegistry& classes = TheClasses();
    std::lock_guard lock(classes.mutex);
    return classes.classes.emplace(std::u16string(className), proc).second;
}

HWND CreateWindowOfClass(std::u16string_view className, const CreateParams& params)
{
    WNDPROC proc = nullptr;
    ClassRegistry& classes = TheClasses();
    {
        std::lock_guard lock(classes.mutex);
        auto it = classes.classes.find(className);
        if (it == classes.classes.end())
            return HWND{};
        proc = it->second;
    }
    auto window = std::make_unique<ClassWindow>(proc);
    const HWND hwnd = window->Create(params);
    std::lock_guard lock(classes.mutex);
    classes.owned.emplace(hwnd.id, std::move(window));
    return hwnd;
}

LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window* window = FromHandle(hwnd);
    return window ? window->DefWindowProc(message, wParam, lParam) : 0;
}

LPARAM GetWindowLongPtr(HWND hwnd, int index)
{
    Window* window = FromHandle(hwnd);
    return window && index == GWLP_USERDATA ? window->GetUserData() : 0;
}

LPARAM SetWindowLongPtr(HWND hwnd, int index, LPARAM value)
{
    Window* window = FromHandle(hwnd);
    if (!window || index != GWLP_USERDATA)
        return 0;
    const LPARAM old = window->GetUserData();
    window->SetUserData(value);
    return old;
}

} // namespace platform
