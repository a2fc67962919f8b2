#include "net/WSocket.h"

#include "net/LocalInterfaces.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <QPointer>
#include <QScopeGuard>
#include <QSocketNotifier>
#include <QThread>
#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <utility>

static_assert(sizeof(TSockAddrIn) == sizeof(sockaddr_in), "TSockAddrIn must match sockaddr_in");

namespace {

constexpr int StreamSocket = 1;
constexpr int DatagramSocket = 2;
constexpr int RawSocket = 3;
constexpr quint32 AllOnes = 0xFFFFFFFFu;
// Errors after which a send can never succeed on this opening.
constexpr int FatalSendErrors[] = {10022, 10038, 10053, 10054, 10057};

int systemSocketType(int type)
{
    switch (type) {
    case StreamSocket:
        return SOCK_STREAM;
    case DatagramSocket:
        return SOCK_DGRAM;
    default:
        return SOCK_RAW;
    }
}

int recordErrno()
{
    return WSocketSetLastErrorFromErrno(errno);
}

sockaddr *asSockAddr(TSockAddrIn &a)
{
    return reinterpret_cast<sockaddr *>(&a);
}

const sockaddr *asSockAddr(const TSockAddrIn &a)
{
    return reinterpret_cast<const sockaddr *>(&a);
}

int setIntOption(int fd, int level, int name, int value)
{
    return setsockopt(fd, level, name, &value, sizeof value);
}

class TSocketEvent final : public QEvent
{
public:
    explicit TSocketEvent(TWindowMessage msg) : QEvent(QEvent::Type(msg.Msg)), Msg(std::move(msg))
    {}
    TWindowMessage Msg;
};

std::atomic<int> g_lookupCounter{0};

// Raises an event unless it is unassigned.
template <class Event, class... Args>
void fire(const Event &event, Args... args)
{
    if (event)
        event(args...);
}

} // namespace

// A pending lookup shared with its worker thread; the worker posts its answer only while
// the socket still waits for it.
struct TDnsRequest
{
    std::mutex Lock;
    QObject *Target = nullptr;
};

struct TCustomWSocket::RxFilter
{
    quint32 Addr = 0; // network order
    int IfIndex = 0;
};

// The socket's hidden window: the notifiers and the posted requests reach the socket
// through it, one at a time, on the socket's thread.
class TSocketWindow final : public QObject
{
public:
    explicit TSocketWindow(TCustomWSocket *socket) : m_socket(socket) {}

    void Deliver(const TWindowMessage &msg, bool posted = false)
    {
        if (!m_socket)
            return;
        ++m_depth;
        m_socket->DispatchWindowMessage(msg, posted);
        --m_depth;
        if (!m_socket && m_depth == 0)
            deleteLater();
    }

    // The socket is going away; if it goes from inside one of our own deliveries the
    // window must outlive that call.
    void Detach()
    {
        m_socket = nullptr;
        if (m_depth == 0)
            delete this;
    }

    bool event(QEvent *e) override
    {
        if (auto *ev = dynamic_cast<TSocketEvent *>(e)) {
            Deliver(ev->Msg, true);
            return true;
        }
        return QObject::event(e);
    }

private:
    TCustomWSocket *m_socket;
    int m_depth = 0;
};

// ---- ESocketException, TSockAddrIn ----

ESocketException::ESocketException(QByteArray Msg) : m_message(std::move(Msg)) {}

const char *ESocketException::what() const noexcept
{
    return m_message.constData();
}

QByteArray TSockAddrIn::AddrText() const
{
    return WSocketAddrToText(sin_addr);
}

quint16 TSockAddrIn::Port() const
{
    return ntohs(sin_port);
}

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
        ForgetDescriptor();
    }
    WSocketInstanceRemoved();
    ClearSendQueue();
    DestroyHiddenWindow();
}

void TCustomWSocket::CreateHiddenWindow()
{
    m_window = new TSocketWindow(this);
    m_readNotifier = new QSocketNotifier(QSocketNotifier::Read, m_window);
    m_writeNotifier = new QSocketNotifier(QSocketNotifier::Write, m_window);
    m_readNotifier->setEnabled(false);
    m_writeNotifier->setEnabled(false);
    QObject::connect(m_readNotifier, &QSocketNotifier::activated, m_window,
                     [this] { OnNotifier(true); });
    QObject::connect(m_writeNotifier, &QSocketNotifier::activated, m_window,
                     [this] { OnNotifier(false); });
}

void TCustomWSocket::DestroyHiddenWindow()
{
    if (!m_window)
        return;
    m_readNotifier->setEnabled(false);
    m_writeNotifier->setEnabled(false);
    QObject::disconnect(m_readNotifier, nullptr, m_window, nullptr);
    QObject::disconnect(m_writeNotifier, nullptr, m_window, nullptr);
    TSocketWindow *window = m_window;
    m_window = nullptr;
    m_readNotifier = m_writeNotifier = nullptr;
    window->Detach();
}

QObject *TCustomWSocket::WindowHandle() const
{
    return m_window;
}

void TCustomWSocket::ResetToDefaults()
{
    if (m_hSocket != InvalidSocket) {
        ::close(m_hSocket);
        ForgetDescriptor();
    }
    m_remoteAddr = TSockAddrIn();
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
    UpdateNotifiers();
}

// ---- descriptor bookkeeping ----

void TCustomWSocket::NewOpening(TSocket Fd, int Mask)
{
    if (m_hSocket != InvalidSocket && m_hSocket != Fd) {
        ::close(m_hSocket);
        ForgetDescriptor();
    }
    ++m_generation;
    m_hSocket = Fd;
    // OnSessionClosed is owed once per opening, also after a close by an error report
    // that left the flag set without restoring the defaults.
    m_closeInvoked = false;
    m_sendFailed = false;
    m_selectEventMask = Mask;
    m_readArmed = true;
    m_ahead.Held = false;
    m_readNotifier->setEnabled(false);
    m_writeNotifier->setEnabled(false);
    m_readNotifier->setSocket(Fd);
    m_writeNotifier->setSocket(Fd);
}

void TCustomWSocket::ForgetDescriptor()
{
    m_hSocket = InvalidSocket;
    m_ahead.Held = false;
    m_rxFilter.reset();
    m_txIfIndex = 0;
    m_txSrcAddr = 0;
    UpdateNotifiers();
}

bool TCustomWSocket::CloseDescriptor()
{
    const int rc = ::close(m_hSocket);
    const int err = errno;
    ForgetDescriptor();
    // Linux releases the descriptor even when close reports an interruption.
    if (rc != 0 && err != EINTR) {
        WSocketSetLastErrorFromErrno(err);
        return false;
    }
    return true;
}

void TCustomWSocket::UpdateNotifiers()
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

void TCustomWSocket::ArmRead()
{
    if (!m_readArmed) {
        m_readArmed = true;
        UpdateNotifiers();
    }
}

