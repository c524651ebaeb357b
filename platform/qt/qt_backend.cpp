#include "platform/qt/qt_backend.h"

#include "platform/qt/app_icon.h"
#include "platform/qt/control_adapters.h"
#include "platform/qt/key_translation.h"
#include "platform/qt/qt_clipboard.h"
#include "platform/qt/qt_event_pump.h"
#include "platform/qt/qt_prompter.h"
#include "platform/qt/text.h"
#include "platform/qt/window_mirror.h"
#include "platform/qt/x11_desktop.h"
#include "platform/ui/dialog.h"
#include "platform/ui/dialog_template.h"
#include "platform/ui/input.h"
#include "platform/ui/list_view.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/messages.h"
#include "platform/ui/ui_task.h"
#include "platform/ui/window_placement.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPixmap>
#include <QScreen>

#include <cstdlib>

namespace platform::qt
{

namespace
{

// The layer's screen without a backend.
constexpr RECT kHeadlessWorkArea{0, 0, 1920, 1080};

bool HasValue(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value;
}

// Sends Qt's keys to the layer and keeps input away from windows the layer
// has disabled (the owner of a modal dialog).
class InputFilter final : public QObject
{
public:
    explicit InputFilter(WindowMirror& mirror) : mirror(mirror) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!watched->isWidgetType())
            return false;
        auto* widget = static_cast<QWidget*>(watched);
        switch (event->type())
        {
        case QEvent::KeyPress:
            return KeyPress(*widget, static_cast<QKeyEvent&>(*event));
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::KeyRelease:
            return Blocked(*widget);
        default:
            return false;
        }
    }

private:
    // True when the top-level layer window under `widget` is disabled.
    bool Blocked(const QWidget& widget) const
    {
        const HWND hwnd = mirror.HandleOf(widget.window());
        const Window* window = FromHandle(hwnd);
        return window && !window->IsWindowEnabled();
    }

    bool KeyPress(QWidget& widget, QKeyEvent& event)
    {
        const HWND target = mirror.HandleOf(&widget);
        if (!target)
            return false; // not ours (a message box, a menu)
        if (Blocked(widget))
            return true;
        if (event.key() == Qt::Key_Space && event.modifiers() == Qt::AltModifier)
        {
            // The window menu, as Alt+Space opens it elsewhere.
            const HWND top = mirror.HandleOf(widget.window());
            PostTask(
                [top]
                {
                    if (auto* dialog = dynamic_cast<CDialogEx*>(FromHandle(top)))
                        dialog->OpenSystemMenu();
                });
            return true;
        }
        const std::optional<UINT> vk = VirtualKeyOf(event);
        if (!vk)
            return false;
        if (mirror.HandlesKeys(target) && !IsDialogKey(*vk))
            return false;
        unsigned modifiers = 0;
        if (event.modifiers() & Qt::ShiftModifier)
            modifiers |= MOD_SHIFT;
        if (event.modifiers() & Qt::ControlModifier)
            modifiers |= MOD_CONTROL;
        if (event.modifiers() & Qt::AltModifier)
            modifiers |= MOD_ALT;
        std::u16string chars;
        if (!mirror.HandlesKeys(target) && !(event.modifiers() & Qt::ControlModifier))
            for (QChar c : event.text())
                if (c.isPrint())
                    chars.push_back(c.unicode());
        // Through the layer's loop, with the dialog's PreTranslateMessage
        // first, as a key message from the system's queue.
        PostTask(
            [vk = *vk, modifiers, target, chars]
            {
                PressKey(vk, modifiers, target);
                if (!chars.empty() && IsWindow(target))
                    TypeChars(chars, target);
            });
        return true;
    }

    WindowMirror& mirror;
};

} // namespace

