#include "net/WSocketLibrary.h"

#include "net/SocketError.h"

#include <cerrno>
#include <mutex>
#include <netdb.h>

namespace {

struct Library
{
    std::mutex lock;
    int instanceCount = 0;
    bool loaded = false;
    quint8 reqVerLow = 1;
    quint8 reqVerHigh = 1;
    quint16 startedVersion = 0;
    int startupCount = 0;
};

Library &library()
{
    // Never destroyed: sockets owned by static objects may still count down at exit.
    static Library *const lib = new Library;
    return *lib;
}

// Runs fn on the binding under its lock.
template <class F>
auto locked(F fn)
{
    Library &lib = library();
    std::lock_guard guard(lib.lock);
    return fn(lib);
}

thread_local int t_lastError = 0;

// Callers hold the lock.
void startLocked(Library &lib)
{
    if (lib.loaded)
        return;
    lib.loaded = true;
    lib.startedVersion = quint16(lib.reqVerLow | (lib.reqVerHigh << 8));
    ++lib.startupCount;
}

void unloadLocked(Library &lib)
{
    if (lib.loaded && lib.instanceCount == 0)
        lib.loaded = false;
}

struct ErrText
{
    int code;
    const char *text;
};

constexpr ErrText errorTexts[] = {
    {0, "No Error"},
    {SocketError::Interrupted, "Interrupted system call"},
    {SocketError::BadFile, "Bad file number"},
    {SocketError::AccessDenied, "Permission denied"},
    {SocketError::BadAddress, "Bad address"},
    {SocketError::InvalidArgument, "Invalid argument"},
    {SocketError::TooManyOpenFiles, "Too many open files"},
    {SocketError::WouldBlock, "Operation would block"},
    {SocketError::InProgress, "Operation now in progress"},
    {SocketError::AlreadyInProgress, "Operation already in progress"},
    {SocketError::NotASocket, "Socket operation on non-socket"},
    {SocketError::DestinationRequired, "Destination address required"},
    {SocketError::MessageTooLong, "Message too long"},
    {SocketError::WrongProtocolType, "Protocol wrong type for socket"},
    {SocketError::ProtocolNotAvailable, "Protocol not available"},
    {SocketError::ProtocolNotSupported, "Protocol not supported"},
    {SocketError::SocketTypeNotSupported, "Socket type not supported"},
    {SocketError::OperationNotSupported, "Operation not supported on socket"},
    {SocketError::ProtocolFamilyNotSupported, "Protocol family not supported"},
    {SocketError::AddressFamilyNotSupported, "Address family not supported by protocol family"},
    {SocketError::AddressInUse, "Address already in use"},
    {SocketError::AddressNotAvailable, "Address not available"},
    {SocketError::NetworkDown, "Network is down"},
    {SocketError::NetworkUnreachable, "Network is unreachable"},
    {SocketError::NetworkReset, "Network dropped connection on reset"},
    {SocketError::ConnectionAborted, "Connection aborted"},
    {SocketError::ConnectionReset, "Connection reset by peer"},
    {SocketError::NoBufferSpace, "No buffer space available"},
    {SocketError::AlreadyConnected, "Socket is already connected"},
    {SocketError::NotConnected, "Socket is not connected"},
    {SocketError::SendAfterShutdown, "Can't send after socket shutdown"},
    {SocketError::TooManyReferences, "Too many references: can't splice"},
    {SocketError::TimedOut, "Connection timed out"},
    {SocketError::ConnectionRefused, "Connection refused"},
    {SocketError::SymbolicLinkLoop, "Too many levels of symbolic links"},
    {SocketError::NameTooLong, "File name too long"},
    {SocketError::HostDown, "Host is down"},
    {SocketError::HostUnreachable, "No route to host"},
    {SocketError::DirectoryNotEmpty, "Directory not empty"},
    {SocketError::TooManyProcesses, "Too many processes"},
    {SocketError::TooManyUsers, "Too many users"},
    {SocketError::QuotaExceeded, "Disc quota exceeded"},
    {SocketError::StaleHandle, "Stale NFS file handle"},
    {SocketError::RemotePath, "Too many levels of remote in path"},
    {SocketError::SystemNotReady, "Network sub-system is unusable"},
    {SocketError::VersionNotSupported, "WinSock DLL cannot support this application"},
    {SocketError::NotInitialised, "WinSock not initialized"},
    {SocketError::HostNotFound, "Host not found"},
    {SocketError::TryAgain, "Non-authoritative host not found"},
    {SocketError::NoRecovery, "Non-recoverable error"},
    {SocketError::NoData, "No Data"},
};

// Linux errno values above 34 differ from the BSD numbering the codes follow.
struct ErrnoMap
{
    int linux;
    int bsd;
};

constexpr ErrnoMap errnoMap[] = {
    {EAGAIN, 35},
    {EINPROGRESS, 36},
    {EALREADY, 37},
    {ENOTSOCK, 38},
    {EDESTADDRREQ, 39},
    {EMSGSIZE, 40},
    {EPROTOTYPE, 41},
    {ENOPROTOOPT, 42},
    {EPROTONOSUPPORT, 43},
    {ESOCKTNOSUPPORT, 44},
    {EOPNOTSUPP, 45},
    {EPFNOSUPPORT, 46},
    {EAFNOSUPPORT, 47},
    {EADDRINUSE, 48},
    {EADDRNOTAVAIL, 49},
    {ENETDOWN, 50},
    {ENETUNREACH, 51},
    {ENETRESET, 52},
    {ECONNABORTED, 53},
    {ECONNRESET, 54},
    {ENOBUFS, 55},
    {EISCONN, 56},
    {ENOTCONN, 57},
    {ESHUTDOWN, 58},
    {ETOOMANYREFS, 59},
    {ETIMEDOUT, 60},
    {ECONNREFUSED, 61},
    {ELOOP, 62},
    {ENAMETOOLONG, 63},
    {EHOSTDOWN, 64},
    {EHOSTUNREACH, 65},
    {ENOTEMPTY, 66},
    {EUSERS, 68},
    {EDQUOT, 69},
    {ESTALE, 70},
    {EREMOTE, 71},
    // A send on a stream the peer has torn down: treated like an aborted connection,
    // so the sender closes instead of raising an error nobody can act on.
    {EPIPE, 53},
};

} // namespace

