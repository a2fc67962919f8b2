#pragma once

#include "net/CustomWSocket.h"

#include <netinet/in.h>
#include <sys/socket.h>

// Helpers shared by the source files of the socket core; not part of the component's API.

namespace wsocket {

inline constexpr int StreamSocket = 1;
inline constexpr int DatagramSocket = 2;
inline constexpr int RawSocket = 3;
inline constexpr quint32 AllOnes = 0xFFFFFFFFu;

/// The system's socket type for 1 stream, 2 datagram, 3 raw.
int systemSocketType(int Type);
/// Records the classic code of errno as the thread's last error and returns it.
int recordErrno();
/// One integer socket option; the system call's result.
int setIntOption(int Fd, int Level, int Name, int Value);

inline sockaddr *asSockAddr(SockAddrIn &a)
{
    return reinterpret_cast<sockaddr *>(&a);
}
inline const sockaddr *asSockAddr(const SockAddrIn &a)
{
    return reinterpret_cast<const sockaddr *>(&a);
}

/// Raises an event unless it is unassigned.
template <class Event, class... Args>
void fire(const Event &event, Args... args)
{
    if (event)
        event(args...);
}

} // namespace wsocket

// Interface-restricted datagram listening: the address listened on and its device.
struct TCustomWSocket::RxFilter
{
    quint32 Addr = 0; // network order
    int IfIndex = 0;
};
