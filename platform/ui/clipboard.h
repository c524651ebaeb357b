// The clipboard, for Unicode text. Headless it lives in the process; a
// backend that has a real clipboard puts its own in place.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform
{

class ClipboardBackend
{
public:
    virtual ~ClipboardBackend() = default;
    virtual bool SetText(std::u16string_view text) = 0;
    virtual std::optional<std::u16string> GetText() = 0;
    virtual bool Empty() = 0;
};

// nullptr: the in-process clipboard.
void SetClipboardBackend(ClipboardBackend* backend);

// Replaces the clipboard's content by `text`; true on success.
bool SetClipboardText(std::u16string_view text);
// The clipboard's text; nothing when it holds none.
std::optional<std::u16string> GetClipboardText();
bool EmptyClipboard();

} // namespace platform
