#include "app/main/screen.h"

#include "platform/qt/qt_backend.h"

std::shared_ptr<void> OpenScreen(std::string& whyNot)
{
    if (!platform::qt::QtBackend::DisplayAvailable())
    {
        whyNot = "no display (DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM are not set)";
        return nullptr;
    }
    return std::make_shared<platform::qt::QtBackend>();
}
