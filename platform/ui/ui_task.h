// Work queued to run later on the calling thread's message loop, in order
// with its posted messages: a test queues the steps a user takes in a
// modal dialog before it starts it, and they run inside the dialog's loop.
#pragma once

#include <functional>

namespace platform
{

// Runs `task` when the calling thread's message loop next dispatches.
void PostTask(std::function<void()> task);

} // namespace platform
