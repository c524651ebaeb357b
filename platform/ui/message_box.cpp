#include "platform/ui/message_box.h"

#include "platform/text/code_page.h"
#include "platform/ui/active_window.h"
#include "platform/ui/messages.h"

#include <algorithm>

#include <atomic>
#include <cstdio>

namespace platform
{

namespace
{

class DefaultPrompter final : public Prompter
{
public:
    int ShowMessageBox(const MessageBoxRequest& request) override
    {
        std::fprintf(stderr, "[%s] %s\n", Utf16ToUtf8(request.caption).c_str(),
                     Utf16ToUtf8(request.text).c_str());
        return (request.type & MB_TYPEMASK) == MB_YESNO ? IDYES : IDOK;
    }
};

DefaultPrompter defaultPrompter;
std::atomic<Prompter*> currentPrompter{&defaultPrompter};

std::u16string& TitleSlot()
{
    static std::u16string title = u"Brindle";
    return title;
}

} // namespace

void SetPrompter(Prompter* prompter)
{
    currentPrompter.store(prompter ? prompter : &defaultPrompter);
}

Prompter& CurrentPrompter()
{
    return *currentPrompter.load();
}

std::vector<int> MessageBoxButtons(UINT type)
{
    switch (type & MB_TYPEMASK)
    {
    case MB_OKCANCEL:
        return {IDOK, IDCANCEL};
    case MB_YESNOCANCEL:
        return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO:
        return {IDYES, IDNO};
    default:
        return {IDOK};
    }
}

int MessageBoxEscapeAnswer(UINT type)
{
    switch (type & MB_TYPEMASK)
    {
    case MB_OKCANCEL:
    case MB_YESNOCANCEL:
        return IDCANCEL;
    case MB_YESNO:
        return 0;
    default:
        return IDOK;
    }
}

int MessageBoxDefaultAnswer(UINT type)
{
    const std::vector<int> buttons = MessageBoxButtons(type);
    const size_t index = (type & MB_DEFMASK) >> 8;
    return index < buttons.size() ? buttons[index] : buttons.front();
}

int MessageBox(HWND owner, std::u16string_view text, std::u16string_view caption, UINT type)
{
    int answer;
    {
        ModalScope modal(HWND{}, owner);
        answer = CurrentPrompter().ShowMessageBox(
            MessageBoxRequest{owner, std::u16string(text), std::u16string(caption), type});
    }
    const std::vector<int> buttons = MessageBoxButtons(type);
    if (std::find(buttons.begin(), buttons.end(), answer) != buttons.end())
        return answer;
    const int escape = MessageBoxEscapeAnswer(type);
    return escape != 0 ? escape : MessageBoxDefaultAnswer(type);
}

int AfxMessageBox(std::u16string_view text, UINT type)
{
    if ((type & MB_ICONMASK) == 0)
    {
        switch (type & MB_TYPEMASK)
        {
        case MB_OK:
        case MB_OKCANCEL:
            type |= MB_ICONEXCLAMATION;
            break;
        case MB_YESNO:
        case MB_YESNOCANCEL:
            type |= MB_ICONQUESTION;
            break;
        default:
            break;
        }
    }
    return MessageBox(GetActiveWindow(), text, AppTitle(), type);
}

void SetAppTitle(std::u16string title)
{
    TitleSlot() = std::move(title);
}
const std::u16string& AppTitle()
{
    return TitleSlot();
}

} // namespace platform
