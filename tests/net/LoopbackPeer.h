#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace sockettest {

/// The far end of a stream connection on 127.0.0.1, driven with plain system calls from
/// the test's own thread; its waits run the event loop so the socket under test works.
class LoopbackPeer final
{
public:
    LoopbackPeer();
    ~LoopbackPeer();
    LoopbackPeer(const LoopbackPeer &) = delete;
    LoopbackPeer &operator=(const LoopbackPeer &) = delete;

    quint16 port() const { return m_port; }
    /// Waits for the socket under test to connect.
    bool accept();
    /// The next Size bytes the socket sent (fewer if they do not come).
    QByteArray read(int Size);
    void send(const QByteArray &Bytes);
    /// Closes the connection.
    void hangUp();

private:
    int m_listen = -1;
    int m_client = -1;
    quint16 m_port = 0;
};

} // namespace sockettest
