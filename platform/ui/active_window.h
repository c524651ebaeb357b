// The window that owns what opens next (a message box, a dialog without an
// owner): the innermost modal window still running, else the top-level
// window that holds the focus.
#pragma once

#include "platform/ui/win_types.h"

namespace platform
{

HWND GetActiveWindow();

// Keeps `hwnd` on the calling thread's stack of running modal windows for
// the life of the object, and the owner disabled meanwhile (as long as it
// was enabled before), as modal windows do.
class ModalScope
{
public:
    ModalScope(HWND modal, HWND owner);
    ~ModalScope();
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

private:
    HWND modal;
    HWND owner;
    bool reenableOwner = false;
};

} // namespace platform
