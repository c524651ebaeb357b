#include "platform/ui/message_box.h"

#include "platform/text/code_page.h"
#include "platform/ui/messages.h"

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

int MessageBox(HWND owner, std::u16string_view text, std::u16string_view caption, UINT type)
{
    return CurrentPrompter().ShowMessageBox(
        MessageBoxRequest{owner, std::u16string(text), std::u16string(caption), type});
}

int AfxMessageBox(std::u16string_view text, UINT type)
{
    return MessageBox(HWND{}, text, AppTitle(), type);
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
