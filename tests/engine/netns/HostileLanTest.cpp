// An engine on a sandbox LAN whose network device goes down and up, then is deleted and
// made again under the same name and address.
#include "EngineHost.h"
#include "common/EventWait.h"
#include "common/Netns.h"
#include "common/TestEnv.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace {

using Names = QList<QByteArray>;

bool run(const QStringList &args)
{
    QProcess process;
    process.start(args.first(), args.mid(1));
    return process.waitForFinished(10000) && process.exitCode() == 0;
}

TEST(HostileLan, ACopyWhoseDeviceIsMadeAgainHearsAgainAfterItsNextTick)
{
    TOLVEX_REQUIRE_NETNS();
    testnet::NetLab lab;
    lab.addFlatLan(3);
    EngineHost ann(lab.nsName("1"), "ann", "Lab");
    ann.comeOnLine();

    // A plain link down and up keeps the device: it goes on hearing.
    const QString ns1 = QString::fromLatin1(lab.nsName("1"));
    ASSERT_TRUE(run({"ip", "-n", ns1, "link", "set", "eth0", "down"}));
    ASSERT_TRUE(run({"ip", "-n", ns1, "link", "set", "eth0", "up"}));
    lab.waitForCarrier(lab.nsName("1"), "eth0");
    lab.setDefaultRoute("1", "eth0");
    ann.tick();
    EngineHost bob(lab.nsName("2"), "bob", "Lab");
    bob.comeOnLine();
    ASSERT_TRUE(testwait::waitFor([&] { return ann.names() == Names{"bob"}; }, 5000));

    // Deleted and made again with the same address: a new device with a new index.
    ASSERT_TRUE(run({"ip", "-n", ns1, "link", "del", "eth0"}));
    lab.attach("1", "lan", "eth0", testnet::NetLab::flatAddr(1) + "/24");
    lab.setDefaultRoute("1", "eth0");
    ann.tick();
    EngineHost carl(lab.nsName("3"), "carl", "Lab");
    carl.comeOnLine();
    EXPECT_TRUE(testwait::waitFor(
        [&] {
            return ann.names() == Names({"bob", "carl"});
        },
        5000))
        << "ann lists " << ann.names().join(',').data();
    EXPECT_TRUE(testwait::waitFor(
        [&] {
            return carl.names() == Names({"ann", "bob"});
        },
        5000))
        << "carl lists " << carl.names().join(',').data();
}

} // namespace
