#include "common/UdpProbe.h"

#include "common/Loopback.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

QByteArray loopbackHost(int host)
{
    const int pid = static_cast<int>(::getpid());
    return "127." + QByteArray::number(10 + (pid / 250) % 200) + "." +
           QByteArray::number(pid % 250) + "." + QByteArray::number(host);
}

UdpProbe::UdpProbe(const QByteArray &addr, quint16 port) : m_addr(addr)
{
    m_fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (m_fd < 0)
        return;
    const sockaddr_in sa = loopback::address(addr, port);
    if (::bind(m_fd, reinterpret_cast<const sockaddr *>(&sa), sizeof(sa)) == 0)
        m_port = loopback::boundPort(m_fd);
    if (m_port == 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

UdpProbe::~UdpProbe()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool UdpProbe::sendTo(const QByteArray &addr, quint16 port, const QByteArray &data) const
{
    const sockaddr_in sa = loopback::address(addr, port);
    return ::sendto(m_fd, data.constData(), static_cast<size_t>(data.size()), 0,
                    reinterpret_cast<const sockaddr *>(&sa), sizeof(sa)) == data.size();
}

std::optional<ProbeDatagram> UdpProbe::readOne()
{
    char buffer[2048];
    sockaddr_in from = {};
    socklen_t len = sizeof(from);
    const ssize_t got =
        ::recvfrom(m_fd, buffer, sizeof(buffer), 0, reinterpret_cast<sockaddr *>(&from), &len);
    if (got < 0)
        return std::nullopt;
    char text[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &from.sin_addr, text, sizeof(text));
    return ProbeDatagram{QByteArray(buffer, got), QByteArray(text), ntohs(from.sin_port)};
}

std::optional<ProbeDatagram> UdpProbe::next(int timeoutMs)
{
    std::optional<ProbeDatagram> datagram;
    testwait::waitFor([&] { return (datagram = readOne()).has_value(); }, timeoutMs);
    return datagram;
}

QList<ProbeDatagram> UdpProbe::untilMarker()
{
    EXPECT_TRUE(testwait::drainEvents()) << "the event loop never ran out of work";
    const QByteArray marker = "\x01marker " + QByteArray::number(++m_markers);
    QList<ProbeDatagram> all;
    if (!sendTo(m_addr, m_port, marker)) {
        ADD_FAILURE() << "the probe at " << m_addr.constData() << " cannot send its marker";
        return all;
    }
    while (std::optional<ProbeDatagram> datagram = next()) {
        if (datagram->data == marker)
            return all;
        all.append(*datagram);
    }
    ADD_FAILURE() << "the marker never came back to " << m_addr.constData();
    return all;
}

quint16 UdpProbe::freePort(const QByteArray &addr)
{
    return loopback::freePort(SOCK_DGRAM, addr);
}