struct QtBackend::Parts
{
    int argc = 1;
    char arg0[8] = "brindle";
    char* argv[2] = {arg0, nullptr};
    std::unique_ptr<QApplication> ownApp;
    std::unique_ptr<QtEventPump> pump;
    std::unique_ptr<WindowMirror> mirror;
    std::unique_ptr<QtPrompter> prompter;
    std::unique_ptr<X11Desktop> desktop;
    QtClipboard clipboard;
    std::unique_ptr<InputFilter> filter;
    QMetaObject::Connection focusConnection;
};

QtBackend::QtBackend() : parts(std::make_unique<Parts>())
{
    if (!QApplication::instance())
        parts->ownApp = std::make_unique<QApplication>(parts->argc, parts->argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(AppIcon());
    QApplication::setDesktopFileName(QStringLiteral("brindle"));
    parts->pump = std::make_unique<QtEventPump>();
    ThreadQueue::ForCurrentThread()->SetPump(parts->pump.get());
    parts->mirror = std::make_unique<WindowMirror>();
    RegisterControlAdapters(*parts->mirror);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
    {
        const QRect area = screen->availableGeometry();
        SetScreenWorkArea(
            RECT{area.left(), area.top(), area.left() + area.width(), area.top() + area.height()});
    }
    {
        // Dialog units from the screen's dialog font, as the window system
        // measures them.
        const QFontMetrics metrics(QApplication::font());
        const int letters = metrics.horizontalAdvance(
            QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
        SetDialogBaseUnits((letters / 26 + 1) / 2, metrics.height());
    }
    SetWindowObserver(parts->mirror.get());
    SetTextWidthFunction(
        [](std::u16string_view text, const CellFont* font)
        {
            QFont measured = QApplication::font();
            if (font && font->height > 0)
                measured.setPixelSize(font->height);
            if (font)
                measured.setBold(font->weight >= 600);
            return QFontMetrics(measured).horizontalAdvance(ToQString(text));
        });
    parts->prompter = std::make_unique<QtPrompter>(*parts->mirror);
    SetPrompter(parts->prompter.get());
    parts->desktop = std::make_unique<X11Desktop>(parts->mirror.get());
    SetDesktopWindows(parts->desktop.get());
    SetClipboardBackend(&parts->clipboard);
    parts->filter = std::make_unique<InputFilter>(*parts->mirror);
    qApp->installEventFilter(parts->filter.get());
    WindowMirror* mirror = parts->mirror.get();
    parts->focusConnection =
        QObject::connect(qApp, &QApplication::focusChanged,
                         [mirror](QWidget*, QWidget* now) { mirror->QtFocusChanged(now); });
}

QtBackend::~QtBackend()
{
    QObject::disconnect(parts->focusConnection);
    qApp->removeEventFilter(parts->filter.get());
    SetTextWidthFunction({});
    SetDialogBaseUnits(0, 0);
    SetScreenWorkArea(kHeadlessWorkArea);
    SetClipboardBackend(nullptr);
    SetDesktopWindows(nullptr);
    SetPrompter(nullptr);
    SetWindowObserver(nullptr);
    parts->mirror.reset();
    ThreadQueue::ForCurrentThread()->SetPump(nullptr);
    parts->pump.reset();
}

bool QtBackend::DisplayAvailable()
{
    return HasValue("QT_QPA_PLATFORM") || HasValue("DISPLAY") || HasValue("WAYLAND_DISPLAY");
}

WindowMirror& QtBackend::Mirror()
{
    return *parts->mirror;
}

QWidget* QtBackend::WidgetOf(HWND hwnd) const
{
    return parts->mirror->WidgetOf(hwnd);
}

bool QtBackend::SaveScreenshot(HWND hwnd, const std::string& path) const
{
    QWidget* widget = WidgetOf(hwnd);
    if (!widget)
        return false;
    const QString file = QString::fromStdString(path);
    QDir().mkpath(QFileInfo(file).absolutePath());
    return widget->grab().save(file, "PNG");
}

} // namespace platform::qt
