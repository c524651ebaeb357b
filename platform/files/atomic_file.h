// Reading a file whole, and replacing one so that it is never left truncated:
// the new bytes go to a temporary file in the same folder, which is flushed
// to disk and renamed over the target. A failure at any step removes the
// temporary file and leaves the old file as it was.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace platform
{

// Replaces `path` with `bytes`. The new file gets `mode` (before the umask).
// A read-only target is replaced all the same, and writable again; a
// symbolic link is followed and the file it names is replaced.
// False on any failure. Then the old file is as it was, except when only the
// final sync of the folder failed: the new content is in place but may not
// survive a crash, so the save does not count as done.
bool ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                           mode_t mode = 0644);

// The whole content of a regular file, or nothing when it does not exist,
// is no regular file (a folder, a FIFO) or cannot be read completely.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);

} // namespace platform
