#include "net/CustomWSocket.h"

#include "net/SocketError.h"
#include "net/SocketWindow.h"
#include "net/WSocketInternal.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSocketNotifier>
#include <QThread>
#include <unistd.h>

using namespace wsocket;

// ---- construction ----

TCustomWSocket::TCustomWSocket(QObject *AOwner) : QObject(AOwner)
{
    CreateHiddenWindow();
    ResetToDefaults();
    WSocketInstanceAdded();
}

TCustomWSocket::~TCustomWSocket()
{
    m_destroying = true;
    try {
        CancelDnsLookup();
    } catch (const std::exception &) {
    }
    if (m_state != wsClosed) {
        try {
            Close();
        } catch (const std::exception &) {
        }
    }
    if (m_hSocket != InvalidSocket) {
        ::close(m_hSocket);
        forgetDescriptor();
    }
    WSocketInstanceRemoved();
    ClearSendQueue();
    DestroyHiddenWindow();
}

void TCustomWSocket::CreateHiddenWindow()
{
    m_window = new SocketWindow(this);
    m_readNotifier = new QSocketNotifier(QSocketNotifier::Read, m_window);
    m_writeNotifier = new QSocketNotifier(QSocketNotifier::Write, m_window);
    m_readNotifier->setEnabled(false);
    m_writeNotifier->setEnabled(false);
    QObject::connect(m_readNotifier, &QSocketNotifier::activated, m_window,
                     [this] { onNotifier(true); });
    QObject::connect(m_writeNotifier, &QSocketNotifier::activated, m_window,
                     [this] { onNotifier(false); });
}

void TCustomWSocket::DestroyHiddenWindow()
{
    if (!m_window)
        return;
    m_readNotifier->setEnabled(false);
    m_writeNotifier->setEnabled(false);
    QObject::disconnect(m_readNotifier, nullptr, m_window, nullptr);
    QObject::disconnect(m_writeNotifier, nullptr, m_window, nullptr);
    SocketWindow *window = m_window;
    m_window = nullptr;
    m_readNotifier = m_writeNotifier = nullptr;
    window->detach();
}

QObject *TCustomWSocket::WindowHandle() const
{
    return m_window;
}

void TCustomWSocket::ResetToDefaults()
{
    if (m_hSocket != InvalidSocket) {
        ::close(m_hSocket);
        forgetDescriptor();
    }
    m_remoteAddr = SockAddrIn();
    m_addrFamily = AF_INET;
    m_portAssigned = m_addrAssigned = m_addrResolved = false;
    m_portResolved = m_protoResolved = m_localPortResolved = false;
    m_protoAssigned = true;
    m_protoNum = IPPROTO_TCP;
    m_protoStr = "tcp";
    m_socketType = StreamSocket;
    m_localPortStr = "0";
    m_localAddr = "0.0.0.0";
    m_lingerOnOff = wsLingerOn;
    m_lingerTimeout = 0;
    m_selectEventMask = 0;
    m_state = wsClosed;
    m_allSent = true;
    m_paused = false;
    m_readCount = 0;
    m_closeInvoked = false;
    m_flushTimeout = 60;
    updateNotifiers();
}

// ---- events ----

bool TCustomWSocket::FireDataAvailable(quint16 ErrCode)
{
    if (!OnDataAvailable)
        return false;
    OnDataAvailable(this, ErrCode);
    return true;
}

void TCustomWSocket::FireSessionAvailable(quint16 ErrCode)
{
    fire(OnSessionAvailable, this, ErrCode);
}

void TCustomWSocket::FireSessionConnected(quint16 ErrCode)
{
    fire(OnSessionConnected, this, ErrCode);
}

void TCustomWSocket::FireSessionClosed(quint16 ErrCode)
{
    fire(OnSessionClosed, this, ErrCode);
}

void TCustomWSocket::FireDataSent(quint16 ErrCode)
{
    fire(OnDataSent, this, ErrCode);
}

void TCustomWSocket::FireChangeState(TSocketState OldState, TSocketState NewState)
{
    fire(OnChangeState, this, OldState, NewState);
}

void TCustomWSocket::FireDnsLookupDone(quint16 ErrCode)
{
    fire(OnDnsLookupDone, this, ErrCode);
}

void TCustomWSocket::FireError()
{
    fire(OnError, this);
}

void TCustomWSocket::ChangeState(TSocketState NewState)
{
    const TSocketState old = m_state;
    m_state = NewState;
    // Handlers often capture objects that die before the socket; a socket being
    // destroyed tells nobody.
    if (old != NewState && !m_destroying)
        FireChangeState(old, NewState);
}

void TCustomWSocket::HandleHandlerException(const std::exception &E)
{
    bool canClose = true;
    if (OnBgException) {
        try {
            OnBgException(this, E, canClose);
        } catch (const std::exception &) {
        }
    }
    if (canClose) {
        try {
            Abort();
        } catch (const std::exception &) {
        }
    }
}

// ---- error reporting ----

