// The desktop program on sway at the output scales users pick (1, 1.5, 2): on a scaled
// screen it runs natively by itself (through XWayland it would be drawn at 1 and stretched),
// and its windows are saved to build/screenshots/ to be looked at.
#include "cli/netns/CliCopy.h"
#include "common/Netns.h"
#include "common/TestEnv.h"
#include "common/WaylandStack.h"
#include "ui/main/DesktopHome.h"

#include <QJsonArray>
#include <QThread>
#include <functional>
#include <gtest/gtest.h>

namespace {

QJsonObject windowNamed(const QJsonObject &node, const QString &name)
{
    if (node.contains(QLatin1String("pid")) &&
        node.value(QLatin1String("name")).toString().contains(name))
        return node;
    for (const char *children : {"nodes", "floating_nodes"})
        for (const QJsonValue &child : node.value(QLatin1String(children)).toArray()) {
            const QJsonObject found = windowNamed(child.toObject(), name);
            if (!found.isEmpty())
                return found;
        }
    return {};
}

class SwayScaleTest : public ::testing::TestWithParam<const char *>
{
protected:
    void SetUp() override
    {
        TOLVEX_REQUIRE_NETNS();
        const QStringList missing = desktop::missingWaylandTools();
        if (!missing.isEmpty()) {
            if (testenv::x11Required())
                FAIL() << "missing: " << missing.join(' ').toStdString();
            GTEST_SKIP() << "missing: " << missing.join(' ').toStdString();
        }
        ASSERT_TRUE(m_stack.start()) << m_stack.failure().toStdString();
        m_stack.swaymsg({QStringLiteral("output"), QStringLiteral("HEADLESS-1"),
                         QStringLiteral("scale"), QLatin1String(GetParam())});
        m_lab.addFlatLan(2);
    }

    /// ann on host 1; a fresh home (no settings) opens the about window first.
    bool startDesktop(bool settings)
    {
        if (settings)
            writeDesktopSettings(m_lab.home("1"), "ann", testnet::NetLab::flatAddr(1));
        QProcessEnvironment env = m_stack.environment();
        env.insert(QStringLiteral("HOME"), m_lab.home("1"));
        return m_desktop.start(QStringLiteral("ip"),
                               m_lab.execArgs("1", QStringList{desktop::Program::desktopProgram()}),
                               env);
    }

    QJsonObject waitForWindow(const QString &name)
    {
        QJsonObject node;
        desktop::waitUntil(
            [&] {
                node = windowNamed(m_stack.tree(), name);
                return !node.isEmpty();
            },
            20000);
        // Drawn once the compositor has its first frame; a moment more for the picture.
        QThread::msleep(700);
        return node;
    }

    /// The window's part of the screen, in pixels of the scaled output.
    void shoot(const QJsonObject &window, const QString &what)
    {
        const double scale = QString::fromLatin1(GetParam()).toDouble();
        const QJsonObject rect = window.value(QLatin1String("rect")).toObject();
        const QRect area(qRound(rect.value("x").toInt() * scale),
                         qRound(rect.value("y").toInt() * scale),
                         qRound(rect.value("width").toInt() * scale),
                         qRound(rect.value("height").toInt() * scale));
        desktop::DesktopStack::saveShot(m_stack.screenshot(), area,
                                        QStringLiteral("wayland-sway-%1-%2").arg(what, GetParam()));
    }

    desktop::WaylandStack m_stack;
    testnet::NetLab m_lab;
    desktop::Process m_desktop;
};

// First start: the about window, then the main window and a chat window opened by a message
// while the user is in the program. Natively at every scale: sway scales sharply there and
// takes attention requests.
TEST_P(SwayScaleTest, RunsNativelyWhenScaledAndShowsItsWindows)
{
    ASSERT_TRUE(startDesktop(false));
    const QJsonObject about = waitForWindow(QStringLiteral("About"));
    ASSERT_FALSE(about.isEmpty()) << m_stack.windowNames().join(' ').toStdString()
                                  << m_desktop.errors().constData();
    EXPECT_EQ(about.value(QLatin1String("shell")).toString(), QStringLiteral("xdg_shell"));
    shoot(about, QStringLiteral("about"));
    m_desktop.stop();
    ASSERT_TRUE(desktop::waitUntil([&] { return m_stack.windowNames().isEmpty(); }, 10000));

    CliCopy bob(m_lab, "2",
                {QStringLiteral("--name"), QStringLiteral("bob"), QStringLiteral("--channel"),
                 QStringLiteral("Main"), QStringLiteral("--interface"),
                 QString::fromLatin1(testnet::NetLab::flatAddr(2))});
    ASSERT_TRUE(startDesktop(true));
    const QJsonObject main = waitForWindow(QStringLiteral("Tolvex"));
    ASSERT_FALSE(main.isEmpty()) << m_desktop.errors().constData();
    EXPECT_EQ(main.value(QLatin1String("shell")).toString(), QStringLiteral("xdg_shell"));
    ASSERT_TRUE(bob.waitFor([&] { return bob.users().contains("ann"); }, 20000));
    shoot(waitForWindow(QStringLiteral("Tolvex")), QStringLiteral("main"));

    bob.send("/to ann");
    bob.send("hello at this scale");
    const QJsonObject chat = waitForWindow(QStringLiteral("bob"));
    ASSERT_FALSE(chat.isEmpty()) << m_stack.windowNames().join(' ').toStdString();
    shoot(chat, QStringLiteral("chat"));
}

INSTANTIATE_TEST_SUITE_P(Scales, SwayScaleTest, ::testing::Values("1", "1.5", "2"),
                         [](const auto &info) {
                             return QString::fromLatin1(info.param)
                                 .replace(QLatin1Char('.'), QLatin1Char('_'))
                                 .toStdString();
                         });

} // namespace
