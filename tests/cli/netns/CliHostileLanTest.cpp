// tolvex-cli copies on a sandbox LAN that turns unlucky: a closed terminal, an output
// nobody reads, settings that cannot work, a device name.
#include "CliCopy.h"
#include "common/EventWait.h"
#include "common/Netns.h"
#include "common/RawUdpCapture.h"
#include "common/TestEnv.h"

#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <arpa/inet.h>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Names = QList<QByteArray>;

constexpr quint16 kMarkerPort = 5999;

// One datagram from a host, on a port nobody listens to: sent after everything else
// on the same way, it is the marker that all of that has arrived.
void sendMarker(testnet::NetLab &lab, const QByteArray &host, const QByteArray &to,
                const QByteArray &text)
{
    lab.runIn(host, [&] {
        const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        ASSERT_GE(fd, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(kMarkerPort);
        ::inet_pton(AF_INET, to.constData(), &addr.sin_addr);
        EXPECT_EQ(::sendto(fd, text.constData(), size_t(text.size()), 0,
                           reinterpret_cast<const sockaddr *>(&addr), sizeof addr),
                  text.size());
        ::close(fd);
    });
}

/// A tolvex-cli on a host whose standard output is a FIFO the test holds open for reading
/// but reads only when told: the stand-in for a terminal nobody reads or that went away.
class FifoCli final
{
public:
    FifoCli(testnet::NetLab &lab, const QByteArray &host, const QStringList &args)
    {
        m_fifo = m_dir.filePath(QStringLiteral("out"));
        ::mkfifo(QFile::encodeName(m_fifo).constData(), 0600);
        // Held open first, so that the program's open does not wait for a reader.
        m_reader = ::open(QFile::encodeName(m_fifo).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        m_process.setStandardOutputFile(m_fifo);
        m_process.start(QStringLiteral("ip"),
                        lab.execArgs(host, QStringList{CliCopy::program()} + args));
        m_process.waitForStarted(10000);
    }
    ~FifoCli()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
        closeReader();
    }
    void closeReader()
    {
        if (m_reader >= 0)
            ::close(m_reader);
        m_reader = -1;
    }
    void signal(int number) { ::kill(static_cast<pid_t>(m_process.processId()), number); }
    /// The exit code, or -1 on a crash or when it did not end in time.
    int waitForExit(int timeoutMs)
    {
        if (!testwait::waitFor([this] { return m_process.state() == QProcess::NotRunning; },
                               timeoutMs))
            return -1;
        return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    }
    QByteArray errors() { return m_process.readAllStandardError(); }

private:
    QTemporaryDir m_dir;
    QString m_fifo;
    int m_reader = -1;
    QProcess m_process;
};

TEST(HostileLan, AClosedTerminalOrOutputEndsTheRunWithTheLeaveNotice)
{
    TOLVEX_REQUIRE_NETNS();
    testnet::NetLab lab;
    lab.addFlatLan(3);
    CliCopy ann(lab, "1", {"--name", "ann", "--channel", "Lab"});
    CliCopy bob(lab, "2", {"--name", "bob", "--channel", "Lab"});
    ASSERT_TRUE(ann.waitForUsers({"bob"}, 8000)) << ann.errors().data();

    // The terminal or ssh session closes.
    bob.signal(SIGHUP);
    EXPECT_EQ(bob.waitForExit(5000), 0) << bob.errors().data();
    EXPECT_TRUE(ann.waitForUsers({}, 2000)) << "bob left without a leave notice";

    // Nobody reads the output any more: the first line printed ends the run cleanly.
    FifoCli carl(lab, "3", {"--name", "carl", "--channel", "Lab"});
    carl.closeReader();
    ASSERT_TRUE(ann.waitForUsers({"carl"}, 8000)) << ann.errors().data();
    EXPECT_EQ(carl.waitForExit(5000), 0) << carl.errors().data();
    EXPECT_TRUE(ann.waitForUsers({}, 2000)) << "carl left without a leave notice";
}

TEST(HostileLan, NothingFollowsTheLeaveNoticeWhenTheEndComesRightAfterACommand)
{
    TOLVEX_REQUIRE_NETNS();
    testnet::NetLab lab;
    lab.addFlatLan(2);
    RawUdpCapture wire(lab.nsName("1"));
    ASSERT_TRUE(wire.ok());
    CliCopy ann(lab, "1", {"--name", "ann", "--channel", "Lab"});
    // The end of the run comes in each way a user ends it, right after the command.
    const std::pair<QByteArray, int> ends[] = {
        {"/channel Other", SIGTERM}, {"/reload", SIGINT}, {"/channel Third", 0}};
    for (const auto &[command, signal] : ends) {
        CliCopy bob(lab, "2", {"--name", "bob", "--channel", "Lab"});
        ASSERT_TRUE(ann.waitForUsers({"bob"}, 8000)) << ann.errors().data();
        bob.send(command);
        if (signal)
            bob.signal(signal);
        else
            bob.closeInput();
        EXPECT_EQ(bob.waitForExit(5000), 0) << bob.errors().data();
        EXPECT_TRUE(ann.waitForUsers({}, 2000)) << command.data();
    }
    // Anything still on its way from bob's host has arrived once a marker sent after it has.
    sendMarker(lab, "2", lab.flatAddr(1), "end of bob");
    ASSERT_TRUE(testwait::waitFor([&] {
        for (const WireDatagram &d : wire.all()) {
            if (d.dstPort == kMarkerPort && d.payload == "end of bob")
                return true;
        }
        return false;
    }));
    QList<QByteArray> fromBob;
    for (const WireDatagram &d : wire.all()) {
        if (d.src == lab.flatAddr(2) && d.dstPort == 5040)
            fromBob.append(d.payload.mid(7));
    }
    ASSERT_FALSE(fromBob.isEmpty());
    EXPECT_EQ(fromBob.last(), "EXT") << fromBob.join(' ').data();
    for (const QByteArray &d : fromBob) {
        if (d.startsWith("ACK")) {
            EXPECT_TRUE(d.endsWith("|bob|")) << "announced under another name: " << d.data();
        }
    }
}

TEST(HostileLan, AnOutputNobodyReadsNeverStopsTheCopy)
{
    TOLVEX_REQUIRE_NETNS();
    testnet::NetLab lab;
    lab.addFlatLan(2);
    CliCopy ann(lab, "1", {"--name", "ann", "--channel", "Lab"});
    FifoCli bob(lab, "2", {"--name", "bob", "--channel", "Lab"});
    ASSERT_TRUE(ann.waitForUsers({"bob"}, 8000)) << ann.errors().data();

    // Far more than a pipe holds: bob's terminal would block it for good.
    ann.send("/all");
    const QByteArray text(900, 'm');
    for (int i = 0; i < 200; ++i)
        ann.send(QByteArray::number(i) + text);
    ASSERT_TRUE(ann.waitFor([&] { return ann.count("bob< 199" + text) == 1; }, 20000));
    // Still alive: answers a newcomer's reload, and stops at once when asked.
    ann.send("/reload");
    EXPECT_TRUE(ann.waitForUsers({"bob"}, 3000));
    bob.signal(SIGTERM);
    EXPECT_EQ(bob.waitForExit(5000), 0) << bob.errors().data();
    EXPECT_TRUE(ann.waitForUsers({}, 2000)) << "bob left without a leave notice";
}

TEST(HostileLan, SettingsThatCannotWorkAreToldAndADeviceNameIsTaken)
{
    TOLVEX_REQUIRE_NETNS();
    testnet::NetLab lab;
    lab.addFlatLan(2);
    QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("bad.ini"));
    QFile file(config);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Tolvex]\nVersion=010001\n[Server]\nPort=abc\n[User]\nName=ann\n");
    file.close();
    CliCopy ann(lab, "1", {"--config", config});
    EXPECT_TRUE(ann.waitFor(
        [&] { return ann.errors().contains("the port \"abc\" is not a number"); }, 8000))
        << ann.errors().data();

    // A device name works as its address does.
    CliCopy bob(lab, "2", {"--name", "bob", "--channel", "Lab", "--interface", "eth0"});
    CliCopy carl(lab, "1",
                 {"--name", "carl", "--channel", "Lab", "--config",
                  dir.filePath(QStringLiteral("carl.ini"))});
    EXPECT_TRUE(carl.waitForUsers({"bob"}, 8000)) << carl.errors().data();
    EXPECT_TRUE(bob.waitForUsers({"carl"}, 1000)) << bob.errors().data();
    ann.closeInput();
    EXPECT_EQ(ann.waitForExit(5000), 0);
}

