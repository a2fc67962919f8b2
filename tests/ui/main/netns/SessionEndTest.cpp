// The end of a session closes the desktop program as "Exit" does: SIGTERM, SIGINT and
// SIGHUP each make it broadcast its leave notice and save its settings, on a namespace LAN
// with a terminal peer that watches. So does the loss of the display, and an end that finds
// the settings file unwritable says so on standard error instead of waiting for an answer.
#include "../DesktopHome.h"
#include "common/Netns.h"
#include "common/TestEnv.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>
#include <memory>

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

namespace {

// ann, a desktop copy, and cid, a terminal peer that prints who joins and leaves.
class WatchedLan
{
public:
    WatchedLan()
    {
        m_lab.addLan("end");
        m_lab.addHost("ann");
        m_lab.addHost("cid");
        m_lab.attach("ann", "end", "eth0", "10.74.2.1/24");
        m_lab.attach("cid", "end", "eth0", "10.74.2.2/24");
        writeDesktopSettings(annHome(), "ann", "10.74.2.1");
        writeDesktopSettings(cidHome(), "cid", "10.74.2.2");
        cid.setProcessEnvironment(environment(cidHome()));
        cid.start(QStringLiteral("ip"), {QStringLiteral("netns"), QStringLiteral("exec"),
                                         QString::fromLatin1(m_lab.nsName("cid")),
                                         bin() + QStringLiteral("/src/cli/tolvex-cli")});
    }
    ~WatchedLan()
    {
        for (QProcess *p : {&ann, &cid}) {
            p->closeWriteChannel();
            if (!p->waitForFinished(5000))
                p->kill();
        }
    }
    static QString bin() { return qEnvironmentVariable("TOLVEX_BINARY_DIR"); }
    QString annHome() const { return m_homes.filePath(QStringLiteral("ann")); }
    QString cidHome() const { return m_homes.filePath(QStringLiteral("cid")); }
    /// Starts ann in its namespace: the desktop program itself, or a shell command that
    /// ends by running it ("$0" is the program).
    void startAnn(const QProcessEnvironment &env, const QString &shell = {})
    {
        ann.setProcessEnvironment(env);
        QStringList args = {QStringLiteral("netns"), QStringLiteral("exec"),
                            QString::fromLatin1(m_lab.nsName("ann"))};
        if (!shell.isEmpty())
            args << QStringLiteral("sh") << QStringLiteral("-c") << shell;
        ann.start(QStringLiteral("ip"), args << bin() + QStringLiteral("/src/tolvex"));
    }
    bool waitForCid(const QByteArray &wanted, int timeoutMs)
    {
        return waitForOutput(cid, m_seen, wanted, timeoutMs);
    }
    QByteArray seen() const { return m_seen; }

    QProcess ann;
    QProcess cid;

private:
    testnet::NetLab m_lab;
    QTemporaryDir m_homes;
    QByteArray m_seen;
};

} // namespace

TEST(UnattendedEndTest, AnUnwritableSettingsFileIsToldOnStandardErrorAndTheProgramEnds)
{
    TOLVEX_REQUIRE_NETNS();
    WatchedLan lan;
    // Read-only for root too: the folder is mounted read-only in ann's own mount namespace.
    const QString folder = QFileInfo(desktopSettingsFile(lan.annHome())).path();
    lan.startAnn(environment(lan.annHome()),
                 QStringLiteral("mount --bind -o ro '%1' '%1' && exec \"$0\"").arg(folder));
    ASSERT_TRUE(lan.ann.waitForStarted(5000));
    ASSERT_TRUE(lan.waitForCid("joined: ann", 20000)) << lan.seen().constData();

    ::kill(pid_t(lan.ann.processId()), SIGTERM);
    EXPECT_TRUE(lan.waitForCid("left: ann", 10000)) << lan.seen().constData();
    ASSERT_TRUE(lan.ann.waitForFinished(10000)) << "waits for an answer nobody gives";
    EXPECT_EQ(lan.ann.exitCode(), 1);
    const QByteArray err = lan.ann.readAllStandardError();
    EXPECT_TRUE(err.contains("tolvex: Unable to write to ")) << err.constData();
}

TEST(DisplayLostTest, LeavesTheNetworkAndSavesWhenTheXServerGoes)
{
    TOLVEX_REQUIRE_NETNS();
    if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty()) {
        if (testenv::x11Required())
            FAIL() << "Xvfb is missing";
        GTEST_SKIP() << "Xvfb is missing";
    }
    QString display;
    QProcess xvfb;
    for (int n = 90; n < 120 && display.isEmpty(); ++n) {
        const QString socket = QStringLiteral("/tmp/.X11-unix/X%1").arg(n);
        if (QFile::exists(socket) || QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(n)))
            continue;
        xvfb.start(QStringLiteral("Xvfb"), {QStringLiteral(":%1").arg(n),
                                            QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        xvfb.waitForStarted(5000);
        QElapsedTimer clock;
        clock.start();
        while (!QFile::exists(socket) && clock.elapsed() < 5000 &&
               xvfb.state() == QProcess::Running)
            QThread::msleep(20);
        if (QFile::exists(socket)) {
            display = QStringLiteral(":%1").arg(n);
        } else {
            xvfb.kill();
            xvfb.waitForFinished(2000);
        }
    }
    ASSERT_FALSE(display.isEmpty())
        << "no X server could be started: " << xvfb.readAllStandardError().constData();

    WatchedLan lan;
    QProcessEnvironment env = environment(lan.annHome());
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.insert(QStringLiteral("DISPLAY"), display);
    lan.startAnn(env);
    ASSERT_TRUE(lan.ann.waitForStarted(5000));
    ASSERT_TRUE(lan.waitForCid("joined: ann", 20000))
        << lan.seen().constData() << lan.ann.readAllStandardError().constData();

    // Told to end, the server closes every connection (and takes its socket and lock file
    // along).
    xvfb.terminate();
    xvfb.waitForFinished(5000);
    EXPECT_TRUE(lan.waitForCid("left: ann", 10000)) << lan.seen().constData();
    ASSERT_TRUE(lan.ann.waitForFinished(10000));
    EXPECT_EQ(lan.ann.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(lan.ann.exitCode(), 0);
    const QByteArray err = lan.ann.readAllStandardError();
    EXPECT_TRUE(err.contains("tolvex: the connection to the display was lost")) << err.constData();
    QFile saved(desktopSettingsFile(lan.annHome()));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.readAll().contains("AutoAdd=1")) << "saved at the end";
}
