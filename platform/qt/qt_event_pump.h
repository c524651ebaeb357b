// Qt's event loop as the wait of the layer's message loops: while a layer
// loop waits for input, Qt's loop runs (painting, input, Qt timers) and
// stops as soon as a layer message arrives, a layer timer falls due or the
// wait's time runs out. Qt loops are therefore never nested inside each
// other: a modal dialog, a message box or a menu is a layer loop whose
// waits each run one Qt loop.
#pragma once

#include "platform/ui/message_queue.h"

#include <atomic>
#include <cstdint>
#include <memory>

class QEventLoop;
class QObject;

namespace platform::qt
{

class QtEventPump final : public EventPump
{
public:
    // On the thread that owns the QApplication, after it was created.
    QtEventPump();
    ~QtEventPump() override;

    void Wait(ThreadQueue& queue, std::uint32_t ms) override;
    // Any thread. Ends the current wait, or the next one at once.
    void Wake() override;

private:
    void QuitCurrentLoop();

    std::unique_ptr<QObject> context; // lives on the pump's thread
    QEventLoop* current = nullptr;
    std::atomic<bool> woken{false};
    std::atomic<bool> wakePosted{false};
};

} // namespace platform::qt