QByteArray SocketErrorDesc(int ErrCode)
{
    for (const ErrText &e : errorTexts)
        if (e.code == ErrCode)
            return QByteArray(e.text);
    return QByteArrayLiteral("Not a WinSock error");
}

int WSocketGetLastError()
{
    return t_lastError;
}

void WSocketSetLastError(int ErrCode)
{
    t_lastError = ErrCode;
}

int WSocketErrorFromErrno(int Errno)
{
    for (const ErrnoMap &m : errnoMap)
        if (m.linux == Errno)
            return SocketError::ErrnoBase + m.bsd;
    if (Errno >= 1 && Errno <= 34) // shared with BSD
        return SocketError::ErrnoBase + Errno;
    if (Errno == 0)
        return 0;
    return SocketError::UnmappedErrnoBase + Errno;
}

int WSocketSetLastErrorFromErrno(int Errno)
{
    t_lastError = WSocketErrorFromErrno(Errno);
    return t_lastError;
}

int WSocketErrorFromResolver(int GaiError)
{
    switch (GaiError) {
    case 0:
        return 0;
    case EAI_NONAME:
        return SocketError::HostNotFound;
    case EAI_AGAIN:
        return SocketError::TryAgain;
#ifdef EAI_NODATA
    case EAI_NODATA:
        return SocketError::NoData;
#endif
#ifdef EAI_ADDRFAMILY
    case EAI_ADDRFAMILY:
        return SocketError::NoData;
#endif
    case EAI_SYSTEM:
        return WSocketErrorFromErrno(errno);
    default:
        return SocketError::NoRecovery;
    }
}

quint8 WSocketReqVerLow()
{
    return locked([](Library &lib) { return lib.reqVerLow; });
}

quint8 WSocketReqVerHigh()
{
    return locked([](Library &lib) { return lib.reqVerHigh; });
}

static bool setReqVer(quint8 Library::*field, quint8 value)
{
    Library &lib = library();
    std::lock_guard guard(lib.lock);
    if (lib.*field == value)
        return true;
    if (lib.loaded)
        return false;
    lib.*field = value;
    return true;
}

bool WSocketSetReqVerLow(quint8 Value)
{
    return setReqVer(&Library::reqVerLow, Value);
}

bool WSocketSetReqVerHigh(quint8 Value)
{
    return setReqVer(&Library::reqVerHigh, Value);
}

void WSocketLoad()
{
    locked([](Library &lib) { startLocked(lib); });
}

void UnloadSocketLibrary()
{
    locked([](Library &lib) { unloadLocked(lib); });
}

int SocketInstanceCount()
{
    return locked([](Library &lib) { return lib.instanceCount; });
}

bool WSocketLibraryLoaded()
{
    return locked([](Library &lib) { return lib.loaded; });
}

quint16 WSocketStartedVersion()
{
    return locked([](Library &lib) { return lib.startedVersion; });
}

int WSocketStartupCount()
{
    return locked([](Library &lib) { return lib.startupCount; });
}

WSocketCountedCall::WSocketCountedCall()
{
    Library &lib = library();
    std::lock_guard guard(lib.lock);
    ++lib.instanceCount;
    startLocked(lib);
}

WSocketCountedCall::~WSocketCountedCall()
{
    locked([](Library &lib) { --lib.instanceCount; });
}

void WSocketInstanceAdded()
{
    locked([](Library &lib) { ++lib.instanceCount; });
}

void WSocketInstanceRemoved()
{
    Library &lib = library();
    std::lock_guard guard(lib.lock);
    --lib.instanceCount;
    if (lib.instanceCount < 1)
        unloadLocked(lib);
}
