#include "platform/qt/x11_desktop.h"

#include "platform/qt/window_mirror.h"
#include "platform/text/code_page.h"
#include "platform/ui/window.h"

#include <QWidget>

#include <memory>
#include <string>
#include <vector>

// Last: Xlib defines macros (None, Bool, Status) that other headers use.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace platform::qt
{

namespace
{

struct DisplayCloser
{
    void operator()(Display* display) const { XCloseDisplay(display); }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

struct XFreer
{
    void operator()(void* data) const { XFree(data); }
};

// A property of `window` as bytes (8-bit format) or 32-bit items.
struct Property
{
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    std::unique_ptr<unsigned char, XFreer> data;
};

Property ReadProperty(Display* display, ::Window window, Atom name, Atom type)
{
    Property result;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, name, 0, 1 << 20, False, type, &result.type, &format,
                           &count, &after, &data) == Success)
    {
        result.format = format;
        result.count = count;
        result.data.reset(data);
    }
    return result;
}

std::string CaptionOf(Display* display, ::Window window)
{
    const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Property name = ReadProperty(display, window, netName, utf8);
    if (name.data && name.format == 8)
        return std::string(reinterpret_cast<const char*>(name.data.get()), name.count);
    Property plain = ReadProperty(display, window, XA_WM_NAME, AnyPropertyType);
    if (plain.data && plain.format == 8)
    {
        // WM_NAME is Latin-1 (STRING) unless the type says otherwise.
        std::string bytes(reinterpret_cast<const char*>(plain.data.get()), plain.count);
        if (plain.type == XA_STRING)
            return Utf16ToUtf8(DecodeAnsi(bytes));
        return bytes;
    }
    return {};
}

// Top-level client windows: the window manager's list, or without one the
// root's children and their children (frames hold the clients).
std::vector<::Window> ClientWindows(Display* display)
{
    const ::Window root = DefaultRootWindow(display);
    std::vector<::Window> result;
    const Atom clientList = XInternAtom(display, "_NET_CLIENT_LIST", False);
    Property list = ReadProperty(display, root, clientList, XA_WINDOW);
    if (list.data && list.format == 32)
    {
        const auto* items = reinterpret_cast<const unsigned long*>(list.data.get());
        result.assign(items, items + list.count);
        return result;
    }
    ::Window rootReturn = 0;
    ::Window parent = 0;
    ::Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, root, &rootReturn, &parent, &children, &count))
        return result;
    std::unique_ptr<::Window, XFreer> freeChildren(children);
    for (unsigned int i = 0; i < count; ++i)
    {
        result.push_back(children[i]);
        ::Window* grand = nullptr;
        unsigned int grandCount = 0;
        if (XQueryTree(display, children[i], &rootReturn, &parent, &grand, &grandCount))
        {
            std::unique_ptr<::Window, XFreer> freeGrand(grand);
            result.insert(result.end(), grand, grand + grandCount);
        }
    }
    return result;
}

bool IsMinimised(Display* display, ::Window window)
{
    const Atom wmState = XInternAtom(display, "_NET_WM_STATE", False);
    const Atom hidden = XInternAtom(display, "_NET_WM_STATE_HIDDEN", False);
    Property state = ReadProperty(display, window, wmState, XA_ATOM);
    if (!state.data || state.format != 32)
        return false;
    const auto* atoms = reinterpret_cast<const unsigned long*>(state.data.get());
    for (unsigned long i = 0; i < state.count; ++i)
        if (atoms[i] == hidden)
            return true;
    return false;
}

void Activate(Display* display, ::Window window)
{
    const ::Window root = DefaultRootWindow(display);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = 2; // from a pager-like tool: honoured without user time
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
    // Without a window manager the request above does nothing.
    XRaiseWindow(display, window);
}

} // namespace

bool RaiseX11WindowByCaption(const char* displayName, std::u16string_view caption)
{
    DisplayPtr display(XOpenDisplay(displayName));
    if (!display)
        return false;
    const std::string wanted = Utf16ToUtf8(caption);
    for (::Window window : ClientWindows(display.get()))
    {
        if (CaptionOf(display.get(), window) != wanted)
            continue;
        // A minimised window stays minimised.
        if (!IsMinimised(display.get(), window))
            Activate(display.get(), window);
        XSync(display.get(), False);
        return true;
    }
    return false;
}

bool X11Desktop::RaiseByCaption(std::u16string_view caption)
{
    if (RaiseX11WindowByCaption(nullptr, caption))
        return true;
    const HWND own = FindWindowByCaption(caption);
    if (!own)
        return false;
    if (QWidget* widget = mirror ? mirror->WidgetOf(own) : nullptr;
        widget && !(widget->windowState() & Qt::WindowMinimized))
    {
        widget->raise();
        widget->activateWindow();
    }
    return true;
}

} // namespace platform::qt
