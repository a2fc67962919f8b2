// The desktop program on sway, natively and through XWayland, with terminal peers in network
// namespaces: the compositor focuses every new window, which the program must not let take
// the keyboard from the user.
#include "cli/netns/CliCopy.h"
#include "common/Netns.h"
#include "common/TestEnv.h"
#include "common/WaylandStack.h"
#include "ui/main/DesktopHome.h"

#include <QJsonArray>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

namespace {

class SwayTest : public ::testing::TestWithParam<const char *>
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
        m_lab.addFlatLan(3);
    }

    /// ann on host 1, with the given additions to the desktop's environment.
    bool startDesktop(const QList<QPair<QString, QString>> &env)
    {
        writeDesktopSettings(m_lab.home("1"), "ann", testnet::NetLab::flatAddr(1));
        QProcessEnvironment e = m_stack.environment();
        e.insert(QStringLiteral("HOME"), m_lab.home("1"));
        for (const auto &[key, value] : env)
            e.insert(key, value);
        return m_desktop.start(QStringLiteral("ip"),
                               m_lab.execArgs("1", QStringList{desktop::Program::desktopProgram()}),
                               e);
    }

    bool windowCame(const QString &name)
    {
        return desktop::waitUntil([&] { return m_stack.windowNames().contains(name); }, 20000);
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

    desktop::WaylandStack m_stack;
    testnet::NetLab m_lab;
    desktop::Process m_desktop;
    desktop::Process m_terminal;
    std::unique_ptr<CliCopy> m_bob;
};

// The user types in a terminal while bob writes: none of it may reach bob.
TEST_P(SwayTest, AMessageNeverTakesTheKeyboardFromAnotherProgram)
{
    CliCopy &peer = bob();
    ASSERT_TRUE(startDesktop({{QStringLiteral("QT_QPA_PLATFORM"), QLatin1String(GetParam())}}));
    ASSERT_TRUE(windowCame(QStringLiteral("Tolvex"))) << m_desktop.errors().constData();
    ASSERT_TRUE(peer.waitFor([&] { return peer.users().contains("ann"); }, 20000));
    // A terminal stand-in that echoes what it is given and runs nothing.
    QProcessEnvironment env = m_stack.environment();
    env.remove(QStringLiteral("DISPLAY"));
    ASSERT_TRUE(m_terminal.start(QStringLiteral("foot"),
                                 {QStringLiteral("--title=terminal"), QStringLiteral("cat")}, env));
    ASSERT_TRUE(desktop::waitUntil(
        [&] { return m_stack.focusedName() == QLatin1String("terminal"); }, 20000))
        << m_stack.focusedName().toStdString();

    m_stack.type(QStringLiteral("ls "));
    peer.send("/to ann");
    peer.send("got a minute?");
    QThread::msleep(2000);
    m_stack.type(QStringLiteral("-la /root/secret-dir"));
    m_stack.key(QStringLiteral("Return"));
    QThread::msleep(1500);
    EXPECT_EQ(m_stack.focusedName(), QStringLiteral("terminal"));
    for (const QByteArray &line : peer.lines())
        EXPECT_FALSE(line.contains("secret-dir")) << line.constData();
}

// Natively and through XWayland: the rule that keeps the window hidden is the same.
INSTANTIATE_TEST_SUITE_P(Platforms, SwayTest, ::testing::Values("wayland", "xcb"),
                         [](const auto &info) { return std::string(info.param); });

// XWayland gone (the X display does not answer) and the Wayland display working: the program
// starts there instead of refusing.
TEST_F(SwayTest, StartsOnWaylandWhenTheXDisplayDoesNotAnswer)
{
    ASSERT_TRUE(startDesktop({{QStringLiteral("DISPLAY"), QStringLiteral(":4999")}}));
    EXPECT_TRUE(windowCame(QStringLiteral("Tolvex"))) << m_desktop.errors().constData();
}

} // namespace

