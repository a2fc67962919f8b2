// The main window on a desktop with a panel: its place above the panel as the panel comes
// and goes, and the first start with its about window.
#include "DesktopSuite.h"
#include "app/CodeCript.h"

#include <QThread>

class MainWindowTest : public DesktopSuite
{
protected:
    /// The main window sits 15 px above the panel and 25 px from the right edge.
    bool abovePanel(WId main, int panelHeight)
    {
        return desktop::waitUntil([&] {
            const QRect g = stack().geometry(main);
            return g.bottom() + 1 + 15 == stack().screenSize().height() - panelHeight &&
                   g.right() + 1 + 25 == stack().screenSize().width();
        });
    }
};

TEST_F(MainWindowTest, KeepsItsPlaceAboveAPanelThatChangesUnlessTheUserMovedIt)
{
    CliCopy &bob = peer("bob");
    startDesktop();
    ASSERT_TRUE(meets(bob));
    const WId main = mainWindow();
    ASSERT_TRUE(abovePanel(main, 30));
    stack().stopPanel();
    EXPECT_TRUE(abovePanel(main, 0)) << stack().geometry(main).y();
    ASSERT_TRUE(stack().startPanel(50)) << stack().failure().toStdString();
    EXPECT_TRUE(abovePanel(main, 50)) << stack().geometry(main).y();

    // With the chat window open both move, and stay together.
    stack().click(row(QStringLiteral("bob")), 1, 2);
    const WId chat = stack().waitForWindow(QStringLiteral("^bob$"));
    ASSERT_NE(chat, 0u);
    stack().stopPanel();
    ASSERT_TRUE(stack().startPanel(40)) << stack().failure().toStdString();
    EXPECT_TRUE(abovePanel(main, 40)) << stack().geometry(main).y();
    EXPECT_TRUE(desktop::waitUntil(
        [&] { return stack().geometry(chat).top() == stack().geometry(main).top(); }));

    // Dragged away by the chat window's title, they stay where the user put them.
    const QRect title = stack().geometry(chat);
    const QPoint grab = title.topLeft() + QPoint(60, 10);
    stack().moveMouse(grab);
    stack().xdotool({QStringLiteral("mousedown"), QStringLiteral("1")});
    for (int step = 1; step <= 5; ++step)
        stack().moveMouse(grab - QPoint(20 * step, 40 * step));
    stack().xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
    ASSERT_TRUE(desktop::waitUntil([&] {
        return stack().geometry(chat).top() < title.top() - 100;
    })) << stack().geometry(chat).top();
    ASSERT_TRUE(desktop::waitUntil(
        [&] { return stack().geometry(main).top() == stack().geometry(chat).top(); }));
    const QRect moved = stack().geometry(main);
    stack().stopPanel();
    ASSERT_TRUE(stack().startPanel(30)) << stack().failure().toStdString();
    QThread::msleep(500); // a move, had there been one, would have come by now
    EXPECT_EQ(stack().geometry(main), moved);
}

TEST_F(MainWindowTest, FirstStartShowsTheChannelAndEnterClosesTheAboutWindow)
{
    startDesktop({}, false);
    const WId about = stack().waitForWindow(QStringLiteral("^About\\.\\.\\.$"));
    ASSERT_NE(about, 0u);
    const QString channel = QString::fromLatin1(CodeCript::Decode(CodeCript::DefaultChannel));
    EXPECT_EQ(node(QStringLiteral("text"), QStringLiteral("Active channel")).text, channel);

    ASSERT_TRUE(stack().activate(about));
    stack().key(QStringLiteral("Return"));
    EXPECT_TRUE(desktop::waitUntil([&] {
        return stack().windows(QStringLiteral("^About")).isEmpty();
    })) << "Enter left the about window open";
    // No other window came instead (a link opened, or its failure reported).
    EXPECT_TRUE(stack().windows(QStringLiteral("^Tolvex$")).size() == 1);
    EXPECT_FALSE(desktop().errors().contains("browser")) << desktop().errors().constData();
    // The start goes on, on that channel.
    EXPECT_EQ(node(QStringLiteral("text"), QStringLiteral("Active channel")).text, channel);
}
