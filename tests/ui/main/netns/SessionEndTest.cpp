// The end of a session closes the desktop program as "Exit" does: SIGTERM, SIGINT and
// SIGHUP each make it broadcast its leave notice and save its settings, on a namespace LAN
// with a terminal peer that watches.
#include "../DesktopHome.h"
#include "common/Netns.h"
#include "common/TestEnv.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>

namespace {

QProcessEnvironment environment(const QString &home)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return env;
}

// Reads what a process printed so far; without an event loop the pipe is read while waiting.
bool waitForOutput(QProcess &process, QByteArray &seen, const QByteArray &wanted, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!seen.contains(wanted) && clock.elapsed() < timeoutMs) {
        process.waitForReadyRead(50);
        seen += process.readAllStandardOutput();
    }
    return seen.contains(wanted);
}

} // namespace

class SessionEndTest : public ::testing::TestWithParam<int>
{};

TEST_P(SessionEndTest, LeavesTheNetworkAndSavesBeforeItEnds)
{
    TOLVEX_REQUIRE_NETNS();
    testnet::NetLab lab;
    lab.addLan("end");
    lab.addHost("ann");
    lab.addHost("cid");
    lab.attach("ann", "end", "eth0", "10.74.2.1/24");
    lab.attach("cid", "end", "eth0", "10.74.2.2/24");
    QTemporaryDir homes;
    const QString annHome = homes.filePath(QStringLiteral("ann"));
    const QString cidHome = homes.filePath(QStringLiteral("cid"));
    writeDesktopSettings(annHome, "ann", "10.74.2.1");
    writeDesktopSettings(cidHome, "cid", "10.74.2.2");
    const QString bin = qEnvironmentVariable("TOLVEX_BINARY_DIR");

    QProcess cid;
    cid.setProcessEnvironment(environment(cidHome));
    cid.start(QStringLiteral("ip"), {QStringLiteral("netns"), QStringLiteral("exec"),
                                     QString::fromLatin1(lab.nsName("cid")),
                                     bin + QStringLiteral("/src/cli/tolvex-cli")});
    QProcess ann;
    ann.setProcessEnvironment(environment(annHome));
    // ip execs the program in place, so the process is the desktop program itself.
    ann.start(QStringLiteral("ip"),
              {QStringLiteral("netns"), QStringLiteral("exec"),
               QString::fromLatin1(lab.nsName("ann")), bin + QStringLiteral("/src/tolvex")});
    ASSERT_TRUE(ann.waitForStarted(5000));
    QByteArray seen;
    ASSERT_TRUE(waitForOutput(cid, seen, "joined: ann", 20000)) << seen.constData();

    ::kill(pid_t(ann.processId()), GetParam());
    EXPECT_TRUE(waitForOutput(cid, seen, "left: ann", 10000)) << seen.constData();
    ASSERT_TRUE(ann.waitForFinished(10000));
    EXPECT_EQ(ann.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(ann.exitCode(), 0);
    QFile saved(desktopSettingsFile(annHome));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    // Written at the end: the save adds what the hand-written file lacked.
    EXPECT_TRUE(saved.readAll().contains("AutoAdd=1"));

    cid.closeWriteChannel();
    if (!cid.waitForFinished(5000))
        cid.kill();
}

INSTANTIATE_TEST_SUITE_P(Signals, SessionEndTest, ::testing::Values(SIGTERM, SIGINT, SIGHUP));
