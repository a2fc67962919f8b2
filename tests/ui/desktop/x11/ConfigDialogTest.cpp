// The configuration dialog as the window manager and a user see it.
#include "DesktopSuite.h"
#include "common/EventWait.h"
#include "common/RawUdpCapture.h"

class ConfigDialogTest : public DesktopSuite
{
protected:
    // The program menu from the main window's minimise button, then its second item.
    WId openConfiguration(WId main)
    {
        if (!stack().activate(main))
            return 0;
        const QRect g = stack().geometry(main);
        stack().click(g.topLeft() + QPoint(114, 167), 3);
        stack().key(QStringLiteral("Down Down Return"));
        return stack().waitForWindow(QStringLiteral("^Configuration$"));
    }
};

TEST_F(ConfigDialogTest, IsAModalDialogThatOnlyClosesAndSpeaksOfLoggingIn)
{
    startDesktop();
    const WId main = mainWindow();
    const WId dialog = openConfiguration(main);
    ASSERT_NE(dialog, 0u);
    shot(QStringLiteral("configuration-dialog"));

    // Asked for: a title and a close button only (Motif hints: move, resize, close; border,
    // title, menu), at a size that cannot change.
    EXPECT_TRUE(stack()
                    .property(dialog, QStringLiteral("_MOTIF_WM_HINTS"))
                    .endsWith("= 0x3, 0x26, 0x1e, 0x0, 0x0"));
    const QByteArray allowed = stack().property(dialog, QStringLiteral("_NET_WM_ALLOWED_ACTIONS"));
    EXPECT_TRUE(allowed.contains("_NET_WM_ACTION_CLOSE")) << allowed.constData();
    EXPECT_FALSE(allowed.contains("_NET_WM_ACTION_MAXIMIZE")) << allowed.constData();
    EXPECT_TRUE(stack().netWmState(dialog).contains(QStringLiteral("_NET_WM_STATE_MODAL")));
    // openbox offers minimising all the same (taking the main window along): the dialog
    // comes back at once, so that the program is never left out of sight and modal.
    stack().xdotool({QStringLiteral("windowminimize"), QString::number(dialog)});
    testwait::waitFor([] { return false; }, 1000);
    EXPECT_TRUE(testwait::waitFor(
        [&] { return stack().wmState(dialog) == desktop::WmState::Normal; }, 5000));
    EXPECT_EQ(stack().wmState(main), desktop::WmState::Normal);

    const QList<desktop::AccessibleNode> tree = stack().accessibleTree(QStringLiteral("Tolvex"));
    const auto labelled = [&](const QString &text) {
        return std::any_of(tree.begin(), tree.end(), [&](const desktop::AccessibleNode &n) {
            return n.role == QLatin1String("label") && n.name == text;
        });
    };
    EXPECT_TRUE(labelled(QStringLiteral("Start automatically when I log in"))) << dump(tree);
    EXPECT_FALSE(labelled(QStringLiteral("Start automatically with Windows")));
}

TEST_F(ConfigDialogTest, OtherNetworksTypedBelowTheOthersReceiveThePresence)
{
    startDesktop();
    RawUdpCapture wireAtHost3(lab().nsName("3"));
    ASSERT_TRUE(wireAtHost3.ok());
    const WId main = mainWindow();
    const WId dialog = openConfiguration(main);
    ASSERT_NE(dialog, 0u);

    const desktop::AccessibleNode field =
        node(QStringLiteral("text"), QStringLiteral("Other networks"));
    ASSERT_FALSE(field.role.isEmpty()) << dump(stack().accessibleTree(QStringLiteral("Tolvex")));
    const desktop::AccessibleNode port =
        node(QStringLiteral("text"), QStringLiteral("Communication port"));
    EXPECT_GT(field.extents.top(), port.extents.bottom()) << "below the existing controls";
    stack().click(field.extents.center());
    // Host 3 runs no copy; a single-host target sends there all the same.
    stack().type(QStringLiteral("10.77.0.3"));
    shot(QStringLiteral("configuration-dialog-other-networks"));
    // Closing the dialog brings the copy on line again with the list in use.
    stack().key(QStringLiteral("Escape"));
    EXPECT_TRUE(testwait::waitFor(
        [&] {
            for (const WireDatagram &d : wireAtHost3.all())
                if (d.dst == "10.77.0.3" && d.dstPort == 5040 && d.payload.contains("|ACK|BCT|"))
                    return true;
            return false;
        },
        10000));
}

// Return after a new name closes the dialog and the copy comes on line under that name; the
// dialog's link to the default name must not take the key and put the old name back.
TEST_F(ConfigDialogTest, ReturnAfterANewNameGoesOnLineUnderIt)
{
    CliCopy &bob = peer("bob");
    startDesktop();
    ASSERT_TRUE(meets(bob)) << desktop().errors().constData();
    ASSERT_NE(openConfiguration(mainWindow()), 0u);
    const desktop::AccessibleNode name = node(QStringLiteral("text"), QStringLiteral("User name"));
    ASSERT_FALSE(name.role.isEmpty()) << dump(stack().accessibleTree(QStringLiteral("Tolvex")));
    stack().click(name.extents.center());
    stack().key(QStringLiteral("ctrl+a"));
    stack().type(QStringLiteral("zoe"));
    stack().key(QStringLiteral("Return"));
    EXPECT_TRUE(meets(bob, "zoe")) << bob.errors().constData();
}
