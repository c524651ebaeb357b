#include "platform/qt/window_mirror.h"

#include "platform/qt/text.h"
#include "platform/qt/top_level_widget.h"
#include "platform/ui/dialog.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/ui_task.h"
#include "platform/ui/window_placement.h"

#include <QApplication>
#include <QVariant>

namespace platform::qt
{

namespace
{

constexpr const char* kHandleProperty = "brindleHwnd";

// A child window of a kind no adapter knows: an empty area of its size.
class GenericChildAdapter final : public ControlAdapter
{
public:
    QWidget* Make(Window&, QWidget* parent, WindowMirror&) override { return new QWidget(parent); }
};

class TopLevelAdapter final : public ControlAdapter
{
public:
    QWidget* Make(Window& window, QWidget* parent, WindowMirror& mirror) override
    {
        return new TopLevelWidget(window.Handle(), mirror, parent);
    }
    void SyncText(Window& window, QWidget& widget) override
    {
        widget.setWindowTitle(ToQString(window.GetWindowText()));
    }
};

QRect ToQRect(const RECT& rect)
{
    return QRect(rect.left, rect.top, rect.Width(), rect.Height());
}

} // namespace

class WindowMirror::ApplyScope
{
public:
    explicit ApplyScope(WindowMirror& mirror) : mirror(mirror) { ++mirror.applying; }
    ~ApplyScope() { --mirror.applying; }
    ApplyScope(const ApplyScope&) = delete;
    ApplyScope& operator=(const ApplyScope&) = delete;

private:
    WindowMirror& mirror;
};

WindowMirror::WindowMirror()
    : genericChild(std::make_unique<GenericChildAdapter>()),
      topLevel(std::make_unique<TopLevelAdapter>())
{
}

WindowMirror::~WindowMirror()
{
    // Top-level widgets own their children.
    for (auto& [id, entry] : entries)
        if (entry.widget && entry.widget->isWindow())
            delete entry.widget.data();
}

void WindowMirror::Register(std::string className, std::unique_ptr<ControlAdapter> adapter)
{
    adapters[std::move(className)] = std::move(adapter);
}

ControlAdapter& WindowMirror::AdapterFor(const Window& window)
{
    if (window.IsTopLevel())
        return *topLevel;
    auto it = adapters.find(window.ClassName());
    return it != adapters.end() ? *it->second : *genericChild;
}

QWidget* WindowMirror::WidgetOf(HWND hwnd) const
{
    auto it = entries.find(hwnd.id);
    return it == entries.end() ? nullptr : it->second.widget.data();
}

HWND WindowMirror::HandleOf(const QWidget* widget) const
{
    for (const QWidget* w = widget; w; w = w->parentWidget())
    {
        const QVariant value = w->property(kHandleProperty);
        if (value.isValid())
        {
            const HWND hwnd{value.toUInt()};
            if (entries.count(hwnd.id))
                return hwnd;
        }
    }
    return HWND{};
}

bool WindowMirror::HandlesKeys(HWND hwnd) const
{
    auto it = entries.find(hwnd.id);
    return it != entries.end() && it->second.adapter->HandlesKeys();
}

void WindowMirror::OnCreated(Window& window)
{
    if (window.IsMessageOnly())
        return;
    QWidget* parent = nullptr;
    if (!window.IsTopLevel())
    {
        parent = WidgetOf(window.GetParent());
        if (!parent)
            return; // a child of an unmirrored window stays unseen too
    }
    else
    {
        // A dialog stays above its owner; another new top-level window
        // above the one that was active.
        const auto* dialog = dynamic_cast<const CDialogEx*>(&window);
        parent = dialog ? WidgetOf(dialog->GetOwner()) : nullptr;
        if (!parent)
            parent = QApplication::activeWindow();
        if (parent)
            parent = parent->window();
    }
    ApplyScope scope(*this);
    ControlAdapter& adapter = AdapterFor(window);
    QWidget* widget = adapter.Make(window, parent, *this);
    widget->setProperty(kHandleProperty, QVariant::fromValue(window.Handle().id));
    entries[window.Handle().id] = Entry{widget, &adapter};
    adapter.SyncText(window, *widget);
    adapter.SyncContent(window, *widget);
    ApplyRect(window, *widget);
    ApplyStyle(window, *widget);
}

void WindowMirror::OnDestroying(Window& window)
{
    auto it = entries.find(window.Handle().id);
    if (it == entries.end())
        return;
    QPointer<QWidget> widget = it->second.widget;
    entries.erase(it);
    if (widget)
    {
        ApplyScope scope(*this);
        widget->hide();
        delete widget.data();
    }
}

void WindowMirror::OnChanged(Window& window, WindowChange what)
{
    auto it = entries.find(window.Handle().id);
    if (it == entries.end() || !it->second.widget)
        return;
    QWidget& widget = *it->second.widget;
    ApplyScope scope(*this);
    switch (what)
    {
    case WindowChange::Text:
        it->second.adapter->SyncText(window, widget);
        break;
    case WindowChange::Rect:
        ApplyRect(window, widget);
        break;
    case WindowChange::Style:
        ApplyStyle(window, widget);
        it->second.adapter->SyncContent(window, widget);
        break;
    case WindowChange::Content:
        it->second.adapter->SyncContent(window, widget);
        break;
    }
}

void WindowMirror::OnFocusChanged(HWND, HWND to)
{
    QWidget* widget = WidgetOf(to);
    if (!widget || widget->hasFocus())
        return;
    ApplyScope scope(*this);
    if (QWidget* proxy = widget->focusProxy())
        widget = proxy;
    widget->setFocus(Qt::OtherFocusReason);
}

void WindowMirror::ApplyRect(Window& window, QWidget& widget)
{
    const QRect rect = ToQRect(window.GetWindowRect());
    if (window.IsTopLevel())
    {
        if ((window.GetStyle() & (WS_MINIMIZE | WS_MAXIMIZE)) == 0 && widget.geometry() != rect)
            widget.setGeometry(rect);
    }
    else
    {
        auto it = entries.find(window.Handle().id);
        const QRect placed = it != entries.end()
                                 ? it->second.adapter->Geometry(window.GetWindowRect(), widget)
                                 : rect;
        if (widget.geometry() != placed)
            widget.setGeometry(placed);
    }
}

void WindowMirror::ApplyStyle(Window& window, QWidget& widget)
{
    const DWORD style = window.GetStyle();
    if (window.IsTopLevel())
    {
        static_cast<TopLevelWidget&>(widget).ApplyStyle(style);
        return;
    }
    widget.setEnabled((style & WS_DISABLED) == 0);
    widget.setVisible((style & WS_VISIBLE) != 0);
}

void WindowMirror::PostToWindow(HWND hwnd, std::function<void(Window&)> work)
{
    PostTask(
        [hwnd, work = std::move(work)]
        {
            if (Window* window = FromHandle(hwnd))
                work(*window);
        });
}

void WindowMirror::TopLevelGeometryChanged(HWND hwnd, QWidget& widget)
{
    if (Applying())
        return;
    // The state first: a maximised size must not become the normal one.
    TopLevelStateChanged(hwnd, widget);
    Window* window = FromHandle(hwnd);
    // A minimised window keeps the rectangle it had, so that its controls
    // keep their layout for the restore.
    if (!window || window->IsIconic())
        return;
    const QRect g = widget.geometry();
    ApplyScope scope(*this);
    window->MoveWindow(RECT{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()});
}

void WindowMirror::TopLevelStateChanged(HWND hwnd, QWidget& widget)
{
    if (Applying())
        return;
    Window* window = FromHandle(hwnd);
    if (!window || !widget.isVisible())
        return;
    const Qt::WindowStates state = widget.windowState();
    UINT command = 0;
    if ((state & Qt::WindowMinimized) && !window->IsIconic())
        command = SW_MINIMIZE;
    else if (!(state & Qt::WindowMinimized) && (state & Qt::WindowMaximized) && !window->IsZoomed())
        command = SW_SHOWMAXIMIZED;
    else if (!(state & (Qt::WindowMinimized | Qt::WindowMaximized)) &&
             (window->IsIconic() || window->IsZoomed()))
        command = SW_RESTORE;
    if (command == 0)
        return;
    // The layer's state change keeps its normal rectangle and tells the
    // window (WM_SIZE); the widget is already in that state.
    ApplyScope scope(*this);
    ShowWindow(hwnd, command);
    if (command == SW_RESTORE && !window->IsZoomed())
    {
        const RECT r = window->GetWindowRect();
        widget.setGeometry(r.left, r.top, r.Width(), r.Height());
    }
}

void WindowMirror::QtFocusChanged(QWidget* now)
{
    if (Applying() || !now)
        return;
    const HWND hwnd = HandleOf(now);
    if (!hwnd)
        return;
    PostTask(
        [hwnd]
        {
            if (FromHandle(hwnd) && GetFocus() != hwnd)
                SetFocus(hwnd);
        });
}

} // namespace platform::qt
