#include "platform/ui/control_codes.h"
#include "platform/ui/window.h"
#include "platform/ui/window_placement.h"

#include <gtest/gtest.h>

#include <vector>

using namespace platform;

namespace
{

class SizedWindow : public Window
{
public:
    SizedWindow()
    {
        Create(CreateParams{.style = WS_POPUP | WS_VISIBLE | WS_THICKFRAME,
                            .rect = RECT{100, 50, 762, 307}});
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_SIZE)
            sizes.push_back(static_cast<UINT>(wParam));
        return Window::WindowProc(message, wParam, lParam);
    }
    std::vector<UINT> sizes;
};

TEST(WindowPlacementTest, NormalWindowGivesItsRectangle)
{
    SizedWindow window;
    WINDOWPLACEMENT wp;
    ASSERT_TRUE(GetWindowPlacement(window.Handle(), wp));
    EXPECT_EQ(wp.length, 44u);
    EXPECT_EQ(wp.flags, 0u);
    EXPECT_EQ(wp.showCmd, SW_SHOWNORMAL);
    EXPECT_EQ(wp.ptMinPosition, (POINT{-1, -1}));
    EXPECT_EQ(wp.rcNormalPosition, (RECT{100, 50, 762, 307}));
    EXPECT_EQ(wp.ToBytes().size(), 44u);
    EXPECT_EQ(WINDOWPLACEMENT::FromBytes(wp.ToBytes()), wp);
}

TEST(WindowPlacementTest, MaximisedAndMinimisedStatesKeepTheNormalRectangle)
{
    SetScreenWorkArea(RECT{0, 0, 1280, 1000});
    SizedWindow window;
    const RECT normal = window.GetWindowRect();

    ShowWindow(window.Handle(), SW_SHOWMAXIMIZED);
    EXPECT_TRUE(window.IsZoomed());
    EXPECT_EQ(window.GetWindowRect(), (RECT{0, 0, 1280, 1000}));
    WINDOWPLACEMENT wp;
    GetWindowPlacement(window.Handle(), wp);
    EXPECT_EQ(wp.flags, WPF_RESTORETOMAXIMIZED);
    EXPECT_EQ(wp.showCmd, SW_SHOWMAXIMIZED);
    EXPECT_EQ(wp.rcNormalPosition, normal);

    // Minimised from maximised: restoring goes back to maximised.
    ShowWindow(window.Handle(), SW_MINIMIZE);
    EXPECT_TRUE(window.IsIconic());
    GetWindowPlacement(window.Handle(), wp);
    EXPECT_EQ(wp.showCmd, SW_SHOWMINIMIZED);
    EXPECT_EQ(wp.flags, WPF_RESTORETOMAXIMIZED);
    ShowWindow(window.Handle(), SW_RESTORE);
    EXPECT_TRUE(window.IsZoomed());
    ShowWindow(window.Handle(), SW_RESTORE);
    EXPECT_FALSE(window.IsZoomed());
    EXPECT_EQ(window.GetWindowRect(), normal);
    EXPECT_EQ(window.sizes.back(), SIZE_RESTORED);
    SetScreenWorkArea(RECT{0, 0, 1920, 1080});
}

TEST(WindowPlacementTest, SetPlacementMovesToTheNormalRectangleAndTakesTheState)
{
    SizedWindow window;
    WINDOWPLACEMENT wp;
    wp.showCmd = SW_SHOWNORMAL;
    wp.rcNormalPosition = RECT{10, 20, 410, 320};
    ASSERT_TRUE(SetWindowPlacement(window.Handle(), wp));
    EXPECT_EQ(window.GetWindowRect(), (RECT{10, 20, 410, 320}));

    wp.showCmd = SW_SHOWMAXIMIZED;
    wp.rcNormalPosition = RECT{30, 40, 330, 240};
    SetWindowPlacement(window.Handle(), wp);
    EXPECT_TRUE(window.IsZoomed());
    ShowWindow(window.Handle(), SW_RESTORE);
    EXPECT_EQ(window.GetWindowRect(), (RECT{30, 40, 330, 240}));

    EXPECT_FALSE(SetWindowPlacement(HWND{}, wp));
    EXPECT_FALSE(GetWindowPlacement(HWND{}, wp));
}

} // namespace
