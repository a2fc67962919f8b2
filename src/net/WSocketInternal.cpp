#include "net/WSocketInternal.h"

#include "net/WSocketLibrary.h"

#include <cerrno>

static_assert(sizeof(SockAddrIn) == sizeof(sockaddr_in), "SockAddrIn must match sockaddr_in");

namespace wsocket {

int systemSocketType(int Type)
{
    switch (Type) {
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

int setIntOption(int Fd, int Level, int Name, int Value)
{
    return setsockopt(Fd, Level, Name, &Value, sizeof Value);
}

} // namespace wsocket