void TCustomWSocket::PostToWindow(int Msg, quintptr WParam, qintptr LParam)
{
    if (!m_window)
        return;
    TWindowMessage msg;
    msg.Msg = Msg;
    msg.Generation = m_generation;
    msg.WParam = WParam;
    msg.LParam = LParam;
    QCoreApplication::postEvent(m_window, new TSocketEvent(std::move(msg)));
}

// Turns a notifier activation into the notification bits the socket handles.
void TCustomWSocket::OnNotifier(bool Read)
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
    TWindowMessage msg;
    msg.Msg = SocketEventMsg;
    msg.Generation = m_generation;
    msg.WParam = quintptr(m_hSocket);
    msg.LParam = qintptr(bits | (err << 16));
    m_window->Deliver(msg);
}

// ---- window messages ----

void TCustomWSocket::DispatchWindowMessage(const TWindowMessage &Msg, bool Posted)
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
void TCustomWSocket::PostWriteCompletion()
{
    if (m_postedWrites > 0 && m_postedWritesGen == m_generation) {
        ++m_postedWrites;
        return;
    }
    m_postedWrites = 1;
    m_postedWritesGen = m_generation;
    PostToWindow(SocketEventMsg, quintptr(m_hSocket), FdWrite);
}

void TCustomWSocket::HandleWindowMessage(const TWindowMessage &Msg)
{
    switch (Msg.Msg) {
    case SocketEventMsg:
        HandleSocketEvent(Msg);
        break;
    case HostByNameMsg:
    case HostByAddrMsg:
        HandleLookupDone(Msg);
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

void TCustomWSocket::HandleSocketEvent(const TWindowMessage &Msg)
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
            UpdateNotifiers();
    }
}

