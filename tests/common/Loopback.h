#pragma once

#include <QByteArray>
#include <netinet/in.h>

// Socket addresses and free ports on loopback, for tests and benchmarks that stand in for
// other hosts with plain sockets.
namespace loopback {

/// addr:port as an IPv4 socket address (addr dotted).
sockaddr_in address(const QByteArray &addr, quint16 port);
/// 127.0.0.1:port.
sockaddr_in address(quint16 port);
/// The port a socket is bound to, 0 when it is not.
quint16 boundPort(int fd);
/// A port of the given socket type (SOCK_DGRAM, SOCK_STREAM) that was free on addr a
/// moment ago.
quint16 freePort(int type, const QByteArray &addr = "127.0.0.1");

} // namespace loopback
