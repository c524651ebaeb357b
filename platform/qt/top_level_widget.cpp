#include "platform/qt/top_level_widget.h"

#include "platform/qt/window_mirror.h"
#include "platform/ui/dialog.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/messages.h"
#include "platform/ui/styles.h"
#include "platform/ui/ui_task.h"
#include "platform/ui/window.h"

#include <QCloseEvent>
#include <QContextMenuEvent>

namespace platform::qt
{

TopLevelWidget::TopLevelWidget(HWND hwnd, WindowMirror& mirror, QWidget* owner)
    : QWidget(owner, owner ? Qt::Dialog : Qt::Window), hwnd(hwnd), mirror(mirror)
{
}

void TopLevelWidget::ApplyStyle(DWORD style)
{
    const DWORD frameBits = WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CAPTION;
    if (!styled || ((style ^ appliedStyle) & frameBits) != 0)
    {
        Qt::WindowFlags flags = windowFlags() & Qt::WindowType_Mask;
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
        if (style & WS_SYSMENU)
            flags |= Qt::WindowSystemMenuHint;
        if (style & WS_MINIMIZEBOX)
            flags |= Qt::WindowMinimizeButtonHint;
        if (style & WS_MAXIMIZEBOX)
            flags |= Qt::WindowMaximizeButtonHint;
        const bool visible = isVisible();
        const QRect kept = geometry();
        setWindowFlags(flags);
        setGeometry(kept);
        if (style & WS_THICKFRAME)
        {
            setMinimumSize(0, 0);
            setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        }
        else
        {
            setFixedSize(size());
        }
        if (visible)
            show();
    }
    styled = true;
    appliedStyle = style;

    if ((style & WS_VISIBLE) == 0)
    {
        hide();
        return;
    }
    if (style & WS_MINIMIZE)
        showMinimized();
    else if (style & WS_MAXIMIZE)
        showMaximized();
    else if (isHidden() || (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)))
        showNormal();
}

void TopLevelWidget::closeEvent(QCloseEvent* event)
{
    // The layer decides: its close handler destroys the window (or not).
    event->ignore();
    const Window* window = FromHandle(hwnd);
    if (!mirror.Applying() && window && window->IsWindowEnabled())
        PostMessage(hwnd, WM_CLOSE, 0, 0);
}

void TopLevelWidget::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    mirror.TopLevelGeometryChanged(hwnd, *this);
}

void TopLevelWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    mirror.TopLevelGeometryChanged(hwnd, *this);
}

void TopLevelWidget::contextMenuEvent(QContextMenuEvent* event)
{
    const QPoint at = event->reason() == QContextMenuEvent::Mouse ? event->globalPos()
                                                                  : mapToGlobal(QPoint(0, 0));
    const HWND target = hwnd;
    PostTask(
        [target, at]
        {
            if (auto* dialog = dynamic_cast<CDialogEx*>(FromHandle(target)))
                dialog->OpenSystemMenu(POINT{at.x(), at.y()});
        });
    event->accept();
}

void TopLevelWidget::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        mirror.TopLevelStateChanged(hwnd, *this);
}

} // namespace platform::qt
