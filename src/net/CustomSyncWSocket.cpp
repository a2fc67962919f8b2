#include "net/CustomSyncWSocket.h"

#include "net/SocketError.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QPointer>
#include <QThread>

TCustomSyncWSocket::TCustomSyncWSocket(QObject *AOwner) : TCustomLineWSocket(AOwner) {}

int TCustomSyncWSocket::WaitUntilSet(const bool &Flag)
{
    QDeadlineTimer deadline(m_timeout > 0 ? qint64(m_timeout) : -1);
    const QPointer<TCustomWSocket> alive(this);
    while (!Flag) {
        if (m_timeout > 0 && deadline.hasExpired())
            return SocketError::WaitAborted;
        if (QCoreApplication::closingDown() || m_terminated)
            return SocketError::WaitAborted;
        PumpMessages();
        if (!alive)
            return SocketError::WaitAborted; // destroyed while we waited: the flag may be gone with
                                             // it
        if (!Flag)
            QThread::msleep(1); // yield without spinning the processor
    }
    return 0;
}

int TCustomSyncWSocket::WaitForCall(bool &Flag, const std::function<void()> &Routine)
{
    Flag = false;
    if (Routine)
        Routine();
    return WaitUntilSet(Flag);
}
