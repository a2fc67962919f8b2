#pragma once

// The user-level suite: the desktop program on a desktop stack (X server, window manager,
// panel, accessibility bus), in network namespaces with terminal peers. One stack and one
// lab per test; the cases drive the program only through the X server and the
// accessibility tree.
//
//     class MyTest : public DesktopSuite {};
//     TEST_F(MyTest, Something) {
//         startDesktop();                     // "ann" on host 1, on the stack's display
//         CliCopy &bob = peer("bob");         // a terminal peer on host 2
//         const WId main = mainWindow();      // waits until ann lists bob
//         ...
//     }

#include "cli/netns/CliCopy.h"
#include "common/DesktopStack.h"
#include "common/Netns.h"
#include "common/TestEnv.h"
#include "ui/main/DesktopHome.h"

#include <QList>
#include <QThread>
#include <gtest/gtest.h>
#include <map>
#include <memory>

class DesktopSuite : public ::testing::Test
{
protected:
    using WId = desktop::WId;
    static constexpr int kHosts = 4;

    void SetUp() override
    {
        TOLVEX_REQUIRE_NETNS();
        TOLVEX_REQUIRE_DESKTOP();
        m_stack = std::make_unique<desktop::DesktopStack>(options());
        ASSERT_TRUE(m_stack->start()) << m_stack->failure().toStdString();
        m_lab = std::make_unique<testnet::NetLab>();
        m_lab->addFlatLan(kHosts);
    }

    void TearDown() override
    {
        m_other.reset();
        m_peers.clear();
        m_desktop.reset();
        m_lab.reset();
        m_stack.reset();
    }

    /// The stack's options; a test may change them before SetUp.
    virtual desktop::DesktopStack::Options options() const { return {}; }

    desktop::DesktopStack &stack() { return *m_stack; }
    testnet::NetLab &lab() { return *m_lab; }
    desktop::Program &desktop() { return *m_desktop; }

    /// Starts the desktop program as name on host 1; writeSettings false leaves its HOME
    /// empty (a first start).
    void startDesktop(const QList<QPair<QString, QString>> &env = {}, bool writeSettings = true,
                      const QByteArray &name = "ann")
    {
        if (writeSettings)
            writeDesktopSettings(m_lab->home("1"), name, testnet::NetLab::flatAddr(1));
        m_desktop = std::make_unique<desktop::Program>();
        ASSERT_TRUE(m_desktop->start(*m_lab, "1", *m_stack, env));
    }

    /// A terminal peer on the next free host, on channel Main.
    CliCopy &peer(const QByteArray &name)
    {
        const int host = 2 + int(m_peers.size());
        auto copy = std::make_unique<CliCopy>(
            *m_lab, QByteArray::number(host),
            QStringList{QStringLiteral("--name"), QString::fromLatin1(name),
                        QStringLiteral("--channel"), QStringLiteral("Main"),
                        QStringLiteral("--interface"),
                        QString::fromLatin1(testnet::NetLab::flatAddr(host))});
        CliCopy &ref = *copy;
        m_peers.push_back(std::move(copy));
        return ref;
    }

    /// The main window, once shown.
    WId mainWindow() { return m_stack->waitForWindow(QStringLiteral("^Tolvex$")); }

    /// A line from a terminal peer to the desktop copy.
    static void say(CliCopy &peer, const QByteArray &text, const QByteArray &to = "ann")
    {
        peer.send("/to " + to);
        peer.send(text);
    }

    /// Waits until the peer lists the desktop copy (and so the copy is on line).
    static bool meets(CliCopy &peer, const QByteArray &name = "ann")
    {
        return peer.waitFor([&] { return peer.users().contains(name); }, 20000);
    }

    /// Another program the user works in (xmessage), activated: it takes the focus from ours.
    WId otherProgram()
    {
        m_other = std::make_unique<desktop::Process>();
        m_other->start(QStringLiteral("xmessage"), {QStringLiteral("another program")},
                       m_stack->environment());
        const WId w = m_stack->waitForWindow(QStringLiteral("^xmessage$"));
        EXPECT_TRUE(m_stack->activate(w));
        // The toolkit learns that it lost the focus a moment after the window manager
        // moved it; the user works there for longer than that.
        QThread::msleep(700);
        return w;
    }

    /// Where a user's row of the main window's list is on the screen, as the accessibility
    /// tree tells it; null when it is not shown.
    QPoint row(const QString &name)
    {
        QPoint at;
        desktop::waitUntil([&] {
            for (const desktop::AccessibleNode &n :
                 m_stack->accessibleTree(QStringLiteral("Tolvex")))
                if (n.role == QLatin1String("table cell") && n.name == name &&
                    n.states.contains(QLatin1String("showing")) && !n.extents.isEmpty()) {
                    at = n.extents.center();
                    return true;
                }
            return false;
        });
        return at;
    }

    /// The first node of that role and name, waited for; role empty when none came.
    desktop::AccessibleNode node(const QString &role, const QString &name)
    {
        desktop::AccessibleNode found;
        desktop::waitUntil([&] {
            for (const desktop::AccessibleNode &n :
                 m_stack->accessibleTree(QStringLiteral("Tolvex")))
                if (n.role == role && n.name == name) {
                    found = n;
                    return true;
                }
            return false;
        });
        return found;
    }

    /// The tree as text, for a failure message.
    static std::string dump(const QList<desktop::AccessibleNode> &tree)
    {
        QString text;
        for (const desktop::AccessibleNode &n : tree)
            text += QString(n.depth * 2, QLatin1Char(' ')) + n.role + QStringLiteral(" \"") +
                    n.name + QStringLiteral("\" ") + n.states.join(QLatin1Char(',')) +
                    QLatin1Char('\n');
        return text.toStdString();
    }

    /// A screenshot of the whole screen saved under name, for a failing case.
    void shot(const QString &name)
    {
        desktop::DesktopStack::saveShot(m_stack->screenshot(), {}, name);
    }

private:
    std::unique_ptr<desktop::DesktopStack> m_stack;
    std::unique_ptr<testnet::NetLab> m_lab;
    std::unique_ptr<desktop::Program> m_desktop;
    std::vector<std::unique_ptr<CliCopy>> m_peers;
    std::unique_ptr<desktop::Process> m_other;
};
