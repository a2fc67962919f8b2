#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QFlags>
#include <exception>
#include <functional>
#include <memory>

// Types, message numbers and event signatures shared by the layers of the socket component.

/// Failure of the socket layer; the text is the complete message.
class ESocketException : public std::exception
{
public:
    explicit ESocketException(QByteArray Msg);
    const char *what() const noexcept override;
    const QByteArray &Message() const { return m_message; }

private:
    QByteArray m_message;
};

enum TSocketState : quint8
{
    wsInvalidState = 0,
    wsOpened = 1,
    wsBound = 2,
    wsConnecting = 3,
    wsSocksConnected = 4,
    wsConnected = 5,
    wsAccepting = 6,
    wsListening = 7,
    wsClosed = 8
};

enum TSocketSendFlags : int
{
    wsSendNormal = 0,
    wsSendUrgent = 1
};

enum TSocketLingerOnOff : int
{
    wsLingerOff = 0,
    wsLingerOn = 1,
    wsLingerNoSet = 2
};

/// Component options; each value is its bit (bit 0, 1, 2).
enum TWSocketOption : quint8
{
    wsoNoReceiveLoop = 0x01,
    wsoTcpNoDelay = 0x02,
    wsoSIO_RCVALL = 0x04
};
Q_DECLARE_FLAGS(TWSocketOptions, TWSocketOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TWSocketOptions)

enum TSocksAuthentication : int
{
    socksNoAuthentication = 0,
    socksAuthenticateUsercode = 1
};

enum TSocksAuthState : int
{
    socksAuthStart = 0,
    socksAuthSuccess = 1,
    socksAuthFailure = 2,
    socksAuthNotRequired = 3
};

/// A system socket descriptor; InvalidSocket when none is open.
using SocketHandle = int;
inline constexpr SocketHandle InvalidSocket = -1;

/// IPv4 socket address with the system's 16-byte layout (family 2).
struct SockAddrIn
{
    quint16 sin_family = 2;
    quint16 sin_port = 0; ///< network byte order
    quint32 sin_addr = 0; ///< network byte order
    quint8 sin_zero[8] = {};

    /// Dotted text of the address.
    QByteArray AddrText() const;
    /// Port in host order.
    quint16 Port() const;
};

/// A seconds/microseconds pair.
struct Timeval
{
    qint32 tv_sec = 0;
    qint32 tv_usec = 0;
};

// Message numbers of the hidden window.
inline constexpr int SocketEventMsg = 1025;
inline constexpr int HostByNameMsg = 1026;
inline constexpr int HostByAddrMsg = 1027;
inline constexpr int CloseDelayedMsg = 1028;
inline constexpr int ReleaseMsg = 1029;
inline constexpr int TestExceptionMsg = 1030;
inline constexpr int LineResumeMsg = 1044;

// Notification bits carried by SocketEventMsg (low 16 bits; the error is the high 16).
inline constexpr int FdRead = 1;
inline constexpr int FdWrite = 2;
inline constexpr int FdOob = 4;
inline constexpr int FdAccept = 8;
inline constexpr int FdConnect = 16;
inline constexpr int FdClose = 32;

/// One request delivered to a socket's hidden window.
struct WindowMessage
{
    int Msg = 0;
    quint64 Generation = 0; ///< opening the request was made for
    quintptr WParam = 0;    ///< SocketEventMsg: the descriptor; lookups: the request handle
    qintptr LParam = 0;     ///< SocketEventMsg and lookups: bits | (error << 16)
    std::shared_ptr<const QByteArrayList> Results; ///< lookups: addresses or host names
};

class TCustomWSocket;

using TDataAvailable = std::function<void(TCustomWSocket *Sender, quint16 ErrCode)>;
using TDataSent = std::function<void(TCustomWSocket *Sender, quint16 ErrCode)>;
using TSessionClosed = std::function<void(TCustomWSocket *Sender, quint16 ErrCode)>;
using TSessionAvailable = std::function<void(TCustomWSocket *Sender, quint16 ErrCode)>;
using TSessionConnected = std::function<void(TCustomWSocket *Sender, quint16 ErrCode)>;
using TDnsLookupDone = std::function<void(TCustomWSocket *Sender, quint16 ErrCode)>;
using TSendData = std::function<void(TCustomWSocket *Sender, qint32 BytesSent)>;
using TChangeState =
    std::function<void(TCustomWSocket *Sender, TSocketState OldState, TSocketState NewState)>;
using TBgExceptionEvent =
    std::function<void(TCustomWSocket *Sender, const std::exception &E, bool &CanClose)>;
using TLineLimitEvent =
    std::function<void(TCustomWSocket *Sender, qint32 RcvdLength, bool &ClearData)>;
using TSocksErrorEvent =
    std::function<void(TCustomWSocket *Sender, qint32 Error, const QByteArray &Msg)>;
using TSocksAuthStateEvent = std::function<void(TCustomWSocket *Sender, TSocksAuthState State)>;
/// Type of OnError: the sender only; the handler reads LastError.
using SocketNotifyEvent = std::function<void(TCustomWSocket *Sender)>;
