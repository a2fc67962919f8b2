#include "net/CustomWSocket.h"
#include "net/SocketWindow.h"
#include "net/WSocketInternal.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSocketNotifier>
#include <cerrno>
#include <sys/ioctl.h>
#include <unistd.h>
#include <utility>

using namespace wsocket;

// ---- descriptor bookkeeping ----

void TCustomWSocket::newOpening(SocketHandle Fd, int Mask)
{
    if (m_hSocket != InvalidSocket && m_hSocket != Fd) {
        ::close(m_hSocket);
        forgetDescriptor();
    }
    ++m_generation;
    m_hSocket = Fd;
    // OnSessionClosed is owed once per opening, also after a close by an error report
    // that left the flag set without restoring the defaults.
    m_closeInvoked = false;
    m_sendFailed = false;
    m_selectEventMask = Mask;
    m_readArmed = true;
    m_ahead.drop();
    m_readNotifier->setEnabled(false);
    m_writeNotifier->setEnabled(false);
    m_readNotifier->setSocket(Fd);
    m_writeNotifier->setSocket(Fd);
}

void TCustomWSocket::forgetDescriptor()
{
    m_hSocket = InvalidSocket;
    m_ahead.drop();
    m_rxFilter.reset();
    m_txIfIndex = 0;
    m_txSrcAddr = 0;
    updateNotifiers();
}

bool TCustomWSocket::closeDescriptor()
{
    const int rc = ::close(m_hSocket);
    const int err = errno;
    forgetDescriptor();
    // Linux releases the descriptor even when close reports an interruption.
    if (rc != 0 && err != EINTR) {
        WSocketSetLastErrorFromErrno(err);
        return false;
    }
    return true;
}

void TCustomWSocket::updateNotifiers()
{
    if (!m_readNotifier)
        return;
    const bool open = m_hSocket != InvalidSocket && !m_paused;
    const bool readOn = open && (m_selectEventMask & (FdRead | FdAccept | FdClose)) &&
                        m_readArmed && m_state != wsConnecting;
    // The write notifier fires for as long as the socket is writable, so it stays off
    // unless bytes wait or a stream connect is pending: an idle socket never wakes.
    const bool writeOn = open && (m_selectEventMask & (FdWrite | FdConnect)) &&
                         (m_state == wsConnecting || (!m_allSent && !m_sendFailed));
    if (m_readNotifier->isEnabled() != readOn)
        m_readNotifier->setEnabled(readOn);
    if (m_writeNotifier->isEnabled() != writeOn)
        m_writeNotifier->setEnabled(writeOn);
}

void TCustomWSocket::armRead()
{
    if (!m_readArmed) {
        m_readArmed = true;
        updateNotifiers();
    }
}

void TCustomWSocket::postToWindow(int Msg, quintptr WParam, qintptr LParam)
{
    if (!m_window)
        return;
    WindowMessage msg;
    msg.Msg = Msg;
    msg.Generation = m_generation;
    msg.WParam = WParam;
    msg.LParam = LParam;
    QCoreApplication::postEvent(m_window, new SocketEvent(std::move(msg)));
}

// Turns a notifier activation into the notification bits the socket handles.
void TCustomWSocket::onNotifier(bool Read)
{
    if (m_hSocket == InvalidSocket)
        return;
    int bits = 0;
    int err = 0;
    if (Read) {
        if (m_socketType == StreamSocket && m_state == wsListening) {
            bits = FdAccept;
        } else if (m_socketType == StreamSocket) {
            int pending = 0;
            if (ioctl(m_hSocket, FIONREAD, &pending) == 0 && pending > 0) {
                bits = FdRead;
            } else {
                // Readable with nothing to read: the peer closed or the connection failed.
                char probe;
                const ssize_t r = ::recv(m_hSocket, &probe, 1, MSG_PEEK | MSG_DONTWAIT);
                if (r > 0)
                    bits = FdRead;
                else if (r == 0)
                    bits = FdClose;
                else if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
                    bits = FdClose;
                    err = WSocketErrorFromErrno(errno);
                }
            }
        } else {
            bits = FdRead;
        }
    } else if (m_state == wsConnecting) {
        int soError = 0;
        socklen_t len = sizeof soError;
        getsockopt(m_hSocket, SOL_SOCKET, SO_ERROR, &soError, &len);
        err = WSocketErrorFromErrno(soError);
        bits = FdConnect | (err == 0 ? FdWrite : 0);
    } else {
        bits = FdWrite;
    }
    if (bits == 0)
        return;
    WindowMessage msg;
    msg.Msg = SocketEventMsg;
    msg.Generation = m_generation;
    msg.WParam = quintptr(m_hSocket);
    msg.LParam = qintptr(bits | (err << 16));
    m_window->deliver(msg);
}

// ---- window messages ----