void TCustomWSocket::HandleConnectEvent(quint16 ErrCode)
{
    if (m_state == wsConnected)
        return;
    const QPointer<TCustomWSocket> alive(this);
    ChangeState(wsConnected);
    UpdateNotifiers();
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

void TCustomWSocket::ReceiveLoop(quint16 ErrCode, TWSocketOptions Options)
{
    const quint64 gen = m_generation;
    const QPointer<TCustomWSocket> alive(this);
    for (;;) {
        m_lastError = 0;
        m_readArmed = false;
        try {
            if (!FireDataAvailable(ErrCode)) {
                // Nobody reads: drop what waits so the socket cannot keep the loop busy.
                char scratch[1024];
                if (RawReceive(scratch, sizeof scratch, 0) < 0) {
                    const int err = WSocketGetLastError();
                    m_lastError = err == 10035 ? 0 : err;
                    if (err == 10035)
                        break;
                }
            }
        } catch (const std::exception &) {
            break;
        }
        if (!alive || gen != m_generation || m_hSocket == InvalidSocket)
            break;
        if (Options & wsoNoReceiveLoop)
            break;
        if (m_lastError != 0) {
            if (m_lastError == -1)
                m_lastError = 0;
            break;
        }
        // A handler that read nothing would be called forever with the same bytes.
        if (!m_readArmed)
            break;
        int pending = 0;
        if (m_socketType == DatagramSocket) {
            pending = ReadAhead();
        } else if (ioctl(m_hSocket, FIONREAD, &pending) != 0) {
            m_lastError = recordErrno();
            break;
        }
        if (pending == 0)
            break;
    }
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
    if (code == 10054 || code == 10057) {
        if (m_hSocket != InvalidSocket) {
            ::close(m_hSocket);
            ForgetDescriptor();
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

void TCustomWSocket::ReportPlatformError(const QByteArray &Sub, int Errno)
{
    WSocketSetLastErrorFromErrno(Errno);
    ReportSocketError(Sub);
}

// ---- properties ----

// Addr, Port and Proto: setting the text they already carry is always allowed, any other
// change only while closed.
bool TCustomWSocket::AssignText(const QByteArray &Value, QByteArray &Text, bool &Assigned,
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
    AssignText(Value, m_addrStr, m_addrAssigned, m_addrResolved, "Addr");
}

void TCustomWSocket::SetPort(const QByteArray &Value)
{
    AssignText(Value, m_portStr, m_portAssigned, m_portResolved, "Port");
}

void TCustomWSocket::SetProto(const QByteArray &Value)
{
    AssignText(Value, m_protoStr, m_protoAssigned, m_protoResolved, "Proto");
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

// ---- opening ----

bool TCustomWSocket::BindLocal()
{
    TSockAddrIn local;
    local.sin_port = htons(quint16(m_localPortNum));
    local.sin_addr = WSocketResolveHostUncounted(m_localAddr);
    if (::bind(m_hSocket, asSockAddr(local), sizeof local) != 0) {
        m_lastError = recordErrno();
        ReportError("winsock.bind failed, error #" + QByteArray::number(m_lastError));
        return false;
    }
    socklen_t len = sizeof local;
    if (getsockname(m_hSocket, asSockAddr(local), &len) != 0) {
        m_lastError = recordErrno();
        ReportError("winsock.getsockname failed, error #" + QByteArray::number(m_lastError));
        return false;
    }
    m_localPortNum = ntohs(local.sin_port);
    m_localPortStr = QByteArray::number(m_localPortNum);
    return true;
}

bool TCustomWSocket::ApplyLinger()
{
    if (m_lingerOnOff == wsLingerNoSet)
        return true;
    if (m_hSocket == InvalidSocket) {
        ReportError("Cannot set linger option at this time");
        return false;
    }
    linger value{};
    value.l_onoff = int(m_lingerOnOff);
    value.l_linger = m_lingerTimeout;
    if (setsockopt(m_hSocket, SOL_SOCKET, SO_LINGER, &value, sizeof value) != 0) {
        ReportPlatformError("setsockopt(SO_LINGER)", errno);
        return false;
    }
    return true;
}

void TCustomWSocket::SetupSendInterface()
{
    m_txIfIndex = 0;
    m_txSrcAddr = 0;
    const quint32 local = WSocketResolveHostUncounted(m_localAddr);
    if (local == 0)
        return;
    const std::optional<TLocalInterface> iface = LocalInterfaceOf(local);
    if (iface && iface->CanBroadcast) {
        m_txIfIndex = iface->Index;
        m_txSrcAddr = local;
    }
}

// Port and Addr into RemoteAddr, each unless resolved already; resolver exceptions pass.
void TCustomWSocket::ResolveRemote()
{
    ResolveRemotePort();
    ResolveRemoteAddr();
}

void TCustomWSocket::ResolveRemotePort()
{
    if (!m_portResolved) {
        m_portNum = WSocketResolvePort(m_portStr, m_protoStr) & 0xFFFF;
        m_remoteAddr.sin_port = htons(quint16(m_portNum));
        m_portResolved = true;
    }
}

void TCustomWSocket::ResolveRemoteAddr()
{
    if (!m_addrResolved) {
        m_remoteAddr.sin_addr = WSocketResolveHostUncounted(m_addrStr);
        m_addrResolved = true;
    }
}

// A fresh non-blocking descriptor of the resolved type, made the current opening;
// -1 after reporting the failure under Sub.
int TCustomWSocket::OpenDescriptor(const char *Sub)
{
    ClearSendQueue();
    WSocketLoad();
    const int fd = ::socket(AF_INET, systemSocketType(m_socketType) | SOCK_NONBLOCK | SOCK_CLOEXEC,
                            m_protoNum);
    if (fd < 0) {
        ReportPlatformError(Sub, errno);
        return -1;
    }
    NewOpening(fd, 0);
    return fd;
}

void TCustomWSocket::Connect()
{
    if (m_hSocket != InvalidSocket && m_state != wsClosed) {
        ReportError("Connect: Socket already in use");
        return;
    }
    if (!m_portAssigned) {
        ReportError("Connect: No Port Specified");
        return;
    }
    if (!m_addrAssigned) {
        ReportError("Connect: No IP Address Specified");
        return;
    }
    if (!m_protoAssigned) {
        ReportError("Connect: No Protocol Specified");
        return;
    }
    try {
        if (!m_protoResolved) {
            m_protoNum = int(WSocketResolveProto(m_protoStr));
            m_socketType = m_protoNum == IPPROTO_TCP   ? StreamSocket
                           : m_protoNum == IPPROTO_UDP ? DatagramSocket
                                                       : RawSocket;
            m_protoResolved = true;
        }
        // Port, then LocalPort, then Addr: the first bad one is the one reported.
        ResolveRemotePort();
        if (!m_localPortResolved) {
            m_localPortNum = WSocketResolvePort(m_localPortStr, m_protoStr) & 0xFFFF;
            m_localPortResolved = true;
        }
        ResolveRemoteAddr();
    } catch (const ESocketException &e) {
        ReportError("connect: " + e.Message());
        return;
    }
    const int fd = OpenDescriptor("Connect (socket)");
    if (fd < 0)
        return;
    int sndBuf = 0;
    socklen_t len = sizeof sndBuf;
    if (getsockopt(fd, SOL_SOCKET, SO_SNDBUF, &sndBuf, &len) != 0) {
        const int err = errno;
        CloseDescriptor(); // not opened yet: nothing else would ever close it
        ReportPlatformError("getsockopt(SO_SNDBUF)", err);
        return;
    }
    m_sendBufferSize = sndBuf;
    ChangeState(wsOpened);
    if (m_state != wsOpened) {
        WSocketSetLastError(10022);
        ReportSocketError("Connect (Invalid operation in OnChangeState)");
        return;
    }
    // A failed step leaves no half-open socket behind: "Socket already in use" would
    // refuse every later Connect of a caller that only resets connected sockets.
    const quint64 gen = m_generation;
    const QPointer<TCustomWSocket> alive(this);
    bool opened = false;
    try {
        opened = ConnectOpened(fd);
    } catch (const ESocketException &) {
        if (alive)
            AbandonOpening(gen);
        throw;
    }
    if (!opened && alive)
        AbandonOpening(gen);
}

void TCustomWSocket::AbandonOpening(quint64 Generation)
{
    if (Generation == m_generation && m_hSocket != InvalidSocket && m_state != wsClosed)
        InternalClose(false, 0);
}

// Steps of Connect after the socket is wsOpened; false after reporting a failure.
bool TCustomWSocket::ConnectOpened(int fd)
{
    // With OnError assigned a failed step returns here normally: the opening ends there
    // rather than going on to report a connected socket.
    if (m_socketType == DatagramSocket) {
        if (!BindLocal())
            return false;
        if (m_multiCast) {
            if (m_multiCastIpTTL != 1 &&
                setIntOption(fd, IPPROTO_IP, IP_MULTICAST_TTL, m_multiCastIpTTL) != 0) {
                ReportPlatformError("setsockopt(IP_MULTICAST_TTL)", errno);
                return false;
            }
            if (m_localAddr != "0.0.0.0") {
                in_addr iface{};
                iface.s_addr = WSocketResolveHostUncounted(m_localAddr);
                if (setsockopt(fd, IPPROTO_IP, IP_MULTICAST_IF, &iface, sizeof iface) != 0) {
                    ReportPlatformError("setsockopt(IP_MULTICAST_IF)", errno);
                    return false;
                }
            }
        }
        if (m_remoteAddr.sin_addr == AllOnes) {
            if (setIntOption(fd, SOL_SOCKET, SO_BROADCAST, 1) != 0) {
                ReportPlatformError("setsockopt(SO_BROADCAST)", errno);
                return false;
            }
        }
        SetupSendInterface();
    } else {
        if (setIntOption(fd, SOL_SOCKET, SO_REUSEADDR, -1) != 0) {
            ReportPlatformError("setsockopt(SO_REUSEADDR)", errno);
            return false;
        }
        if ((m_componentOptions & wsoTcpNoDelay) &&
            setIntOption(fd, IPPROTO_TCP, TCP_NODELAY, -1) != 0) {
            ReportPlatformError("setsockopt(IPPROTO_TCP, TCP_NODELAY)", errno);
            return false;
        }
        if (!ApplyLinger())
            return false;
        if (setIntOption(fd, SOL_SOCKET, SO_KEEPALIVE, -1) != 0) {
            ReportPlatformError("setsockopt(SO_KEEPALIVE)", errno);
            return false;
        }
        if ((m_localPortNum != 0 || m_localAddr != "0.0.0.0") && !BindLocal())
            return false;
    }
    m_selectEventMask = FdRead | FdWrite | FdAccept | FdConnect | FdClose;
    if (m_socketType == DatagramSocket) {
        ChangeState(wsConnected);
        UpdateNotifiers();
        FireSessionConnected(0);
        return true;
    }
    if (::connect(fd, asSockAddr(m_remoteAddr), sizeof m_remoteAddr) == 0 || errno == EINPROGRESS ||
        errno == EAGAIN) {
        // The first writability of the connecting socket reports the outcome.
        ChangeState(wsConnecting);
        UpdateNotifiers();
        return true;
    }
    m_lastError = recordErrno();
    ReportSocketError("Connect");
    return false;
}

void TCustomWSocket::SetupListenInterface()
{
    m_rxFilter.reset();
    const quint32 addr = m_remoteAddr.sin_addr;
    if (addr == 0 || addr == AllOnes || m_multiCast || IN_MULTICAST(ntohl(addr)))
        return;
    const std::optional<TLocalInterface> iface = LocalInterfaceOf(addr);
    if (!iface || !iface->CanBroadcast)
        return;
    if (setIntOption(m_hSocket, IPPROTO_IP, IP_PKTINFO, 1) != 0)
        return; // without arrival information keep the plain unicast binding
    // Ties the socket to the device so copies on other devices can use the same port; it
    // needs privileges on older systems, where the arrival filter alone does the work.
    setsockopt(m_hSocket, SOL_SOCKET, SO_BINDTODEVICE, iface->Name.constData(),
               socklen_t(iface->Name.size()));
    m_rxFilter = std::make_unique<RxFilter>();
    m_rxFilter->Addr = addr;
    m_rxFilter->IfIndex = iface->Index;
}

void TCustomWSocket::Listen()
{
    if (!m_portAssigned) {
        WSocketSetLastError(10022);
        ReportSocketError("listen: port not assigned");
        return;
    }
    if (!m_protoAssigned) {
        WSocketSetLastError(10022);
        ReportSocketError("listen: protocol not assigned");
        return;
    }
    if (!m_addrAssigned) {
        WSocketSetLastError(10022);
        ReportSocketError("listen: address not assigned");
        return;
    }
    try {
        if (!m_protoResolved) {
            if (m_protoStr.left(4).toLower() == "raw_") {
                m_socketType = RawSocket;
                m_protoNum = int(WSocketResolveProto(m_protoStr.mid(4, 10)));
            } else {
                m_protoNum = int(WSocketResolveProto(m_protoStr));
                m_socketType = m_protoNum == IPPROTO_UDP ? DatagramSocket : StreamSocket;
            }
            m_protoResolved = true;
        }
        ResolveRemote();
    } catch (const ESocketException &e) {
        ReportError("listen: " + e.Message());
        return;
    }
    const int fd = OpenDescriptor("socket");
    if (fd < 0)
        return;
    // Until the socket is bound it is in no state a Close would act on: failures here
    // release the descriptor themselves, or every retried Listen would leak one.
    if (m_socketType == DatagramSocket && m_reuseAddr &&
        setIntOption(fd, SOL_SOCKET, SO_REUSEADDR, -1) != 0) {
        const int err = errno;
        CloseDescriptor();
        ReportPlatformError("setsockopt(SO_REUSEADDR)", err);
        return;
    }
    TSockAddrIn bindAddr = m_remoteAddr;
    if (m_socketType == DatagramSocket) {
        SetupListenInterface();
        if (m_rxFilter)
            bindAddr.sin_addr = INADDR_ANY;
    }
    if (::bind(fd, asSockAddr(bindAddr), sizeof bindAddr) != 0) {
        const int err = errno;
        CloseDescriptor();
        ReportPlatformError("Bind", err);
        return;
    }
    const quint64 gen = m_generation;
    const QPointer<TCustomWSocket> alive(this);
    ChangeState(wsBound);
    if (m_socketType == StreamSocket) {
        if (::listen(fd, m_listenBacklog) != 0) {
            ReportPlatformError("Listen", errno);
            return;
        }
        ChangeState(wsListening);
    } else if (m_socketType == DatagramSocket || m_socketType == RawSocket) {
        if (m_socketType == DatagramSocket && m_multiCast) {
            ip_mreq mreq{};
            if (inet_pton(AF_INET, m_multiCastAddrStr.trimmed().constData(), &mreq.imr_multiaddr) !=
                1)
                mreq.imr_multiaddr.s_addr = INADDR_NONE;
            mreq.imr_interface.s_addr = WSocketResolveHostUncounted(m_addrStr);
            if (setsockopt(fd, IPPROTO_IP, IP_ADD_MEMBERSHIP, &mreq, sizeof mreq) != 0) {
                ReportPlatformError("setsockopt(IP_ADD_MEMBERSHIP)", errno);
                return;
            }
        }
        // A raw socket here receives every packet of its protocol already, so the
        // receive-all switch has nothing to do.
        ChangeState(wsListening);
        ChangeState(wsConnected);
        FireSessionConnected(0);
    } else {
        WSocketSetLastError(10043);
        ReportSocketError("Listen: unexpected protocol.");
        return;
    }
    // The handlers may have destroyed, closed or reopened the socket; a descriptor number
    // says nothing, it is reused at once.
    if (alive && gen == m_generation && m_hSocket == fd) {
        m_selectEventMask = FdRead | FdWrite | FdAccept | FdClose;
        UpdateNotifiers();
    }
}

// ---- closing ----

void TCustomWSocket::Close()
{
    InternalClose(true, 0);
}

void TCustomWSocket::CloseDelayed()
{
    PostToWindow(CloseDelayedMsg, quintptr(m_hSocket), 0);
}

void TCustomWSocket::Release()
{
    PostToWindow(ReleaseMsg, 0, 0);
}

void TCustomWSocket::InternalClose(bool bShut, quint16 Error)
{
    if (m_hSocket == InvalidSocket) {
        if (m_state != wsClosed) {
            ChangeState(wsClosed);
            ResetToDefaults();
        }
        return;
    }
    if (m_state == wsClosed)
        return;
    if (bShut)
        ::shutdown(m_hSocket, SHUT_WR);
    if (!CloseDescriptor()) {
        m_lastError = WSocketGetLastError();
        ReportSocketError("Disconnect (closesocket)");
        return;
    }
    // The handlers below may destroy the socket or open it again; a new opening keeps
    // its settings and its descriptor.
    const quint64 gen = m_generation;
    const QPointer<TCustomWSocket> alive(this);
    ChangeState(wsClosed);
    if (!alive || gen != m_generation)
        return;
    if (!m_destroying && !m_closeInvoked) {
        m_closeInvoked = true;
        FireSessionClosed(Error);
        if (!alive || gen != m_generation)
            return;
    }
    try {
        ResetToDefaults();
    } catch (const std::exception &) {
    }
}

void TCustomWSocket::Abort()
{
    InternalAbort(0);
}

void TCustomWSocket::InternalAbort(quint16 ErrCode)
{
    CancelDnsLookup();
    ClearSendQueue();
    if (m_state == wsConnected && m_protoNum == IPPROTO_TCP) {
        m_lingerOnOff = wsLingerOff;
        ApplyLinger();
    }
    InternalClose(false, ErrCode);
}

// ---- sending ----

void TCustomWSocket::ClearSendQueue()
{
    m_sendQueue.clear();
}

void TCustomWSocket::QueueData(const char *Data, int Len)
{
    if (Len <= 0 || !Data)
        return;
    if (m_sendQueue.empty())
        m_sendQueue.push_back(std::make_unique<TBuffer>(m_sendBlockSize));
    TBuffer *block = m_sendQueue.back().get();
    for (;;) {
        const qint32 taken = block->Write(Data, Len);
        if (taken >= Len)
            break;
        Data += taken;
        Len -= taken;
        m_sendQueue.push_back(std::make_unique<TBuffer>(m_sendBlockSize));
        block = m_sendQueue.back().get();
    }
    m_allSent = false;
}

void TCustomWSocket::TryToSend()
{
    if (m_hSocket == InvalidSocket)
        return;
    // An empty queue has nothing waiting; counting it as sent keeps Flush from waiting
    // forever after a send of nothing.
    if (m_sendQueue.empty()) {
        m_allSent = true;
        UpdateNotifiers();
        return;
    }
    // A Send from OnSendData only queues: this loop goes on with it, and a second loop
    // would send the bytes in hand once more before they are marked as sent.
    if (m_sending)
        return;
    m_sendFailed = false;
    const quint64 gen = m_generation;
    const QPointer<TCustomWSocket> alive(this);
    m_sending = true;
    const auto done = qScopeGuard([&] {
        if (alive)
            m_sending = false;
    });
    for (;;) {
        TBuffer &block = *m_sendQueue.front();
        qint32 count = 0;
        const char *data = block.Peek(count);
        if (count > 0) {
            const int r = SendChunk(data, count);
            // OnSendData may have destroyed, closed, aborted (freeing the block) or
            // reopened the socket.
            if (!alive)
                return;
            if (gen != m_generation || m_hSocket == InvalidSocket || m_sendQueue.empty() ||
                m_sendQueue.front().get() != &block) {
                UpdateNotifiers();
                return;
            }
            if (r > 0) {
                block.Remove(r);
                if (r < count)
                    break;
            } else if (r == 0) {
                break;
            } else {
                const int err = WSocketGetLastError();
                if (std::find(std::begin(FatalSendErrors), std::end(FatalSendErrors), err) !=
                    std::end(FatalSendErrors)) {
                    m_sending = false; // the handlers may open and send again
                    m_closeInvoked = true;
                    Close();
                    if (alive)
                        FireSessionClosed(quint16(err));
                    return;
                }
                if (err == 10035)
                    break;
                // Only a refusal for lack of room is worth another try when the socket
                // becomes writable; a writable socket would otherwise repeat this report
                // without end. The next Send tries again.
                m_sendFailed = true;
                m_sending = false;
                UpdateNotifiers();
                ReportSocketError("TryToSend failed");
                return;
            }
        }
        if (block.WritePos() == block.ReadPos()) {
            if (m_sendQueue.size() > 1) {
                m_sendQueue.erase(m_sendQueue.begin());
                continue;
            }
            m_allSent = true;
            break;
        }
    }
    UpdateNotifiers();
}

int TCustomWSocket::SendDatagram(const TSockAddrIn &Dest, const char *Data, int Len)
{
    if (m_txIfIndex == 0 || Dest.sin_addr != AllOnes)
        return int(
            ::sendto(m_hSocket, Data, size_t(Len), m_sendFlags, asSockAddr(Dest), sizeof Dest));
    // A limited broadcast leaves through the device of the bound address, not the one
    // the default route names.
    iovec iov{const_cast<char *>(Data), size_t(Len)};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))] = {};
    msghdr msg{};
    msg.msg_name = const_cast<TSockAddrIn *>(&Dest);
    msg.msg_namelen = sizeof Dest;
    msg.msg_iov = &iov;
    msg.msg_iovlen = 1;
    msg.msg_control = control;
    msg.msg_controllen = sizeof control;
    cmsghdr *cm = CMSG_FIRSTHDR(&msg);
    cm->cmsg_level = IPPROTO_IP;
    cm->cmsg_type = IP_PKTINFO;
    cm->cmsg_len = CMSG_LEN(sizeof(in_pktinfo));
    in_pktinfo info{};
    info.ipi_ifindex = m_txIfIndex;
    info.ipi_spec_dst.s_addr = m_txSrcAddr;
    std::memcpy(CMSG_DATA(cm), &info, sizeof info);
    return int(::sendmsg(m_hSocket, &msg, m_sendFlags));
}

int TCustomWSocket::SendChunk(const char *Data, int Len)
{
    const int r = m_socketType == DatagramSocket
                      ? SendDatagram(m_remoteAddr, Data, Len)
                      : int(::send(m_hSocket, Data, size_t(Len), m_sendFlags | MSG_NOSIGNAL));
    if (r < 0)
        recordErrno();
    else if (r > 0 && OnSendData)
        OnSendData(this, r);
    return r;
}

int TCustomWSocket::Send(const void *Data, int Len)
{
    if (m_state != wsConnected && m_state != wsSocksConnected) {
        WSocketSetLastError(10057);
        ReportSocketError("Send");
        return -1;
    }
    m_allSent = false;
    int result = 0;
    if (Len > 0) {
        QueueData(static_cast<const char *>(Data), Len);
        result = Len;
    }
    const QPointer<TCustomWSocket> alive(this);
    TryToSend();
    if (!alive)
        return result;
    // OnDataSent must come from the event loop, never from inside Send.
    if (m_allSent && m_hSocket != InvalidSocket)
        PostWriteCompletion();
    return result;
}

int TCustomWSocket::SendText(const QByteArray &Str)
{
    if (Str.isEmpty())
        return 0;
    return Send(Str.constData(), int(Str.size()));
}

int TCustomWSocket::SendTo(const TSockAddrIn &Dest, int DestLen, const void *Data, int Len)
{
    Q_UNUSED(DestLen);
    const TSockAddrIn dest = Dest;
    int r;
    if (m_socketType == DatagramSocket)
        r = SendDatagram(dest, static_cast<const char *>(Data), Len);
    else
        r = int(::sendto(m_hSocket, Data, size_t(Len), m_sendFlags | MSG_NOSIGNAL, asSockAddr(dest),
                         sizeof dest));
    if (r < 0) {
        recordErrno();
        return r;
    }
    const QPointer<TCustomWSocket> alive(this);
    if (r > 0 && OnSendData)
        OnSendData(this, r);
    if (alive && m_allSent && m_socketType == DatagramSocket && m_hSocket != InvalidSocket)
        PostWriteCompletion();
    return r;
}

void TCustomWSocket::Flush()
{
    // Handlers run while we wait and may destroy the socket.
    const QPointer<TCustomWSocket> alive(this);
    while (alive && m_hSocket != InvalidSocket && !m_allSent) {
        TryToSend();
        if (!alive)
            return;
        // A failure other than would-block has been reported and no writability will
        // come to retry it: waiting would never end.
        if (m_hSocket == InvalidSocket || m_allSent || m_sendFailed)
            break;
        // Sleeps in the event loop until the write notifier (or anything else) fires.
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}

// ---- receiving ----

int TCustomWSocket::ReceiveDatagram(void *Buffer, int Size, int Flags, TSockAddrIn *From,
                                    int *FromLen)
{
    for (;;) {
        iovec iov{Buffer, size_t(std::max(Size, 0))};
        alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))];
        TSockAddrIn sender;
        msghdr msg{};
        msg.msg_name = &sender;
        msg.msg_namelen = sizeof sender;
        msg.msg_iov = &iov;
        msg.msg_iovlen = 1;
        if (m_rxFilter) {
            msg.msg_control = control;
            msg.msg_controllen = sizeof control;
        }
        // MSG_TRUNC makes the call return the datagram's real length, so an oversized one
        // is recognised instead of being handed on cut.
        const ssize_t r = ::recvmsg(m_hSocket, &msg, Flags | MSG_TRUNC | MSG_DONTWAIT);
        if (r < 0) {
            recordErrno();
            return -1;
        }
        bool wanted = true;
        if (m_rxFilter) {
            wanted = false;
            for (cmsghdr *cm = CMSG_FIRSTHDR(&msg); cm; cm = CMSG_NXTHDR(&msg, cm)) {
                if (cm->cmsg_level != IPPROTO_IP || cm->cmsg_type != IP_PKTINFO)
                    continue;
                in_pktinfo info;
                std::memcpy(&info, CMSG_DATA(cm), sizeof info);
                wanted = info.ipi_addr.s_addr == m_rxFilter->Addr ||
                         info.ipi_ifindex == m_rxFilter->IfIndex;
            }
        }
        const bool oversized = r > Size;
        if ((!wanted || oversized) && (Flags & MSG_PEEK))
            ::recv(m_hSocket, nullptr, 0, MSG_DONTWAIT); // drop what was only peeked at
        if (!wanted)
            continue; // arrived on another interface: as if it never came
        if (oversized) {
            WSocketSetLastError(10040);
            return -1;
        }
        if (From)
            *From = sender;
        if (FromLen)
            *FromLen = int(sizeof sender);
        return int(r);
    }
}

