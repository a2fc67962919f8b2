#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QList>
#include <QtGlobal>
#include <optional>

// Resolution of host, port and protocol texts and the host's own addresses. All of them
// are synchronous and raise ESocketException on failure.

/// A host record: its name and IPv4 addresses (network byte order) in resolver order.
struct HostEnt
{
    QByteArray Name;
    QList<quint32> Addresses;
};

/// IPv4 address (network byte order) of a dotted text or host name; counted call.
quint32 WSocketResolveHost(const QByteArray &InAddr);
/// The same without touching the instance count (for socket members).
quint32 WSocketResolveHostUncounted(const QByteArray &InAddr);
/// Port number (host order) of a decimal text or a service name for the protocol.
quint32 WSocketResolvePort(const QByteArray &Port, const QByteArray &Proto);
/// Protocol number of "tcp", "udp", "raw", a decimal text or a protocol name.
quint32 WSocketResolveProto(const QByteArray &Proto);
/// Host record of a name, or none when the resolver knows nothing (last error set).
std::optional<HostEnt> WSocketGetHostByName(const QByteArray &Name);
/// This host's name; raises "Winsock.GetHostName failed".
QByteArray LocalHostName();
/// The host's IPv4 addresses as dotted text, in interface order, loopback included.
QByteArrayList LocalIPList();
/// Four dot-separated decimal groups below 256, blanks allowed around the text.
bool IsDottedIP(const QByteArray &S);
/// Leading blanks skipped, then decimal digits while they last; no sign, no overflow check.
quint32 ParseDecimal(const QByteArray &S);
/// Dotted text of an IPv4 address in network byte order.
QByteArray WSocketAddrToText(quint32 Addr);
