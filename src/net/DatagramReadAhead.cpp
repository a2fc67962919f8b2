#include "net/DatagramReadAhead.h"

#include "net/SocketError.h"

#include <cstring>
#include <sys/socket.h>

int DatagramReadAhead::take(void *Buffer, int Size, int Flags, SockAddrIn *From, int *FromLen)
{
    const bool peek = (Flags & MSG_PEEK) != 0;
    if (m_error != 0) {
        WSocketSetLastError(m_error);
        m_held = peek;
        return -1;
    }
    if (m_length > Size) {
        m_held = false;
        WSocketSetLastError(SocketError::MessageTooLong);
        return -1;
    }
    if (m_length > 0)
        std::memcpy(Buffer, m_data.constData(), size_t(m_length));
    if (From)
        *From = m_from;
    if (FromLen)
        *FromLen = int(sizeof(SockAddrIn));
    m_held = peek;
    return m_length;
}
