// Opening a file with the desktop's default program.
#pragma once

#include <string>

namespace platform
{

// Runs `xdg-open path`; false when it could not be started or failed.
bool ShellOpen(const std::string& path);

} // namespace platform
