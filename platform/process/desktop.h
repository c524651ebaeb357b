// Top-level windows of any program on the desktop: finding one by its exact
// caption and bringing it to the front. Without a desktop (headless) only
// the windows of this process are seen.
#pragma once

#include <string_view>

namespace platform
{

class DesktopWindows
{
public:
    virtual ~DesktopWindows() = default;
    // Raises the first top-level window captioned exactly `caption`; false
    // when there is none.
    virtual bool RaiseByCaption(std::u16string_view caption) = 0;
};

// Puts the backend's desktop in place (nullptr: this process only).
void SetDesktopWindows(DesktopWindows* desktop);

// Finds the window captioned exactly `caption`, on the desktop when there is
// one, and brings it to the front (a minimised window stays minimised).
// False when none was found.
bool RaiseWindowByCaption(std::u16string_view caption);

} // namespace platform
