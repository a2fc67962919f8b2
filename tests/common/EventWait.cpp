#include "common/EventWait.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <QObject>
#include <QTimer>

namespace testwait {

namespace {

// Sees every event delivered on the thread while installed on the application object.
class EventCounter final : public QObject
{
public:
    EventCounter() { QCoreApplication::instance()->installEventFilter(this); }
    ~EventCounter() override { QCoreApplication::instance()->removeEventFilter(this); }

    bool eventFilter(QObject *, QEvent *) override
    {
        ++count;
        return false;
    }

    long count = 0;
};

void runOnce()
{
    QCoreApplication::sendPostedEvents();
    // Deletions asked for outside any running loop wait for an explicit request.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

} // namespace

bool drainEvents(int maxRounds)
{
    EventCounter counter;
    for (int round = 0; round < maxRounds; ++round) {
        const long before = counter.count;
        runOnce();
        if (counter.count == before)
            return true;
    }
    return false;
}

void runRounds(int rounds)
{
    for (int round = 0; round < rounds; ++round)
        runOnce();
}

bool waitFor(const std::function<bool()> &pred, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    // Wakes the blocking wait below now and then, for conditions that no event announces
    // (a child's output read on demand, a datagram on a plain socket).
    QTimer tick;
    tick.start(2);
    while (!pred()) {
        if (deadline.hasExpired())
            return pred();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

} // namespace testwait
