// The desktop's clipboard as the layer's, for Unicode text.
#pragma once

#include "platform/ui/clipboard.h"

namespace platform::qt
{

class QtClipboard final : public ClipboardBackend
{
public:
    bool SetText(std::u16string_view text) override;
    std::optional<std::u16string> GetText() override;
    bool Empty() override;
};

} // namespace platform::qt
