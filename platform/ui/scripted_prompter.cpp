#include "platform/ui/scripted_prompter.h"

namespace platform
{

ScriptedPrompter::ScriptedPrompter() : previous(&CurrentPrompter())
{
    SetPrompter(this);
}

ScriptedPrompter::~ScriptedPrompter()
{
    SetPrompter(previous);
}

void ScriptedPrompter::Answer(int button)
{
    boxAnswers.push_back([button](const MessageBoxRequest&) { return button; });
}

void ScriptedPrompter::Answer(BoxAnswer answer)
{
    boxAnswers.push_back(std::move(answer));
}

void ScriptedPrompter::Choose(UINT command)
{
    menuAnswers.push_back([command](const MenuRequest&) { return command; });
}

void ScriptedPrompter::Choose(MenuAnswer answer)
{
    menuAnswers.push_back(std::move(answer));
}

void ScriptedPrompter::Clear()
{
    boxAnswers.clear();
    menuAnswers.clear();
    boxes.clear();
    menus.clear();
}

int ScriptedPrompter::ShowMessageBox(const MessageBoxRequest& request)
{
    const size_t index = boxes.size();
    boxes.push_back(ShownBox{request.owner, request.text, request.caption, request.type, 0});
    int answer = MessageBoxDefaultAnswer(request.type);
    if (!boxAnswers.empty())
    {
        BoxAnswer next = std::move(boxAnswers.front());
        boxAnswers.pop_front();
        answer = next(request);
    }
    boxes[index].answer = answer;
    return answer;
}

UINT ScriptedPrompter::ShowPopupMenu(const MenuRequest& request)
{
    const size_t index = menus.size();
    menus.push_back(ShownMenu{request.owner, request.menu ? *request.menu : CMenu{}, request.at,
                              request.flags, 0});
    UINT answer = 0;
    if (!menuAnswers.empty())
    {
        MenuAnswer next = std::move(menuAnswers.front());
        menuAnswers.pop_front();
        answer = next(request);
    }
    menus[index].answer = answer;
    return answer;
}

} // namespace platform
