// Qt key codes turned into the virtual-key codes the layer's key messages
// carry (the Windows values; input.h has the common ones).
#pragma once

#include "platform/ui/input.h"

#include <optional>

class QKeyEvent;

namespace platform::qt
{

inline constexpr UINT kVkApps = 0x5D;
inline constexpr UINT kVkAdd = 0x6B;
inline constexpr UINT kVkSubtract = 0x6D;

// The virtual-key code of a key press; nothing for keys the layer does not
// know.
std::optional<UINT> VirtualKeyOf(const QKeyEvent& event);

// Keys a dialog handles itself (Tab, Enter, Escape, F1): they go to the
// layer even from a widget that edits text.
bool IsDialogKey(UINT vk);

} // namespace platform::qt
