// A window of the layer: a handle, a parent, a text, a rectangle, style
// bits and a message procedure. Controls and dialogs derive from it and keep
// their whole state here, so that the system runs without a screen; a
// backend that puts windows on screen watches them through WindowObserver.
#pragma once

#include "platform/ui/messages.h"
#include "platform/ui/styles.h"
#include "platform/ui/win_types.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform
{

class ThreadQueue;

// What changed about a window, for a backend that mirrors it.
enum class WindowChange
{
    Text,
    Rect,
    Style,  // visibility, enabled state and other style bits
    Content // control-specific state (items, selection, check, ...)
};

class Window;

class WindowObserver
{
public:
    virtual ~WindowObserver() = default;
    virtual void OnCreated(Window&) {}
    virtual void OnDestroying(Window&) {}
    virtual void OnChanged(Window&, WindowChange) {}
    virtual void OnFocusChanged(HWND /*from*/, HWND /*to*/) {}
};

// Puts the backend's observer in place (nullptr: none). One at a time.
void SetWindowObserver(WindowObserver* observer);
WindowObserver* GetWindowObserver();

struct CreateParams
{
    std::u16string text;
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT rect;
    HWND parent;
    int id = 0; // control id of a child window
};

class Window
{
public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Registers the window with the calling thread and sends WM_CREATE.
    // Returns the new handle.
    HWND Create(const CreateParams& params);

    // Sends WM_DESTROY to the window and then to its children, kills its
    // timers and drops its queued messages. The object itself stays.
    void Destroy();

    HWND Handle() const { return hwnd; }
    bool IsCreated() const { return static_cast<bool>(hwnd); }

    // The message procedure. The default is DefWindowProc.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // Called by the message loop for a message bound for this window or one
    // of its descendants; true when the message was handled here.
    virtual bool PreTranslateMessage(const MSG&) { return false; }

    // A message the parent reflects back to the control that sent it
    // (WM_COMMAND, WM_NOTIFY, WM_CTLCOLORSTATIC) before handling it itself.
    // True when the control handled it; `result` is then the answer.
    virtual bool OnChildNotify(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/,
                               LRESULT* /*result*/)
    {
        return false;
    }

    // The kind of window ("Static", "Button", "Edit", "#32770" for a
    // dialog...), as a backend needs to know what to show.
    virtual std::string_view ClassName() const { return "Window"; }

    int GetDlgCtrlID() const { return controlId; }
    void SetDlgCtrlID(int id) { controlId = id; }
    HWND GetParent() const { return parent; }
    bool IsTopLevel() const { return !parent || parent == HWND_MESSAGE; }
    bool IsMessageOnly() const { return parent == HWND_MESSAGE; }

    const std::u16string& GetWindowText() const { return text; }
    void SetWindowText(std::u16string newText);

    // Position in the parent's client area (a top-level window: on screen).
    RECT GetWindowRect() const { return rect; }
    void MoveWindow(const RECT& newRect);
    // The client area: the window's own size from 0, 0 (no frame here).
    RECT GetClientRect() const { return RECT{0, 0, rect.Width(), rect.Height()}; }

    // Minimised and maximised states are the style bits WS_MINIMIZE and
    // WS_MAXIMIZE; the rectangle of the normal state is kept meanwhile
    // (window_placement.h has ShowWindow with a show command).
    bool IsIconic() const { return (style & WS_MINIMIZE) != 0; }
    bool IsZoomed() const { return (style & WS_MAXIMIZE) != 0; }
    const RECT& NormalRect() const { return normalRect; }
    void SetNormalRect(const RECT& r) { normalRect = r; }
    bool RestoresToMaximized() const { return restoreToMaximized; }
    void SetRestoresToMaximized(bool value) { restoreToMaximized = value; }

    // Asks for the window to be drawn again (a backend repaints it).
    void Invalidate() { NotifyChanged(WindowChange::Content); }

    DWORD GetStyle() const { return style; }
    DWORD GetExStyle() const { return exStyle; }
    void ModifyStyle(DWORD remove, DWORD add);
    void ModifyStyleEx(DWORD remove, DWORD add);

    bool IsWindowVisible() const { return (style & WS_VISIBLE) != 0; }
    void ShowWindow(bool show);
    bool IsWindowEnabled() const { return (style & WS_DISABLED) == 0; }
    void EnableWindow(bool enable);

    LPARAM GetUserData() const { return userData; }
    void SetUserData(LPARAM value) { userData = value; }

    // Child windows in creation order (their Tab order).
    const std::vector<HWND>& Children() const { return children; }
    Window* GetDlgItem(int id) const;

    // Tells the observer, if any, that something about the window changed.
    void NotifyChanged(WindowChange what);

protected:
    // Called after SetWindowText changed the text (controls notify their
    // parent or adjust their own state).
    virtual void OnTextChanged() {}

private:
    HWND hwnd;
    HWND parent;
    int controlId = 0;
    std::u16string text;
    RECT rect;
    RECT normalRect;
    bool restoreToMaximized = false;
    DWORD style = 0;
    DWORD exStyle = 0;
    LPARAM userData = 0;
    std::vector<HWND> children;
};

// The window object of a handle, on the window's own thread; nullptr for a
// handle that is gone or belongs to another thread.
Window* FromHandle(HWND hwnd);

// The queue of the window's thread, from any thread; nullptr when gone.
std::shared_ptr<ThreadQueue> QueueOf(HWND hwnd);

// Every top-level window of the calling thread, in creation order.
std::vector<HWND> TopLevelWindows();

// The first top-level, non-message-only window of this process whose text is
// exactly `caption`.
HWND FindWindowByCaption(std::u16string_view caption);

bool DestroyWindow(HWND hwnd);
bool IsWindow(HWND hwnd);

// Keyboard focus of the calling thread. SetFocus sends WM_KILLFOCUS to the
// old and WM_SETFOCUS to the new window and returns the old one.
HWND GetFocus();
HWND SetFocus(HWND hwnd);

// Class-based windows, for code that registers a procedure under a class
// name and creates windows of it (the HTTP engine's event window).
using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);

// False when the class exists already.
bool RegisterWindowClass(std::u16string_view className, WNDPROC proc);

// Creates a window of a registered class; the layer owns it until
// DestroyWindow. A null handle when the class is unknown.
HWND CreateWindowOfClass(std::u16string_view className, const CreateParams& params);

LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

inline constexpr int GWLP_USERDATA = -21;
LPARAM GetWindowLongPtr(HWND hwnd, int index);
LPARAM SetWindowLongPtr(HWND hwnd, int index, LPARAM value);

} // namespace platform