void TCustomWSocket::ReportError(const QByteArray &Msg)
{
    if (OnError) {
        FireError();
        return;
    }
    throw ESocketException(Msg);
}

void TCustomWSocket::ReportSocketError(const QByteArray &Sub)
{
    const int code = WSocketGetLastError();
    const QByteArray text = "Error " + QByteArray::number(code) + " in function " + Sub + "\r\n" +
                            SocketErrorDesc(code);
    if (code == SocketError::ConnectionReset || code == SocketError::NotConnected) {
        if (m_hSocket != InvalidSocket) {
            ::close(m_hSocket);
            forgetDescriptor();
        }
        if (m_state != wsClosed && !m_closeInvoked) {
            m_closeInvoked = true;
            const QPointer<TCustomWSocket> alive(this);
            FireSessionClosed(quint16(code));
            if (!alive)
                return; // destroyed by the handler: nobody is left to report to
        }
        ChangeState(wsClosed);
    }
    m_lastError = code;
    ReportError(text);
}

void TCustomWSocket::reportPlatformError(const QByteArray &Sub, int Errno)
{
    WSocketSetLastErrorFromErrno(Errno);
    ReportSocketError(Sub);
}

// ---- properties ----

// Addr, Port and Proto: setting the text they already carry is always allowed, any other
// change only while closed.
bool TCustomWSocket::assignText(const QByteArray &Value, QByteArray &Text, bool &Assigned,
                                bool &Resolved, const char *Name)
{
    if (Assigned && Value == Text)
        return false;
    if (m_state != wsClosed) {
        ReportError(QByteArray("Cannot change ") + Name + " if not closed");
        return false;
    }
    Text = Value.trimmed();
    Assigned = !Text.isEmpty();
    if (Assigned)
        Resolved = false;
    return true;
}

void TCustomWSocket::SetAddr(const QByteArray &Value)
{
    assignText(Value, m_addrStr, m_addrAssigned, m_addrResolved, "Addr");
}

void TCustomWSocket::SetPort(const QByteArray &Value)
{
    assignText(Value, m_portStr, m_portAssigned, m_portResolved, "Port");
}

void TCustomWSocket::SetProto(const QByteArray &Value)
{
    assignText(Value, m_protoStr, m_protoAssigned, m_protoResolved, "Proto");
}

void TCustomWSocket::SetLocalAddr(const QByteArray &Value)
{
    if (m_state != wsClosed) {
        ReportError("Cannot change LocalAddr if not closed");
        return;
    }
    m_localAddr = Value.isEmpty() ? QByteArray("0.0.0.0") : Value;
}

void TCustomWSocket::SetLocalPort(const QByteArray &Value)
{
    if (m_state != wsClosed) {
        ReportError("Cannot change LocalPort if not closed");
        return;
    }
    m_localPortStr = Value;
    m_localPortResolved = false;
}

quint8 TCustomWSocket::ReqVerLow() const
{
    return WSocketReqVerLow();
}

void TCustomWSocket::SetReqVerLow(quint8 Value)
{
    if (!WSocketSetReqVerLow(Value))
        ReportSocketError("SetReqVerLow: WinSock version can't be changed now");
}

quint8 TCustomWSocket::ReqVerHigh() const
{
    return WSocketReqVerHigh();
}

void TCustomWSocket::SetReqVerHigh(quint8 Value)
{
    if (!WSocketSetReqVerHigh(Value))
        ReportSocketError("SetReqVerHigh: WinSock version can't be changed now");
}

TSocketSendFlags TCustomWSocket::SendFlags()
{
    if (m_sendFlags == 0)
        return wsSendNormal;
    if (m_sendFlags == MSG_OOB)
        return wsSendUrgent;
    ReportError("Invalid internal SendFlags");
    return wsSendNormal;
}

void TCustomWSocket::SetSendFlags(int Value)
{
    if (Value == wsSendNormal)
        m_sendFlags = 0;
    else if (Value == wsSendUrgent)
        m_sendFlags = MSG_OOB;
    else
        ReportError("Invalid SendFlags");
}

void TCustomWSocket::PumpMessages()
{
    const QPointer<TCustomWSocket> alive(this);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (alive && m_multiThreaded && QThread::currentThread()->isInterruptionRequested())
        m_terminated = true;
}

void TCustomWSocket::PostTestException()
{
    postToWindow(TestExceptionMsg, 0, 0);
}

bool TCustomWSocket::TimevalIsSet(const Timeval &Tv)
{
    return Tv.tv_sec != 0 || Tv.tv_usec != 0;
}

void TCustomWSocket::TimevalClear(Timeval &Tv)
{
    Tv.tv_sec = 0;
    Tv.tv_usec = 0;
}

bool TCustomWSocket::TimevalCompare(const Timeval &A, const Timeval &B, bool Equal)
{
    const bool same = A.tv_sec == B.tv_sec && A.tv_usec == B.tv_usec;
    return Equal ? same : !same;
}
