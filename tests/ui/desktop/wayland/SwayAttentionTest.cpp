// How a message reaches a user who is not at the chat window on sway, natively: the desktop
// notice (mako on the session bus), the compositor's urgency mark, and the tray menu drawn as a
// menu. A peer writes from another network namespace.
#include "cli/netns/CliCopy.h"
#include "common/Netns.h"
#include "common/TestEnv.h"
#include "common/WaylandStack.h"
#include "ui/main/DesktopHome.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QThread>
#include <functional>
#include <gtest/gtest.h>

namespace {

QString field(const QJsonValue &notice, const char *name)
{
    return notice.toObject()
        .value(QLatin1String(name))
        .toObject()
        .value("data")
        .toVariant()
        .toString();
}

void walk(const QJsonObject &node, const std::function<void(const QJsonObject &)> &visit)
{
    visit(node);
    for (const char *children : {"nodes", "floating_nodes"})
        for (const QJsonValue &child : node.value(QLatin1String(children)).toArray())
            walk(child.toObject(), visit);
}

class SwayAttentionTest : public ::testing::Test
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
        ASSERT_TRUE(m_stack.start(true)) << m_stack.failure().toStdString();
        m_lab.addFlatLan(2);
        writeDesktopSettings(m_lab.home("1"), "ann", testnet::NetLab::flatAddr(1));
        QProcessEnvironment env = m_stack.environment();
        env.insert(QStringLiteral("HOME"), m_lab.home("1"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
        m_bob = std::make_unique<CliCopy>(
            m_lab, "2",
            QStringList{QStringLiteral("--name"), QStringLiteral("bob"),
                        QStringLiteral("--channel"), QStringLiteral("Main"),
                        QStringLiteral("--interface"),
                        QString::fromLatin1(testnet::NetLab::flatAddr(2))});
        ASSERT_TRUE(m_desktop.start(
            QStringLiteral("ip"),
            m_lab.execArgs("1", QStringList{desktop::Program::desktopProgram()}), env));
        ASSERT_TRUE(desktop::waitUntil(
            [&] { return m_stack.windowNames().contains(QStringLiteral("Tolvex")); }, 20000))
            << m_desktop.errors().constData();
        ASSERT_TRUE(m_bob->waitFor([&] { return m_bob->users().contains("ann"); }, 20000));
        // The user works in another program.
        env = m_stack.environment();
        env.remove(QStringLiteral("DISPLAY"));
        ASSERT_TRUE(m_terminal.start(QStringLiteral("foot"),
                                     {QStringLiteral("--title=terminal"), QStringLiteral("cat")},
                                     env));
        ASSERT_TRUE(desktop::waitUntil(
            [&] { return m_stack.focusedName() == QLatin1String("terminal"); }, 20000));
        // The tree shows the new focus before the program has handled the compositor's word
        // that the keyboard left it; a message in between would find the user still there.
        QThread::msleep(1000);
    }

    void write(const QByteArray &text)
    {
        m_bob->send("/to ann");
        m_bob->send(text);
    }

    /// The chat window's node in the compositor's tree (its title names bob).
    QJsonObject chatWindow() const
    {
        QJsonObject found;
        walk(m_stack.tree(), [&](const QJsonObject &node) {
            if (node.contains(QLatin1String("pid")) &&
                node.value(QLatin1String("name")).toString().contains(QLatin1String("bob")))
                found = node;
        });
        return found;
    }

    bool noticeSays(const QString &body)
    {
        return desktop::waitUntil(
            [&] {
                const QJsonArray notices = m_stack.notices();
                return notices.size() == 1 && field(notices.at(0), "body") == body;
            },
            15000);
    }

    desktop::WaylandStack m_stack;
    testnet::NetLab m_lab;
    desktop::Process m_desktop;
    desktop::Process m_terminal;
    std::unique_ptr<CliCopy> m_bob;
};

// The chat window stays closed (a compositor that focuses new windows would give it the
// keyboard): the notice names sender and text, its markup escaped, a second message replaces
// the first, and a click on it opens the chat window.
TEST_F(SwayAttentionTest, ANoticeTellsOfAMessageAndOpensTheChatWindow)
{
    write("<b>hi</b> & more");
    ASSERT_TRUE(noticeSays(QStringLiteral("bob: &lt;b&gt;hi&lt;/b&gt; &amp; more")))
        << QJsonDocument(m_stack.notices()).toJson().constData();
    EXPECT_EQ(field(m_stack.notices().at(0), "app-name"), QStringLiteral("Tolvex"));
    EXPECT_TRUE(chatWindow().isEmpty());

    write("second");
    EXPECT_TRUE(noticeSays(QStringLiteral("bob: second")))
        << QJsonDocument(m_stack.notices()).toJson().constData();

    m_stack.invokeNotice();
    EXPECT_TRUE(desktop::waitUntil([&] { return !chatWindow().isEmpty(); }, 15000))
        << m_stack.windowNames().join(' ').toStdString();
}

// The chat window is open and the user has gone back to the terminal: the compositor marks
// the window urgent, and the keyboard stays in the terminal.
TEST_F(SwayAttentionTest, AMessageMarksTheOpenChatWindowUrgent)
{
    write("first");
    ASSERT_TRUE(noticeSays(QStringLiteral("bob: first")));
    m_stack.invokeNotice();
    ASSERT_TRUE(desktop::waitUntil([&] { return !chatWindow().isEmpty(); }, 15000));
    m_stack.swaymsg({QStringLiteral("[title=\"^terminal$\"]"), QStringLiteral("focus")});
    ASSERT_TRUE(desktop::waitUntil(
        [&] { return m_stack.focusedName() == QLatin1String("terminal"); }, 10000));
    EXPECT_FALSE(chatWindow().value(QLatin1String("urgent")).toBool());

    write("are you there?");
    EXPECT_TRUE(desktop::waitUntil(
        [&] { return chatWindow().value(QLatin1String("urgent")).toBool(); }, 10000));
    EXPECT_EQ(m_stack.focusedName(), QStringLiteral("terminal"));
}

// A right click on the program's icon in swaybar's tray (the bar's call to the item, made
// by the test: the headless seat has no pointer) while the user is in the terminal: no menu
// window of its own appears in the compositor's tree; the main window comes forward instead.
TEST_F(SwayAttentionTest, TheTrayMenuNeverBecomesAWindowOfItsOwn)
{
    ASSERT_TRUE(desktop::waitUntil([&] { return !m_stack.trayItem().isEmpty(); }, 15000));
    m_stack.trayContextMenu(1014, 10);
    QThread::msleep(1000);
    EXPECT_FALSE(m_stack.windowNames().contains(QStringLiteral("Program menu")))
        << m_stack.windowNames().join(' ').toStdString();
    desktop::DesktopStack::saveShot(m_stack.screenshot(), {},
                                    QStringLiteral("wayland-sway-tray-right-click"));
}

} // namespace
