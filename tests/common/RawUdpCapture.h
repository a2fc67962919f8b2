#pragma once

#include <QByteArray>
#include <QList>

/// A UDP datagram as it crossed the wire into a host: addresses, ports and payload.
struct WireDatagram
{
    QByteArray src;
    QByteArray dst;
    quint16 srcPort = 0;
    quint16 dstPort = 0;
    QByteArray payload;
};

/// A raw socket in a namespace host that sees every UDP datagram arriving there.
class RawUdpCapture final
{
public:
    explicit RawUdpCapture(const QByteArray &nsName);
    ~RawUdpCapture();
    RawUdpCapture(const RawUdpCapture &) = delete;
    RawUdpCapture &operator=(const RawUdpCapture &) = delete;

    bool ok() const { return m_fd >= 0; }
    /// Reads what has arrived since the last call and adds it to all().
    const QList<WireDatagram> &all();
    /// Datagrams to a port whose payload has command at positions 8-10.
    QList<WireDatagram> withCommand(const QByteArray &command, quint16 port);

private:
    int m_fd = -1;
    QList<WireDatagram> m_seen;
};
