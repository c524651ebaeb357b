// Raising a window of another program by its caption, on a private Xvfb
// server (skipped where Xvfb is not installed).
#include "platform/qt/x11_desktop.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace
{

class XvfbServer
{
public:
    XvfbServer()
    {
        if (!std::filesystem::exists("/usr/bin/Xvfb"))
            return;
        name = ":" + std::to_string(60 + getpid() % 200);
        pid = fork();
        if (pid == 0)
        {
            execl("/usr/bin/Xvfb", "Xvfb", name.c_str(), "-nolisten", "tcp", "-screen", "0",
                  "640x480x24", static_cast<char*>(nullptr));
            _exit(127);
        }
        for (int i = 0; i < 100 && !display; ++i)
        {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            display = XOpenDisplay(name.c_str());
        }
    }
    ~XvfbServer()
    {
        if (display)
            XCloseDisplay(display);
        if (pid > 0)
        {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
    }
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    Display* display = nullptr;
    std::string name;

private:
    pid_t pid = -1;
};

::Window MakeWindow(Display* display, const char* caption)
{
    const ::Window window =
        XCreateSimpleWindow(display, DefaultRootWindow(display), 10, 10, 100, 80, 0, 0, 0);
    XStoreName(display, window, caption);
    XMapWindow(display, window);
    XSync(display, False);
    return window;
}

::Window TopMost(Display* display)
{
    ::Window root = 0;
    ::Window parent = 0;
    ::Window* children = nullptr;
    unsigned int count = 0;
    XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count);
    const ::Window top = count ? children[count - 1] : 0;
    XFree(children);
    return top;
}

TEST(X11DesktopTest, RaisesTheWindowWithTheExactCaptionOnly)
{
    XvfbServer server;
    if (!server.display)
        GTEST_SKIP() << "no Xvfb";
    Display* display = server.display;
    const ::Window brindle = MakeWindow(display, "Brindle");
    const ::Window other = MakeWindow(display, "Brindle - other");
    ASSERT_EQ(TopMost(display), other);

    EXPECT_FALSE(platform::qt::RaiseX11WindowByCaption(server.name.c_str(), u"brindle"));
    EXPECT_FALSE(platform::qt::RaiseX11WindowByCaption(server.name.c_str(), u"Brindl"));
    EXPECT_EQ(TopMost(display), other);

    EXPECT_TRUE(platform::qt::RaiseX11WindowByCaption(server.name.c_str(), u"Brindle"));
    XSync(display, False);
    EXPECT_EQ(TopMost(display), brindle);
}

TEST(X11DesktopTest, NoDisplayFindsNothing)
{
    EXPECT_FALSE(platform::qt::RaiseX11WindowByCaption(":999", u"Brindle"));
}

} // namespace
