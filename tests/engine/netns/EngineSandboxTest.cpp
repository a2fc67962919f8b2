// Engines on three sandbox hosts with clocks the test moves: keep-alives on the wire, and a
// copy that dies without a leave notice.
#include "EngineHost.h"
#include "common/EventWait.h"
#include "common/Netns.h"
#include "common/RawUdpCapture.h"
#include "common/TestEnv.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

TEST(EngineSandbox, SilentCopyIsDroppedOnTheFirstTickAfter75Seconds)
{
    TOLVEX_REQUIRE_NETNS();
    testnet::NetLab lab;
    lab.addFlatLan(3);
    RawUdpCapture wireAtBob(lab.nsName("2"));
    ASSERT_TRUE(wireAtBob.ok());

    EngineHost ann(lab.nsName("1"), "ann", "Lab");
    EngineHost bob(lab.nsName("2"), "bob", "Lab");
    EngineHost carl(lab.nsName("3"), "carl", "Lab");
    EngineHost *all[] = {&ann, &bob, &carl};
    for (EngineHost *host : all)
        host->comeOnLine();
    ASSERT_TRUE(testwait::waitFor(
        [&] {
            return ann.names() == QList<QByteArray>{"bob", "carl"};
        },
        5000));
    ASSERT_TRUE(testwait::waitFor(
        [&] {
            return bob.names() == QList<QByteArray>{"ann", "carl"};
        },
        5000));
    ASSERT_TRUE(testwait::waitFor(
        [&] {
            return carl.names() == QList<QByteArray>{"ann", "bob"};
        },
        5000));

    carl.kill();
    // Ticks every 30 s of moved time: carl's last datagram is 30, 60, then 90 s old.
    for (int step = 1; step <= 3; ++step) {
        const QByteArray bobAtAnn = ann.lastId("bob");
        const QByteArray annAtBob = bob.lastId("ann");
        for (EngineHost *host : {&ann, &bob}) {
            host->offsetMs = step * 30'000;
            host->tick();
        }
        const QList<QByteArray> expected =
            step < 3 ? QList<QByteArray>{"bob", "carl"} : QList<QByteArray>{"bob"};
        EXPECT_EQ(ann.names(), expected) << "after " << step * 30 << " s";
        // Each has heard the other's keep-alive before the clocks move on.
        ASSERT_TRUE(testwait::waitFor(
            [&] { return ann.lastId("bob") != bobAtAnn && bob.lastId("ann") != annAtBob; }));
    }
    EXPECT_EQ(bob.names(), QList<QByteArray>{"ann"}) << "ann kept bob alive and back";

    // The keep-alives as they crossed the wire into bob's host.
    const QList<WireDatagram> alive = wireAtBob.withCommand("ALV", 5040);
    ASSERT_FALSE(alive.isEmpty());
    const QRegularExpression format(QStringLiteral("^[0-9A-F]{6}\\|ALV\\|Lab\\|$"));
    for (const WireDatagram &d : alive) {
        EXPECT_TRUE(format.match(QString::fromLatin1(d.payload)).hasMatch()) << d.payload.data();
        EXPECT_EQ(d.dst, "255.255.255.255");
        EXPECT_NE(d.srcPort, 5040);
    }
}

} // namespace
