// The tray component against a real notification area: an X server (Xvfb) with a system tray
// (trayer). The application object of a test run is made before any test starts, on the
// platform the environment names, so the test runs this executable a second time on the X
// server; that child run does the checking and starts and stops the tray itself. The child's
// test exists only in the child run, so it never shows up as a test of its own.
#include "common/DesktopStack.h"
#include "common/TestEnv.h"
#include "ui/components/TrayFlight.h"
#include "ui/components/TrayHost.h"
#include "ui/components/TrayVis.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

constexpr const char *ChildMarker = "TOLVEX_TRAY_X11_CHILD";

bool flightShown()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::any_of(windows.begin(), windows.end(),
                       [](QWidget *w) { return qobject_cast<TrayFlight *>(w) && w->isVisible(); });
}

// A helper program, stopped when the object goes.
class Helper
{
public:
    ~Helper() { stop(); }
    bool start(const QString &program, const QString &arguments)
    {
        m_process.start(program, arguments.split(QLatin1Char(' ')));
        return m_process.waitForStarted();
    }
    bool running() const { return m_process.state() == QProcess::Running; }
    void stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(3000))
            m_process.kill();
        m_process.waitForFinished(3000);
    }

private:
    QProcess m_process;
};

void startTrayer(Helper &trayer)
{
    trayer.start(QStringLiteral("trayer"),
                 QStringLiteral("--edge bottom --align right --widthtype pixel --width 120 "
                                "--height 24"));
}

// Runs only as the child, on the X server the parent started.
class TrayVisX11Child final : public ::testing::Test
{
public:
    void TestBody() override;
};

[[maybe_unused]] const bool childRegistered = [] {
    if (qEnvironmentVariableIsSet(ChildMarker)) {
        ::testing::RegisterTest("TrayVisX11Child", "HidesRestoresAndSurvivesATrayRestart", nullptr,
                                nullptr, __FILE__, __LINE__,
                                []() -> ::testing::Test * { return new TrayVisX11Child; });
    }
    return true;
}();

void TrayVisX11Child::TestBody()
{
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));

    Helper trayer;
    startTrayer(trayer);
    TrayHost probe;
    ASSERT_TRUE(QTest::qWaitFor([&] { return probe.available(); }, 10000));

    QWidget form;
    form.setGeometry(100, 100, 240, 120);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    TTrayVis tray(&form);
    int hidden = 0;
    int restored = 0;
    tray.OnTrayicon = [&](TTrayVis *) { ++hidden; };
    tray.OnTrayRestore = [&](TTrayVis *) { ++restored; };
    tray.Trayicon().SetToolTip(QStringLiteral("Tolvex, click to restore"));
    tray.Trayicon().SetAlwaysActive(true);
    QSystemTrayIcon *icon = tray.Trayicon().SystemIcon();
    ASSERT_NE(icon, nullptr);
    const auto iconPlaced = [&] { return !tray.Host().iconGeometry(*icon).isEmpty(); };
    ASSERT_TRUE(QTest::qWaitFor(iconPlaced, 10000)) << "the tray never embedded the icon";

    tray.MinimizeToTray();
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(flightShown()) << "the icon's place is known, so the frame flies";
    EXPECT_TRUE(QTest::qWaitFor([] { return !flightShown(); }, 3000));
    tray.RestoreFromTray();
    EXPECT_TRUE(form.isVisible());

    // The tray goes away while the form hides in it: the form comes back minimised.
    tray.MinimizeToTray();
    trayer.stop();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !probe.available(); }, 10000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !iconPlaced(); }, 5000));
    tray.CheckTrayHost();
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(form.isMinimized());

    // A new tray gets the icon again, with its tooltip.
    startTrayer(trayer);
    ASSERT_TRUE(QTest::qWaitFor([&] { return probe.available(); }, 10000));
    tray.CheckTrayHost();
    EXPECT_TRUE(QTest::qWaitFor(iconPlaced, 10000)) << "the icon did not come back";
    EXPECT_EQ(icon->toolTip(), QStringLiteral("Tolvex, click to restore"));

    tray.RestoreFromTray();
    EXPECT_FALSE(form.isMinimized());
    EXPECT_EQ(hidden, 2);
    EXPECT_EQ(restored, 2);
}

TEST(TrayVisX11, RealNotificationArea)
{
    TOLVEX_REQUIRE_DESKTOP(false, false, false);
    if (QStandardPaths::findExecutable(QStringLiteral("trayer")).isEmpty()) {
        if (testenv::x11Required())
            FAIL() << "missing: trayer";
        GTEST_SKIP() << "missing: trayer";
    }

    // A bare X server; the child starts and stops the notification area itself.
    desktop::DesktopStack::Options bare;
    bare.windowManager = bare.panel = bare.accessibility = false;
    desktop::DesktopStack server(bare);
    ASSERT_TRUE(server.start()) << server.failure().toStdString();

    QProcessEnvironment env = server.environment();
    env.insert(QString::fromLatin1(ChildMarker), QStringLiteral("1"));
    // Without a session bus Qt talks to the tray over X, which is what trayer offers.
    env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=TrayVisX11Child.*")});
    ASSERT_TRUE(child.waitForFinished(120000));
    const QByteArray output = child.readAll();
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit) << output.constData();
    EXPECT_EQ(child.exitCode(), 0) << output.constData();
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.constData();
}

} // namespace
