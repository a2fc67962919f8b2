#include "net/WSocketLibrary.h"

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
    {10004, "Interrupted system call"},
    {10009, "Bad file number"},
    {10013, "Permission denied"},
    {10014, "Bad address"},
    {10022, "Invalid argument"},
    {10024, "Too many open files"},
    {10035, "Operation would block"},
    {10036, "Operation now in progress"},
    {10037, "Operation already in progress"},
    {10038, "Socket operation on non-socket"},
    {10039, "Destination address required"},
    {10040, "Message too long"},
    {10041, "Protocol wrong type for socket"},
    {10042, "Protocol not available"},
    {10043, "Protocol not supported"},
    {10044, "Socket type not supported"},
    {10045, "Operation not supported on socket"},
    {10046, "Protocol family not supported"},
    {10047, "Address family not supported by protocol family"},
    {10048, "Address already in use"},
    {10049, "Address not available"},
    {10050, "Network is down"},
    {10051, "Network is unreachable"},
    {10052, "Network dropped connection on reset"},
    {10053, "Connection aborted"},
    {10054, "Connection reset by peer"},
    {10055, "No buffer space available"},
    {10056, "Socket is already connected"},
    {10057, "Socket is not connected"},
    {10058, "Can't send after socket shutdown"},
    {10059, "Too many references: can't splice"},
    {10060, "Connection timed out"},
    {10061, "Connection refused"},
    {10062, "Too many levels of symbolic links"},
    {10063, "File name too long"},
    {10064, "Host is down"},
    {10065, "No route to host"},
    {10066, "Directory not empty"},
    {10067, "Too many processes"},
    {10068, "Too many users"},
    {10069, "Disc quota exceeded"},
    {10070, "Stale NFS file handle"},
    {10071, "Too many levels of remote in path"},
    {10091, "Network sub-system is unusable"},
    {10092, "WinSock DLL cannot support this application"},
    {10093, "WinSock not initialized"},
    {11001, "Host not found"},
    {11002, "Non-authoritative host not found"},
    {11003, "Non-recoverable error"},
    {11004, "No Data"},
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
            return 10000 + m.bsd;
    if (Errno >= 1 && Errno <= 34) // shared with BSD
        return 10000 + Errno;
    if (Errno == 0)
        return 0;
    return 10200 + Errno;
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
        return 11001;
    case EAI_AGAIN:
        return 11002;
#ifdef EAI_NODATA
    case EAI_NODATA:
        return 11004;
#endif
#ifdef EAI_ADDRFAMILY
    case EAI_ADDRFAMILY:
        return 11004;
#endif
    case EAI_SYSTEM:
        return WSocketErrorFromErrno(errno);
    default:
        return 11003;
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
