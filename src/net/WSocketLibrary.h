#pragma once

#include <QByteArray>
#include <QtGlobal>

// The process-wide binding of the socket interface: the count of live sockets, the
// start-up with the requested version on first use, the clean-up when the last socket
// goes, the per-thread last error and the English texts of the error codes.
//
// The codes and their names are in net/SocketError.h; a code without a text reads "Not a
// WinSock error".

/// English text of a socket error code; "Not a WinSock error" for unknown codes.
QByteArray SocketErrorDesc(int ErrCode);

/// Last socket error recorded on the calling thread (0 when none).
int WSocketGetLastError();
/// Records ErrCode as the calling thread's last socket error.
void WSocketSetLastError(int ErrCode);
/// Records the classic code of a system errno as the last error and returns it.
int WSocketSetLastErrorFromErrno(int Errno);
/// The classic code of a system errno.
int WSocketErrorFromErrno(int Errno);
/// The classic code (11001 to 11004) of a getaddrinfo failure.
int WSocketErrorFromResolver(int GaiError);

/// Requested interface version, low and high byte (1 and 1 unless changed).
quint8 WSocketReqVerLow();
quint8 WSocketReqVerHigh();
/// Store a new requested version byte; false (nothing stored) while the interface is
/// started and the value differs.
bool WSocketSetReqVerLow(quint8 Value);
bool WSocketSetReqVerHigh(quint8 Value);

/// Starts the interface when it is not started yet (the first platform call does this).
void WSocketLoad();
/// Cleans the interface up when it is started and no socket or counted call is alive.
void UnloadSocketLibrary();
/// Live sockets plus counted calls in progress.
int SocketInstanceCount();
/// Whether the interface is started, the version word it was last started with
/// (low byte ReqVerLow, high byte ReqVerHigh) and how often it has been started.
bool WSocketLibraryLoaded();
quint16 WSocketStartedVersion();
int WSocketStartupCount();

/// Raises the instance count for its lifetime (and starts the interface), so routines
/// outside a socket keep the interface up during their platform call.
class WSocketCountedCall final
{
public:
    WSocketCountedCall();
    ~WSocketCountedCall();
    WSocketCountedCall(const WSocketCountedCall &) = delete;
    WSocketCountedCall &operator=(const WSocketCountedCall &) = delete;
};

/// Raise and lower the instance count for one socket object; the last one out cleans up.
void WSocketInstanceAdded();
void WSocketInstanceRemoved();
