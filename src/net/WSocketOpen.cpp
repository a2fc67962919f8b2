#include "net/CustomWSocket.h"
#include "net/SocketError.h"
#include "net/WSocketInternal.h"
#include "platform/InterfaceAddresses.h"

#include <QPointer>
#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/tcp.h>
#include <optional>
#include <unistd.h>

using namespace wsocket;

// ---- opening ----

bool TCustomWSocket::BindLocal()
{
    SockAddrIn local;
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
        reportPlatformError("setsockopt(SO_LINGER)", errno);
        return false;
    }
    return true;
}

void TCustomWSocket::setupSendInterface()
{
    m_txIfIndex = 0;
    m_txSrcAddr = 0;
    const quint32 local = WSocketResolveHostUncounted(m_localAddr);
    if (local == 0)
        return;
    const std::optional<InterfaceAddress> iface = InterfaceAddresses::holding(local);
    if (iface && iface->CanBroadcast) {
        m_txIfIndex = iface->Index;
        m_txSrcAddr = local;
    }
}

// Port and Addr into RemoteAddr, each unless resolved already; resolver exceptions pass.
void TCustomWSocket::resolveRemote()
{
    resolveRemotePort();
    resolveRemoteAddr();
}

void TCustomWSocket::resolveRemotePort()
{
    if (!m_portResolved) {
        m_portNum = WSocketResolvePort(m_portStr, m_protoStr) & 0xFFFF;
        m_remoteAddr.sin_port = htons(quint16(m_portNum));
        m_portResolved = true;
    }
}

void TCustomWSocket::resolveRemoteAddr()
{
    if (!m_addrResolved) {
        m_remoteAddr.sin_addr = WSocketResolveHostUncounted(m_addrStr);
        m_addrResolved = true;
    }
}

// A fresh non-blocking descriptor of the resolved type, made the current opening;
// -1 after reporting the failure under Sub.
int TCustomWSocket::openDescriptor(const char *Sub)
{
    ClearSendQueue();
    WSocketLoad();
    const int fd = ::socket(AF_INET, systemSocketType(m_socketType) | SOCK_NONBLOCK | SOCK_CLOEXEC,
                            m_protoNum);
    if (fd < 0) {
        reportPlatformError(Sub, errno);
        return -1;
    }
    newOpening(fd, 0);
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
        resolveRemotePort();
        if (!m_localPortResolved) {
            m_localPortNum = WSocketResolvePort(m_localPortStr, m_protoStr) & 0xFFFF;
            m_localPortResolved = true;
        }
        resolveRemoteAddr();
    } catch (const ESocketException &e) {
        // The resolver's code, not whatever an earlier operation left behind.
        m_lastError = WSocketGetLastError();
        ReportError("connect: " + e.Message());
        return;
    }
    const int fd = openDescriptor("Connect (socket)");
    if (fd < 0)
        return;
    int sndBuf = 0;
    socklen_t len = sizeof sndBuf;
    if (getsockopt(fd, SOL_SOCKET, SO_SNDBUF, &sndBuf, &len) != 0) {
        const int err = errno;
        closeDescriptor(); // not opened yet: nothing else would ever close it
        reportPlatformError("getsockopt(SO_SNDBUF)", err);
        return;
    }
    m_sendBufferSize = sndBuf;
    ChangeState(wsOpened);
    if (m_state != wsOpened) {
        WSocketSetLastError(SocketError::InvalidArgument);
        ReportSocketError("Connect (Invalid operation in OnChangeState)");
        return;
    }
    // A failed step leaves no half-open socket behind: "Socket already in use" would
    // refuse every later Connect of a caller that only resets connected sockets.
    const quint64 gen = m_generation;
    const QPointer<TCustomWSocket> alive(this);
    bool opened = false;
    try {
        opened = connectOpened(fd);
    } catch (const ESocketException &) {
        if (alive)
            abandonOpening(gen);
        throw;
    }
    if (!opened && alive)
        abandonOpening(gen);
}

void TCustomWSocket::abandonOpening(quint64 Generation)
{
    if (Generation == m_generation && m_hSocket != InvalidSocket && m_state != wsClosed)
        InternalClose(false, 0);
}

