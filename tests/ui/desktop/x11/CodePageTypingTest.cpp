// Typing what the network's code page cannot carry: the chat line leaves it out at once and
// says so, and the peer gets exactly what the line showed.
#include "DesktopSuite.h"

class CodePageTypingTest : public DesktopSuite
{};

TEST_F(CodePageTypingTest, ThePeerGetsWhatTheLineShows)
{
    CliCopy &bob = peer("bob");
    startDesktop();
    ASSERT_TRUE(meets(bob)) << desktop().errors().constData();
    const WId main = mainWindow();
    ASSERT_TRUE(stack().activate(main));
    const QRect g = stack().geometry(main);
    // bob is the list's only row: a double click selects him and opens the chat window.
    stack().click(g.topLeft() + QPoint(40, 12), 1, 2);
    const WId chat = stack().waitForWindow(QStringLiteral("^bob$"));
    ASSERT_NE(chat, 0u);
    ASSERT_TRUE(stack().activate(chat));
    stack().type(QString::fromUtf8("Привет hi"));

    const auto nodes = [&] { return stack().accessibleTree(QStringLiteral("Tolvex")); };
    const auto has = [](const QList<desktop::AccessibleNode> &tree, const QString &part) {
        return std::any_of(tree.begin(), tree.end(), [&](const desktop::AccessibleNode &n) {
            return n.name.contains(part) || n.text.contains(part);
        });
    };
    const QList<desktop::AccessibleNode> tree = nodes();
    EXPECT_TRUE(has(tree, QStringLiteral("Cannot be sent, left out"))) << dump(tree);
    EXPECT_TRUE(std::any_of(tree.begin(), tree.end(), [](const desktop::AccessibleNode &n) {
        return n.name == QLatin1String("Message") && n.text == QLatin1String(" hi");
    })) << dump(tree);
    desktop::DesktopStack::saveShot(stack().screenshot(),
                                    stack().geometry(chat).adjusted(-4, -30, 4, 4),
                                    QStringLiteral("chat-code-page-notice"));

    stack().key(QStringLiteral("Return"));
    EXPECT_TRUE(bob.waitFor([&] { return bob.count("ann>  hi") > 0; }, 10000))
        << bob.lines().join('\n').constData();
    EXPECT_FALSE(bob.lines().join('\n').contains('?'));
}
