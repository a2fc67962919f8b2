#include "ForgedUdp.h"

#include <QFile>
#include <arpa/inet.h>
#include <netinet/ip.h>
#include <netinet/udp.h>

namespace testnet {

QByteArray forgedUdp(quint32 src, quint16 srcPort, quint32 dst, quint16 dstPort,
                     const QByteArray &payload)
{
    QByteArray packet(int(sizeof(iphdr) + sizeof(udphdr)), '\0');
    auto *ip = reinterpret_cast<iphdr *>(packet.data());
    ip->version = 4;
    ip->ihl = 5;
    ip->ttl = 64;
    ip->protocol = IPPROTO_UDP;
    ip->saddr = src;
    ip->daddr = dst;
    ip->tot_len = htons(quint16(packet.size() + payload.size()));
    auto *udp = reinterpret_cast<udphdr *>(packet.data() + sizeof(iphdr));
    udp->source = htons(srcPort);
    udp->dest = htons(dstPort);
    udp->len = htons(quint16(sizeof(udphdr) + payload.size()));
    return packet + payload;
}

QByteArray forgedUdp(const QByteArray &src, quint16 srcPort, const QByteArray &dst, quint16 dstPort,
                     const QByteArray &payload)
{
    in_addr from{};
    in_addr to{};
    inet_pton(AF_INET, src.constData(), &from);
    inet_pton(AF_INET, dst.constData(), &to);
    return forgedUdp(from.s_addr, srcPort, to.s_addr, dstPort, payload);
}

qint64 statusKb(qint64 pid, const char *field)
{
    QFile status(pid ? QStringLiteral("/proc/%1/status").arg(pid)
                     : QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

} // namespace testnet
