#include "SocksServers.h"
#include "common/TestEnv.h"
#include "net/SocketTestSupport.h"
#include "net/WSocket.h"

#include <QList>
#include <gtest/gtest.h>
#include <memory>

// Sessions through real SOCKS servers (Dante and microsocks) started on loopback by the
// tests themselves, to a small echo server behind them.

namespace {

using sockettest::waitFor;
using sockstest::ProxyServer;

// What one proxied connection went through.
struct Session
{
    TWSocket socket;
    QList<QByteArray> events; // in the order they came
    QList<QByteArray> lines;
    int sessionCode = -1;
    int socksError = 0;
    QByteArray socksText;
    bool closed = false;

    Session()
    {
        socket.OnSocksConnected = [this](TCustomWSocket *, quint16 e) {
            events << "socks connected " + QByteArray::number(e);
        };
        socket.OnSocksAuthState = [this](TCustomWSocket *, TSocksAuthState s) {
            events << "auth " + QByteArray::number(int(s));
        };
        socket.OnSocksError = [this](TCustomWSocket *, qint32 code, const QByteArray &text) {
            events << "socks error " + QByteArray::number(code);
            socksError = code;
            socksText = text;
        };
        socket.OnSessionConnected = [this](TCustomWSocket *, quint16 e) {
            events << "session connected " + QByteArray::number(e);
            sessionCode = e;
        };
        socket.OnSessionClosed = [this](TCustomWSocket *, quint16) { closed = true; };
        socket.OnDataAvailable = [this](TCustomWSocket *s, quint16) {
            const QByteArray line = s->ReceiveText();
            if (!line.isEmpty())
                lines << line;
        };
    }

