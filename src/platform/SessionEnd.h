#pragma once

#include <QObject>

class QSocketNotifier;

/// Tells the event loop that the program is asked to end: SIGTERM, SIGINT or SIGHUP, and the
/// end of the desktop session where SessionHook watches it. The signal handler only writes a byte
/// to a socket pair; the work is done on the event loop, where leaving the network and saving are
/// safe.
class SessionEnd final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SessionEnd)

public:
    explicit SessionEnd(QObject *parent = nullptr);
    ~SessionEnd() override;

signals:
    /// Emitted on the event loop; signalNumber is 0 for the end of the desktop session.
    void requested(int signalNumber);

private:
    void onReadable();

    QSocketNotifier *m_notifier = nullptr;
};
