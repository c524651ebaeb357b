// Between the window registry and the message loop; not for other code.
#pragma once

#include <memory>

namespace platform
{
class Window;

// Frees a window that the layer owns (one of a registered class) once no
// message is being dispatched on the thread, so that a procedure that
// destroys its own window can still return through it.
void BuryWindow(std::unique_ptr<Window> window);
} // namespace platform
