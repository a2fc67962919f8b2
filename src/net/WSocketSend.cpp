#include "net/CustomWSocket.h"
#include "net/SocketError.h"
#include "net/WSocketInternal.h"

#include <QCoreApplication>
#include <QPointer>
#include <QScopeGuard>
#include <algorithm>
#include <cstring>
#include <iterator>

using namespace wsocket;

namespace {

// Errors after which a send can never succeed on this opening.
constexpr int FatalSendErrors[] = {SocketError::InvalidArgument, SocketError::NotASocket,
                                   SocketError::ConnectionAborted, SocketError::ConnectionReset,
                                   SocketError::NotConnected};

// The largest UDP payload over IPv4: 65535 less the IPv4 and UDP headers.
constexpr int MaxDatagramBytes = 65535 - 20 - 8;

} // namespace

// ---- sending ----

void TCustomWSocket::ClearSendQueue()
{
    m_sendQueue.clear();
}

void TCustomWSocket::QueueData(const char *Data, int Len)
{
    if (Len <= 0 || !Data)
        return;
    if (m_socketType != StreamSocket) {
        // One send is one datagram: it gets a block of its own, and nothing is ever put
        // behind it. Only an emptied block that can hold it is used again.
        TBuffer *last = m_sendQueue.empty() ? nullptr : m_sendQueue.back().get();
        if (!last || last->WritePos() != 0 || last->BlockSize() < Len) {
            m_sendQueue.push_back(std::make_unique<TBuffer>(std::max(m_sendBlockSize, Len)));
            last = m_sendQueue.back().get();
        }
        last->Write(Data, Len);
        m_allSent = false;
        return;
    }
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
        updateNotifiers();
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
                updateNotifiers();
                return;
            }
            if (r > 0 && m_socketType != StreamSocket) {
                // A datagram leaves whole or not at all.
                block.Remove(count);
            } else if (r > 0) {
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
                if (err == SocketError::WouldBlock)
                    break;
                // Only a refusal for lack of room is worth another try when the socket
                // becomes writable; a writable socket would otherwise repeat this report
                // without end. The next Send tries again.
                m_sendFailed = true;
                m_sending = false;
                updateNotifiers();
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
    updateNotifiers();
}

int TCustomWSocket::sendDatagram(const SockAddrIn &Dest, const char *Data, int Len)
{
    if (m_txIfIndex == 0 || Dest.sin_addr != AllOnes)
        return int(
            ::sendto(m_hSocket, Data, size_t(Len), m_sendFlags, asSockAddr(Dest), sizeof Dest));
    // A limited broadcast leaves through the device of the bound address, not the one
    // the default route names.
    iovec iov{const_cast<char *>(Data), size_t(Len)};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))] = {};
    msghdr msg{};
    msg.msg_name = const_cast<SockAddrIn *>(&Dest);
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
                      ? sendDatagram(m_remoteAddr, Data, Len)
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
        WSocketSetLastError(SocketError::NotConnected);
        ReportSocketError("Send");
        return -1;
    }
    // Queued, it would block every datagram behind it; refused, nothing changes.
    if (m_socketType == DatagramSocket && Len > MaxDatagramBytes) {
        WSocketSetLastError(SocketError::MessageTooLong);
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
        postWriteCompletion();
    return result;
}

int TCustomWSocket::SendText(const QByteArray &Str)
{
    if (Str.isEmpty())
        return 0;
    return Send(Str.constData(), int(Str.size()));
}

int TCustomWSocket::SendTo(const SockAddrIn &Dest, int DestLen, const void *Data, int Len)
{
    Q_UNUSED(DestLen);
    const SockAddrIn dest = Dest;
    int r;
    if (m_socketType == DatagramSocket)
        r = sendDatagram(dest, static_cast<const char *>(Data), Len);
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
        postWriteCompletion();
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
