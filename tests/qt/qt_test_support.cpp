#include "qt_test_support.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPixmap>
#include <QWidget>

#include <cstdlib>

namespace qt_testing
{

void EnsureApplication()
{
    static QApplication* app = []
    {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        static int argc = 1;
        static char name[] = "test_qt";
        static char* argv[] = {name, nullptr};
        return new QApplication(argc, argv);
    }();
    (void)app;
}

std::string ScreenshotPath(const std::string& name)
{
    const char* root = std::getenv("BRINDLE_TEST_ROOT");
    const std::string base = root && *root ? root : ".";
    return base + "/screenshots/" + name + ".png";
}

void SaveScreenshot(QWidget& widget, const std::string& name)
{
    const QString path = QString::fromStdString(ScreenshotPath(name));
    QDir().mkpath(QFileInfo(path).absolutePath());
    EXPECT_TRUE(widget.window()->grab().save(path, "PNG")) << path.toStdString();
}

QtTest::QtTest()
{
    EnsureApplication();
    backend = std::make_unique<platform::qt::QtBackend>();
}

QtTest::~QtTest() = default;

} // namespace qt_testing

// Fontconfig keeps a few bytes of its cache until the process ends; that is
// the library's, not ours.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
