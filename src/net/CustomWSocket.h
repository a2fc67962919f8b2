#pragma once

#include "net/DatagramReadAhead.h"
#include "net/WSockBuf.h"
#include "net/WSocketLibrary.h"
#include "net/WSocketResolve.h"
#include "net/WSocketTypes.h"

#include <QObject>
#include <memory>
#include <vector>

// The asynchronous socket component's core. Each socket owns a hidden QObject (its
// "window") that receives the read/write notifications of its descriptor and its own posted
// requests, one at a time, on the thread that created the socket. Every opening of a
// descriptor gets a new generation number carried by all notifications and posted
// requests, so that nothing meant for an earlier opening (descriptor numbers are reused
// at once) reaches the current one.
//
// Interfaces: a datagram socket that listens on the address of a broadcast-capable
// interface binds the wildcard address on that port (a socket bound to a unicast address
// gets no broadcasts on Linux), ties itself to the interface's device where the system
// allows it, and its reads keep only datagrams addressed to that address or arriving
// on that interface. A datagram socket whose LocalAddr is an interface address sends
// its limited broadcasts (255.255.255.255) out of that interface, whatever the default
// route says. Both rules live here, so every user of the component gets them.
//
// The members are implemented by concern: CustomWSocket.cpp (state, properties, events,
// error reporting), WSocketDispatch.cpp (notifiers and the hidden window's messages),
// WSocketOpen.cpp (opening, binding, accepting, closing), WSocketSend.cpp (the send
// queue), WSocketReceive.cpp (the read loop and reads) and WSocketLookup.cpp (lookups).

class QSocketNotifier;
class SocketWindow;
struct DnsRequest;

/// The socket component core: one IPv4 socket driven by notifications from the event loop.
/// Failures go to OnError when it is assigned (the operation then returns normally),
/// otherwise they raise ESocketException.
class TCustomWSocket : public QObject
{
public:
    /// The owner (may be null) deletes the socket with itself.
    explicit TCustomWSocket(QObject *AOwner = nullptr);
    ~TCustomWSocket() override;
    Q_DISABLE_COPY_MOVE(TCustomWSocket)

    // ---- operations ----
    /// Opens the socket towards Addr:Port; a datagram socket is wsConnected on return,
    /// a stream socket completes later through OnSessionConnected.
    virtual void Connect();
    /// Binds to Addr:Port; a datagram socket is wsConnected on return, a stream socket
    /// is wsListening and reports connections through OnSessionAvailable.
    virtual void Listen();
    /// Orderly close; restores the defaults (Proto, Port, Addr must be set again).
    virtual void Close();
    /// Posts a Close to the own window, for handlers of this very socket.
    virtual void CloseDelayed();
    /// Posts the destruction of this object to the own window.
    virtual void Release();
    /// Drops queued data and closes without shutdown (hard reset of a TCP connection).
    virtual void Abort();
    /// Sends queued data, pumping messages, until everything is sent or the socket closes.
    virtual void Flush();
    /// Accepts a pending connection of a listening stream socket; InvalidSocket on failure.
    virtual SocketHandle Accept();
    /// Reads pending bytes (one datagram at most); negative on failure, see LastError.
    virtual int Receive(void *Buffer, int BufferSize);
    /// Reads what is pending (255 bytes when the count is unknown) as a string.
    virtual QByteArray ReceiveText();
    /// Reads one datagram and its sender. A datagram longer than the buffer is
    /// discarded whole and the read fails with 10040.
    virtual int ReceiveFrom(void *Buffer, int BufferSize, SockAddrIn &From, int &FromLen);
    /// Queues and tries to send; OnDataSent follows from the event loop once all is sent.
    /// On a datagram socket each call is one datagram, whatever waits before it, and one
    /// longer than a UDP datagram can be fails with 10040 and queues nothing. Returns Len
    /// (0 for Len <= 0), or -1 when the socket is not connected or the datagram too long.
    virtual int Send(const void *Data, int Len);
    /// One datagram to Dest, not queued.
    virtual int SendTo(const SockAddrIn &Dest, int DestLen, const void *Data, int Len);
    /// Send of the string's bytes; an empty string sends nothing and returns 0.
    virtual int SendText(const QByteArray &Str);
    /// Asynchronous host-name lookup; the result arrives as OnDnsLookupDone.
    virtual void DnsLookup(const QByteArray &HostName);
    /// Asynchronous address-to-name lookup; the result arrives as OnDnsLookupDone.
    virtual void ReverseDnsLookup(const QByteArray &HostAddr);
    /// Cancels a pending lookup (OnDnsLookupDone with 10004).
    virtual void CancelDnsLookup();
    virtual QByteArray GetPeerAddr();
    virtual QByteArray GetPeerPort();
    /// Peer address of a connected socket; -1 otherwise.
    virtual int GetPeerName(SockAddrIn &Name, int &NameLen);
    /// Local address of the open socket; -1 (and LastError) on failure.
    virtual int GetSockName(SockAddrIn &Name, int &NameLen);
    virtual QByteArray GetLocalPortText();
    virtual QByteArray GetLocalAddrText();
    /// Adopts an already connected descriptor (closing the current one first).
    virtual void Dup(SocketHandle NewHSocket);
    virtual void Shutdown(int How);
    /// Stops and restarts notifications.
    virtual void Pause();
    virtual void Resume();
    /// Hands pending data to OnDataAvailable until the socket is closed.
    virtual void DrainUntilClosed();
    /// The wait step: lets the event loop process what is pending.
    virtual void PumpMessages();
    /// Posts the test request that raises "Test exception in WSocket" in the window.
    void PostTestException();

