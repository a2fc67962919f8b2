// Copies on a sandbox LAN that turns unlucky: a network device deleted and made again,
// a closed terminal, an output nobody reads, settings that cannot work, a device name.
#include "EngineHost.h"
#include "RawUdpCapture.h"
#include "Sandbox.h"
#include "common/TestEnv.h"

#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Names = QList<QByteArray>;

bool run(const QStringList &args)
{
    QProcess process;
    process.start(args.first(), args.mid(1));
    return process.waitForFinished(10000) && process.exitCode() == 0;
}

/// A tolvex-cli on a host whose standard output is a FIFO the test holds open for reading
/// but reads only when told: the stand-in for a terminal nobody reads or that went away.
class FifoCli final
{
public:
    FifoCli(const SandboxLan &lan, int host, const QStringList &args)
    {
        m_fifo = m_dir.filePath(QStringLiteral("out"));
        ::mkfifo(QFile::encodeName(m_fifo).constData(), 0600);
        // Held open first, so that the program's open does not wait for a reader.
        m_reader = ::open(QFile::encodeName(m_fifo).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LAN_SANDBOX"), QString::fromLatin1(lan.name()));
        m_process.setProcessEnvironment(env);
        m_process.setStandardOutputFile(m_fifo);
        m_process.start(SandboxLan::script(),
                        lan.execArgs(host, QStringList{SandboxLan::cliProgram()} + args));
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
        if (!waitUntil([this] { return m_process.state() == QProcess::NotRunning; }, timeoutMs))
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

TEST(HostileLan, ACopyWhoseDeviceIsMadeAgainHearsAgainAfterItsNextTick)
{
    TOLVEX_REQUIRE_NETNS();
    SandboxLan lan(3);
    ASSERT_TRUE(lan.ok()) << lan.error().data();
    EngineHost ann(lan.ns(1), "ann", "Lab");
    ann.comeOnLine();

    // A plain link down and up keeps the device: it goes on hearing.
    const QString ns1 = QString::fromLatin1(lan.ns(1));
    ASSERT_TRUE(run({"ip", "-n", ns1, "link", "set", "eth0", "down"}));
    ASSERT_TRUE(run({"ip", "-n", ns1, "link", "set", "eth0", "up"}));
    ASSERT_TRUE(run({"ip", "-n", ns1, "route", "replace", "default", "dev", "eth0"}));
    ann.tick();
    EngineHost bob(lan.ns(2), "bob", "Lab");
    bob.comeOnLine();
    ASSERT_TRUE(waitUntil([&] { return ann.names() == Names{"bob"}; }, 5000));

    // Deleted and made again with the same address: a new device with a new index.
    const QString sw = QString::fromLatin1(lan.name()) + QStringLiteral("-sw");
    ASSERT_TRUE(run({"ip", "-n", ns1, "link", "del", "eth0"}));
    ASSERT_TRUE(run({"ip", "-n", sw, "link", "add", "p1", "type", "veth", "peer", "name", "eth0",
                     "netns", ns1}));
    ASSERT_TRUE(run({"ip", "-n", sw, "link", "set", "p1", "master", "br0", "up"}));
    ASSERT_TRUE(
        run({"ip", "-n", ns1, "addr", "add", "10.77.0.1/24", "brd", "10.77.0.255", "dev", "eth0"}));
    ASSERT_TRUE(run({"ip", "-n", ns1, "link", "set", "eth0", "up"}));
    ASSERT_TRUE(run({"ip", "-n", ns1, "route", "add", "default", "dev", "eth0"}));
    ann.tick();
    EngineHost carl(lan.ns(3), "carl", "Lab");
    carl.comeOnLine();
    EXPECT_TRUE(waitUntil(
        [&] {
            return ann.names() == Names({"bob", "carl"});
        },
        5000))
        << "ann lists " << ann.names().join(',').data();
    EXPECT_TRUE(waitUntil(
        [&] {
            return carl.names() == Names({"ann", "bob"});
        },
        5000))
        << "carl lists " << carl.names().join(',').data();
}

TEST(HostileLan, AClosedTerminalOrOutputEndsTheRunWithTheLeaveNotice)
{
    TOLVEX_REQUIRE_NETNS();
    SandboxLan lan(3);
    ASSERT_TRUE(lan.ok()) << lan.error().data();
    CliCopy ann(lan, 1, {"--name", "ann", "--channel", "Lab"});
    CliCopy bob(lan, 2, {"--name", "bob", "--channel", "Lab"});
    ASSERT_TRUE(ann.waitForUsers({"bob"}, 8000)) << ann.errors().data();

    // The terminal or ssh session closes.
    bob.signal(SIGHUP);
    EXPECT_EQ(bob.waitForExit(5000), 0) << bob.errors().data();
    EXPECT_TRUE(ann.waitForUsers({}, 2000)) << "bob left without a leave notice";

    // Nobody reads the output any more: the first line printed ends the run cleanly.
    FifoCli carl(lan, 3, {"--name", "carl", "--channel", "Lab"});
    carl.closeReader();
    ASSERT_TRUE(ann.waitForUsers({"carl"}, 8000)) << ann.errors().data();
    EXPECT_EQ(carl.waitForExit(5000), 0) << carl.errors().data();
    EXPECT_TRUE(ann.waitForUsers({}, 2000)) << "carl left without a leave notice";
}

TEST(HostileLan, NothingFollowsTheLeaveNoticeWhenTheEndComesRightAfterACommand)
{
    TOLVEX_REQUIRE_NETNS();
    SandboxLan lan(2);
    ASSERT_TRUE(lan.ok()) << lan.error().data();
    RawUdpCapture wire(lan.ns(1));
    ASSERT_TRUE(wire.ok());
    CliCopy ann(lan, 1, {"--name", "ann", "--channel", "Lab"});
    // The end of the run comes in each way a user ends it, right after the command.
    const std::pair<QByteArray, int> ends[] = {
        {"/channel Other", SIGTERM}, {"/reload", SIGINT}, {"/channel Third", 0}};
    for (const auto &[command, signal] : ends) {
        CliCopy bob(lan, 2, {"--name", "bob", "--channel", "Lab"});
        ASSERT_TRUE(ann.waitForUsers({"bob"}, 8000)) << ann.errors().data();
        bob.send(command);
        if (signal)
            bob.signal(signal);
        else
            bob.closeInput();
        EXPECT_EQ(bob.waitForExit(5000), 0) << bob.errors().data();
        EXPECT_TRUE(ann.waitForUsers({}, 2000)) << command.data();
    }
    // Anything that was still on its way has arrived by the time ann's own reload is back.
    ann.send("/reload");
    waitUntil([] { return false; }, 500);
    QList<QByteArray> fromBob;
    for (const WireDatagram &d : wire.all()) {
        if (d.src == lan.addr(2) && d.dstPort == 5040)
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
    SandboxLan lan(2);
    ASSERT_TRUE(lan.ok()) << lan.error().data();
    CliCopy ann(lan, 1, {"--name", "ann", "--channel", "Lab"});
    FifoCli bob(lan, 2, {"--name", "bob", "--channel", "Lab"});
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
    SandboxLan lan(2);
    ASSERT_TRUE(lan.ok()) << lan.error().data();
    QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("bad.ini"));
    QFile file(config);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Tolvex]\nVersion=010001\n[Server]\nPort=abc\n[User]\nName=ann\n");
    file.close();
    CliCopy ann(lan, 1, {"--config", config});
    EXPECT_TRUE(ann.waitFor(
        [&] { return ann.errors().contains("the port \"abc\" is not a number"); }, 8000))
        << ann.errors().data();

    // A device name works as its address does.
    CliCopy bob(lan, 2, {"--name", "bob", "--channel", "Lab", "--interface", "eth0"});
    CliCopy carl(lan, 1,
                 {"--name", "carl", "--channel", "Lab", "--config",
                  dir.filePath(QStringLiteral("carl.ini"))});
    EXPECT_TRUE(carl.waitForUsers({"bob"}, 8000)) << carl.errors().data();
    EXPECT_TRUE(bob.waitForUsers({"carl"}, 1000)) << bob.errors().data();
    ann.closeInput();
    EXPECT_EQ(ann.waitForExit(5000), 0);
}

} // namespace
