// A Prompter for tests: answers message boxes and popup menus as scripted,
// in order, and records every box and menu shown. Put in place for its own
// life (the previous prompter comes back after).
//
//     ScriptedPrompter prompter;
//     prompter.Answer(IDNO);
//     ... code that asks a Yes/No question ...
//     EXPECT_EQ(prompter.Boxes().at(0).text, u"Sure?");
//
// A box without a scripted answer gets its default button (OK, Yes); a
// menu without one gets no choice. An answer may also be a function, which
// can run the message loop before it answers (a box that stays open while
// timers fire).
#pragma once

#include "platform/ui/menu.h"
#include "platform/ui/message_box.h"

#include <deque>
#include <functional>
#include <vector>

namespace platform
{

class ScriptedPrompter final : public Prompter
{
public:
    struct ShownBox
    {
        HWND owner;
        std::u16string text;
        std::u16string caption;
        UINT type = MB_OK;
        int answer = 0;

        std::vector<int> Buttons() const { return MessageBoxButtons(type); }
        UINT Icon() const { return type & MB_ICONMASK; }
    };
    struct ShownMenu
    {
        HWND owner;
        CMenu menu; // a copy of the menu as it was shown
        POINT at;
        UINT flags = 0;
        UINT answer = 0;
    };
    using BoxAnswer = std::function<int(const MessageBoxRequest&)>;
    using MenuAnswer = std::function<UINT(const MenuRequest&)>;

    ScriptedPrompter();
    ~ScriptedPrompter() override;
    ScriptedPrompter(const ScriptedPrompter&) = delete;
    ScriptedPrompter& operator=(const ScriptedPrompter&) = delete;

    // Queues the answer to the next box.
    void Answer(int button);
    void Answer(BoxAnswer answer);
    // Queues the choice of the next popup menu (0: dismissed).
    void Choose(UINT command);
    void Choose(MenuAnswer answer);

    const std::vector<ShownBox>& Boxes() const { return boxes; }
    const std::vector<ShownMenu>& Menus() const { return menus; }
    size_t UnusedAnswers() const { return boxAnswers.size() + menuAnswers.size(); }
    void Clear();

    int ShowMessageBox(const MessageBoxRequest& request) override;
    UINT ShowPopupMenu(const MenuRequest& request) override;

private:
    Prompter* previous;
    std::deque<BoxAnswer> boxAnswers;
    std::deque<MenuAnswer> menuAnswers;
    std::vector<ShownBox> boxes;
    std::vector<ShownMenu> menus;
};

} // namespace platform