namespace {

// The windows of that name in sway's tree, with whether they float.
QList<QPair<QJsonObject, bool>> swayWindows(const QJsonObject &node, const QString &name,
                                            bool floating = false)
{
    QList<QPair<QJsonObject, bool>> found;
    if (node.value(QLatin1String("name")).toString() == name && node.contains(QLatin1String("pid")))
        found.append({node, floating});
    for (const QJsonValue &child : node.value(QLatin1String("nodes")).toArray())
        found += swayWindows(child.toObject(), name, floating);
    for (const QJsonValue &child : node.value(QLatin1String("floating_nodes")).toArray())
        found += swayWindows(child.toObject(), name, true);
    return found;
}

// The focused window, floating or tiled.
QString focusedWindow(const QJsonObject &node)
{
    if (node.value(QLatin1String("focused")).toBool() && node.contains(QLatin1String("pid")))
        return node.value(QLatin1String("name")).toString();
    for (const char *children : {"nodes", "floating_nodes"})
        for (const QJsonValue &child : node.value(QLatin1String(children)).toArray()) {
            const QString name = focusedWindow(child.toObject());
            if (!name.isEmpty())
                return name;
        }
    return {};
}

// Keys through one virtual keyboard, 50 ms apart. Each wtype brings a keyboard with a keymap
// of only its keys, and the program may still read a key by the keymap before: calls that
// share their first keys (Tab, then Escape) read the same either way.
void keys(const desktop::WaylandStack &stack, const QStringList &names)
{
    QStringList args{QStringLiteral("-d"), QStringLiteral("50")};
    for (const QString &name : names)
        args << QStringLiteral("-k") << name;
    args << QStringLiteral("-s") << QStringLiteral("200");
    QProcess p;
    p.setProcessEnvironment(stack.environment());
    p.start(QStringLiteral("wtype"), args);
    p.waitForFinished(10000);
}

QRect rectOf(const QJsonObject &node)
{
    const QJsonObject r = node.value(QLatin1String("rect")).toObject();
    return {r.value(QLatin1String("x")).toInt(), r.value(QLatin1String("y")).toInt(),
            r.value(QLatin1String("width")).toInt(), r.value(QLatin1String("height")).toInt()};
}

// On a tiling compositor both windows float, on screen and without the compositor's title
// bar over their own; without a tray the minimise button folds the main window to its bottom
// bar, and the same button brings it back.
TEST_F(SwayTest, OnATilingCompositorTheWindowsFloatAndMinimiseLeavesAWayBack)
{
    CliCopy &peer = bob();
    ASSERT_TRUE(startDesktop({{QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland")}}));
    ASSERT_TRUE(windowCame(QStringLiteral("Tolvex"))) << m_desktop.errors().constData();
    ASSERT_TRUE(peer.waitFor([&] { return peer.users().contains("ann"); }, 20000));
    ASSERT_TRUE(
        desktop::waitUntil([&] { return focusedWindow(m_stack.tree()) == "Tolvex"; }, 10000))
        << focusedWindow(m_stack.tree()).toStdString();
    peer.send("/to ann");
    peer.send("hello");
    ASSERT_TRUE(windowCame(QStringLiteral("bob"))) << m_desktop.errors().constData();
    QThread::msleep(500);

    const QJsonObject tree = m_stack.tree();
    const QRect output = rectOf(tree);
    for (const char *name : {"Tolvex", "bob"}) {
        const auto windows = swayWindows(tree, QLatin1String(name));
        ASSERT_EQ(windows.size(), 1) << name;
        const auto &[node, floating] = windows.first();
        EXPECT_TRUE(floating) << name;
        EXPECT_EQ(node.value(QLatin1String("border")).toString(), QStringLiteral("csd")) << name;
        EXPECT_TRUE(output.contains(rectOf(node))) << name;
    }

    // Escape on the bottom bar minimises; Tab goes round the list, the channel box and the
    // bottom bar, wherever the focus was left.
    m_stack.swaymsg({QStringLiteral("[title=\"^Tolvex$\"] focus")});
    ASSERT_TRUE(
        desktop::waitUntil([&] { return focusedWindow(m_stack.tree()) == "Tolvex"; }, 10000));
    const auto mainHeight = [&] {
        const auto windows = swayWindows(m_stack.tree(), QStringLiteral("Tolvex"));
        return windows.isEmpty() ? -1 : rectOf(windows.first().first).height();
    };
    bool folded = false;
    for (int tab = 0; tab < 3 && !folded; ++tab) {
        keys(m_stack, {QStringLiteral("Tab"), QStringLiteral("Escape")});
        folded = desktop::waitUntil([&] { return mainHeight() == 24; }, 1500);
    }
    EXPECT_TRUE(folded) << mainHeight() << m_desktop.errors().constData();
    EXPECT_TRUE(m_stack.windowNames().contains(QStringLiteral("Tolvex")));
    // Folded, Tab goes between the channel box and the bottom bar. A key is sent again only
    // when nothing came of it.
    bool unfolded = false;
    for (int attempt = 0; attempt < 3 && !unfolded; ++attempt) {
        keys(m_stack, {QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("Escape")});
        unfolded = desktop::waitUntil([&] { return mainHeight() == 180; }, 1500);
    }
    EXPECT_TRUE(unfolded) << mainHeight() << focusedWindow(m_stack.tree()).toStdString()
                          << m_desktop.errors().constData();
}

} // namespace
