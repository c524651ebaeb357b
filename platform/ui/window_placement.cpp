#include "platform/ui/window_placement.h"

namespace platform
{

namespace
{
void Put(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

std::uint32_t Get(const std::vector<std::uint8_t>& in, size_t offset)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | in[offset + static_cast<size_t>(i)];
    return value;
}

int GetInt(const std::vector<std::uint8_t>& in, size_t offset)
{
    return static_cast<int>(Get(in, offset));
}
} // namespace

std::vector<std::uint8_t> WINDOWPLACEMENT::ToBytes() const
{
    std::vector<std::uint8_t> out;
    out.reserve(kSize);
    for (std::uint32_t value :
         {length, flags, showCmd, static_cast<std::uint32_t>(ptMinPosition.x),
          static_cast<std::uint32_t>(ptMinPosition.y), static_cast<std::uint32_t>(ptMaxPosition.x),
          static_cast<std::uint32_t>(ptMaxPosition.y),
          static_cast<std::uint32_t>(rcNormalPosition.left),
          static_cast<std::uint32_t>(rcNormalPosition.top),
          static_cast<std::uint32_t>(rcNormalPosition.right),
          static_cast<std::uint32_t>(rcNormalPosition.bottom)})
        Put(out, value);
    return out;
}

std::optional<WINDOWPLACEMENT> WINDOWPLACEMENT::FromBytes(const std::vector<std::uint8_t>& bytes)
{
    if (bytes.size() != kSize)
        return std::nullopt;
    WINDOWPLACEMENT wp;
    wp.length = Get(bytes, 0);
    wp.flags = Get(bytes, 4);
    wp.showCmd = Get(bytes, 8);
    wp.ptMinPosition = {GetInt(bytes, 12), GetInt(bytes, 16)};
    wp.ptMaxPosition = {GetInt(bytes, 20), GetInt(bytes, 24)};
    wp.rcNormalPosition = {GetInt(bytes, 28), GetInt(bytes, 32), GetInt(bytes, 36),
                           GetInt(bytes, 40)};
    return wp;
}

} // namespace platform
