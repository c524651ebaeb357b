// The application object: one copy of the program per machine, the settings
// location, the settings, and the main dialog run modally.
#pragma once

#include "app/app_settings.h"
#include "platform/ui/win_app.h"
#include "portfolio/data_store.h"

#include <memory>
#include <string>

class CBrindleApp : public platform::CWinApp
{
public:
    CBrindleApp();

    // Runs the whole life of the program; always false.
    bool InitInstance() override;

    // Fills `settings` from the settings store.
    void LoadSettings();

    DataStore dataStore;
    AppSettings settings;
};

// The one application object.
extern CBrindleApp theApp;

inline constexpr std::string_view kInstanceMutexName = "Global\\Halvorn Brindle.EXE";
inline constexpr std::u16string_view kMainWindowCaption = u"Brindle";
inline constexpr std::u16string_view kRegistryKeyWord = u"Brindle";

// Puts windows on screen for as long as the returned object lives; null when
// there is no screen to show them on (then `whyNot` says why).
using ScreenOpener = std::shared_ptr<void> (*)(std::string& whyNot);

// The program's entry: picks the backend from the command line (the screen
// unless "--headless" is given or `openScreen` finds none) and runs the
// application object. Returns the process exit code.
int RunBrindle(int argc, char** argv, ScreenOpener openScreen = nullptr);
