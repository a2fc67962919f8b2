#include "SocksServers.h"

#include "common/Loopback.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QStandardPaths>
#include <QThread>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace sockstest {

namespace {

// The account's password hash (SHA-512 crypt of Password).
constexpr char PasswordHash[] = "$6$tolvexsalt$5srFpTa.3aADjsTWb599yY66AMGXaacBfUUPsIo4gX2iTmqytW04"
                                "zqrMlUToya43rqEFQdNXL5DK0i0ODloC/1";

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(content) == content.size();
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

quint16 freeLoopbackPort()
{
    return loopback::freePort(SOCK_STREAM);
}

EchoServer::EchoServer(bool ipv6)
{
    if (ipv6) {
        m_listen = socket(AF_INET6, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in6 a{};
        a.sin6_family = AF_INET6;
        a.sin6_addr = in6addr_loopback;
        bind(m_listen, reinterpret_cast<sockaddr *>(&a), sizeof a);
        socklen_t len = sizeof a;
        getsockname(m_listen, reinterpret_cast<sockaddr *>(&a), &len);
        m_port = ntohs(a.sin6_port);
    } else {
        m_listen = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const sockaddr_in a = loopback::address(0);
        bind(m_listen, reinterpret_cast<const sockaddr *>(&a), sizeof a);
        m_port = loopback::boundPort(m_listen);
    }
    listen(m_listen, 16);
    if (pipe(m_wake) != 0)
        m_wake[0] = m_wake[1] = -1;
    m_thread = std::thread([this] { run(); });
}

EchoServer::~EchoServer()
{
    if (m_wake[1] >= 0)
        (void)!write(m_wake[1], "x", 1);
    m_thread.join();
    close(m_listen);
    close(m_wake[0]);
    close(m_wake[1]);
}

void EchoServer::run()
{
    std::vector<pollfd> fds{{m_wake[0], POLLIN, 0}, {m_listen, POLLIN, 0}};
    for (;;) {
        if (poll(fds.data(), fds.size(), -1) < 0)
            continue;
        if (fds[0].revents)
            break;
        if (fds[1].revents) {
            const int c = accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
            if (c >= 0)
                fds.push_back({c, POLLIN, 0});
        }
        for (size_t i = 2; i < fds.size();) {
            if (!fds[i].revents) {
                ++i;
                continue;
            }
            char buf[65536];
            const ssize_t n = recv(fds[i].fd, buf, sizeof buf, 0);
            if (n <= 0) {
                close(fds[i].fd);
                fds.erase(fds.begin() + long(i));
                continue;
            }
            for (ssize_t sent = 0; sent < n;) {
                const ssize_t w = send(fds[i].fd, buf + sent, size_t(n - sent), MSG_NOSIGNAL);
                if (w <= 0)
                    break;
                sent += w;
            }
            fds[i].revents = 0;
            ++i;
        }
    }
    for (size_t i = 2; i < fds.size(); ++i)
        close(fds[i].fd);
}

ProxyServer::ProxyServer(Kind kind, quint16 allowedPort)
{
    const bool dante = kind == Dante || kind == DanteWithPassword || kind == DanteToIPv6;
    const QString program =
        QStandardPaths::findExecutable(dante ? "danted" : "microsocks", {"/usr/sbin", "/usr/bin"});
    if (program.isEmpty()) {
        m_failure = dante ? "danted is not installed" : "microsocks is not installed";
        return;
    }
    m_port = freeLoopbackPort();
    const QString dir = m_dir.path();
    QStringList args;
    if (dante) {
        const QByteArray method = kind == DanteWithPassword ? "username" : "none";
        const bool ipv6 = kind == DanteToIPv6;
        const QByteArray conf = "logoutput: " + (dir + "/danted.log").toUtf8() +
                                "\n"
                                "internal: 127.0.0.1 port = " +
                                QByteArray::number(m_port) +
                                "\n"
                                "external: " +
                                QByteArray(ipv6 ? "::1" : "127.0.0.1") +
                                "\n"
                                "clientmethod: none\n"
                                "socksmethod: " +
                                method +
                                "\n"
                                "user.privileged: root\n"
                                "user.unprivileged: nobody\n"
                                "client pass { from: 127.0.0.0/8 to: 0.0.0.0/0 }\n"
                                "socks pass { from: 127.0.0.0/8 to: " +
                                QByteArray(ipv6 ? "::1/128" : "127.0.0.1/32") +
                                " port = " + QByteArray::number(allowedPort) +
                                " protocol: tcp }\n"
                                "socks block { from: 0.0.0.0/0 to: 0.0.0.0/0 }\n";
        writeFile(dir + "/danted.conf", conf);
        if (kind == DanteWithPassword) {
            // The account lives only in a private copy of the password files, mounted over
            // the system's in a mount namespace of the server's own.
            if (geteuid() != 0) {
                m_failure = "an account of our own needs root for a private mount namespace";
                return;
            }
            writeFile(dir + "/passwd", readFile("/etc/passwd") + User +
                                           ":x:64999:64999::/nonexistent:/usr/sbin/nologin\n");
            writeFile(dir + "/shadow", readFile("/etc/shadow") + User + ":" + PasswordHash +
                                           ":19000:0:99999:7:::\n");
            args = {"-m",
                    "sh",
                    "-c",
                    "mount --bind \"$1/passwd\" /etc/passwd && mount --bind \"$1/shadow\" "
                    "/etc/shadow && exec \"$2\" -f \"$1/danted.conf\" -N 1",
                    "sh",
                    dir,
                    program};
            m_process.start(QStandardPaths::findExecutable("unshare"), args);
        } else {
            m_process.start(program, {"-f", dir + "/danted.conf", "-N", "1"});
        }
    } else {
        args = {"-i", "127.0.0.1", "-p", QString::number(m_port)};
        if (kind == MicrosocksWithPassword)
            args << "-u" << User << "-P" << Password;
        m_process.start(program, args);
    }
    if (!waitUntilListening()) {
        m_failure = "the server did not start: " + m_process.readAllStandardError() +
                    readFile(dir + "/danted.log");
    }
}

ProxyServer::~ProxyServer()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(5000)) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
}

bool ProxyServer::waitUntilListening()
{
    if (!m_process.waitForStarted(5000))
        return false;
    QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired() && m_process.state() == QProcess::Running) {
        const int fd = socket(AF_INET, SOCK_STREAM, 0);
        const sockaddr_in a = loopback::address(m_port);
        const bool up = ::connect(fd, reinterpret_cast<const sockaddr *>(&a), sizeof a) == 0;
        close(fd);
        if (up)
            return true;
        QThread::msleep(10); // a process starting up: nothing to wait on but its port
    }
    return false;
}

} // namespace sockstest