TEST(HostileLan, ACopyWhosePortIsTakenSaysSoAndStaysSilentUntilItIsFree)
{
    TOLVEX_REQUIRE_NETNS();
    testnet::NetLab lab;
    lab.addFlatLan(2);
    RawUdpCapture wire(lab.nsName("2"));
    ASSERT_TRUE(wire.ok());
    // Another program holds the port on ann's host.
    int squatter = -1;
    lab.runIn("1", [&] {
        squatter = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(5040);
        ASSERT_EQ(::bind(squatter, reinterpret_cast<const sockaddr *>(&addr), sizeof addr), 0);
    });
    CliCopy ann(lab, "1", {"--name", "ann", "--channel", "Lab"});
    ASSERT_TRUE(ann.waitFor([&] { return ann.errors().contains("5040"); }, 8000));
    EXPECT_TRUE(ann.errors().contains("error: port 5040 is already in use (another copy "
                                      "running?)"))
        << ann.errors().data();
    EXPECT_FALSE(ann.errors().contains("Code 10048")) << ann.errors().data();
    ann.closeInput();
    EXPECT_EQ(ann.waitForExit(5000), 0);
    ::close(squatter);

    // Neither an announcement nor a leave notice went out on behalf of the port's holder.
    sendMarker(lab, "1", lab.flatAddr(2), "end of ann");
    ASSERT_TRUE(testwait::waitFor([&] {
        for (const WireDatagram &d : wire.all()) {
            if (d.dstPort == kMarkerPort && d.payload == "end of ann")
                return true;
        }
        return false;
    }));
    for (const WireDatagram &d : wire.all())
        EXPECT_FALSE(d.src == lab.flatAddr(1) && d.dstPort == 5040) << d.payload.data();
}

