#include "LoopbackPeer.h"
#include "net/SocketTestSupport.h"
#include "net/WSocket.h"

#include <QList>
#include <gtest/gtest.h>

// Replies a real proxy would not give (bad versions, surplus bytes, unassigned codes, odd
// address types, replies cut into pieces), played by a scripted proxy on loopback.

namespace {

using sockettest::waitFor;

using ScriptedProxy = sockettest::LoopbackPeer;

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

QByteArray port16(quint16 port)
{
    return bytes({port >> 8, port & 0xFF});
}

constexpr quint16 TargetPort = 4660; // 0x1234

// One request the client must send and the proxy's answer, in pieces read one by one.
struct Exchange
{
    QByteArray request;
    QList<QByteArray> reply;
    bool hangUp = false; // the proxy closes instead of answering further
};

struct ScriptCase
{
    const char *name;
    const char *level;
    bool withPassword;
    QByteArray target;
    QList<Exchange> script;
    int code; // 0: the session opens and Data arrives behind the reply
    QByteArray text;
    QByteArray data;
    QList<int> authStates;
};

void PrintTo(const ScriptCase &c, std::ostream *os)
{
    *os << c.name;
}

const QByteArray Greeting = bytes({5, 1, 0});
const QByteArray GreetingWithPassword = bytes({5, 1, 2});
const QByteArray NoAuth = bytes({5, 0});
const QByteArray Connect5 = bytes({5, 1, 0, 3, 9}) + "127.0.0.1" + port16(TargetPort);
const QByteArray Connect4 = bytes({4, 1}) + port16(TargetPort) + bytes({127, 0, 0, 1, 0});
const QByteArray Ok5 = bytes({5, 0, 0, 1, 10, 0, 0, 9, 0x30, 0x39});
const QByteArray UsercodeRequest = bytes({1, 4}) + "user" + bytes({6}) + "secret";

class ScriptedReplyTest : public testing::TestWithParam<ScriptCase>
{};

TEST_P(ScriptedReplyTest, ReportsTheReplysCodeOrOpensTheSession)
{
    const ScriptCase &c = GetParam();
    ScriptedProxy proxy;
    TWSocket s;
    int socksError = 0;
    QByteArray socksText;
    int sessionCode = -1;
    bool closed = false;
    QByteArray data;
    QList<int> authStates;
    s.OnSocksError = [&](TCustomWSocket *, qint32 code, const QByteArray &text) {
        socksError = code;
        socksText = text;
    };
    s.OnSessionConnected = [&](TCustomWSocket *, quint16 e) { sessionCode = e; };
    s.OnSessionClosed = [&](TCustomWSocket *, quint16) { closed = true; };
    s.OnSocksAuthState = [&](TCustomWSocket *, TSocksAuthState a) { authStates << int(a); };
    s.OnDataAvailable = [&](TCustomWSocket *sock, quint16) { data += sock->ReceiveText(); };
    s.SetSocksServer("127.0.0.1");
    s.SetSocksPort(QByteArray::number(proxy.port()));
    s.SetSocksLevel(c.level);
    if (c.withPassword) {
        s.SetSocksAuthentication(socksAuthenticateUsercode);
        s.SetSocksUsercode("user");
        s.SetSocksPassword("secret");
    }
    s.SetAddr(c.target);
    s.SetPort(QByteArray::number(TargetPort));
    s.Connect();
    ASSERT_TRUE(proxy.accept());
    for (const Exchange &step : c.script) {
        EXPECT_EQ(proxy.read(int(step.request.size())), step.request);
        for (const QByteArray &piece : step.reply) {
            // Each piece is read on its own before the next is sent.
            const qint32 before = s.ReadCount();
            proxy.send(piece);
            ASSERT_TRUE(waitFor([&] { return s.ReadCount() > before || sessionCode >= 0; }));
        }
        if (step.hangUp)
            proxy.hangUp();
    }
    if (c.code == 0) {
        ASSERT_TRUE(waitFor([&] { return data == c.data; })) << data.constData();
        EXPECT_EQ(sessionCode, 0);
        EXPECT_EQ(s.State(), wsConnected);
        EXPECT_EQ(socksError, 0);
    } else {
        ASSERT_TRUE(waitFor([&] { return closed; }));
        EXPECT_EQ(socksError, c.code);
        EXPECT_EQ(socksText, c.text);
        EXPECT_EQ(sessionCode, c.code);
        EXPECT_EQ(s.State(), wsClosed);
    }
    EXPECT_EQ(authStates, c.authStates);
}

const QByteArray LongName(200, 'n');

INSTANTIATE_TEST_SUITE_P(
    Replies, ScriptedReplyTest,
    testing::Values(
        ScriptCase{"GreetingReplyOfAnotherVersion",
                   "5",
                   false,
                   "127.0.0.1",
                   {{Greeting, {bytes({4, 0})}}},
                   20002,
                   "socks version error",
                   {},
                   {}},
        ScriptCase{"NoAcceptableMethod",
                   "5",
                   false,
                   "127.0.0.1",
                   {{Greeting, {bytes({5, 0xFF})}}},
                   20003,
                   "authentification method not acceptable",
                   {},
                   {}},
        ScriptCase{"SurplusByteInAuthenticationReply",
                   "5",
                   true,
                   "127.0.0.1",
                   {{GreetingWithPassword, {bytes({5, 2})}}, {UsercodeRequest, {bytes({1, 0, 0})}}},
                   20001,
                   "too much data availaible",
                   {},
                   {0}},
        ScriptCase{"AuthenticationReplyOfAnotherVersion",
                   "5",
                   true,
                   "127.0.0.1",
                   {{GreetingWithPassword, {bytes({5, 2})}}, {UsercodeRequest, {bytes({5, 0})}}},
                   20002,
                   "socks version error",
                   {},
                   {0}},
        ScriptCase{"ProxyHangsUpDuringAuthentication",
                   "5",
                   true,
                   "127.0.0.1",
                   {{GreetingWithPassword, {bytes({5, 2})}}, {UsercodeRequest, {}, true}},
                   20018,
                   "the socks server closed the connection during the negotiation",
                   {},
                   {0, 2}},
        ScriptCase{"UnassignedSocks5Code",
                   "5",
                   false,
                   "127.0.0.1",
                   {{Greeting, {NoAuth}}, {Connect5, {bytes({5, 9, 0, 1, 0, 0, 0, 0, 0, 0})}}},
                   20012,
                   "unassigned error #9",
                   {},
                   {}},
        ScriptCase{"Socks5TtlExpired",
                   "5",
                   false,
                   "127.0.0.1",
                   {{Greeting, {NoAuth}}, {Connect5, {bytes({5, 6})}}},
                   20009,
                   "time to live expired",
                   {},
                   {}},
        ScriptCase{"Socks5ReplyOfAnotherVersion",
                   "5",
                   false,
                   "127.0.0.1",
                   {{Greeting, {NoAuth}}, {Connect5, {bytes({4, 0})}}},
                   20002,
                   "socks version error",
                   {},
                   {}},
        ScriptCase{"AddressTypeSix",
                   "5",
                   false,
                   "127.0.0.1",
                   {{Greeting, {NoAuth}}, {Connect5, {bytes({5, 0, 0, 6, 0})}}},
                   20011,
                   "address type not supported",
                   {},
                   {}},
        ScriptCase{"UnassignedSocks4Code",
                   "4",
                   false,
                   "127.0.0.1",
                   {{Connect4, {bytes({0, 95, 0, 0, 0, 0, 0, 0})}}},
                   20012,
                   "unassigned error #95",
                   {},
                   {}},
        ScriptCase{"Socks4IdentityRefused",
                   "4",
                   false,
                   "127.0.0.1",
                   {{Connect4, {bytes({0, 93, 0, 0, 0, 0, 0, 0})}}},
                   20015,
                   "authentification failed",
                   {},
                   {}},
        ScriptCase{"Socks4ConnectionRefused",
                   "4",
                   false,
                   "127.0.0.1",
                   {{Connect4, {bytes({0, 92, 0, 0, 0, 0, 0, 0})}}},
                   20008,
                   "connection refused",
                   {},
                   {}},
        ScriptCase{"Socks4ReplyOfAnotherVersion",
                   "4",
                   false,
                   "127.0.0.1",
                   {{Connect4, {bytes({4, 90, 0, 0, 0, 0, 0, 0})}}},
                   20002,
                   "socks version error",
                   {},
                   {}},
        ScriptCase{"Socks4TargetNotResolvable",
                   "4",
                   false,
                   QByteArray(300, 'x'),
                   {},
                   20017,
                   "ESocketException WSocketResolveHost: '" + QByteArray(300, 'x') +
                       "' Invalid Hostname.",
                   {},
                   {}},
        ScriptCase{"RepliesCutIntoPiecesWithDataBehind",
                   "5",
                   false,
                   "127.0.0.1",
                   {{Greeting, {bytes({5}), bytes({0})}},
                    {Connect5,
                     {bytes({5, 0, 0, 3, 9}) + "pro", "xy.lan" + bytes({0x12}),
                      bytes({0x34}) + "hello\r\n"}}},
                   0,
                   {},
                   "hello\r\n",
                   {}},
        ScriptCase{"Socks5NameLongerThanTheReadLimit",
                   "5",
                   false,
                   "127.0.0.1",
                   {{Greeting, {NoAuth}},
                    {Connect5, {bytes({5, 0, 0, 3, 200}) + LongName + bytes({0, 80}) + "tail"}}},
                   0,
                   {},
                   "tail",
                   {}},
        ScriptCase{"PasswordAccepted",
                   "5",
                   true,
                   "127.0.0.1",
                   {{GreetingWithPassword, {bytes({5, 2})}},
                    {UsercodeRequest, {bytes({1, 0})}},
                    {Connect5, {Ok5 + "x"}}},
                   0,
                   {},
                   "x",
                   {0, 1}},
        ScriptCase{"Socks4ARequestNamesTheTarget",
                   "4A",
                   false,
                   "peer.example",
                   {{bytes({4, 1}) + port16(TargetPort) + bytes({0, 0, 0, 1, 0}) + "peer.example" +
                         bytes({0}),
                     {bytes({0, 90, 0, 0, 0, 0, 0, 0}) + "hi"}}},
                   0,
                   {},
                   "hi",
                   {}}),
    [](const testing::TestParamInfo<ScriptCase> &info) { return std::string(info.param.name); });

TEST(SocksSettingsTest, LevelsAndClosedStateRules)
{
    TWSocket s;
    QByteArrayList errors;
    s.OnError = [&](TCustomWSocket *) { errors << "error"; };
    s.SetSocksLevel("4a");
    EXPECT_EQ(s.SocksLevel(), "4A");
    s.SetSocksLevel("6");
    EXPECT_EQ(s.SocksLevel(), "4A");
    EXPECT_EQ(errors.size(), 1);
    s.OnError = nullptr;
    EXPECT_EQ(sockettest::raised([&] { s.SetSocksLevel("6"); }),
              "Invalid socks level. Must be 4, 4A or 5.");
    s.SetSocksServer(" 127.0.0.1 ");
    EXPECT_EQ(s.SocksServer(), "127.0.0.1");
    s.SetProto("udp");
    s.SetAddr("127.0.0.1");
    s.SetPort("9");
    EXPECT_EQ(sockettest::raised([&] { s.Connect(); }),
              "tcp is the only protocol supported thru socks server");
    EXPECT_EQ(sockettest::raised([&] { s.Listen(); }),
              "Listening is not supported thru socks server");
    s.SetSocksServer("");
    s.SetPort("0");
    s.Listen(); // without a proxy the core listens
    EXPECT_EQ(s.State(), wsConnected);
    EXPECT_EQ(sockettest::raised([&] { s.SetSocksServer("x"); }),
              "Can't change socks server if not closed");
    EXPECT_EQ(sockettest::raised([&] { s.SetSocksPort("1080"); }),
              "Can't change socks port if not closed");
    EXPECT_EQ(sockettest::raised([&] { s.SetSocksLevel("5"); }),
              "Can't change socks level if not closed");
    s.Close();
    EXPECT_EQ(s.SocksLevel(), "5"); // restored with the other defaults
}

} // namespace

namespace {

TEST(SocksSettingsTest, FailedProxyConnectLeavesNoNegotiationForTheNextDirectConnect)
{
    sockettest::LoopbackPeer peer;
    TWSocket s;
    int connected = -1;
    s.OnSessionConnected = [&](TCustomWSocket *, quint16 e) { connected = e; };
    s.SetSocksServer("127.0.0.1");
    s.SetSocksPort("1080");
    s.SetPort(QByteArray::number(peer.port()));
    EXPECT_EQ(sockettest::raised([&] { s.Connect(); }), "Connect: No IP Address Specified");
    s.SetSocksServer("");
    s.SetAddr("127.0.0.1");
    s.Connect();
    ASSERT_TRUE(peer.accept());
    ASSERT_TRUE(waitFor([&] { return connected == 0; }));
    EXPECT_EQ(s.SocksState(), 0);
}

} // namespace
