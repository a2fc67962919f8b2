#pragma once

#include "net/SocketError.h"
#include "net/WSocketLibrary.h"
#include "net/WSocketTypes.h"

#include <QByteArray>

/// The datagram a read loop reads ahead to learn whether another one waits. The next read
/// is served from it, so a datagram costs one system call instead of a read and a query.
class DatagramReadAhead final
{
public:
    /// Holds any datagram, whatever the size of the reader's buffer.
    static constexpr int Capacity = 65536;

    /// A datagram (or the failure of reading one) is held for the next reader.
    bool held() const { return m_held; }
    /// Forgets what is held (the socket was closed or reopened).
    void drop() { m_held = false; }
    /// Bytes a reader would get now: the held datagram's length, 0 after a failure.
    int pendingCount() const { return m_error != 0 ? 0 : m_length; }

    /// Unless something is held, reads the next datagram with
    /// Read(char *buffer, int size, SockAddrIn *from) -> length, or -1 with the last error
    /// set. Returns the held length (what FIONREAD would give), 0 when nothing waits, and 1
    /// after a failure, so that the reader is called to meet it.
    template <class Read>
    int fill(Read read);

    /// A read served from what is held, with the rules of a read from the socket: a
    /// datagram longer than Size is discarded whole (10040), also by a peek (MSG_PEEK in
    /// Flags keeps a fitting datagram held). A held failure is handed over as -1 with the
    /// last error set.
    int take(void *Buffer, int Size, int Flags, SockAddrIn *From, int *FromLen);

private:
    QByteArray m_data;
    SockAddrIn m_from;
    int m_length = 0;
    int m_error = 0;
    bool m_held = false;
};

template <class Read>
int DatagramReadAhead::fill(Read read)
{
    if (m_held)
        return m_error != 0 ? 1 : m_length;
    if (m_data.size() < Capacity)
        m_data.resize(Capacity);
    const int r = read(m_data.data(), int(Capacity), &m_from);
    if (r < 0) {
        const int err = WSocketGetLastError();
        if (err == SocketError::WouldBlock)
            return 0;
        m_error = err;
        m_held = true;
        return 1;
    }
    m_error = 0;
    m_length = r;
    m_held = true;
    return r;
}