TEST(HostileLan, AVanishedAddressIsToldOnceAndItsReturnOnce)
{
    TOLVEX_REQUIRE_NETNS();
    testnet::NetLab lab;
    lab.addFlatLan(2);
    CliCopy ann(lab, "1", {"--name", "ann", "--channel", "Lab"});
    CliCopy bob(lab, "2", {"--name", "bob", "--channel", "Lab"});
    ASSERT_TRUE(ann.waitForUsers({"bob"}, 8000)) << ann.errors().data();
    const QString cidr = QString::fromLatin1(lab.flatAddr(1) + "/24");
    const auto told = [&](const char *what) {
        return int(ann.errors().count("the network interface " + lab.flatAddr(1) + " is " + what));
    };
    lab.exec("1", {"ip", "addr", "del", cidr, "dev", "eth0"});
    EXPECT_TRUE(ann.waitFor([&] { return told("gone") == 1; }, 8000)) << ann.errors().data();
    lab.exec("1", {"ip", "addr", "add", cidr, "dev", "eth0"});
    EXPECT_TRUE(ann.waitFor([&] { return told("back") == 1; }, 8000)) << ann.errors().data();
    QThread::msleep(1500); // the watch goes on looking: nothing more is said
    EXPECT_EQ(told("gone"), 1);
    EXPECT_EQ(told("back"), 1);
}

} // namespace