// Steps of Connect after the socket is wsOpened; false after reporting a failure.
bool TCustomWSocket::connectOpened(int fd)
{
    // With OnError assigned a failed step returns here normally: the opening ends there
    // rather than going on to report a connected socket.
    if (m_socketType == DatagramSocket) {
        if (!BindLocal())
            return false;
        if (m_multiCast) {
            if (m_multiCastIpTTL != 1 &&
                setIntOption(fd, IPPROTO_IP, IP_MULTICAST_TTL, m_multiCastIpTTL) != 0) {
                reportPlatformError("setsockopt(IP_MULTICAST_TTL)", errno);
                return false;
            }
            if (m_localAddr != "0.0.0.0") {
                in_addr iface{};
                iface.s_addr = WSocketResolveHostUncounted(m_localAddr);
                if (setsockopt(fd, IPPROTO_IP, IP_MULTICAST_IF, &iface, sizeof iface) != 0) {
                    reportPlatformError("setsockopt(IP_MULTICAST_IF)", errno);
                    return false;
                }
            }
        }
        if (m_remoteAddr.sin_addr == AllOnes) {
            if (setIntOption(fd, SOL_SOCKET, SO_BROADCAST, 1) != 0) {
                reportPlatformError("setsockopt(SO_BROADCAST)", errno);
                return false;
            }
        }
        setupSendInterface();
    } else {
        if (setIntOption(fd, SOL_SOCKET, SO_REUSEADDR, -1) != 0) {
            reportPlatformError("setsockopt(SO_REUSEADDR)", errno);
            return false;
        }
        if ((m_componentOptions & wsoTcpNoDelay) &&
            setIntOption(fd, IPPROTO_TCP, TCP_NODELAY, -1) != 0) {
            reportPlatformError("setsockopt(IPPROTO_TCP, TCP_NODELAY)", errno);
            return false;
        }
        if (!ApplyLinger())
            return false;
        if (setIntOption(fd, SOL_SOCKET, SO_KEEPALIVE, -1) != 0) {
            reportPlatformError("setsockopt(SO_KEEPALIVE)", errno);
            return false;
        }
        if ((m_localPortNum != 0 || m_localAddr != "0.0.0.0") && !BindLocal())
            return false;
    }
    m_selectEventMask = FdRead | FdWrite | FdAccept | FdConnect | FdClose;
    if (m_socketType == DatagramSocket) {
        ChangeState(wsConnected);
        updateNotifiers();
        FireSessionConnected(0);
        return true;
    }
    if (::connect(fd, asSockAddr(m_remoteAddr), sizeof m_remoteAddr) == 0 || errno == EINPROGRESS ||
        errno == EAGAIN) {
        // The first writability of the connecting socket reports the outcome.
        ChangeState(wsConnecting);
        updateNotifiers();
        return true;
    }
    m_lastError = recordErrno();
    ReportSocketError("Connect");
    return false;
}

void TCustomWSocket::setupListenInterface()
{
    m_rxFilter.reset();
    const quint32 addr = m_remoteAddr.sin_addr;
    if (addr == 0 || addr == AllOnes || m_multiCast || IN_MULTICAST(ntohl(addr)))
        return;
    const std::optional<InterfaceAddress> iface = InterfaceAddresses::holding(addr);
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
        WSocketSetLastError(SocketError::InvalidArgument);
        ReportSocketError("listen: port not assigned");
        return;
    }
    if (!m_protoAssigned) {
        WSocketSetLastError(SocketError::InvalidArgument);
        ReportSocketError("listen: protocol not assigned");
        return;
    }
    if (!m_addrAssigned) {
        WSocketSetLastError(SocketError::InvalidArgument);
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
        resolveRemote();
    } catch (const ESocketException &e) {
        // The resolver's code, not whatever an earlier operation left behind.
        m_lastError = WSocketGetLastError();
        ReportError("listen: " + e.Message());
        return;
    }
    const int fd = openDescriptor("socket");
    if (fd < 0)
        return;
    // Until the socket is bound it is in no state a Close would act on: failures here
    // release the descriptor themselves, or every retried Listen would leak one.
    if (m_socketType == DatagramSocket && m_reuseAddr &&
        setIntOption(fd, SOL_SOCKET, SO_REUSEADDR, -1) != 0) {
        const int err = errno;
        closeDescriptor();
        reportPlatformError("setsockopt(SO_REUSEADDR)", err);
        return;
    }
    SockAddrIn bindAddr = m_remoteAddr;
    if (m_socketType == DatagramSocket) {
        setupListenInterface();
        if (m_rxFilter)
            bindAddr.sin_addr = INADDR_ANY;
    }
    if (::bind(fd, asSockAddr(bindAddr), sizeof bindAddr) != 0) {
        const int err = errno;
        closeDescriptor();
        reportPlatformError("Bind", err);
        return;
    }
    const quint64 gen = m_generation;
    const QPointer<TCustomWSocket> alive(this);
    ChangeState(wsBound);
    if (m_socketType == StreamSocket) {
        if (::listen(fd, m_listenBacklog) != 0) {
            reportPlatformError("Listen", errno);
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
                reportPlatformError("setsockopt(IP_ADD_MEMBERSHIP)", errno);
                return;
            }
        }
        // A raw socket here receives every packet of its protocol already, so the
        // receive-all switch has nothing to do.
        ChangeState(wsListening);
        ChangeState(wsConnected);
        FireSessionConnected(0);
    } else {
        WSocketSetLastError(SocketError::ProtocolNotSupported);
        ReportSocketError("Listen: unexpected protocol.");
        return;
    }
    // The handlers may have destroyed, closed or reopened the socket; a descriptor number
    // says nothing, it is reused at once.
    if (alive && gen == m_generation && m_hSocket == fd) {
        m_selectEventMask = FdRead | FdWrite | FdAccept | FdClose;
        updateNotifiers();
    }
}

