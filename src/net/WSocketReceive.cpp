#include "net/CustomWSocket.h"
#include "net/SocketError.h"
#include "net/WSocketInternal.h"

#include <QPointer>
#include <algorithm>
#include <cstring>
#include <sys/ioctl.h>

using namespace wsocket;

namespace {

// Datagrams one read notification hands over at most: a flood that outruns the reader
// would otherwise keep the loop here for as long as it lasts, and nothing else of the
// thread (input, timers, posted work) would run. The rest waits for the next notification.
constexpr int MaxDatagramsPerNotification = 64;

} // namespace

void TCustomWSocket::ReceiveLoop(quint16 ErrCode, TWSocketOptions Options)
{
    const quint64 gen = m_generation;
    const QPointer<TCustomWSocket> alive(this);
    for (int handed = 1;; ++handed) {
        m_lastError = 0;
        m_readArmed = false;
        try {
            if (!FireDataAvailable(ErrCode)) {
                // Nobody reads: drop what waits so the socket cannot keep the loop busy.
                char scratch[1024];
                if (RawReceive(scratch, sizeof scratch, 0) < 0) {
                    const int err = WSocketGetLastError();
                    m_lastError = err == SocketError::WouldBlock ? 0 : err;
                    if (err == SocketError::WouldBlock)
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
            // Nothing is read ahead here, so the socket stays readable for the next turn.
            if (handed >= MaxDatagramsPerNotification)
                break;
            pending = readAhead();
        } else if (ioctl(m_hSocket, FIONREAD, &pending) != 0) {
            m_lastError = recordErrno();
            break;
        }
        if (pending == 0)
            break;
    }
}

// ---- receiving ----

int TCustomWSocket::receiveDatagram(void *Buffer, int Size, int Flags, SockAddrIn *From,
                                    int *FromLen)
{
    for (;;) {
        iovec iov{Buffer, size_t(std::max(Size, 0))};
        alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))];
        SockAddrIn sender;
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
            WSocketSetLastError(SocketError::MessageTooLong);
            return -1;
        }
        if (From)
            *From = sender;
        if (FromLen)
            *FromLen = int(sizeof sender);
        return int(r);
    }
}

// The next datagram into the read-ahead: its length, 0 when none waits, 1 after a failure.
int TCustomWSocket::readAhead()
{
    return m_ahead.fill([this](char *buffer, int size, SockAddrIn *from) {
        return receiveDatagram(buffer, size, 0, from, nullptr);
    });
}

int TCustomWSocket::RawReceive(void *Buffer, int Size, int Flags)
{
    armRead();
    int r;
    if (m_socketType == StreamSocket) {
        r = int(::recv(m_hSocket, Buffer, size_t(std::max(Size, 0)), Flags | MSG_DONTWAIT));
        if (r < 0)
            recordErrno();
    } else if (m_ahead.held()) {
        r = m_ahead.take(Buffer, Size, Flags, nullptr, nullptr);
    } else {
        r = receiveDatagram(Buffer, Size, Flags, nullptr, nullptr);
    }
    m_rcvdFull = r >= Size;
    return r;
}

int TCustomWSocket::RawReceiveFrom(void *Buffer, int Size, int Flags, SockAddrIn *From,
                                   int *FromLen)
{
    armRead();
    int r;
    if (m_socketType == StreamSocket) {
        socklen_t len = sizeof(SockAddrIn);
        r = int(::recvfrom(m_hSocket, Buffer, size_t(std::max(Size, 0)), Flags | MSG_DONTWAIT,
                           From ? asSockAddr(*From) : nullptr, From ? &len : nullptr));
        if (r < 0)
            recordErrno();
        else if (FromLen)
            *FromLen = int(len);
    } else if (m_ahead.held()) {
        r = m_ahead.take(Buffer, Size, Flags, From, FromLen);
    } else {
        r = receiveDatagram(Buffer, Size, Flags, From, FromLen);
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

int TCustomWSocket::ReceiveFrom(void *Buffer, int BufferSize, SockAddrIn &From, int &FromLen)
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
    if (m_ahead.held())
        return m_ahead.pendingCount();
    int pending = 0;
    if (ioctl(m_hSocket, FIONREAD, &pending) != 0) {
        reportPlatformError("ioctlSocket", errno);
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
            if (m_lastError != SocketError::WouldBlock)
                break;
        }
        PumpMessages();
        if (!alive)
            return;
    }
}