void TCustomWSocket::dispatchWindowMessage(const WindowMessage &Msg, bool Posted)
{
    int repeat = 1;
    if (Posted && Msg.Msg == SocketEventMsg && Msg.Generation == m_postedWritesGen &&
        m_postedWrites > 0)
        repeat = std::exchange(m_postedWrites, 0);
    // A handler may destroy the socket; nothing of it may be touched afterwards.
    const QPointer<TCustomWSocket> alive(this);
    for (int i = 0; i < repeat && alive; ++i) {
        try {
            HandleWindowMessage(Msg);
        } catch (const std::exception &e) {
            if (alive)
                HandleHandlerException(e);
        }
    }
}

// Each completed send owes one write notification from the loop. Posting an event per
// send would wake the event loop once per datagram, so sends of one opening that follow
// each other before the loop runs share one posted event that is handled once per send.
void TCustomWSocket::postWriteCompletion()
{
    if (m_postedWrites > 0 && m_postedWritesGen == m_generation) {
        ++m_postedWrites;
        return;
    }
    m_postedWrites = 1;
    m_postedWritesGen = m_generation;
    postToWindow(SocketEventMsg, quintptr(m_hSocket), FdWrite);
}

void TCustomWSocket::HandleWindowMessage(const WindowMessage &Msg)
{
    switch (Msg.Msg) {
    case SocketEventMsg:
        handleSocketEvent(Msg);
        break;
    case HostByNameMsg:
    case HostByAddrMsg:
        handleLookupDone(Msg);
        break;
    case CloseDelayedMsg:
        // A close asked for an earlier opening must not close the current one.
        if (Msg.Generation == m_generation)
            Close();
        break;
    case ReleaseMsg:
        delete this;
        return;
    case TestExceptionMsg:
        throw ESocketException("Test exception in WSocket");
    default:
        break;
    }
}

void TCustomWSocket::handleSocketEvent(const WindowMessage &Msg)
{
    const quint64 gen = Msg.Generation;
    const QPointer<TCustomWSocket> alive(this);
    auto current = [&] {
        return gen == m_generation && m_hSocket != InvalidSocket &&
               quintptr(m_hSocket) == Msg.WParam;
    };
    if (!current() || m_paused)
        return;
    const int bits = int(Msg.LParam & 0xFFFF);
    const quint16 err = quint16((Msg.LParam >> 16) & 0xFFFF);
    struct Step
    {
        int bit;
        void (TCustomWSocket::*handler)(quint16);
    };
    static constexpr Step steps[] = {
        {FdConnect, &TCustomWSocket::HandleConnectEvent},
        {FdRead, &TCustomWSocket::HandleReadEvent},
        {FdWrite, &TCustomWSocket::HandleWriteEvent},
        {FdAccept, &TCustomWSocket::HandleAcceptEvent},
        {FdClose, &TCustomWSocket::HandleCloseEvent},
    };
    for (const Step &step : steps) {
        if (!(bits & step.bit))
            continue;
        // A handler may have closed or reopened the socket: the rest is not for it.
        if (!current())
            return;
        const bool readKind = step.bit == FdRead || step.bit == FdAccept;
        if (readKind)
            m_readArmed = false; // re-armed by the next read or accept call
        m_currentSelectEvent = quint16(step.bit);
        (this->*step.handler)(err);
        if (!alive)
            return;
        m_currentSelectEvent = 0;
        if (readKind && current())
            updateNotifiers();
    }
}

void TCustomWSocket::HandleConnectEvent(quint16 ErrCode)
{
    if (m_state == wsConnected)
        return;
    const QPointer<TCustomWSocket> alive(this);
    ChangeState(wsConnected);
    updateNotifiers();
    FireSessionConnected(ErrCode);
    if (alive && ErrCode != 0 && m_state != wsClosed)
        Close();
}

void TCustomWSocket::HandleReadEvent(quint16 ErrCode)
{
    if (m_state != wsConnected) {
        const QPointer<TCustomWSocket> alive(this);
        ChangeState(wsConnected);
        FireSessionConnected(ErrCode);
        if (!alive)
            return;
    }
    ReceiveLoop(ErrCode, m_componentOptions);
}

void TCustomWSocket::HandleWriteEvent(quint16 ErrCode)
{
    const QPointer<TCustomWSocket> alive(this);
    TryToSend();
    if (alive && m_allSent)
        FireDataSent(ErrCode);
}

void TCustomWSocket::HandleAcceptEvent(quint16 ErrCode)
{
    FireSessionAvailable(ErrCode);
}

void TCustomWSocket::HandleCloseEvent(quint16 ErrCode)
{
    if (m_state == wsConnecting)
        return;
    const quint64 gen = m_generation;
    const QPointer<TCustomWSocket> alive(this);
    ReceiveLoop(0, m_componentOptions & ~TWSocketOptions(wsoNoReceiveLoop));
    if (!alive || gen != m_generation)
        return;
    if (!m_closeInvoked) {
        m_closeInvoked = true;
        FireSessionClosed(ErrCode);
        if (!alive)
            return;
    }
    if (gen == m_generation && m_state != wsClosed)
        Close();
}
