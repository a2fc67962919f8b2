// Engines on three sandbox hosts with clocks the test moves: keep-alives on the wire, and a
// copy that dies without a leave notice.
#include "EngineHost.h"
#include "RawUdpCapture.h"
#include "Sandbox.h"
#include "common/TestEnv.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

TEST(EngineSandbox, SilentCopyIsDroppedOnTheFirstTickAfter75Seconds)
{
    TOLVEX_REQUIRE_NETNS();
    SandboxLan lan(3);
    ASSERT_TRUE(lan.ok()) << lan.error().data();
    RawUdpCapture wireAtBob(lan.ns(2));
    ASSERT_TRUE(wireAtBob.ok());

    EngineHost ann(lan.ns(1), "ann", "Lab");
    EngineHost bob(lan.ns(2), "bob", "Lab");
    EngineHost carl(lan.ns(3), "carl", "Lab");
    EngineHost *all[] = {&ann, &bob, &carl};
    for (EngineHost *host : all)
        host->comeOnLine();
    ASSERT_TRUE(waitUntil([&] { return ann.names() == QList<QByteArray>{"bob", "carl"}; }, 5000));
    ASSERT_TRUE(waitUntil([&] { return bob.names() == QList<QByteArray>{"ann", "carl"}; }, 5000));
    ASSERT_TRUE(waitUntil([&] { return carl.names() == QList<QByteArray>{"ann", "bob"}; }, 5000));

    carl.kill();
    // Ticks every 30 s of moved time: carl's last datagram is 30, 60, then 90 s old.
    for (int step = 1; step <= 3; ++step) {
        for (EngineHost *host : {&ann, &bob}) {
            host->offsetMs = step * 30'000;
            host->tick();
        }
        waitUntil([] { return false; }, 100);
        const QList<QByteArray> expected =
            step < 3 ? QList<QByteArray>{"bob", "carl"} : QList<QByteArray>{"bob"};
        EXPECT_EQ(ann.names(), expected) << "after " << step * 30 << " s";
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