    static bool TimevalIsSet(const Timeval &Tv);
    static void TimevalClear(Timeval &Tv);
    /// Equal (Equal true) or unequal (Equal false) pairs.
    static bool TimevalCompare(const Timeval &A, const Timeval &B, bool Equal);

    // ---- properties ----
    const QByteArray &Addr() const { return m_addrStr; }
    void SetAddr(const QByteArray &Value);
    const QByteArray &Port() const { return m_portStr; }
    virtual void SetPort(const QByteArray &Value);
    const QByteArray &Proto() const { return m_protoStr; }
    virtual void SetProto(const QByteArray &Value);
    const QByteArray &LocalAddr() const { return m_localAddr; }
    void SetLocalAddr(const QByteArray &Value);
    const QByteArray &LocalPort() const { return m_localPortStr; }
    void SetLocalPort(const QByteArray &Value);
    /// "error" unless connected.
    QByteArray PeerAddr() { return GetPeerAddr(); }
    QByteArray PeerPort() { return GetPeerPort(); }
    const QByteArray &DnsResult() const { return m_dnsResult; }
    const QByteArrayList &DnsResultList() const { return m_dnsResultList; }
    TSocketState State() const { return m_state; }
    qint32 ReadCount() const { return m_readCount; }
    /// Bytes waiting in the system (for a datagram socket: nonzero while one waits).
    int RcvdCount() { return GetRcvdCount(); }
    int LastError() const { return m_lastError; }
    /// No queued byte is waiting.
    bool AllDataSent() const { return m_allSent; }
    SocketHandle HSocket() const { return m_hSocket; }
    QObject *WindowHandle() const;
    /// 1 stream, 2 datagram, 3 raw.
    int SocketType() const { return m_socketType; }
    int SendBufferSize() const { return m_sendBufferSize; }
    bool Terminated() const { return m_terminated; }
    bool MultiThreaded() const { return m_multiThreaded; }
    void SetMultiThreaded(bool Value) { m_multiThreaded = Value; }
    bool MultiCast() const { return m_multiCast; }
    void SetMultiCast(bool Value) { m_multiCast = Value; }
    const QByteArray &MultiCastAddrStr() const { return m_multiCastAddrStr; }
    void SetMultiCastAddrStr(const QByteArray &Value) { m_multiCastAddrStr = Value; }
    int MultiCastIpTTL() const { return m_multiCastIpTTL; }
    void SetMultiCastIpTTL(int Value) { m_multiCastIpTTL = Value; }
    bool ReuseAddr() const { return m_reuseAddr; }
    void SetReuseAddr(bool Value) { m_reuseAddr = Value; }
    TWSocketOptions ComponentOptions() const { return m_componentOptions; }
    void SetComponentOptions(TWSocketOptions Value) { m_componentOptions = Value; }
    int ListenBacklog() const { return m_listenBacklog; }
    void SetListenBacklog(int Value) { m_listenBacklog = Value; }
    /// Process-wide requested interface version bytes.
    quint8 ReqVerLow() const;
    void SetReqVerLow(quint8 Value);
    quint8 ReqVerHigh() const;
    void SetReqVerHigh(quint8 Value);
    int FlushTimeout() const { return m_flushTimeout; }
    void SetFlushTimeout(int Value) { m_flushTimeout = Value; }
    TSocketSendFlags SendFlags();
    void SetSendFlags(int Value);
    TSocketLingerOnOff LingerOnOff() const { return m_lingerOnOff; }
    void SetLingerOnOff(TSocketLingerOnOff Value) { m_lingerOnOff = Value; }
    int LingerTimeout() const { return m_lingerTimeout; }
    void SetLingerTimeout(int Value) { m_lingerTimeout = Value; }

