// The chat window's tests again, on a real X server (Xvfb) instead of the offscreen platform:
// there, moving and resizing go through the window system, whose answers come back as events.
#include "common/TestEnv.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Starts Xvfb on a display number nobody uses; returns the display, empty on failure.
QString startXServer(QProcess &server)
{
    for (int n = 130 + int(QCoreApplication::applicationPid() % 20); n < 190; ++n) {
        if (QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(n)))
            continue;
        const QString display = QStringLiteral(":%1").arg(n);
        server.start(QStringLiteral("Xvfb"), {display, QStringLiteral("-screen"),
                                              QStringLiteral("0"), QStringLiteral("1280x1024x24"),
                                              QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        const QString socket = QStringLiteral("/tmp/.X11-unix/X%1").arg(n);
        // Loses the race for the number when another server took it meanwhile.
        if (QTest::qWaitFor(
                [&] { return QFile::exists(socket) || server.state() == QProcess::NotRunning; },
                5000) &&
            server.state() == QProcess::Running)
            return display;
        server.kill();
        server.waitForFinished(3000);
    }
    return {};
}

TEST(ChatX11, WindowTestsPassOnARealXServer)
{
    if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty()) {
        if (testenv::x11Required())
            FAIL() << "missing: Xvfb";
        GTEST_SKIP() << "missing: Xvfb";
    }
    const QString tests =
        QDir(qEnvironmentVariable("TOLVEX_BINARY_DIR")).filePath("tests/ui/chat/ui_chat_tests");
    ASSERT_TRUE(QFile::exists(tests)) << tests.toStdString();

    QProcess server;
    const QString display = startXServer(server);
    ASSERT_FALSE(display.isEmpty()) << "Xvfb did not start";

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(tests, {QStringLiteral("--gtest_filter=ChatFormTest.*:ChatPicture.*")});
    const bool finished = child.waitForFinished(200000);
    const QByteArray output = child.readAll();
    server.terminate();
    server.waitForFinished(3000);
    ASSERT_TRUE(finished) << output.constData();
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit) << output.constData();
    EXPECT_EQ(child.exitCode(), 0) << output.constData();
    EXPECT_TRUE(output.contains("[  PASSED  ]") && !output.contains("[  SKIPPED ]"))
        << output.constData();
}

} // namespace
