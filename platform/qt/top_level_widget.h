// The widget of a top-level layer window: caption, frame, minimise and
// maximise boxes from the style bits; the close box, moves, resizes and
// state changes go back to the layer.
#pragma once

#include "platform/ui/win_types.h"

#include <QWidget>

namespace platform::qt
{

class WindowMirror;

class TopLevelWidget final : public QWidget
{
public:
    TopLevelWidget(HWND hwnd, WindowMirror& mirror, QWidget* owner);

    // Frame, boxes, visibility and state from the window's style bits.
    void ApplyStyle(DWORD style);

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    // A right click on an empty part of a dialog opens its system menu
    // (with "Help..." and "About" where the program adds them): the desktop
    // has no window menu a program can extend.
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    HWND hwnd;
    WindowMirror& mirror;
    DWORD appliedStyle = 0;
    bool styled = false;
};

} // namespace platform::qt
