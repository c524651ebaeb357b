// The Qt backend: puts the layer's windows on screen. While an object of
// this class lives, Qt's event loop is the wait of the thread's message
// loops, every layer window has a widget, message boxes and menus are Qt's,
// and windows of other programs are found through the desktop.
#pragma once

#include "platform/ui/win_types.h"

#include <memory>
#include <string>

class QApplication;
class QWidget;

namespace platform::qt
{

class WindowMirror;

class QtBackend
{
public:
    // On the user-interface thread, before any window is created.
    QtBackend();
    ~QtBackend();
    QtBackend(const QtBackend&) = delete;
    QtBackend& operator=(const QtBackend&) = delete;

    // True when there is a screen to show windows on (an X or Wayland
    // display, or a platform named in QT_QPA_PLATFORM).
    static bool DisplayAvailable();

    WindowMirror& Mirror();
    QWidget* WidgetOf(HWND hwnd) const;

    // Writes a picture of the window as it is on screen; false on failure.
    bool SaveScreenshot(HWND hwnd, const std::string& path) const;

private:
    struct Parts;
    std::unique_ptr<Parts> parts;
};

} // namespace platform::qt