// Reads the next datagram into the lookahead; returns its length (what FIONREAD would
// give), 0 when none waits, and 1 after a failure, so the reader is called to meet it.
int TCustomWSocket::ReadAhead()
{
    if (m_ahead.Held)
        return m_ahead.Error != 0 ? 1 : m_ahead.Length;
    constexpr int kLargest = 65536; // holds any datagram, whatever the reader's buffer
    if (m_ahead.Data.size() < kLargest)
        m_ahead.Data.resize(kLargest);
    const int r = ReceiveDatagram(m_ahead.Data.data(), kLargest, 0, &m_ahead.From, nullptr);
    if (r < 0) {
        const int err = WSocketGetLastError();
        if (err == 10035)
            return 0;
        m_ahead.Error = err;
        m_ahead.Held = true;
        return 1;
    }
    m_ahead.Error = 0;
    m_ahead.Length = r;
    m_ahead.Held = true;
    return r;
}

// A read served from the lookahead, with the rules of a read from the socket: an
// oversized datagram is discarded whole, also by a peek.
int TCustomWSocket::TakeAhead(void *Buffer, int Size, int Flags, TSockAddrIn *From, int *FromLen)
{
    const bool peek = (Flags & MSG_PEEK) != 0;
    if (m_ahead.Error != 0) {
        WSocketSetLastError(m_ahead.Error);
        m_ahead.Held = peek;
        return -1;
    }
    if (m_ahead.Length > Size) {
        m_ahead.Held = false;
        WSocketSetLastError(10040);
        return -1;
    }
    if (m_ahead.Length > 0)
        std::memcpy(Buffer, m_ahead.Data.constData(), size_t(m_ahead.Length));
    if (From)
        *From = m_ahead.From;
    if (FromLen)
        *FromLen = int(sizeof(TSockAddrIn));
    m_ahead.Held = peek;
    return m_ahead.Length;
}

