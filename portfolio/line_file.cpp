#include "portfolio/line_file.h"

#include "platform/files/atomic_file.h"

#include <algorithm>

namespace
{

// One line of the buffer with its CR bytes taken out.
std::string WithoutCarriageReturns(std::string_view piece)
{
    std::string line;
    line.reserve(piece.size());
    for (const char c : piece)
    {
        if (c != '\r')
            line.push_back(c);
    }
    return line;
}

} // namespace

TextLines SplitTextLines(std::string_view bytes)
{
    TextLines lines;
    lines.reserve(static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1);
    while (!bytes.empty())
    {
        const size_t end = std::min(bytes.find('\n'), bytes.size());
        const std::string_view piece = bytes.substr(0, end);
        // Most lines hold no CR: copy those in one go.
        std::string line = piece.find('\r') == std::string_view::npos
                               ? std::string(piece)
                               : WithoutCarriageReturns(piece);
        if (!line.empty())
            lines.push_back(std::move(line));
        bytes.remove_prefix(std::min(end + 1, bytes.size()));
    }
    return lines;
}

std::string JoinTextLines(const TextLines& lines)
{
    size_t size = 0;
    for (const std::string& line : lines)
        size += line.size() + 1;
    std::string bytes;
    bytes.reserve(size);
    for (const std::string& line : lines)
    {
        bytes += line;
        bytes += '\n';
    }
    return bytes;
}

bool LoadTextLines(const std::filesystem::path& path, TextLines& lines)
{
    const std::optional<std::string> bytes = platform::ReadWholeFile(path);
    if (!bytes || bytes->empty())
        return false;
    lines = SplitTextLines(*bytes);
    return true;
}

bool SaveTextLines(const std::filesystem::path& path, const TextLines& lines)
{
    return platform::ReplaceFileAtomically(path, JoinTextLines(lines));
}
