// Copies on two subnets joined by a router namespace: presence to other networks through
// the target list, with real routing, directed broadcasts forwarded or not.
#include "EngineHost.h"
#include "common/EventWait.h"
#include "common/Netns.h"
#include "common/RawUdpCapture.h"
#include "common/TestEnv.h"

#include <QItemSelectionModel>
#include <atomic>
#include <gtest/gtest.h>

namespace {

using Names = QList<QByteArray>;

/// Subnet A 10.60.1.0/24 (hosts a1, a2), subnet B 10.60.2.0/24 (host b1) and a router
/// between them. With broadcastForwarding the router passes directed broadcasts on;
/// without it, the hosts have routes to the other subnet only (no default route).
struct RoutedLab
{
    explicit RoutedLab(bool broadcastForwarding)
    {
        lab.addLan("sna");
        lab.addLan("snb");
        for (const char *host : {"a1", "a2", "b1", "r"})
            lab.addHost(host);
        lab.attach("a1", "sna", "eth0", "10.60.1.1/24");
        lab.attach("a2", "sna", "eth0", "10.60.1.2/24");
        lab.attach("b1", "snb", "eth0", "10.60.2.1/24");
        lab.attach("r", "sna", "eth0", "10.60.1.254/24");
        lab.attach("r", "snb", "eth1", "10.60.2.254/24");
        lab.exec("r", {"sysctl", "-qw", "net.ipv4.ip_forward=1"});
        const QString bc = broadcastForwarding ? "1" : "0";
        for (const char *conf : {"all", "default", "eth0", "eth1"})
            lab.exec("r",
                     {"sysctl", "-qw", QString("net.ipv4.conf.%1.bc_forwarding=").arg(conf) + bc});
        if (broadcastForwarding) {
            lab.setDefaultRoute("a1", "eth0", "10.60.1.254");
            lab.setDefaultRoute("a2", "eth0", "10.60.1.254");
            lab.setDefaultRoute("b1", "eth0", "10.60.2.254");
        } else {
            for (const char *host : {"a1", "a2"})
                lab.exec(host, {"ip", "route", "add", "10.60.2.0/24", "via", "10.60.1.254"});
            lab.exec("b1", {"ip", "route", "add", "10.60.1.0/24", "via", "10.60.2.254"});
        }
    }
    testnet::NetLab lab;
};

void setTargets(EngineHost &host, const QByteArrayList &targets)
{
    host.call([&targets](MessagingEngine &engine) {
        engine.Settings().Targets = targets;
        engine.applyTargets();
    });
}

void tickAll(std::initializer_list<EngineHost *> hosts, qint64 offsetMs)
{
    for (EngineHost *host : hosts) {
        host->offsetMs = offsetMs;
        host->tick();
    }
}

QByteArray lastText(EngineHost &host, const QByteArray &name)
{
    QByteArray text;
    host.call([&](MessagingEngine &engine) {
        for (int row = 0; row < engine.users().count(); ++row)
            if (engine.users().at(row)->Name == name)
                text = engine.users().at(row)->LastText;
    });
    return text;
}

void sendTo(EngineHost &host, const QByteArray &name, const QByteArray &text)
{
    host.call([&](MessagingEngine &engine) {
        UserList &users = engine.users();
        for (int row = 0; row < users.count(); ++row)
            if (users.at(row)->Name == name)
                users.selectOnly(row);
        engine.postQueueMessage(text);
    });
}

bool fromSubnetA(const WireDatagram &d)
{
    return d.src.startsWith("10.60.1.");
}

TEST(RoutedSubnets, IslandsStayApartWithoutTargetsAndJoinThroughThem)
{
    TOLVEX_REQUIRE_NETNS();
    RoutedLab routed(true);
    testnet::NetLab &lab = routed.lab;
    RawUdpCapture wireAtB(lab.nsName("b1"));
    ASSERT_TRUE(wireAtB.ok());

    EngineHost a1(lab.nsName("a1"), "ann", "Lab");
    EngineHost a2(lab.nsName("a2"), "art", "Lab");
    EngineHost b1(lab.nsName("b1"), "bob", "Lab");
    for (EngineHost *host : {&a1, &a2, &b1})
        host->comeOnLine();
    ASSERT_TRUE(testwait::waitFor([&] { return a1.names() == Names{"art"}; }, 5000));
    ASSERT_TRUE(testwait::waitFor([&] { return a2.names() == Names{"ann"}; }, 5000));
    tickAll({&a1, &a2, &b1}, 0);
    testwait::waitFor([] { return false; }, 300);
    EXPECT_TRUE(b1.names().isEmpty());
    for (const WireDatagram &d : wireAtB.all())
        EXPECT_FALSE(fromSubnetA(d)) << "crossed without targets: " << d.payload.data();

    // Each side lists the other's broadcast address: one tick joins them.
    setTargets(a1, {"10.60.2.255"});
    setTargets(a2, {"10.60.2.255"});
    setTargets(b1, {"10.60.1.255"});
    tickAll({&a1, &a2, &b1}, 0);
    ASSERT_TRUE(testwait::waitFor([&] { return b1.names() == Names{"ann", "art"}; }, 5000));
    ASSERT_TRUE(testwait::waitFor([&] { return a1.names() == Names{"art", "bob"}; }, 5000));
    ASSERT_TRUE(testwait::waitFor([&] { return a2.names() == Names{"ann", "bob"}; }, 5000));

    // Messages cross both ways, to and from the peer's own address.
    sendTo(b1, "ann", "over the router");
    sendTo(a2, "bob", "and back");
    EXPECT_TRUE(testwait::waitFor([&] { return lastText(a1, "bob") == "over the router"; }));
    EXPECT_TRUE(testwait::waitFor([&] { return lastText(b1, "art") == "and back"; }));

    // Keep-alives through the targets keep everybody listed well past 75 s.
    for (int step = 1; step <= 4; ++step) {
        const QByteArray bobAtAnn = a1.lastId("bob");
        const QByteArray annAtBob = b1.lastId("ann");
        tickAll({&a1, &a2, &b1}, step * 30'000);
        ASSERT_TRUE(testwait::waitFor([&] {
            return a1.lastId("bob") != bobAtAnn && b1.lastId("ann") != annAtBob;
        })) << "after "
            << step * 30 << " s";
    }
    EXPECT_EQ(a1.names(), (Names{"art", "bob"}));
    EXPECT_EQ(b1.names(), (Names{"ann", "art"}));

    // The leave notice crosses too.
    b1.call([](MessagingEngine &engine) { engine.FormClose(); });
    EXPECT_TRUE(testwait::waitFor([&] { return a1.names() == Names{"art"}; }, 5000));
    EXPECT_TRUE(testwait::waitFor([&] { return a2.names() == Names{"ann"}; }, 5000));
}

TEST(RoutedSubnets, HostTargetsWorkBesideFaultyOnesAndOneSidedStaysListed)
{
    TOLVEX_REQUIRE_NETNS();
    RoutedLab routed(false);
    testnet::NetLab &lab = routed.lab;

    EngineHost a1(lab.nsName("a1"), "ann", "Lab");
    EngineHost a2(lab.nsName("a2"), "art", "Lab");
    EngineHost b1(lab.nsName("b1"), "bob", "Lab");
    std::atomic<int> unresolved{0};
    a1.call([&unresolved](MessagingEngine &engine) {
        QObject::connect(&engine.targets(), &PresenceTargets::unresolved,
                         [&unresolved](const QByteArray &) { ++unresolved; });
    });
    // Only a1 lists others, bob lists nobody: a one-sided configuration. Beside the host:
    // no route, a name that does not resolve, our own address and our own broadcast.
    setTargets(a1,
               {"10.99.99.99", "no-such-host.invalid", "10.60.2.1", "10.60.1.1", "10.60.1.255"});
    for (EngineHost *host : {&b1, &a2, &a1})
        host->comeOnLine();
    ASSERT_TRUE(testwait::waitFor([&] { return a1.names() == Names{"art", "bob"}; }, 5000));
    ASSERT_TRUE(testwait::waitFor([&] { return b1.names() == Names{"ann"}; }, 5000));
    EXPECT_TRUE(a2.names() == Names{"ann"}) << "bob's own presence stays on subnet B";

    // bob's keep-alives never reach a1, whose list never empties (art): the announcement
    // a1 sends bob once he is 45 s silent is answered and keeps him listed.
    qint64 sendsBefore = 0;
    a1.call([&](MessagingEngine &engine) { sendsBefore = engine.presenceSends(); });
    for (int step = 1; step <= 5; ++step) {
        const QByteArray annAtBob = b1.lastId("ann");
        tickAll({&a1, &a2, &b1}, step * 30'000);
        ASSERT_TRUE(testwait::waitFor([&] { return b1.lastId("ann") != annAtBob; }));
        testwait::waitFor([] { return false; }, 100);
        ASSERT_EQ(a1.names(), (Names{"art", "bob"})) << "after " << step * 30 << " s";
    }
    EXPECT_EQ(b1.names(), Names{"ann"});

    int unreachable = 0;
    qint64 sendsAfter = 0;
    a1.call([&](MessagingEngine &engine) {
        unreachable = engine.targets().unreachable();
        sendsAfter = engine.presenceSends();
    });
    // Per tick: the broadcast and bob's host; an announcement to bob every other tick.
    EXPECT_GE(sendsAfter - sendsBefore, 5 * 2);
    EXPECT_LE(sendsAfter - sendsBefore, 5 * 2 + 3);
    EXPECT_GE(unreachable, 5) << "the unroutable target failed each tick";
    EXPECT_EQ(unresolved.load(), 1) << "told once, retried every tick";
}

} // namespace
