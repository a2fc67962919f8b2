// A second copy of the same user finds the port taken: it stays off line, says why in words
// a Linux user knows, and neither its start nor its end takes anything from the first copy.
#include "DesktopSuite.h"

#include <csignal>

class SecondCopyTest : public DesktopSuite
{};

TEST_F(SecondCopyTest, StaysOffLineAndLeavesTheFirstListed)
{
    CliCopy &bob = peer("bob");
    startDesktop();
    ASSERT_TRUE(meets(bob)) << desktop().errors().constData();
    const WId first = mainWindow();

    // The same user starts the program again: same host, same settings, same port.
    desktop::Program second;
    ASSERT_TRUE(second.start(lab(), "1", stack()));
    // Two main windows and the second copy's error box, all named after the program.
    ASSERT_TRUE(
        bob.waitFor([&] { return stack().windows(QStringLiteral("^Tolvex$")).size() >= 3; }, 20000))
        << second.errors().constData();
    const QList<desktop::AccessibleNode> tree = stack().accessibleTree(QStringLiteral("Tolvex"));
    EXPECT_TRUE(std::any_of(tree.begin(), tree.end(), [](const desktop::AccessibleNode &n) {
        return n.name.contains(QLatin1String("already in use")) ||
               n.text.contains(QLatin1String("already in use"));
    })) << dump(tree);
    EXPECT_FALSE(std::any_of(tree.begin(), tree.end(), [](const desktop::AccessibleNode &n) {
        return n.name.contains(QLatin1String("10048")) || n.text.contains(QLatin1String("10048"));
    })) << "no bare socket code";

    // Answered, the box goes; the copy stays off line, and its end takes nothing from the
    // first copy.
    for (const WId w : stack().windows(QStringLiteral("^Tolvex$"))) {
        if (stack().geometry(w).size() != QSize(130, 180) && stack().activate(w))
            stack().key(QStringLiteral("Return"));
    }
    EXPECT_TRUE(bob.waitFor([&] { return stack().windows(QStringLiteral("^Tolvex$")).size() == 2; },
                            10000));
    bob.waitFor([] { return false; }, 2000); // time for an announcement, were one made
    second.process().signal(SIGTERM);
    EXPECT_EQ(second.process().waitForExit(10000), 0) << second.errors().constData();
    EXPECT_FALSE(bob.waitFor([&] { return bob.count("left: ann") > 0; }, 3000));
    EXPECT_TRUE(bob.users().contains("ann"));
    EXPECT_TRUE(stack().windows(QStringLiteral("^Tolvex$")).contains(first));
}
