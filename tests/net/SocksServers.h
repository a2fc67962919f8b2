#pragma once

#include <QByteArray>
#include <QProcess>
#include <QTemporaryDir>
#include <atomic>
#include <memory>
#include <thread>

// Real SOCKS servers and a small echo server on loopback for the proxy tests. Every
// server is a process of our own, with its own configuration in a temporary folder, on a
// free loopback port, and is stopped when its object goes; the system's services are
// never used.

namespace sockstest {

/// The account the authenticating servers accept.
inline constexpr char User[] = "tolvexsocks";
inline constexpr char Password[] = "open sesame";

/// A port that was free on 127.0.0.1 a moment ago.
quint16 freeLoopbackPort();

/// Echoes every byte back, on 127.0.0.1 (or ::1), from a thread of its own.
class EchoServer final
{
public:
    explicit EchoServer(bool ipv6 = false);
    ~EchoServer();
    EchoServer(const EchoServer &) = delete;
    EchoServer &operator=(const EchoServer &) = delete;
    quint16 port() const { return m_port; }

private:
    void run();

    int m_listen = -1;
    int m_wake[2] = {-1, -1};
    quint16 m_port = 0;
    std::thread m_thread;
};

/// One proxy server process.
class ProxyServer final
{
public:
    enum Kind
    {
        Dante,
        DanteWithPassword,
        Microsocks,
        MicrosocksWithPassword,
        DanteToIPv6 ///< reaches its targets over IPv6 only (::1)
    };

    /// Starts a server that lets clients reach 127.0.0.1:AllowedPort (Dante refuses every
    /// other target; microsocks allows any).
    ProxyServer(Kind kind, quint16 allowedPort);
    ~ProxyServer();
    ProxyServer(const ProxyServer &) = delete;
    ProxyServer &operator=(const ProxyServer &) = delete;

    /// Empty when the server is up, else why it is not (missing program, no privileges).
    const QByteArray &failure() const { return m_failure; }
    quint16 port() const { return m_port; }

private:
    bool waitUntilListening();

    QTemporaryDir m_dir;
    QProcess m_process;
    quint16 m_port = 0;
    QByteArray m_failure;
};

} // namespace sockstest
