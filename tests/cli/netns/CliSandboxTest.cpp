// Three tolvex-cli copies on three sandbox hosts: meeting, messages, leaving, changing the
// channel, and the bytes each kind of datagram puts on the wire.
#include "CliCopy.h"
#include "common/Netns.h"
#include "common/RawUdpCapture.h"
#include "common/TestEnv.h"

#include <QRegularExpression>
#include <csignal>
#include <gtest/gtest.h>

namespace {

constexpr int kPort = 5040;

using Names = QList<QByteArray>;

void expectWire(const QList<WireDatagram> &seen, const char *pattern, const QByteArray &src,
                const QByteArray &dst)
{
    const QRegularExpression format(QString::fromLatin1(pattern));
    int matching = 0;
    for (const WireDatagram &d : seen) {
        if (!format.match(QString::fromLatin1(d.payload)).hasMatch() || d.src != src)
            continue;
        ++matching;
        EXPECT_EQ(d.dst, dst) << pattern;
        EXPECT_EQ(d.dstPort, kPort) << pattern;
        EXPECT_NE(d.srcPort, kPort) << pattern << ": sent from an ephemeral port";
    }
    EXPECT_GE(matching, 1) << "nothing like " << pattern << " from " << src.data();
}

TEST(CliSandbox, ThreeCopiesMeetTalkLeaveAndChangeChannel)
{
    TOLVEX_REQUIRE_NETNS();
    testnet::NetLab lab;
    lab.addFlatLan(3);
    RawUdpCapture wireAtCarl(lab.nsName("3"));
    ASSERT_TRUE(wireAtCarl.ok());

    // The first tick comes 3 s after the start; each lists the others within 5 s of it.
    // carl comes last, so both others answer its announcement.
    CliCopy ann(lab, "1", {"--name", "ann", "--channel", "Lab"});
    CliCopy bob(lab, "2", {"--name", "bob", "--channel", "Lab"});
    ASSERT_TRUE(ann.waitForUsers({"bob"}, 8000)) << ann.errors().data();
    ASSERT_TRUE(bob.waitForUsers({"ann"}, 1000)) << bob.errors().data();
    CliCopy carl(lab, "3", {"--name", "carl", "--channel", "Lab"});
    EXPECT_TRUE(carl.waitForUsers({"ann", "bob"}, 8000)) << carl.errors().data();
    EXPECT_TRUE(ann.waitForUsers({"bob", "carl"}, 1000)) << ann.errors().data();
    EXPECT_TRUE(bob.waitForUsers({"ann", "carl"}, 1000)) << bob.errors().data();

    // A line reaches the selected users once, and nobody else.
    ann.send("/to carl");
    ann.send("hello carl|second line");
    bob.send("/all");
    bob.send("hi all");
    ASSERT_TRUE(carl.waitFor([&] { return carl.count("bob> hi all") == 1; }, 3000));
    ASSERT_TRUE(ann.waitFor([&] { return ann.count("bob> hi all") == 1; }, 3000));
    ASSERT_TRUE(carl.waitFor([&] { return carl.count("ann> hello carl") == 1; }, 3000));
    // A last line from each sender to both others: whatever else they sent came before it.
    ann.send("/all");
    ann.send("end of ann");
    bob.send("end of bob");
    ASSERT_TRUE(carl.waitFor([&] { return carl.count("ann> end of ann") == 1; }, 3000));
    ASSERT_TRUE(bob.waitFor([&] { return bob.count("ann> end of ann") == 1; }, 3000));
    ASSERT_TRUE(carl.waitFor([&] { return carl.count("bob> end of bob") == 1; }, 3000));
    ASSERT_TRUE(ann.waitFor([&] { return ann.count("bob> end of bob") == 1; }, 3000));
    EXPECT_EQ(carl.count("ann> hello carl"), 1);
    EXPECT_EQ(carl.count("     second line"), 1);
    EXPECT_EQ(bob.count("ann> hello carl"), 0);
    EXPECT_EQ(ann.count("carl< hello carl"), 1);
    EXPECT_EQ(bob.count("ann< hi all") + bob.count("carl< hi all"), 2);

    // Leaving: the others drop the leaver at once, long before any expiry.
    carl.send("/quit");
    EXPECT_EQ(carl.waitForExit(5000), 0) << carl.errors().data();
    EXPECT_TRUE(ann.waitForUsers({"bob"}, 2000));
    EXPECT_TRUE(bob.waitForUsers({"ann"}, 2000));

    // Changing the channel: the old channel drops the copy, the new one lists it.
    bob.send("/channel Other");
    EXPECT_TRUE(ann.waitForUsers({}, 2000));
    ann.send("/channel Other");
    EXPECT_TRUE(bob.waitForUsers({"ann"}, 2000));
    EXPECT_TRUE(ann.waitForUsers({"bob"}, 2000));

    // Signals end a copy like /quit.
    bob.signal(SIGTERM);
    EXPECT_EQ(bob.waitForExit(5000), 0) << bob.errors().data();
    EXPECT_TRUE(ann.waitForUsers({}, 2000));
    ann.closeInput();
    EXPECT_EQ(ann.waitForExit(5000), 0) << ann.errors().data();

    const QList<WireDatagram> &seen = wireAtCarl.all();
    const QByteArray a = lab.flatAddr(1), b = lab.flatAddr(2), c = lab.flatAddr(3);
    expectWire(seen, "^[0-9A-F]{6}\\|ACK\\|BCT\\|Lab\\|ann\\|$", a, "255.255.255.255");
    expectWire(seen, "^[0-9A-F]{6}\\|ACK\\|DCT\\|Lab\\|ann\\|$", a, c);
    expectWire(seen, "^[0-9A-F]{6}\\|ACK\\|DCT\\|Lab\\|bob\\|$", b, c);
    expectWire(seen, "^[0-9A-F]{6}\\|MSG\\|hello carl\r\nsecond line\\|$", a, c);
    expectWire(seen, "^[0-9A-F]{6}\\|MSG\\|hi all\\|$", b, c);
    // bob's leave from Lab, heard by carl's host after carl itself left.
    expectWire(seen, "^[0-9A-F]{6}\\|EXT$", b, "255.255.255.255");
}

} // namespace
