#include "LoopbackPeer.h"

#include "net/SocketTestSupport.h"

#include <algorithm>
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace sockettest {

LoopbackPeer::LoopbackPeer()
{
    m_listen = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(m_listen, reinterpret_cast<sockaddr *>(&a), sizeof a);
    listen(m_listen, 1);
    socklen_t len = sizeof a;
    getsockname(m_listen, reinterpret_cast<sockaddr *>(&a), &len);
    m_port = ntohs(a.sin_port);
}

LoopbackPeer::~LoopbackPeer()
{
    hangUp();
    close(m_listen);
}

bool LoopbackPeer::accept()
{
    return waitFor([&] {
        m_client = accept4(m_listen, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        return m_client >= 0;
    });
}

QByteArray LoopbackPeer::read(int Size)
{
    QByteArray got;
    waitFor([&] {
        char buf[4096];
        const int want = std::min<int>(Size - int(got.size()), int(sizeof buf));
        const ssize_t n = recv(m_client, buf, size_t(want), 0);
        if (n > 0)
            got.append(buf, int(n));
        return got.size() >= Size;
    });
    return got;
}

void LoopbackPeer::send(const QByteArray &Bytes)
{
    qsizetype sent = 0;
    // A large send may fill the socket's buffer: the reader drains it as the loop runs.
    const bool done = waitFor([&] {
        const ssize_t n =
            ::send(m_client, Bytes.constData() + sent, size_t(Bytes.size() - sent), MSG_NOSIGNAL);
        if (n > 0)
            sent += n;
        return sent >= Bytes.size();
    });
    EXPECT_TRUE(done) << "sent " << sent << " of " << Bytes.size();
}

void LoopbackPeer::hangUp()
{
    if (m_client >= 0)
        close(m_client);
    m_client = -1;
}

} // namespace sockettest
