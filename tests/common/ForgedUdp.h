#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace testnet {

/// One IPv4/UDP datagram with headers of our own, for a raw socket (IP_HDRINCL): any source
/// address and port. Addresses are in network order; the kernel fills the checksums.
QByteArray forgedUdp(quint32 src, quint16 srcPort, quint32 dst, quint16 dstPort,
                     const QByteArray &payload);

/// The same with dotted addresses.
QByteArray forgedUdp(const QByteArray &src, quint16 srcPort, const QByteArray &dst, quint16 dstPort,
                     const QByteArray &payload);

/// A field of /proc/<pid>/status in kB (VmRSS:, VmHWM:), or -1; pid 0 is this process.
qint64 statusKb(qint64 pid, const char *field);

} // namespace testnet