int TCustomWSocket::RawReceive(void *Buffer, int Size, int Flags)
{
    ArmRead();
    int r;
    if (m_socketType == StreamSocket) {
        r = int(::recv(m_hSocket, Buffer, size_t(std::max(Size, 0)), Flags | MSG_DONTWAIT));
        if (r < 0)
            recordErrno();
    } else if (m_ahead.Held) {
        r = TakeAhead(Buffer, Size, Flags, nullptr, nullptr);
    } else {
        r = ReceiveDatagram(Buffer, Size, Flags, nullptr, nullptr);
    }
    m_rcvdFull = r >= Size;
    return r;
}

int TCustomWSocket::RawReceiveFrom(void *Buffer, int Size, int Flags, TSockAddrIn *From,
                                   int *FromLen)
{
    ArmRead();
    int r;
    if (m_socketType == StreamSocket) {
        socklen_t len = sizeof(TSockAddrIn);
        r = int(::recvfrom(m_hSocket, Buffer, size_t(std::max(Size, 0)), Flags | MSG_DONTWAIT,
                           From ? asSockAddr(*From) : nullptr, From ? &len : nullptr));
        if (r < 0)
            recordErrno();
        else if (FromLen)
            *FromLen = int(len);
    } else if (m_ahead.Held) {
        r = TakeAhead(Buffer, Size, Flags, From, FromLen);
    } else {
        r = ReceiveDatagram(Buffer, Size, Flags, From, FromLen);
    }
    m_rcvdFull = r >= Size;
    return r;
}

