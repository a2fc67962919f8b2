// Engines on a sandbox LAN: one whose network device goes down and up, then is deleted and
// made again under the same name and address; one flooded with forged announcements.
#include "EngineHost.h"
#include "common/EventWait.h"
#include "common/ForgedUdp.h"
#include "common/Netns.h"
#include "common/RawUdpCapture.h"
#include "common/TestEnv.h"

#include <QProcess>
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/ip.h>
#include <netinet/udp.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

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

namespace {

TEST(HostileLan, AnnouncementsForgedFromAListedPeerGetOneAnswerNotOneEach)
{
    TOLVEX_REQUIRE_NETNS();
    testnet::NetLab lab;
    lab.addFlatLan(3);
    EngineHost ann(lab.nsName("1"), "ann", "Lab");
    EngineHost bob(lab.nsName("2"), "bob", "Lab");
    ann.comeOnLine();
    bob.comeOnLine();
    ASSERT_TRUE(testwait::waitFor([&] { return ann.names() == Names{"bob"}; }, 5000));
    RawUdpCapture wire(lab.nsName("2"));
    ASSERT_TRUE(wire.ok());

    // The burst lands in ann's socket while her thread is busy, as a flood outruns a reader.
    constexpr int kForged = 100;
    ann.call([&](MessagingEngine &) {
        std::thread flooder([&] {
            testnet::NetnsScope scope(lab.nsName("3"));
            const int fd = ::socket(AF_INET, SOCK_RAW, IPPROTO_RAW);
            ASSERT_GE(fd, 0);
            sockaddr_in to{};
            to.sin_family = AF_INET;
            inet_pton(AF_INET, testnet::NetLab::flatAddr(1).constData(), &to.sin_addr);
            for (int i = 0; i < kForged; ++i) {
                const QByteArray packet = testnet::forgedUdp(
                    testnet::NetLab::flatAddr(2), 5040, testnet::NetLab::flatAddr(1), 5040,
                    QByteArray::number(0xA00000 + i, 16).toUpper() + "|ACK|BCT|Lab|bob|");
                ::sendto(fd, packet.constData(), size_t(packet.size()), 0,
                         reinterpret_cast<const sockaddr *>(&to), sizeof to);
            }
            ::close(fd);
        });
        flooder.join();
        QThread::msleep(100);
    });
    const auto answers = [&] {
        int n = 0;
        for (const WireDatagram &d : wire.withCommand("ACK", 5040))
            n += d.src == testnet::NetLab::flatAddr(1) && d.payload.mid(7, 8) == "ACK|DCT|";
        return n;
    };
    ASSERT_TRUE(testwait::waitFor([&] { return answers() >= 1; }, 5000));
    QThread::msleep(500);
    EXPECT_LE(answers(), 3) << "of " << kForged << " forged announcements";
    EXPECT_EQ(ann.names(), Names{"bob"});
}

} // namespace
