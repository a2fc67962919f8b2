#include "net/SocketTestSupport.h"
#include "net/WSocket.h"

#include <gtest/gtest.h>
#include <string>

// A resolver failure in Listen or Connect leaves its own code in LastError, not the code
// of whatever failed before it.

namespace {

struct ResolveCase
{
    const char *name;
    bool listen;
    const char *proto;
    const char *addr;
    const char *port;
    int code;
};

void PrintTo(const ResolveCase &c, std::ostream *os)
{
    *os << c.name;
}

// Longer than a host name may be: refused before any lookup.
const std::string OverlongName(300, 'h');

class ResolverFailureTest : public testing::TestWithParam<ResolveCase>
{};

TEST_P(ResolverFailureTest, SetsTheResolversCodeInLastError)
{
    const ResolveCase &c = GetParam();
    TWSocket rx;
    int errors = 0;
    rx.OnError = [&](TCustomWSocket *) { ++errors; };
    rx.OnDataAvailable = [](TCustomWSocket *s, quint16) {
        char small[4];
        SockAddrIn from;
        int len = sizeof from;
        s->ReceiveFrom(small, sizeof small, from, len);
    };
    // An oversized datagram first leaves "Message too long" behind.
    rx.SetProto("udp");
    rx.SetAddr("127.0.0.1");
    rx.SetPort("0");
    rx.Listen();
    TWSocket tx;
    tx.SetProto("udp");
    tx.SetAddr("127.0.0.1");
    tx.SetPort(rx.GetLocalPortText());
    tx.Connect();
    tx.SendText("far too long for four bytes");
    ASSERT_TRUE(sockettest::waitFor([&] { return rx.LastError() == 10040; }));
    rx.Close();

    rx.SetProto(c.proto);
    rx.SetAddr(c.addr);
    rx.SetPort(c.port);
    if (c.listen)
        rx.Listen();
    else
        rx.Connect();
    EXPECT_EQ(errors, 1);
    EXPECT_EQ(rx.LastError(), c.code);
    EXPECT_EQ(rx.State(), wsClosed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ResolverFailureTest,
    testing::Values(
        ResolveCase{"ListenUnknownService", true, "udp", "127.0.0.1", "no-such-service", 11004},
        ResolveCase{"ConnectUnknownService", false, "udp", "127.0.0.1", "no-such-service", 11004},
        ResolveCase{"ListenUnknownProtocol", true, "no-such-proto", "127.0.0.1", "1", 11004},
        ResolveCase{"ConnectMalformedAddress", false, "udp", "0255.255.255.255", "1", 10022},
        ResolveCase{"ListenOverlongAddress", true, "udp", OverlongName.c_str(), "1", 10022}),
    [](const testing::TestParamInfo<ResolveCase> &info) { return std::string(info.param.name); });

} // namespace