    void connect(const ProxyServer &proxy, const QByteArray &level, const QByteArray &target,
                 quint16 port, bool withPassword, const QByteArray &password)
    {
        socket.SetSocksServer("127.0.0.1");
        socket.SetSocksPort(QByteArray::number(proxy.port()));
        socket.SetSocksLevel(level);
        if (withPassword) {
            socket.SetSocksAuthentication(socksAuthenticateUsercode);
            socket.SetSocksUsercode(sockstest::User);
            socket.SetSocksPassword(password);
        }
        socket.SetLineMode(true);
        socket.SetProto("tcp");
        socket.SetAddr(target);
        socket.SetPort(QByteArray::number(port));
        socket.Connect();
    }
};

// Starts the server a case needs, or says why the case cannot run here.
std::unique_ptr<ProxyServer> startServer(ProxyServer::Kind kind, quint16 allowedPort,
                                         QByteArray &why)
{
    auto server = std::make_unique<ProxyServer>(kind, allowedPort);
    why = server->failure();
    return server;
}

#define START_SERVER(var, kind, port)                                                              \
    QByteArray why_;                                                                               \
    const auto var = startServer(kind, port, why_);                                                \
    if (!why_.isEmpty()) {                                                                         \
        if (testenv::netnsRequired())                                                              \
            FAIL() << why_.constData();                                                            \
        GTEST_SKIP() << why_.constData();                                                          \
    }

struct ProxiedCase
{
    const char *name;
    ProxyServer::Kind server;
    const char *level;
    const char *target; // a name is resolved by the proxy (4A and 5)
    bool withPassword;
    QList<QByteArray> authEvents;
};

void PrintTo(const ProxiedCase &c, std::ostream *os)
{
    *os << c.name;
}

class ProxiedSessionTest : public testing::TestWithParam<ProxiedCase>
{};

TEST_P(ProxiedSessionTest, ConnectsThroughTheProxyAndExchangesLines)
{
    const ProxiedCase &c = GetParam();
    sockstest::EchoServer echo(c.server == ProxyServer::DanteToIPv6);
    START_SERVER(proxy, c.server, echo.port());
    Session s;
    s.connect(*proxy, c.level, c.target, echo.port(), c.withPassword, sockstest::Password);
    ASSERT_TRUE(waitFor([&] { return s.sessionCode >= 0; }, 10000));
    QList<QByteArray> expected{"socks connected 0"};
    expected << c.authEvents << "session connected 0";
    EXPECT_EQ(s.events, expected);
    EXPECT_EQ(s.socket.State(), wsConnected);
    EXPECT_EQ(s.socket.SocksState(), 0);

    // Two lines in one send come back one per event.
    EXPECT_EQ(s.socket.SendText("first line\r\nsecond"), 18);
    EXPECT_EQ(s.socket.SendLine(" line"), 7);
    ASSERT_TRUE(waitFor([&] { return s.lines.size() >= 2; }, 10000));
    EXPECT_EQ(s.lines, (QList<QByteArray>{"first line\r\n", "second line\r\n"}));
    EXPECT_FALSE(s.closed);
}

const QList<QByteArray> NoAuthEvents;
const QList<QByteArray> PasswordAccepted{"auth 0", "auth 1"};

INSTANTIATE_TEST_SUITE_P(
    RealServers, ProxiedSessionTest,
    testing::Values(
        ProxiedCase{"Dante4", ProxyServer::Dante, "4", "127.0.0.1", false, NoAuthEvents},
        ProxiedCase{"Dante5", ProxyServer::Dante, "5", "127.0.0.1", false, NoAuthEvents},
        ProxiedCase{"Dante5ByName", ProxyServer::Dante, "5", "localhost", false, NoAuthEvents},
        // Its reply names the IPv6 address it connected from.
        ProxiedCase{"Dante5ToIPv6", ProxyServer::DanteToIPv6, "5", "::1", false, NoAuthEvents},
        ProxiedCase{"Dante5Password", ProxyServer::DanteWithPassword, "5", "127.0.0.1", true,
                    PasswordAccepted},
        ProxiedCase{"Microsocks5", ProxyServer::Microsocks, "5", "127.0.0.1", false, NoAuthEvents},
        ProxiedCase{"Microsocks5Password", ProxyServer::MicrosocksWithPassword, "5", "127.0.0.1",
                    true, PasswordAccepted}),
    [](const testing::TestParamInfo<ProxiedCase> &info) { return std::string(info.param.name); });

struct RefusalCase
{
    const char *name;
    ProxyServer::Kind server;
    const char *level;
    bool withPassword;
    const char *password;
    bool toEcho; // else to a port nobody listens on (and the rules do not allow)
    const char *target;
    int code;
    const char *text;
};

void PrintTo(const RefusalCase &c, std::ostream *os)
{
    *os << c.name;
}

class ProxyRefusalTest : public testing::TestWithParam<RefusalCase>
{};

TEST_P(ProxyRefusalTest, ReportsTheProxysAnswerThenClosesWithoutException)
{
    const RefusalCase &c = GetParam();
    sockstest::EchoServer echo;
    START_SERVER(proxy, c.server, echo.port());
    const quint16 target = c.toEcho ? echo.port() : sockstest::freeLoopbackPort();
    Session s;
    s.connect(*proxy, c.level, c.target, target, c.withPassword, c.password);
    ASSERT_TRUE(waitFor([&] { return s.sessionCode >= 0; }, 10000));
    EXPECT_EQ(s.socksError, c.code);
    EXPECT_EQ(s.socksText, c.text);
    EXPECT_EQ(s.sessionCode, c.code);
    // The error comes first, then the session's end with the same code.
    ASSERT_GE(s.events.size(), 2);
    EXPECT_EQ(s.events.mid(s.events.size() - 2),
              (QList<QByteArray>{"socks error " + QByteArray::number(c.code),
                                 "session connected " + QByteArray::number(c.code)}));
    EXPECT_EQ(s.socket.State(), wsClosed);
    EXPECT_TRUE(s.closed);
    EXPECT_TRUE(s.lines.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    RealServers, ProxyRefusalTest,
    testing::Values(RefusalCase{"DanteWrongPassword", ProxyServer::DanteWithPassword, "5", true,
                                "wrong", true, "127.0.0.1", 20015, "socks authentication failed"},
                    RefusalCase{"DanteWantsAPassword", ProxyServer::DanteWithPassword, "5", false,
                                "", true, "127.0.0.1", 20003,
                                "authentification method not acceptable"},
                    RefusalCase{"DanteRulesForbid5", ProxyServer::Dante, "5", false, "", false,
                                "127.0.0.1", 20005, "connection not allowed by ruleset"},
                    RefusalCase{"DanteRulesForbid4", ProxyServer::Dante, "4", false, "", false,
                                "127.0.0.1", 20016, "request rejected or failed"},
                    // This server reads a 4A request as SOCKS 4 to 0.0.0.1 and refuses it; the full
                    // 4A exchange is proven against the scripted proxy.
                    RefusalCase{"Dante4AReadAs4", ProxyServer::Dante, "4A", false, "", true,
                                "localhost", 20016, "request rejected or failed"},
                    RefusalCase{"MicrosocksWrongPassword", ProxyServer::MicrosocksWithPassword, "5",
                                true, "wrong", true, "127.0.0.1", 20015,
                                "socks authentication failed"},
                    RefusalCase{"MicrosocksTargetRefuses", ProxyServer::Microsocks, "5", false, "",
                                false, "127.0.0.1", 20008, "connection refused"},
                    // Answers a SOCKS 4 request with two bytes of its own version and hangs up.
                    RefusalCase{"MicrosocksHangsUpOnSocks4", ProxyServer::Microsocks, "4", false,
                                "", true, "127.0.0.1", 20018,
                                "the socks server closed the connection during the negotiation"}),
    [](const testing::TestParamInfo<RefusalCase> &info) { return std::string(info.param.name); });

} // namespace
