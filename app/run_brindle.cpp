#include "app/brindle_app.h"

#include "platform/ui/message_queue.h"
#include "platform/ui/window.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <pthread.h>
#include <thread>

namespace
{

void PrintUsage()
{
    std::fputs("usage: brindle [--headless]\n"
               "  --headless  run without a screen; SIGINT or SIGTERM closes the main window\n",
               stderr);
}

// Receives the termination signals on the user-interface thread and closes
// the main window, so that a headless run ends the way a user closes the
// window (saving what the close saves).
class SignalWindow final : public platform::Window
{
public:
    platform::LRESULT WindowProc(platform::UINT message, platform::WPARAM wParam,
                                 platform::LPARAM lParam) override
    {
        if (message != kSignalMessage)
            return Window::WindowProc(message, wParam, lParam);
        if (!theApp.mainWindow)
            std::_Exit(0); // nothing open yet: nothing to save either
        platform::PostMessage(theApp.mainWindow->Handle(), platform::WM_CLOSE, 0, 0);
        return 0;
    }

    static constexpr platform::UINT kSignalMessage = platform::WM_APP + 1;
};

// SIGINT, SIGTERM and SIGHUP are blocked in every thread and taken by a
// watcher thread, which hands them to the signal window.
void StartSignalWatcher(platform::HWND target)
{
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    std::thread(
        [signals, target]
        {
            for (;;)
            {
                int signal = 0;
                if (sigwait(&signals, &signal) == 0)
                    platform::PostMessage(target, SignalWindow::kSignalMessage, 0, 0);
            }
        })
        .detach();
}

} // namespace

int RunBrindle(int argc, char** argv, ScreenOpener openScreen)
{
    bool headless = false;
    for (int i = 1; i < argc; ++i)
    {
        if (std::strcmp(argv[i], "--headless") == 0)
        {
            headless = true;
            continue;
        }
        PrintUsage();
        return 2;
    }
    std::shared_ptr<void> screen;
    if (!headless)
    {
        std::string whyNot = "this build has no screen backend";
        if (openScreen)
            screen = openScreen(whyNot);
        if (!screen)
            std::fprintf(stderr, "brindle: running headless: %s\n", whyNot.c_str());
    }
    SignalWindow signalWindow;
    signalWindow.Create(platform::CreateParams{.parent = platform::HWND_MESSAGE});
    StartSignalWatcher(signalWindow.Handle());
    theApp.InitInstance();
    return 0;
}