int TCustomWSocket::Receive(void *Buffer, int BufferSize)
{
    const int r = RawReceive(Buffer, BufferSize, 0);
    if (r < 0)
        m_lastError = WSocketGetLastError();
    else
        m_readCount += r;
    return r;
}

int TCustomWSocket::ReceiveFrom(void *Buffer, int BufferSize, TSockAddrIn &From, int &FromLen)
{
    const int r = RawReceiveFrom(Buffer, BufferSize, 0, &From, &FromLen);
    if (r < 0)
        m_lastError = WSocketGetLastError();
    else
        m_readCount += r;
    return r;
}

QByteArray TCustomWSocket::ReceiveText()
{
    int n = RcvdCount();
    if (n < 0)
        return {};
    if (n == 0)
        n = 255;
    QByteArray buffer(n, Qt::Uninitialized);
    const int r = Receive(buffer.data(), n);
    if (r < 1)
        return {};
    buffer.truncate(r);
    return buffer;
}

int TCustomWSocket::GetRcvdCount()
{
    if (m_ahead.Held)
        return m_ahead.Error != 0 ? 0 : m_ahead.Length;
    int pending = 0;
    if (ioctl(m_hSocket, FIONREAD, &pending) != 0) {
        ReportPlatformError("ioctlSocket", errno);
        return -1;
    }
    return pending;
}

void TCustomWSocket::DrainUntilClosed()
{
    // Handlers run while we pump and may destroy the socket.
    const QPointer<TCustomWSocket> alive(this);
    while (m_hSocket != InvalidSocket && m_state != wsClosed) {
        PumpMessages();
        if (!alive)
            return;
        if (m_hSocket == InvalidSocket)
            break;
        int pending = 0;
        if (ioctl(m_hSocket, FIONREAD, &pending) != 0)
            break;
        if (pending > 0)
            FireDataAvailable(0);
        if (!alive)
            return;
        if (m_hSocket == InvalidSocket)
            break;
        // Only a look: a read of zero bytes takes a whole datagram away with it.
        char probe;
        if (::recv(m_hSocket, &probe, 0, MSG_PEEK | MSG_DONTWAIT) <= 0) {
            m_lastError = recordErrno();
            if (m_lastError != 10035)
                break;
        }
        PumpMessages();
        if (!alive)
            return;
    }
}

