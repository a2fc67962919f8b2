#include "net/SocketTestSupport.h"
#include "net/WSocket.h"

#include <QtEndian>
#include <gtest/gtest.h>

namespace {

quint32 addr(quint8 a, quint8 b, quint8 c, quint8 d)
{
    return qToBigEndian<quint32>(quint32(a) << 24 | quint32(b) << 16 | quint32(c) << 8 | d);
}

} // namespace

using sockettest::raised;

TEST(IsDottedIPTest, AcceptsFourGroupsBelow256WithBlanksAround)
{
    const std::pair<const char *, bool> cases[] = {
        {"1.2.3.4", true},    {"  10.0.0.1  ", true},
        {"1.2.3.4   ", true}, {"255.255.255.255", true},
        {"0.0.0.0", true},    {"1.2.3.4.", false},
        {".1.2.3.4", false},  {"1.2.3", false},
        {"1.2.3.4.5", false}, {"1.2.3.256", false},
        {"256.1.1.1", false}, {"1..2.3", false},
        {"1.2.3.4 x", false}, {"a.b.c.d", false},
        {"", false},          {"1.2.3.99999999999", false},
    };
    for (const auto &[text, dotted] : cases)
        EXPECT_EQ(IsDottedIP(text), dotted) << text;
}

TEST(ParseDecimalTest, ReadsLeadingDigitsAfterBlanks)
{
    EXPECT_EQ(ParseDecimal("5040"), 5040u);
    EXPECT_EQ(ParseDecimal("  42abc"), 42u);
    EXPECT_EQ(ParseDecimal("-5"), 0u);
    EXPECT_EQ(ParseDecimal(""), 0u);
}

TEST(WSocketResolveHostTest, ConvertsDottedTextAndRejectsBadHosts)
{
    EXPECT_EQ(WSocketResolveHost("255.255.255.255"), 0xFFFFFFFFu);
    EXPECT_EQ(WSocketResolveHost("0.0.0.0"), 0u);
    EXPECT_EQ(WSocketResolveHost("  10.0.0.1  "), addr(10, 0, 0, 1));
    EXPECT_EQ(WSocketResolveHost("localhost"), addr(127, 0, 0, 1));
    const QByteArray tooLong(257, 'a');
    EXPECT_EQ(raised([&] { WSocketResolveHost(tooLong); }),
              "WSocketResolveHost: '" + tooLong + "' Invalid Hostname.");
    EXPECT_EQ(raised([] { WSocketResolveHost(""); }), "WSocketResolveHost: '' Invalid Hostname.");
    // Not dotted, so it goes to the resolver, which knows no such host.
    for (const char *name : {"255.255.255.256", "no-such-host.invalid"})
        EXPECT_TRUE(raised([&] { WSocketResolveHost(name); })
                        .startsWith("WSocketResolveHost: Cannot convert host address '" +
                                    QByteArray(name) + "', Error #"))
            << name;
}

TEST(WSocketResolvePortTest, DecimalsNeedNoLookupAndServicesAreLookedUp)
{
    EXPECT_EQ(WSocketResolvePort("5040", "udp"), 5040u);
    EXPECT_EQ(WSocketResolvePort("70000", "udp"), 70000u); // the socket keeps the low 16 bits
    EXPECT_EQ(WSocketResolvePort("80x", "tcp"), 80u);
    EXPECT_EQ(WSocketResolvePort("domain", "udp"), 53u);
    EXPECT_EQ(raised([] { WSocketResolvePort("", "udp"); }), "WSocketResolvePort: Invalid Port.");
    EXPECT_EQ(raised([] { WSocketResolvePort("5040", ""); }), "WSocketResolvePort: Invalid Proto.");
    EXPECT_EQ(raised([] { WSocketResolvePort("nosuchservice", "udp"); }),
              "WSocketResolvePort: Cannot convert port 'nosuchservice', Error #11004");
}

TEST(WSocketResolveProtoTest, KnowsTheUsualNamesInAnyCase)
{
    EXPECT_EQ(WSocketResolveProto("UDP"), 17u);
    EXPECT_EQ(WSocketResolveProto("17"), 17u);
    EXPECT_EQ(WSocketResolveProto("tcp"), 6u);
    EXPECT_EQ(WSocketResolveProto("raw"), 255u);
    EXPECT_EQ(raised([] { WSocketResolveProto(QByteArray(32, 'x')); }),
              "WSocketResolveProto: Invalid Protocol.");
    EXPECT_EQ(raised([] { WSocketResolveProto("NoSuchProto"); }),
              "WSocketResolveProto: Cannot convert protocol 'nosuchproto', Error #11004");
}

TEST(LocalIPListTest, ListsOwnAddressesTheSameOnEveryCall)
{
    const QByteArrayList first = LocalIPList();
    EXPECT_TRUE(first.contains("127.0.0.1"));
    for (const QByteArray &a : first)
        EXPECT_TRUE(IsDottedIP(a)) << a.constData();
    EXPECT_EQ(first, LocalIPList());
    EXPECT_FALSE(LocalHostName().isEmpty());
    EXPECT_EQ(raised([] { WSocketGetHostByName(""); }), "WSocketGetHostByName: Invalid Hostname.");
}
