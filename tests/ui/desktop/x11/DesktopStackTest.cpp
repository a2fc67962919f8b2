// The stack itself, with the program on it: what the other cases rely on.
#include "DesktopSuite.h"
#include "common/EventWait.h"

class DesktopStackTest : public DesktopSuite
{};

TEST_F(DesktopStackTest, ProgramComesUpAboveThePanelAndInTheAccessibilityTree)
{
    CliCopy &bob = peer("bob");
    startDesktop();
    ASSERT_TRUE(meets(bob)) << bob.errors().constData() << desktop().errors().constData();
    const WId main = mainWindow();
    ASSERT_NE(main, 0u);
    // Managed by the window manager, with the panel's strut in the work area.
    EXPECT_TRUE(stack().clients().contains(main));
    EXPECT_EQ(stack().wmState(main), desktop::WmState::Normal);
    const QRect area = stack().workArea();
    EXPECT_EQ(area.bottom() + 1, stack().screenSize().height() - 30);
    const QRect geometry = stack().geometry(main);
    EXPECT_EQ(geometry.size(), QSize(130, 180));
    EXPECT_EQ(geometry.bottom() + 1 + 15, area.bottom() + 1);
    EXPECT_EQ(geometry.right() + 1 + 25, stack().screenSize().width());
    const QList<desktop::AccessibleNode> tree = stack().accessibleTree(QStringLiteral("Tolvex"));
    ASSERT_FALSE(tree.isEmpty());
    EXPECT_TRUE(std::any_of(tree.begin(), tree.end(), [](const desktop::AccessibleNode &n) {
        return n.role == QLatin1String("text") && n.name == QLatin1String("Active channel") &&
               n.text == QLatin1String("Main");
    })) << dump(tree);
    // The picture buttons are push buttons a screen reader can name and press, and the
    // channel box's list has a name.
    const auto has = [&](const char *role, const char *name) {
        return std::any_of(tree.begin(), tree.end(), [&](const desktop::AccessibleNode &n) {
            return n.role == QLatin1String(role) && n.name == QLatin1String(name);
        });
    };
    EXPECT_TRUE(has("push button", "Minimize")) << dump(tree);
    EXPECT_TRUE(has("list", "Channels")) << dump(tree);
    EXPECT_FALSE(has("filler", "")) << dump(tree);
    // Pressed from the tree, the minimise button hides the window to the notification area.
    ASSERT_TRUE(stack().accessibleAction(QStringLiteral("Tolvex"), QStringLiteral("push button"),
                                         QStringLiteral("Minimize")));
    EXPECT_TRUE(
        testwait::waitFor([&] { return stack().wmState(main) != desktop::WmState::Normal; }, 5000));
}
