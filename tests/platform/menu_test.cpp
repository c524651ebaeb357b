#include "platform/ui/clock.h"
#include "platform/ui/menu.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/scripted_prompter.h"
#include "platform/ui/window.h"

#include <gtest/gtest.h>

#include <vector>

using namespace platform;

namespace
{

enum : UINT
{
    kCopy = 100,
    kPaste = 101,
    kHide = 102,
    kColumnA = 200,
    kColumnB = 201,
};

CMenu SampleMenu()
{
    CMenu columns;
    columns.CreatePopupMenu();
    columns.AppendMenu(MF_STRING | MF_CHECKED, kColumnA, u"Column A");
    columns.AppendMenu(MF_STRING, kColumnB, u"Column B");
    CMenu menu;
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_STRING, kCopy, u"&Copy");
    menu.AppendMenu(MF_STRING | MF_GRAYED, kPaste, u"&Paste");
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendPopup(std::move(columns), u"Columns");
    menu.AppendMenu(MF_STRING, kHide, u"Hide");
    return menu;
}

class Owner : public Window
{
public:
    Owner() { Create(CreateParams{.style = WS_POPUP | WS_VISIBLE}); }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND)
            commands.push_back(LOWORD(wParam));
        if (message == WM_TIMER)
            ++ticks;
        return Window::WindowProc(message, wParam, lParam);
    }
    std::vector<UINT> commands;
    int ticks = 0;
};

TEST(MenuTest, ItemsChecksGreyingAndSubmenusAreKept)
{
    CMenu menu = SampleMenu();
    EXPECT_EQ(menu.GetMenuItemCount(), 5);
    EXPECT_EQ(menu.GetMenuItemID(0), kCopy);
    EXPECT_EQ(menu.GetMenuItemID(2), 0u);          // separator
    EXPECT_EQ(menu.GetMenuItemID(3), kNoMenuItem); // submenu
    ASSERT_NE(menu.GetSubMenu(3), nullptr);
    EXPECT_EQ(menu.GetSubMenu(3)->GetMenuItemCount(), 2);
    EXPECT_EQ(menu.GetMenuString(kColumnB, MF_BYCOMMAND), u"Column B");
    EXPECT_EQ(menu.GetMenuString(3, MF_BYPOSITION), u"Columns");

    // Check and enable return the previous state and reach into submenus.
    EXPECT_EQ(menu.CheckMenuItem(kColumnA, MF_UNCHECKED), MF_CHECKED);
    EXPECT_EQ(menu.CheckMenuItem(kColumnB, MF_CHECKED), MF_UNCHECKED);
    EXPECT_TRUE(menu.GetMenuState(kColumnB, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_EQ(menu.EnableMenuItem(kPaste, MF_ENABLED), MF_GRAYED);
    EXPECT_EQ(menu.CheckMenuItem(999, MF_CHECKED), kNoMenuItem);

    EXPECT_TRUE(menu.InsertMenu(kHide, MF_BYCOMMAND | MF_STRING, 103, u"Before hide"));
    EXPECT_EQ(menu.GetMenuItemID(4), 103u);
    EXPECT_TRUE(menu.DeleteMenu(kColumnA, MF_BYCOMMAND));
    EXPECT_EQ(menu.GetSubMenu(3)->GetMenuItemCount(), 1);
}

TEST(MenuTest, TrackPopupMenuReturnsTheChosenCommandOnlyWhenItCanBeChosen)
{
    ScriptedPrompter prompter;
    Owner owner;
    const CMenu menu = SampleMenu();
    struct Case
    {
        UINT chosen;
        UINT returned;
    };
    const std::vector<Case> cases = {{kCopy, kCopy}, {kColumnB, kColumnB}, {kPaste, 0}, {0, 0},
                                     {999, 0},       {kHide, kHide}};
    for (const Case& c : cases)
    {
        prompter.Choose(c.chosen);
        EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD | TPM_RIGHTBUTTON, 40, 50, owner.Handle()),
                  c.returned)
            << c.chosen;
    }
    ASSERT_EQ(prompter.Menus().size(), cases.size());
    EXPECT_EQ(prompter.Menus()[0].at, (POINT{40, 50}));
    EXPECT_EQ(prompter.Menus()[0].owner, owner.Handle());
    EXPECT_TRUE(prompter.Menus()[0].menu.Items()[1].IsGrayed());
    EXPECT_TRUE(prompter.Menus()[0].menu.Items()[2].IsSeparator());
    EXPECT_TRUE(prompter.Menus()[0].menu.Items()[3].IsPopup());
}

TEST(MenuTest, WithoutReturnCmdTheCommandIsPostedToTheOwner)
{
    ScriptedPrompter prompter;
    Owner owner;
    const CMenu menu = SampleMenu();
    prompter.Choose(kHide);
    EXPECT_EQ(menu.TrackPopupMenu(0, 0, 0, owner.Handle()), 1u);
    EXPECT_TRUE(owner.commands.empty()); // posted, not sent
    PumpWaitingMessages();
    EXPECT_EQ(owner.commands, std::vector<UINT>{kHide});
    // Nothing chosen: nothing posted.
    EXPECT_EQ(menu.TrackPopupMenu(0, 0, 0, owner.Handle()), 0u);
    PumpWaitingMessages();
    EXPECT_EQ(owner.commands.size(), 1u);
}

TEST(MenuTest, OpenMenuKeepsDispatchingMessages)
{
    ManualClock clock;
    ScopedClock useClock(clock);
    ScriptedPrompter prompter;
    Owner owner;
    SetTimer(owner.Handle(), 3, 10);
    prompter.Choose(
        [&](const MenuRequest&)
        {
            RunMessageLoopUntil([&] { return owner.ticks >= 2; });
            return kCopy;
        });
    EXPECT_EQ(SampleMenu().TrackPopupMenu(TPM_RETURNCMD, 0, 0, owner.Handle()), kCopy);
    EXPECT_EQ(owner.ticks, 2);
}

} // namespace
