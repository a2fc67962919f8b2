#pragma once

#include "RecordingWindows.h"
#include "app/Support.h"
#include "engine/MessagingEngine.h"

#include <QThread>
#include <atomic>
#include <functional>
#include <memory>

/// An engine living on its own thread inside a sandbox host's namespace, so that several
/// engines of one process sit on different hosts. Its clock runs offsetMs() ahead of the
/// system's, and its timer is left to the test.
class EngineHost final : public QThread
{
public:
    EngineHost(const QByteArray &nsName, const QByteArray &userName, const QByteArray &channel);
    ~EngineHost() override;

    /// Runs fn on the engine's thread and waits for it.
    void call(const std::function<void(MessagingEngine &)> &fn);
    /// Names in list order.
    QList<QByteArray> names();
    /// Packet identifier of the last datagram accepted from the peer of that name (empty
    /// when it is not listed): a fresh one shows that a new datagram was handled.
    QByteArray lastId(const QByteArray &name);
    /// The first tick: opens the receiver and announces.
    void comeOnLine();
    /// A later tick, the test standing in for the timer.
    void tick();
    /// Ends the thread without a leave notice, as a killed process would.
    void kill();

    std::atomic<qint64> offsetMs{0};

protected:
    void run() override;

private:
    QByteArray m_ns;
    QByteArray m_userName;
    QByteArray m_channel;
    std::atomic<MessagingEngine *> m_engine{nullptr};
    std::atomic<bool> m_ready{false};
};
