#pragma once

#include <QByteArray>
#include <optional>

/// One datagram a probe received.
struct ProbeDatagram
{
    QByteArray data;
    QByteArray fromAddr;
    quint16 fromPort = 0;
};

/// A plain UDP socket standing in for another host in tests: it binds an address, sends
/// from it, and waits for datagrams while the Qt event loop keeps running, so the engine
/// under test goes on working during the wait.
class UdpProbe final
{
public:
    /// Binds addr:port (port 0 picks one); check bound().
    UdpProbe(const QByteArray &addr, quint16 port);
    ~UdpProbe();
    UdpProbe(const UdpProbe &) = delete;
    UdpProbe &operator=(const UdpProbe &) = delete;

    bool bound() const { return m_fd >= 0; }
    quint16 port() const { return m_port; }
    int fd() const { return m_fd; }

    bool sendTo(const QByteArray &addr, quint16 port, const QByteArray &data) const;
    /// The next datagram within timeoutMs (events are processed while waiting).
    std::optional<ProbeDatagram> next(int timeoutMs = 2000);
    /// Everything that arrives within quietMs of pumping events.
    QList<ProbeDatagram> collect(int quietMs = 150);

    /// A UDP port that is free on addr right now.
    static quint16 freePort(const QByteArray &addr);

private:
    std::optional<ProbeDatagram> readOne();

    int m_fd = -1;
    quint16 m_port = 0;
};

/// Address host (1-254) of a loopback block of this process: tests running side by side
/// use different blocks, so their ports and addresses never meet.
QByteArray loopbackHost(int host);

/// Runs the event loop for ms milliseconds.
void pumpEvents(int ms);