    // ---- events (skipped while unassigned) ----
    TDataAvailable OnDataAvailable;
    TDataSent OnDataSent;
    TSendData OnSendData;
    TSessionClosed OnSessionClosed;
    TSessionAvailable OnSessionAvailable;
    TSessionConnected OnSessionConnected;
    TChangeState OnChangeState;
    TDnsLookupDone OnDnsLookupDone;
    SocketNotifyEvent OnError;
    TBgExceptionEvent OnBgException;

protected:
    virtual void HandleWindowMessage(const WindowMessage &Msg);
    virtual void CreateHiddenWindow();
    virtual void DestroyHiddenWindow();
    virtual void TryToSend();
    virtual void ResetToDefaults();
    virtual void InternalClose(bool bShut, quint16 Error);
    virtual void InternalAbort(quint16 ErrCode);
    virtual int GetRcvdCount();
    /// Binds to LocalAddr:LocalPort and reads the port back; false after reporting.
    virtual bool BindLocal();
    /// One system send of queued bytes (one datagram on a datagram socket).
    virtual int SendChunk(const char *Data, int Len);
    virtual void ReportError(const QByteArray &Msg);
    /// "Error <code> in function <Sub>" CRLF + description of the thread's last error.
    void ReportSocketError(const QByteArray &Sub);
    virtual void HandleHandlerException(const std::exception &E);
    /// Raises OnDataAvailable; false when no handler is assigned.
    virtual bool FireDataAvailable(quint16 ErrCode);
    virtual void FireSessionAvailable(quint16 ErrCode);
    virtual void FireSessionConnected(quint16 ErrCode);
    virtual void FireSessionClosed(quint16 ErrCode);
    virtual void FireDataSent(quint16 ErrCode);
    virtual void FireChangeState(TSocketState OldState, TSocketState NewState);
    virtual void FireDnsLookupDone(quint16 ErrCode);
    virtual void FireError();
    virtual int RawReceive(void *Buffer, int Size, int Flags);
    virtual int RawReceiveFrom(void *Buffer, int Size, int Flags, SockAddrIn *From, int *FromLen);
    virtual void HandleConnectEvent(quint16 ErrCode);
    virtual void HandleReadEvent(quint16 ErrCode);
    virtual void HandleWriteEvent(quint16 ErrCode);
    virtual void HandleAcceptEvent(quint16 ErrCode);
    virtual void HandleCloseEvent(quint16 ErrCode);
    virtual void DupConnected();
    virtual void QueueData(const char *Data, int Len);
    void ClearSendQueue();
    void ChangeState(TSocketState NewState);
    void ReceiveLoop(quint16 ErrCode, TWSocketOptions Options);
    /// false after reporting a failure.
    bool ApplyLinger();
    bool Destroying() const { return m_destroying; }
    /// A read call re-arms read notifications, which a notification handled disarms.
    void armRead();
    /// Posts a request for the current opening to the own hidden window.
    void postToWindow(int Msg, quintptr WParam, qintptr LParam);

private:
    friend class SocketWindow;
    struct RxFilter;

