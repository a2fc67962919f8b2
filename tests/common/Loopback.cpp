#include "common/Loopback.h"

#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

namespace loopback {

sockaddr_in address(const QByteArray &addr, quint16 port)
{
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(port);
    ::inet_pton(AF_INET, addr.constData(), &sa.sin_addr);
    return sa;
}

sockaddr_in address(quint16 port)
{
    return address("127.0.0.1", port);
}

quint16 boundPort(int fd)
{
    sockaddr_in sa{};
    socklen_t len = sizeof sa;
    if (::getsockname(fd, reinterpret_cast<sockaddr *>(&sa), &len) != 0)
        return 0;
    return ntohs(sa.sin_port);
}

quint16 freePort(int type, const QByteArray &addr)
{
    const int fd = ::socket(AF_INET, type | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return 0;
    const sockaddr_in sa = address(addr, 0);
    const quint16 port =
        ::bind(fd, reinterpret_cast<const sockaddr *>(&sa), sizeof sa) == 0 ? boundPort(fd) : 0;
    ::close(fd);
    return port;
}

} // namespace loopback
