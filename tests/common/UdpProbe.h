#pragma once

#include "common/EventWait.h"

#include <QByteArray>
#include <QList>
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
/// under test goes on working during the wait. What arrived "in the end" is read up to a
/// marker the probe sends itself once the event loop has nothing left to do: loopback
/// delivers within the sending call, so the marker comes after everything sent before it.
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
    std::optional<ProbeDatagram> next(int timeoutMs = testwait::kTimeoutMs);
    /// Runs the event loop until it has nothing left to do, then returns every datagram
    /// that arrived, up to the probe's own marker.
    QList<ProbeDatagram> untilMarker();

    /// A UDP port that is free on addr right now.
    static quint16 freePort(const QByteArray &addr);

private:
    std::optional<ProbeDatagram> readOne();

    int m_fd = -1;
    QByteArray m_addr;
    quint16 m_port = 0;
    int m_markers = 0;
};

/// Address host (1-254) of a loopback block of this process: tests running side by side
/// use different blocks, so their ports and addresses never meet.
QByteArray loopbackHost(int host);
