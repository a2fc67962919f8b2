#include "common/RawUdpCapture.h"

#include "common/Netns.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/ip.h>
#include <netinet/udp.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

QByteArray text(in_addr addr)
{
    char buffer[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &addr, buffer, sizeof(buffer));
    return buffer;
}

} // namespace

RawUdpCapture::RawUdpCapture(const QByteArray &nsName)
{
    testnet::NetnsScope scope(nsName);
    m_fd = ::socket(AF_INET, SOCK_RAW | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_UDP);
}

RawUdpCapture::~RawUdpCapture()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

const QList<WireDatagram> &RawUdpCapture::all()
{
    unsigned char buffer[65536];
    ssize_t got;
    while (m_fd >= 0 && (got = ::recv(m_fd, buffer, sizeof(buffer), 0)) > 0) {
        if (static_cast<size_t>(got) < sizeof(ip))
            continue;
        const auto *ipHeader = reinterpret_cast<const ip *>(buffer);
        const size_t ipLength = static_cast<size_t>(ipHeader->ip_hl) * 4;
        if (static_cast<size_t>(got) < ipLength + sizeof(udphdr))
            continue;
        const auto *udp = reinterpret_cast<const udphdr *>(buffer + ipLength);
        const size_t udpLength = ntohs(udp->uh_ulen);
        if (udpLength < sizeof(udphdr) || ipLength + udpLength > static_cast<size_t>(got))
            continue;
        WireDatagram datagram;
        datagram.src = text(ipHeader->ip_src);
        datagram.dst = text(ipHeader->ip_dst);
        datagram.srcPort = ntohs(udp->uh_sport);
        datagram.dstPort = ntohs(udp->uh_dport);
        datagram.payload = QByteArray(reinterpret_cast<const char *>(udp + 1),
                                      static_cast<qsizetype>(udpLength - sizeof(udphdr)));
        m_seen.append(datagram);
    }
    return m_seen;
}

QList<WireDatagram> RawUdpCapture::withCommand(const QByteArray &command, quint16 port)
{
    QList<WireDatagram> result;
    for (const WireDatagram &d : all()) {
        if (d.dstPort == port && d.payload.mid(7, 3) == command)
            result.append(d);
    }
    return result;
}
