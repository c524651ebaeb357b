// The window placement record as the window system gives it: 44 bytes,
// little-endian, stored as is in the settings.
#pragma once

#include "platform/ui/win_types.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace platform
{

inline constexpr std::uint32_t WPF_RESTORETOMAXIMIZED = 2;
inline constexpr std::uint32_t SW_HIDE = 0;
inline constexpr std::uint32_t SW_SHOWNORMAL = 1;
inline constexpr std::uint32_t SW_SHOWMINIMIZED = 2;
inline constexpr std::uint32_t SW_SHOWMAXIMIZED = 3;
inline constexpr std::uint32_t SW_SHOW = 5;
inline constexpr std::uint32_t SW_MINIMIZE = 6;
inline constexpr std::uint32_t SW_RESTORE = 9;

struct WINDOWPLACEMENT
{
    std::uint32_t length = 44;
    std::uint32_t flags = 0;
    std::uint32_t showCmd = 0;
    POINT ptMinPosition;
    POINT ptMaxPosition;
    RECT rcNormalPosition;

    static constexpr size_t kSize = 44;

    std::vector<std::uint8_t> ToBytes() const;
    // Nothing unless `bytes` holds exactly 44 bytes.
    static std::optional<WINDOWPLACEMENT> FromBytes(const std::vector<std::uint8_t>& bytes);

    friend bool operator==(const WINDOWPLACEMENT&, const WINDOWPLACEMENT&) = default;
};

} // namespace platform
