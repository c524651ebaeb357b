// What the GUI tests share: one offscreen QApplication per process, the Qt
// backend in place for each test, and screenshots under build/screenshots/.
#pragma once

#include "platform/qt/qt_backend.h"
#include "platform/ui/win_types.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

class QWidget;

namespace qt_testing
{

// The process's QApplication on the offscreen platform, made on first use.
void EnsureApplication();

// Where a test's picture goes: <build>/screenshots/<name>.png.
std::string ScreenshotPath(const std::string& name);

// Saves a picture of `widget` (its whole window) and checks it was written.
void SaveScreenshot(QWidget& widget, const std::string& name);

class QtTest : public ::testing::Test
{
protected:
    QtTest();
    ~QtTest() override;

    QWidget* WidgetOf(platform::HWND hwnd) const { return backend->WidgetOf(hwnd); }

    std::unique_ptr<platform::qt::QtBackend> backend;
};

} // namespace qt_testing