// ---- remaining operations ----

TSocket TCustomWSocket::Accept()
{
    if (m_state != wsListening) {
        WSocketSetLastError(10022);
        ReportSocketError("not a listening socket");
        return InvalidSocket;
    }
    ArmRead();
    socklen_t len = sizeof m_remoteAddr;
    const int fd = ::accept4(m_hSocket, asSockAddr(m_remoteAddr), &len, SOCK_CLOEXEC);
    if (fd < 0) {
        ReportPlatformError("Accept", errno);
        return InvalidSocket;
    }
    return fd;
}

void TCustomWSocket::Dup(TSocket NewHSocket)
{
    if (NewHSocket == 0 || NewHSocket == InvalidSocket) {
        WSocketSetLastError(10022);
        ReportSocketError("Dup");
        return;
    }
    if (m_hSocket != InvalidSocket) {
        if (!CloseDescriptor()) {
            ReportSocketError("Dup (closesocket)");
            return;
        }
        ChangeState(wsClosed);
    }
    WSocketLoad();
    NewOpening(NewHSocket, 0);
    fcntl(NewHSocket, F_SETFL, fcntl(NewHSocket, F_GETFL) | O_NONBLOCK);
    int sndBuf = 0;
    socklen_t len = sizeof sndBuf;
    if (getsockopt(NewHSocket, SOL_SOCKET, SO_SNDBUF, &sndBuf, &len) != 0) {
        ReportPlatformError("getsockopt(SO_SNDBUF)", errno);
        return;
    }
    m_sendBufferSize = sndBuf;
    int type = 0;
    len = sizeof type;
    if (getsockopt(NewHSocket, SOL_SOCKET, SO_TYPE, &type, &len) == 0)
        m_socketType = type == SOCK_DGRAM ? DatagramSocket
                       : type == SOCK_RAW ? RawSocket
                                          : StreamSocket;
    ApplyLinger();
    m_selectEventMask = FdRead | FdWrite | FdConnect | FdClose;
    DupConnected();
    UpdateNotifiers();
}

void TCustomWSocket::DupConnected()
{
    ChangeState(wsConnected);
}

void TCustomWSocket::Shutdown(int How)
{
    if (m_hSocket != InvalidSocket)
        ::shutdown(m_hSocket, How);
}

void TCustomWSocket::Pause()
{
    m_paused = true;
    UpdateNotifiers();
}

void TCustomWSocket::Resume()
{
    m_paused = false;
    UpdateNotifiers();
}

QByteArray TCustomWSocket::GetPeerAddr()
{
    TSockAddrIn peer;
    int len = sizeof peer;
    if (m_state != wsConnected)
        return "error";
    if (GetPeerName(peer, len) != 0) {
        ReportSocketError("GetPeerAddr");
        return "error";
    }
    return peer.AddrText();
}

QByteArray TCustomWSocket::GetPeerPort()
{
    TSockAddrIn peer;
    int len = sizeof peer;
    if (m_state != wsConnected)
        return "error";
    if (GetPeerName(peer, len) != 0) {
        ReportSocketError("GetPeerPort");
        return "error";
    }
    return QByteArray::number(peer.Port());
}

int TCustomWSocket::GetPeerName(TSockAddrIn &Name, int &NameLen)
{
    if (m_state != wsConnected)
        return -1;
    // A datagram socket is never connected in the system's sense; its peer is the
    // destination it was opened for. Asking the system would fail with "not connected"
    // and close the socket.
    if (m_socketType != StreamSocket) {
        Name = m_remoteAddr;
        NameLen = sizeof Name;
        return 0;
    }
    socklen_t len = sizeof Name;
    if (getpeername(m_hSocket, asSockAddr(Name), &len) != 0) {
        recordErrno();
        return -1;
    }
    NameLen = int(len);
    return 0;
}

int TCustomWSocket::GetSockName(TSockAddrIn &Name, int &NameLen)
{
    socklen_t len = sizeof Name;
    if (getsockname(m_hSocket, asSockAddr(Name), &len) != 0) {
        m_lastError = recordErrno();
        return -1;
    }
    NameLen = int(len);
    return 0;
}

QByteArray TCustomWSocket::GetLocalPortText()
{
    if (m_state != wsBound && m_state != wsConnected && m_state != wsListening)
        return "error";
    TSockAddrIn local;
    int len = sizeof local;
    if (GetSockName(local, len) != 0)
        return "error";
    return QByteArray::number(local.Port());
}

QByteArray TCustomWSocket::GetLocalAddrText()
{
    if (m_state != wsBound && m_state != wsConnected && m_state != wsListening)
        return "error";
    TSockAddrIn local;
    int len = sizeof local;
    if (GetSockName(local, len) != 0)
        return "error";
    // Bound to the wildcard for the sake of broadcasts, but listening on one address.
    if (m_rxFilter && local.sin_addr == INADDR_ANY)
        local.sin_addr = m_rxFilter->Addr;
    return local.AddrText();
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
    PostToWindow(TestExceptionMsg, 0, 0);
}

bool TCustomWSocket::TimevalIsSet(const TTimeval &Tv)
{
    return Tv.tv_sec != 0 || Tv.tv_usec != 0;
}

void TCustomWSocket::TimevalClear(TTimeval &Tv)
{
    Tv.tv_sec = 0;
    Tv.tv_usec = 0;
}

bool TCustomWSocket::TimevalCompare(const TTimeval &A, const TTimeval &B, bool Equal)
{
    const bool same = A.tv_sec == B.tv_sec && A.tv_usec == B.tv_usec;
    return Equal ? same : !same;
}

// ---- lookups ----

