// The desktop program on weston with its desktop shell, through XWayland and natively, with
// terminal peers in network namespaces. Most cases run weston nested on a private Xvfb so
// that it has a seat: its headless backend has no input devices and no protocol to type
// through, and nothing on it is ever focused (see tests/common/WestonStack.h).
#include "cli/netns/CliCopy.h"
#include "common/Netns.h"
#include "common/TestEnv.h"
#include "common/WestonStack.h"
#include "ui/main/DesktopHome.h"

#include <QThread>
#include <gtest/gtest.h>

namespace {

class WestonCase
{
protected:
    bool prepare(desktop::WestonStack::Input input)
    {
        const QStringList missing = desktop::missingWestonTools();
        if (!missing.isEmpty()) {
            m_missing = "missing: " + missing.join(' ').toStdString();
            return false;
        }
        m_stack = std::make_unique<desktop::WestonStack>(input);
        m_lab.addFlatLan(3);
        return true;
    }

    /// ann on host 1 with the platform given; a fresh home unless settings are wanted.
    bool startDesktop(const char *platform, bool settings)
    {
        if (settings)
            writeDesktopSettings(m_lab.home("1"), "ann", testnet::NetLab::flatAddr(1));
        QProcessEnvironment e = m_stack->environment();
        e.insert(QStringLiteral("HOME"), m_lab.home("1"));
        e.insert(QStringLiteral("QT_QPA_PLATFORM"), QLatin1String(platform));
        return m_desktop.start(QStringLiteral("ip"),
                               m_lab.execArgs("1", QStringList{desktop::Program::desktopProgram()}),
                               e);
    }

    CliCopy &bob()
    {
        if (!m_bob)
            m_bob = std::make_unique<CliCopy>(
                m_lab, "2",
                QStringList{QStringLiteral("--name"), QStringLiteral("bob"),
                            QStringLiteral("--channel"), QStringLiteral("Main"),
                            QStringLiteral("--interface"),
                            QString::fromLatin1(testnet::NetLab::flatAddr(2))});
        return *m_bob;
    }

    /// Up: listed by bob, which a copy is only once its first-run window is closed.
    bool online(CliCopy &peer)
    {
        return peer.waitFor([&] { return !peer.users().isEmpty(); }, 20000);
    }

