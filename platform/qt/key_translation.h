// Qt key codes turned into the virtual-key codes the layer's key messages
// carry (the Windows values).
#pragma once

#include "platform/ui/win_types.h"

#include <optional>

class QKeyEvent;

namespace platform::qt
{

inline constexpr UINT kVkBack = 0x08;
inline constexpr UINT kVkTab = 0x09;
inline constexpr UINT kVkReturn = 0x0D;
inline constexpr UINT kVkShift = 0x10;
inline constexpr UINT kVkControl = 0x11;
inline constexpr UINT kVkMenu = 0x12;
inline constexpr UINT kVkEscape = 0x1B;
inline constexpr UINT kVkSpace = 0x20;
inline constexpr UINT kVkPrior = 0x21;
inline constexpr UINT kVkNext = 0x22;
inline constexpr UINT kVkEnd = 0x23;
inline constexpr UINT kVkHome = 0x24;
inline constexpr UINT kVkLeft = 0x25;
inline constexpr UINT kVkUp = 0x26;
inline constexpr UINT kVkRight = 0x27;
inline constexpr UINT kVkDown = 0x28;
inline constexpr UINT kVkInsert = 0x2D;
inline constexpr UINT kVkDelete = 0x2E;
inline constexpr UINT kVkApps = 0x5D;
inline constexpr UINT kVkAdd = 0x6B;
inline constexpr UINT kVkSubtract = 0x6D;
inline constexpr UINT kVkF1 = 0x70;
inline constexpr UINT kVkF2 = 0x71;

// The virtual-key code of a key press; nothing for keys the layer does not
// know.
std::optional<UINT> VirtualKeyOf(const QKeyEvent& event);

// Keys a dialog handles itself (Tab, Enter, Escape, F1): they go to the
// layer even from a widget that edits text.
bool IsDialogKey(UINT vk);

} // namespace platform::qt