void TCustomWSocket::StartLookup(const QByteArray &Name, bool Reverse)
{
    int handle = ++g_lookupCounter;
    if (handle == 0)
        handle = ++g_lookupCounter;
    auto request = std::make_shared<TDnsRequest>();
    request->Target = m_window;
    m_dnsRequest = request;
    m_dnsLookupHandle = handle;
    const quint64 generation = m_generation;
    // Name resolution blocks, so it runs off the socket's thread; the answer comes back
    // as a posted request like every other notification.
    std::thread([request, Name, Reverse, handle, generation] {
        auto results = std::make_shared<QByteArrayList>();
        int err = 0;
        if (!Reverse) {
            addrinfo hints{};
            hints.ai_family = AF_INET;
            hints.ai_socktype = SOCK_DGRAM;
            addrinfo *res = nullptr;
            const int rc = getaddrinfo(Name.constData(), nullptr, &hints, &res);
            if (rc != 0) {
                err = WSocketErrorFromResolver(rc);
            } else {
                for (const addrinfo *ai = res; ai; ai = ai->ai_next) {
                    const QByteArray text = WSocketAddrToText(
                        reinterpret_cast<const sockaddr_in *>(ai->ai_addr)->sin_addr.s_addr);
                    if (!results->contains(text))
                        results->append(text);
                }
                freeaddrinfo(res);
            }
        } else {
            sockaddr_in sa{};
            sa.sin_family = AF_INET;
            inet_pton(AF_INET, Name.trimmed().constData(), &sa.sin_addr);
            char host[NI_MAXHOST] = {};
            const int rc = getnameinfo(reinterpret_cast<const sockaddr *>(&sa), sizeof sa, host,
                                       sizeof host, nullptr, 0, NI_NAMEREQD);
            if (rc != 0)
                err = WSocketErrorFromResolver(rc);
            else
                results->append(QByteArray(host));
        }
        TWindowMessage msg;
        msg.Msg = Reverse ? HostByAddrMsg : HostByNameMsg;
        msg.Generation = generation;
        msg.WParam = quintptr(handle);
        msg.LParam = qintptr(err) << 16;
        msg.Results = std::move(results);
        std::lock_guard guard(request->Lock);
        if (request->Target)
            QCoreApplication::postEvent(request->Target, new TSocketEvent(std::move(msg)));
    }).detach();
}

void TCustomWSocket::HandleLookupDone(const TWindowMessage &Msg)
{
    if (m_dnsLookupHandle == 0 || Msg.WParam != quintptr(m_dnsLookupHandle))
        return;
    m_dnsLookupHandle = 0;
    m_dnsRequest.reset();
    const quint16 err = quint16((Msg.LParam >> 16) & 0xFFFF);
    if (err == 0 && Msg.Results) {
        m_dnsResultList = *Msg.Results;
        m_dnsResult = m_dnsResultList.isEmpty() ? QByteArray() : m_dnsResultList.first();
    }
    FireDnsLookupDone(err);
}

void TCustomWSocket::DnsLookup(const QByteArray &HostName)
{
    if (HostName.isEmpty()) {
        ReportError("DNS lookup: invalid host name.");
        FireDnsLookupDone(10022);
        return;
    }
    if (m_dnsLookupHandle != 0)
        CancelDnsLookup();
    m_dnsResult.clear();
    m_dnsResultList.clear();
    if (IsDottedIP(HostName)) {
        try {
            m_dnsResult = WSocketAddrToText(WSocketResolveHostUncounted(HostName));
            m_dnsResultList.append(m_dnsResult);
            FireDnsLookupDone(0);
            return;
        } catch (const ESocketException &) {
            // not a usable address after all: let the resolver answer
        }
    }
    if (!m_window) {
        ReportError("DnsLookup: Window not assigned");
        return;
    }
    StartLookup(HostName.trimmed(), false);
}

void TCustomWSocket::ReverseDnsLookup(const QByteArray &HostAddr)
{
    if (HostAddr.isEmpty() || HostAddr.size() > 256) {
        ReportError("ReverseDnsLookup: Invalid host name.");
        FireDnsLookupDone(10022);
        return;
    }
    if (m_dnsLookupHandle != 0)
        CancelDnsLookup();
    m_dnsResult.clear();
    m_dnsResultList.clear();
    if (!m_window) {
        ReportError("ReverseDnsLookup: Window not assigned");
        return;
    }
    StartLookup(HostAddr, true);
}

void TCustomWSocket::CancelDnsLookup()
{
    if (m_dnsLookupHandle == 0)
        return;
    if (m_dnsRequest) {
        std::lock_guard guard(m_dnsRequest->Lock);
        m_dnsRequest->Target = nullptr;
    }
    m_dnsRequest.reset();
    m_dnsLookupHandle = 0;
    if (!m_destroying)
        FireDnsLookupDone(10004);
}

// ---- the layers above the core ----

TCustomSocksWSocket::TCustomSocksWSocket(QObject *AOwner) : TCustomWSocket(AOwner) {}

void TCustomSocksWSocket::ResetToDefaults()
{
    TCustomWSocket::ResetToDefaults();
    m_socksState = 0;
    m_socksServer.clear();
    m_socksPort.clear();
    m_socksServerAssigned = false;
    m_socksPortAssigned = false;
    m_socksLevel = "5";
}

// The proxy settings change only while the socket is closed.
bool TCustomSocksWSocket::ChangeAllowed(const char *What)
{
    if (m_state == wsClosed)
        return true;
    ReportError(QByteArray("Can't change socks ") + What + " if not closed");
    return false;
}

void TCustomSocksWSocket::SetSocksServer(const QByteArray &Value)
{
    if (!ChangeAllowed("server"))
        return;
    m_socksServer = Value.trimmed();
    m_socksServerAssigned = !m_socksServer.isEmpty();
}

void TCustomSocksWSocket::SetSocksPort(const QByteArray &Value)
{
    if (!ChangeAllowed("port"))
        return;
    m_socksPort = Value.trimmed();
    m_socksPortAssigned = !m_socksPort.isEmpty();
}

void TCustomSocksWSocket::SetSocksLevel(const QByteArray &Value)
{
    if (!ChangeAllowed("level"))
        return;
    const QByteArray level = Value.toUpper();
    if (level != "4" && level != "4A" && level != "5") {
        ReportError("Invalid socks level. Must be 4, 4A or 5.");
        return;
    }
    m_socksLevel = level;
}

void TCustomSocksWSocket::Listen()
{
    if (m_socksServerAssigned) {
        ReportError("Listening is not supported thru socks server");
        return;
    }
    TCustomWSocket::Listen();
}

TCustomLineWSocket::TCustomLineWSocket(QObject *AOwner) : TCustomSocksWSocket(AOwner) {}

int TCustomLineWSocket::SendLine(const QByteArray &Str)
{
    return SendText(Str + m_lineEnd);
}

TCustomSyncWSocket::TCustomSyncWSocket(QObject *AOwner) : TCustomLineWSocket(AOwner) {}

int TCustomSyncWSocket::WaitUntilSet(const bool &Flag)
{
    QDeadlineTimer deadline(m_timeout > 0 ? qint64(m_timeout) : -1);
    const QPointer<TCustomWSocket> alive(this);
    while (!Flag) {
        if (m_timeout > 0 && deadline.hasExpired())
            return 12001;
        if (QCoreApplication::closingDown() || m_terminated)
            return 12001;
        PumpMessages();
        if (!alive)
            return 12001; // destroyed while we waited: the flag may be gone with it
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

TWSocket::TWSocket(QObject *AOwner) : TCustomSyncWSocket(AOwner) {}