    std::string m_missing;
    std::unique_ptr<desktop::WestonStack> m_stack;
    testnet::NetLab m_lab;
    desktop::Process m_desktop;
    desktop::Process m_other;
    std::unique_ptr<CliCopy> m_bob;
};

#define TOLVEX_REQUIRE_WESTON(input)                                                               \
    do {                                                                                           \
        TOLVEX_REQUIRE_NETNS();                                                                    \
        if (!prepare(input)) {                                                                     \
            if (testenv::x11Required())                                                            \
                FAIL() << m_missing;                                                               \
            GTEST_SKIP() << m_missing;                                                             \
        }                                                                                          \
        ASSERT_TRUE(m_stack->start()) << m_stack->failure().toStdString();                         \
    } while (0)

class WestonTest : public ::testing::TestWithParam<const char *>, protected WestonCase
{
protected:
    void SetUp() override { TOLVEX_REQUIRE_WESTON(desktop::WestonStack::Input::Seat); }
    bool xcb() const { return QLatin1String(GetParam()) == QLatin1String("xcb"); }
};

class WestonHeadlessTest : public ::testing::Test, protected WestonCase
{
protected:
    void SetUp() override { TOLVEX_REQUIRE_WESTON(desktop::WestonStack::Input::None); }
};

// A fresh home: the about window opens by itself, the shell lives on, Enter closes the window
// and the program goes on line.
TEST_P(WestonTest, FirstStartShowsTheAboutWindowAndEnterClosesIt)
{
    CliCopy &peer = bob();
    ASSERT_TRUE(startDesktop(GetParam(), false));
    if (xcb()) {
        ASSERT_TRUE(desktop::waitUntil(
            [&] {
                return !m_stack->running() || m_stack->activeName() == QLatin1String("About...");
            },
            20000))
            << m_stack->xWindowNames().join(' ').toStdString() << m_desktop.errors().constData();
    } else {
        QThread::msleep(3000); // weston names no native windows: give the window its time
    }
    QThread::msleep(500); // shown is not yet drawn
    desktop::DesktopStack::saveShot(m_stack->screenshot(), {},
                                    QStringLiteral("weston-first-start-") + GetParam());
    ASSERT_TRUE(m_stack->running()) << m_stack->log().right(3000).constData();
    EXPECT_TRUE(m_desktop.running()) << m_desktop.errors().constData();
    EXPECT_TRUE(peer.users().isEmpty()) << "on line while the about window is open";

    m_stack->key(QStringLiteral("Return"));
    EXPECT_TRUE(online(peer)) << m_desktop.errors().constData();
    if (xcb()) {
        EXPECT_FALSE(m_stack->xWindowNames().contains(QStringLiteral("About...")));
    }
    EXPECT_TRUE(m_stack->running()) << m_stack->log().right(3000).constData();
}

// The user types in another program while bob writes: none of it may reach bob. The other
// program is an X client through XWayland, since weston tells which window it activated only
// for those.
TEST_P(WestonTest, AMessageNeverTakesTheKeyboardFromAnotherProgram)
{
    CliCopy &peer = bob();
    ASSERT_TRUE(startDesktop(GetParam(), true));
    ASSERT_TRUE(peer.waitFor([&] { return peer.users().contains("ann"); }, 20000))
        << m_desktop.errors().constData();
    ASSERT_TRUE(m_other.start(
        QStringLiteral("xmessage"),
        {QStringLiteral("-title"), QStringLiteral("terminal"), QStringLiteral("type here")},
        m_stack->environment()));
    ASSERT_TRUE(desktop::waitUntil(
        [&] { return m_stack->activeName() == QLatin1String("terminal"); }, 20000))
        << m_stack->activeName().toStdString();

    m_stack->type(QStringLiteral("ls "));
    peer.send("/to ann");
    peer.send("got a minute?");
    QThread::msleep(2000);
    m_stack->type(QStringLiteral("-la /root/secret-dir"));
    m_stack->key(QStringLiteral("Return"));
    QThread::msleep(1500);
    EXPECT_EQ(m_stack->activeName(), QStringLiteral("terminal")) << m_desktop.errors().constData();
    for (const QByteArray &line : peer.lines())
        EXPECT_FALSE(line.contains("secret-dir")) << line.constData();
    EXPECT_TRUE(m_stack->running());
}

// Through XWayland weston keeps the places the program asks for, and reports them: a
// message while the user works in the program opens the chat window beside the main window,
// on screen. (Weston offers no way to put the main window at an edge first: it ignores
// moves asked by others; the unit tests of PlaceBeside cover the edges.)
class WestonPlacementTest : public WestonTest
{};

TEST_P(WestonPlacementTest, TheChatWindowOpensOnScreenBesideTheMainWindow)
{
    CliCopy &peer = bob();
    ASSERT_TRUE(startDesktop(GetParam(), true));
    ASSERT_TRUE(peer.waitFor([&] { return peer.users().contains("ann"); }, 20000));
    ASSERT_TRUE(desktop::waitUntil([&] { return m_stack->activeName() == QLatin1String("Tolvex"); },
                                   20000));
    const QByteArray main =
        m_stack->x(QStringLiteral("xdotool"), {"search", "--onlyvisible", "--name", "^Tolvex$"})
            .trimmed();

    peer.send("/to ann");
    peer.send("hello there");
    QByteArray chat;
    ASSERT_TRUE(desktop::waitUntil(
        [&] {
            chat =
                m_stack
                    ->x(QStringLiteral("xdotool"), {"search", "--onlyvisible", "--name", "^bob$"})
                    .trimmed();
            return !chat.isEmpty();
        },
        20000));
    QThread::msleep(500);
    const QRect frame = m_stack->xGeometry(chat);
    desktop::DesktopStack::saveShot(m_stack->screenshot(), {},
                                    QStringLiteral("weston-chat-beside-main"));
    EXPECT_TRUE(QRect(QPoint(0, 0), m_stack->outputSize()).contains(frame))
        << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height();
    const QRect mainFrame = m_stack->xGeometry(main);
    EXPECT_FALSE(frame.intersects(mainFrame));
    EXPECT_EQ(frame.top(), mainFrame.top());
}

INSTANTIATE_TEST_SUITE_P(Platforms, WestonTest, ::testing::Values("xcb", "wayland"),
                         [](const auto &info) { return std::string(info.param); });
// Weston tells no places of native windows.
INSTANTIATE_TEST_SUITE_P(Platforms, WestonPlacementTest, ::testing::Values("xcb"),
                         [](const auto &info) { return std::string(info.param); });

// The case the shell crashed on: headless, as a session without input starts.
TEST_F(WestonHeadlessTest, FirstStartLeavesTheShellRunning)
{
    ASSERT_TRUE(startDesktop("xcb", false));
    ASSERT_TRUE(desktop::waitUntil(
        [&] {
            return !m_stack->running() ||
                   m_stack->xWindowNames().contains(QStringLiteral("About..."));
        },
        20000))
        << m_stack->xWindowNames().join(' ').toStdString() << m_desktop.errors().constData();
    QThread::msleep(2000);
    EXPECT_TRUE(m_stack->running()) << m_stack->log().right(3000).constData();
    EXPECT_TRUE(m_desktop.running()) << m_desktop.errors().constData();
}

} // namespace
