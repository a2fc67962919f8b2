#include "common/EventWait.h"
#include "common/Netns.h"
#include "common/TestEnv.h"
#include "net/WSocket.h"

#include <gtest/gtest.h>
#include <memory>

// Broadcasts only ever leave sockets created inside the lab's namespaces.

namespace {

constexpr const char *Port = "5040";

struct Listener
{
    std::unique_ptr<TWSocket> socket = std::make_unique<TWSocket>();
    QList<QByteArray> datagrams;
    QList<QByteArray> senders;

    explicit Listener(const QByteArray &addr)
    {
        socket->OnDataAvailable = [this](TCustomWSocket *s, quint16) {
            char buf[1024];
            SockAddrIn from;
            int len = sizeof from;
            const int n = s->ReceiveFrom(buf, sizeof buf, from, len);
            if (n >= 0) {
                datagrams << QByteArray(buf, n);
                senders << from.AddrText();
            }
        };
        socket->SetProto("udp");
        socket->SetAddr(addr);
        socket->SetPort(Port);
        socket->Listen();
    }
};

// A datagram straight to one address: the marker that shows everything sent earlier on the
// same way has arrived.
void unicast(TWSocket &s, const QByteArray &to, const QByteArray &text)
{
    s.SetProto("udp");
    s.SetAddr(to);
    s.SetPort(Port);
    s.Connect();
    s.SendText(text);
}

// A broadcast as the engine sends it: from the interface's address, to 255.255.255.255.
void broadcast(TWSocket &s, const QByteArray &localAddr, const QByteArray &text)
{
    s.SetProto("udp");
    s.SetAddr("255.255.255.255");
    s.SetPort(Port);
    s.SetLocalAddr(localAddr);
    s.SetLocalPort("0");
    s.Connect();
    s.SendText(text);
}

class WSocketBroadcastTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TOLVEX_REQUIRE_NETNS();
        m_lab = std::make_unique<testnet::NetLab>();
    }

    std::unique_ptr<testnet::NetLab> m_lab;
};

} // namespace

TEST_F(WSocketBroadcastTest, ListenerOnInterfaceAddressReceivesBroadcastFromOtherHost)
{
    testnet::NetLab &lab = *m_lab;
    lab.addLan("lan1");
    lab.addHost("a");
    lab.addHost("b");
    lab.attach("a", "lan1", "eth1", "10.71.1.1/24");
    lab.attach("b", "lan1", "eth1", "10.71.1.2/24");

    auto rx = lab.runIn("a", [] { return std::make_unique<Listener>("10.71.1.1"); });
    EXPECT_EQ(rx->socket->State(), wsConnected);
    EXPECT_EQ(rx->socket->GetLocalAddrText(), "10.71.1.1");
    TWSocket tx;
    int sent = 0;
    tx.OnDataSent = [&](TCustomWSocket *, quint16) { ++sent; };
    lab.runIn("b", [&] { broadcast(tx, "10.71.1.2", "ALV from b"); });

    ASSERT_TRUE(testwait::waitFor([&] { return rx->datagrams.size() == 1; }));
    EXPECT_EQ(rx->datagrams.first(), "ALV from b");
    EXPECT_EQ(rx->senders.first(), "10.71.1.2");
    EXPECT_TRUE(testwait::waitFor([&] { return sent == 1; }));
}

// Host a sits on two LANs; its default route points to LAN 2.
class WSocketTwoLanTest : public WSocketBroadcastTest
{
protected:
    void SetUp() override
    {
        WSocketBroadcastTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        testnet::NetLab &lab = *m_lab;
        lab.addLan("lan1");
        lab.addLan("lan2");
        lab.addHost("a");
        lab.addHost("b");
        lab.addHost("c");
        lab.attach("a", "lan1", "eth1", "10.71.1.1/24");
        lab.attach("a", "lan2", "eth2", "10.71.2.1/24");
        lab.attach("b", "lan1", "eth1", "10.71.1.2/24");
        lab.attach("c", "lan2", "eth2", "10.71.2.2/24");
        lab.setDefaultRoute("a", "eth2", "10.71.2.254");
    }
};

TEST_F(WSocketTwoLanTest, ListenerHearsOnlyBroadcastsOfItsOwnLan)
{
    testnet::NetLab &lab = *m_lab;
    auto onLan1 = lab.runIn("a", [] { return std::make_unique<Listener>("10.71.1.1"); });
    // A second copy on the same host and port, listening on the other LAN.
    auto onLan2 = lab.runIn("a", [] { return std::make_unique<Listener>("10.71.2.1"); });
    ASSERT_EQ(onLan2->socket->State(), wsConnected);

    TWSocket fromC;
    TWSocket fromB;
    lab.runIn("c", [&] { broadcast(fromC, "10.71.2.2", "from lan2"); });
    lab.runIn("b", [&] { broadcast(fromB, "10.71.1.2", "from lan1"); });

    ASSERT_TRUE(testwait::waitFor(
        [&] { return onLan1->datagrams.size() == 1 && onLan2->datagrams.size() == 1; }));

    // Unicast to the listener's own address still arrives. Sent after the broadcasts had
    // arrived, one to each listener, they also show that nothing else was on its way.
    TWSocket direct;
    TWSocket marker;
    lab.runIn("b", [&] { unicast(direct, "10.71.1.1", "direct"); });
    lab.runIn("c", [&] { unicast(marker, "10.71.2.1", "marker"); });
    ASSERT_TRUE(testwait::waitFor(
        [&] { return onLan1->datagrams.size() == 2 && onLan2->datagrams.size() == 2; }));
    EXPECT_EQ(onLan1->datagrams, (QList<QByteArray>{"from lan1", "direct"}));
    EXPECT_EQ(onLan2->datagrams, (QList<QByteArray>{"from lan2", "marker"}));
}

TEST_F(WSocketTwoLanTest, BroadcastLeavesThroughBoundInterfaceDespiteDefaultRoute)
{
    testnet::NetLab &lab = *m_lab;
    auto atB = lab.runIn("b", [] { return std::make_unique<Listener>("10.71.1.2"); });
    auto atC = lab.runIn("c", [] { return std::make_unique<Listener>("10.71.2.2"); });

    // A datagram to c along the default route after each broadcast: had a broadcast gone
    // that way too, it would arrive before the marker.
    TWSocket tx;
    TWSocket toC;
    lab.runIn("a", [&] {
        broadcast(tx, "10.71.1.1", "ALV from a");
        unicast(toC, "10.71.2.2", "marker 1");
    });
    ASSERT_TRUE(testwait::waitFor(
        [&] { return atB->datagrams.size() == 1 && atC->datagrams.size() == 1; }));
    EXPECT_EQ(atB->datagrams.first(), "ALV from a");
    EXPECT_EQ(atB->senders.first(), "10.71.1.1");
    EXPECT_EQ(atC->datagrams, QList<QByteArray>{"marker 1"});

    // A second broadcast from the same socket keeps to the same LAN.
    tx.SendText("again");
    toC.SendText("marker 2");
    ASSERT_TRUE(testwait::waitFor(
        [&] { return atB->datagrams.size() == 2 && atC->datagrams.size() == 2; }));
    EXPECT_EQ(atC->datagrams, (QList<QByteArray>{"marker 1", "marker 2"}));
}
