// Mirrors the layer's windows into Qt widgets. Each layer window that is not
// message-only gets a widget of its kind (a ControlAdapter chosen by the
// window's class name); layer changes update the widget, and Qt input goes
// back to the layer as messages or as calls of the control's input entry
// points, posted to run from the layer's loop (PostTask): a Qt handler never
// calls into the system's code itself, which may open a modal dialog.
#pragma once

#include "platform/ui/window.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace platform::qt
{

class WindowMirror;

// How one kind of layer window is shown.
class ControlAdapter
{
public:
    virtual ~ControlAdapter() = default;
    // Makes the widget of `window` under `parent`.
    virtual QWidget* Make(Window& window, QWidget* parent, WindowMirror& mirror) = 0;
    // Brings the widget in line with the window's text or content.
    virtual void SyncText(Window&, QWidget&) {}
    virtual void SyncContent(Window&, QWidget&) {}
    // Where the widget goes for the window's rectangle (the same by default).
    virtual QRect Geometry(const RECT& rect, QWidget&)
    {
        return QRect(rect.left, rect.top, rect.Width(), rect.Height());
    }
    // True when the widget handles typing itself (an edit field): only the
    // dialog keys go from it to the layer.
    virtual bool HandlesKeys() const { return false; }
};

class WindowMirror final : public WindowObserver
{
public:
    WindowMirror();
    ~WindowMirror() override;

    void OnCreated(Window& window) override;
    void OnDestroying(Window& window) override;
    void OnChanged(Window& window, WindowChange what) override;
    void OnFocusChanged(HWND from, HWND to) override;

    // The adapter for windows of class `className`.
    void Register(std::string className, std::unique_ptr<ControlAdapter> adapter);

    QWidget* WidgetOf(HWND hwnd) const;
    // The layer window a widget (or the nearest mirrored ancestor) shows.
    HWND HandleOf(const QWidget* widget) const;
    bool HandlesKeys(HWND hwnd) const;

    // True while the mirror applies layer state to widgets; widget handlers
    // then report nothing back.
    bool Applying() const { return applying > 0; }

    // Runs `work` on the layer's window `hwnd` from the layer's loop, if the
    // window still exists then.
    void PostToWindow(HWND hwnd, std::function<void(Window&)> work);

    // Called by widgets when the user moved, resized, minimised or
    // maximised a top-level window.
    void TopLevelGeometryChanged(HWND hwnd, QWidget& widget);
    void TopLevelStateChanged(HWND hwnd, QWidget& widget);

    // Called when Qt's focus moved to a mirrored widget.
    void QtFocusChanged(QWidget* now);

private:
    struct Entry
    {
        QPointer<QWidget> widget;
        ControlAdapter* adapter = nullptr;
    };
    class ApplyScope;

    ControlAdapter& AdapterFor(const Window& window);
    void ApplyRect(Window& window, QWidget& widget);
    void ApplyStyle(Window& window, QWidget& widget);

    std::map<std::string, std::unique_ptr<ControlAdapter>, std::less<>> adapters;
    std::unique_ptr<ControlAdapter> genericChild;
    std::unique_ptr<ControlAdapter> topLevel;
    std::map<std::uint32_t, Entry> entries;
    int applying = 0;
};

} // namespace platform::qt