// ---- closing ----

void TCustomWSocket::Close()
{
    InternalClose(true, 0);
}

void TCustomWSocket::CloseDelayed()
{
    postToWindow(CloseDelayedMsg, quintptr(m_hSocket), 0);
}

void TCustomWSocket::Release()
{
    postToWindow(ReleaseMsg, 0, 0);
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
    if (!closeDescriptor()) {
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

// ---- remaining operations ----

SocketHandle TCustomWSocket::Accept()
{
    if (m_state != wsListening) {
        WSocketSetLastError(SocketError::InvalidArgument);
        ReportSocketError("not a listening socket");
        return InvalidSocket;
    }
    armRead();
    socklen_t len = sizeof m_remoteAddr;
    const int fd = ::accept4(m_hSocket, asSockAddr(m_remoteAddr), &len, SOCK_CLOEXEC);
    if (fd < 0) {
        reportPlatformError("Accept", errno);
        return InvalidSocket;
    }
    return fd;
}

void TCustomWSocket::Dup(SocketHandle NewHSocket)
{
    if (NewHSocket == 0 || NewHSocket == InvalidSocket) {
        WSocketSetLastError(SocketError::InvalidArgument);
        ReportSocketError("Dup");
        return;
    }
    if (m_hSocket != InvalidSocket) {
        if (!closeDescriptor()) {
            ReportSocketError("Dup (closesocket)");
            return;
        }
        ChangeState(wsClosed);
    }
    WSocketLoad();
    newOpening(NewHSocket, 0);
    fcntl(NewHSocket, F_SETFL, fcntl(NewHSocket, F_GETFL) | O_NONBLOCK);
    int sndBuf = 0;
    socklen_t len = sizeof sndBuf;
    if (getsockopt(NewHSocket, SOL_SOCKET, SO_SNDBUF, &sndBuf, &len) != 0) {
        reportPlatformError("getsockopt(SO_SNDBUF)", errno);
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
    updateNotifiers();
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
    updateNotifiers();
}

void TCustomWSocket::Resume()
{
    m_paused = false;
    updateNotifiers();
}

QByteArray TCustomWSocket::GetPeerAddr()
{
    SockAddrIn peer;
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
    SockAddrIn peer;
    int len = sizeof peer;
    if (m_state != wsConnected)
        return "error";
    if (GetPeerName(peer, len) != 0) {
        ReportSocketError("GetPeerPort");
        return "error";
    }
    return QByteArray::number(peer.Port());
}

int TCustomWSocket::GetPeerName(SockAddrIn &Name, int &NameLen)
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

int TCustomWSocket::GetSockName(SockAddrIn &Name, int &NameLen)
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
    SockAddrIn local;
    int len = sizeof local;
    if (GetSockName(local, len) != 0)
        return "error";
    return QByteArray::number(local.Port());
}

QByteArray TCustomWSocket::GetLocalAddrText()
{
    if (m_state != wsBound && m_state != wsConnected && m_state != wsListening)
        return "error";
    SockAddrIn local;
    int len = sizeof local;
    if (GetSockName(local, len) != 0)
        return "error";
    // Bound to the wildcard for the sake of broadcasts, but listening on one address.
    if (m_rxFilter && local.sin_addr == INADDR_ANY)
        local.sin_addr = m_rxFilter->Addr;
    return local.AddrText();
}