    void dispatchWindowMessage(const WindowMessage &Msg, bool Posted);
    void postWriteCompletion();
    void handleSocketEvent(const WindowMessage &Msg);
    void handleLookupDone(const WindowMessage &Msg);
    void onNotifier(bool Read);
    void newOpening(SocketHandle Fd, int Mask);
    void updateNotifiers();
    bool closeDescriptor();
    void forgetDescriptor();
    void startLookup(const QByteArray &Name, bool Reverse);
    void setupListenInterface();
    void resolveRemote();
    bool connectOpened(int fd);
    void abandonOpening(quint64 Generation);
    void resolveRemotePort();
    void resolveRemoteAddr();
    int openDescriptor(const char *Sub);
    void setupSendInterface();
    int receiveDatagram(void *Buffer, int Size, int Flags, SockAddrIn *From, int *FromLen);
    int readAhead();
    int sendDatagram(const SockAddrIn &Dest, const char *Data, int Len);
    void reportPlatformError(const QByteArray &Sub, int Errno);
    bool assignText(const QByteArray &Value, QByteArray &Text, bool &Assigned, bool &Resolved,
                    const char *Name);

    // Lookup results and the hidden window.
    QByteArray m_dnsResult;
    QByteArrayList m_dnsResultList;
    SocketWindow *m_window = nullptr;
    QSocketNotifier *m_readNotifier = nullptr;
    QSocketNotifier *m_writeNotifier = nullptr;
    std::shared_ptr<DnsRequest> m_dnsRequest;
    int m_dnsLookupHandle = 0;

protected:
    int m_sendFlags = 0;
    int m_lastError = 0;
    SocketHandle m_hSocket = InvalidSocket;
    quint64 m_generation = 0;
    QByteArray m_addrStr;
    bool m_addrResolved = false;
    int m_addrFamily = 2;
    bool m_addrAssigned = false;
    int m_protoNum = 6;
    bool m_protoAssigned = true;
    bool m_protoResolved = false;
    bool m_localPortResolved = false;
    QByteArray m_protoStr = "tcp";
    QByteArray m_portStr;
    bool m_portAssigned = false;
    bool m_portResolved = false;
    quint32 m_portNum = 0;
    QByteArray m_localPortStr = "0";
    quint32 m_localPortNum = 0;
    QByteArray m_localAddr = "0.0.0.0";
    int m_socketType = 1;
    std::vector<std::unique_ptr<TBuffer>> m_sendQueue;
    int m_sendBlockSize = 1460;
    TSocketLingerOnOff m_lingerOnOff = wsLingerOn;
    int m_lingerTimeout = 0;
    int m_listenBacklog = 5;
    bool m_allSent = true;
    qint32 m_readCount = 0;
    bool m_paused = false;
    bool m_closeInvoked = false;
    int m_flushTimeout = 60;
    bool m_multiThreaded = false;
    bool m_multiCast = false;
    QByteArray m_multiCastAddrStr;
    int m_multiCastIpTTL = 1;
    bool m_reuseAddr = false;
    TWSocketOptions m_componentOptions;
    TSocketState m_state = wsClosed;
    bool m_rcvdFull = false;
    bool m_terminated = false;
    int m_selectEventMask = 0;
    quint16 m_currentSelectEvent = 0;
    int m_sendBufferSize = 0;
    SockAddrIn m_remoteAddr;

private:
    bool m_destroying = false;
    bool m_readArmed = true;              // a read/accept call re-arms read notifications
    bool m_sendFailed = false;            // last send failed for good: no write notifications
    bool m_sending = false;               // inside TryToSend's loop
    std::unique_ptr<RxFilter> m_rxFilter; // interface-restricted datagram listening
    DatagramReadAhead m_ahead;            // the next datagram, read to learn whether one waits
    int m_txIfIndex = 0;                  // device for limited broadcasts, 0 = routing decides
    int m_postedWrites = 0;               // write completions merged into one posted event
    quint64 m_postedWritesGen = 0;
    quint32 m_txSrcAddr = 0;
};
