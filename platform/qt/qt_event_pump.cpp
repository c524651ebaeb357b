#include "platform/qt/qt_event_pump.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QObject>
#include <QThread>
#include <QTimer>

namespace platform::qt
{

QtEventPump::QtEventPump() : context(std::make_unique<QObject>()) {}

QtEventPump::~QtEventPump() = default;

void QtEventPump::Wait(ThreadQueue& queue, std::uint32_t ms)
{
    if (woken.exchange(false) || queue.HasInput())
        return;
    QEventLoop loop;
    QTimer timeout;
    if (ms != INFINITE)
    {
        timeout.setSingleShot(true);
        timeout.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
        timeout.start(static_cast<int>(std::min<std::uint32_t>(ms, 0x7FFFFFFF)));
    }
    QEventLoop* outer = current;
    current = &loop;
    // A message posted between the check above and here has set `woken`.
    if (!woken.exchange(false) && !queue.HasInput())
        loop.exec();
    current = outer;
    woken.store(false);
}

void QtEventPump::QuitCurrentLoop()
{
    wakePosted.store(false);
    if (current)
        current->quit();
}

void QtEventPump::Wake()
{
    woken.store(true);
    if (QThread::currentThread() == context->thread())
    {
        if (current)
            current->quit();
        return;
    }
    // From another thread: one queued call at a time is enough.
    if (!wakePosted.exchange(true))
        QMetaObject::invokeMethod(
            context.get(), [this] { QuitCurrentLoop(); }, Qt::QueuedConnection);
}

} // namespace platform::qt
