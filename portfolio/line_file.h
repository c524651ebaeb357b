// The plain 8-bit text files of the data store (portfolios.txt and
// symboldata.txt) share one format: lines end with LF, CR bytes are dropped
// wherever they stand, empty lines are dropped, every other byte (NUL
// included) belongs to its line. Saving writes each line followed by one LF.
#pragma once

#include "portfolio/data_store.h"

#include <filesystem>
#include <string>
#include <string_view>

// The lines of `bytes` under the rules above.
TextLines SplitTextLines(std::string_view bytes);

// Every line followed by one LF; empty for no lines.
std::string JoinTextLines(const TextLines& lines);

// Reads `path` into `lines`. False, with `lines` untouched, when the file is
// missing, empty or cannot be read completely (a folder, no permission).
bool LoadTextLines(const std::filesystem::path& path, TextLines& lines);

// Replaces `path` with the joined lines; a read-only file is replaced too.
// False when the file could not be written whole; the old file then stays
// as it was. No lines make an empty file.
bool SaveTextLines(const std::filesystem::path& path, const TextLines& lines);
