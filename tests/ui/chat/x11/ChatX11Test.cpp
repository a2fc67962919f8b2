// The chat window's tests again, on a real X server (Xvfb) instead of the offscreen platform:
// there, moving and resizing go through the window system, whose answers come back as events.
#include "common/DesktopStack.h"
#include "common/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

TEST(ChatX11, WindowTestsPassOnARealXServer)
{
    TOLVEX_REQUIRE_DESKTOP(false, false, false);
    const QString tests =
        QDir(qEnvironmentVariable("TOLVEX_BINARY_DIR")).filePath("tests/ui/chat/ui_chat_tests");
    ASSERT_TRUE(QFile::exists(tests)) << tests.toStdString();

    // A bare X server: the window tests expect no window manager.
    desktop::DesktopStack::Options bare;
    bare.screen = QSize(1280, 1024);
    bare.windowManager = bare.panel = bare.accessibility = false;
    desktop::DesktopStack server(bare);
    ASSERT_TRUE(server.start()) << server.failure().toStdString();

    QProcess child;
    child.setProcessEnvironment(server.environment());
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(tests, {QStringLiteral("--gtest_filter=ChatFormTest.*:ChatPicture.*")});
    const bool finished = child.waitForFinished(200000);
    const QByteArray output = child.readAll();
    server.stop();
    ASSERT_TRUE(finished) << output.constData();
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit) << output.constData();
    EXPECT_EQ(child.exitCode(), 0) << output.constData();
    EXPECT_TRUE(output.contains("[  PASSED  ]") && !output.contains("[  SKIPPED ]"))
        << output.constData();
}

} // namespace
