#include "platform/ui/clipboard.h"

#include <atomic>
#include <mutex>

namespace platform
{

namespace
{
class ProcessClipboard final : public ClipboardBackend
{
public:
    bool SetText(std::u16string_view newText) override
    {
        std::lock_guard lock(mutex);
        text = std::u16string(newText);
        return true;
    }
    std::optional<std::u16string> GetText() override
    {
        std::lock_guard lock(mutex);
        return text;
    }
    bool Empty() override
    {
        std::lock_guard lock(mutex);
        text.reset();
        return true;
    }

private:
    std::mutex mutex;
    std::optional<std::u16string> text;
};

ProcessClipboard processClipboard;
std::atomic<ClipboardBackend*> current{&processClipboard};
} // namespace

void SetClipboardBackend(ClipboardBackend* backend)
{
    current.store(backend ? backend : &processClipboard);
}

bool SetClipboardText(std::u16string_view text)
{
    return current.load()->SetText(text);
}

std::optional<std::u16string> GetClipboardText()
{
    return current.load()->GetText();
}

bool EmptyClipboard()
{
    return current.load()->Empty();
}

} // namespace platform
