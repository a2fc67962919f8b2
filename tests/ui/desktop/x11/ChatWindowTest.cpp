// The chat window as a user meets it under a window manager and a panel: how it opens, what
// it shows in the task bar, how it asks for attention, and whom a reply leaves selected.
#include "DesktopSuite.h"
#include "ui/chat/ChatLook.h"

#include <QThread>

using desktop::WmState;

class ChatWindowTest : public DesktopSuite
{
protected:
    // Two peers, then the desktop copy.
    std::pair<CliCopy &, CliCopy &> bobAndCarl()
    {
        CliCopy &bob = peer("bob");
        CliCopy &carl = peer("carl");
        startDesktop();
        return {bob, carl};
    }
    static QPoint minimizeButton(const QRect &chat)
    {
        using namespace ChatLook;
        return chat.topLeft() + QPoint(chat.width() - kMinimizeFromRight + kFrameButtonSize / 2,
                                       kFrameButtonTop + kFrameButtonSize / 2);
    }
    static QPoint closeButton(const QRect &chat)
    {
        using namespace ChatLook;
        return chat.topLeft() + QPoint(chat.width() - kCloseFromRight + kFrameButtonSize / 2,
                                       kFrameButtonTop + kFrameButtonSize / 2);
    }

    bool state(WId w, WmState s)
    {
        return desktop::waitUntil([&] { return stack().wmState(w) == s; }, 10000);
    }
};

// The window manager restores the window, not the program: the program's own hints still
// asked for an iconic start at the next showing.
TEST_F(ChatWindowTest, EveryOpeningShowsItNormalBesideTheMainWindow)
{
    CliCopy &bob = peer("bob");
    startDesktop();
    ASSERT_TRUE(meets(bob));
    const WId main = mainWindow();
    const QPoint bobRow = row(QStringLiteral("bob"));
    ASSERT_FALSE(bobRow.isNull());

    // Minimised by its own button, restored from the task bar, hidden by its x.
    const auto minimiseRestoreAndHide = [&](WId w) {
        stack().click(minimizeButton(stack().geometry(w)));
        if (!state(w, WmState::Iconic) || !stack().activate(w) || !state(w, WmState::Normal))
            return false;
        stack().click(closeButton(stack().geometry(w)));
        return desktop::waitUntil(
            [&] { return stack().windows(QStringLiteral("^bob$")).isEmpty(); });
    };
    stack().click(bobRow, 1, 2);
    WId chat = stack().waitForWindow(QStringLiteral("^bob$"));
    ASSERT_NE(chat, 0u);
    ASSERT_TRUE(state(chat, WmState::Normal));
    ASSERT_TRUE(minimiseRestoreAndHide(chat));

    // A double click opens it normal, beside the main window.
    stack().click(bobRow, 1, 2);
    chat = stack().waitForWindow(QStringLiteral("^bob$"));
    ASSERT_NE(chat, 0u) << [&] {
        std::string all;
        for (WId w : stack().windows(QStringLiteral("."), false))
            all += stack().windowName(w).toStdString() + ":" +
                   std::to_string(int(stack().wmState(w))) + " ";
        return all;
    }();
    EXPECT_TRUE(state(chat, WmState::Normal)) << int(stack().wmState(chat));
    const QRect mainArea = stack().geometry(main);
    const QRect chatArea = stack().geometry(chat);
    EXPECT_EQ(chatArea.top(), mainArea.top());
    EXPECT_EQ(chatArea.right() + 1 + ChatLook::kMainGap, mainArea.left());

    // Minimised and hidden again: a message opens it normal as well.
    ASSERT_TRUE(minimiseRestoreAndHide(chat));
    say(bob, "are you there?");
    chat = stack().waitForWindow(QStringLiteral("^bob$"));
    ASSERT_NE(chat, 0u);
    EXPECT_TRUE(state(chat, WmState::Normal)) << int(stack().wmState(chat));

    // Minimised, not hidden: a double click on the user brings it back too.
    stack().click(minimizeButton(stack().geometry(chat)));
    ASSERT_TRUE(state(chat, WmState::Iconic));
    stack().click(bobRow, 1, 2);
    EXPECT_TRUE(state(chat, WmState::Normal)) << int(stack().wmState(chat));
}

TEST_F(ChatWindowTest, OnlyTheChatWindowIsInTheTaskBarWithTheProgramIcon)
{
    CliCopy &bob = peer("bob");
    startDesktop();
    ASSERT_TRUE(meets(bob));
    const WId main = mainWindow();
    ASSERT_NE(main, 0u);
    EXPECT_FALSE(stack().taskbarWindows().contains(main))
        << stack().netWmState(main).join(' ').toStdString();
    stack().click(row(QStringLiteral("bob")), 1, 2);
    const WId chat = stack().waitForWindow(QStringLiteral("^bob$"));
    ASSERT_NE(chat, 0u);
    EXPECT_TRUE(desktop::waitUntil([&] { return stack().taskbarWindows().contains(chat); }));
    EXPECT_FALSE(stack().taskbarWindows().contains(main));
    // The icon the panel shows: the program's own, not a generic one.
    EXPECT_FALSE(stack().property(chat, QStringLiteral("_NET_WM_ICON")).isEmpty());
}

TEST_F(ChatWindowTest, AttentionLastsUntilTheUserComesToTheWindow)
{
    CliCopy &bob = peer("bob");
    startDesktop();
    ASSERT_TRUE(meets(bob));
    stack().click(row(QStringLiteral("bob")), 1, 2);
    const WId chat = stack().waitForWindow(QStringLiteral("^bob$"));
    ASSERT_NE(chat, 0u);
    otherProgram();

    say(bob, "hello ann");
    const auto demanding = [&] {
        return stack().netWmState(chat).contains(QStringLiteral("_NET_WM_STATE_DEMANDS_ATTENTION"));
    };
    const auto asking = [&] { return stack().urgent(chat) && demanding(); };
    EXPECT_TRUE(desktop::waitUntil([&] { return stack().urgent(chat); }, 20000));
    EXPECT_TRUE(desktop::waitUntil(demanding, 20000));
    // Still asking well after a moment: a user away from the desk sees it when back.
    QThread::msleep(2500);
    EXPECT_TRUE(asking());

    ASSERT_TRUE(stack().activate(chat));
    EXPECT_TRUE(desktop::waitUntil([&] {
        return !stack().urgent(chat) && !stack().netWmState(chat).contains(
                                            QStringLiteral("_NET_WM_STATE_DEMANDS_ATTENTION"));
    }));
}

TEST_F(ChatWindowTest, AReplyFromAGroupLeavesTheSenderSelected)
{
    auto [bob, carl] = bobAndCarl();
    ASSERT_TRUE(meets(bob));
    ASSERT_TRUE(meets(carl));
    const QPoint bobRow = row(QStringLiteral("bob"));
    const QPoint carlRow = row(QStringLiteral("carl"));
    stack().click(bobRow, 1, 2);
    ASSERT_NE(stack().waitForWindow(QStringLiteral("^bob$")), 0u);
    stack().xdotool({QStringLiteral("keydown"), QStringLiteral("ctrl")});
    stack().click(carlRow);
    stack().xdotool({QStringLiteral("keyup"), QStringLiteral("ctrl")});
    const WId chat = stack().waitForWindow(QStringLiteral("^bob, carl$"));
    ASSERT_NE(chat, 0u);
    otherProgram();

    say(carl, "a word from carl");
    // The title names whom the next line goes to.
    EXPECT_TRUE(desktop::waitUntil(
        [&] { return stack().windowName(chat) == QLatin1String("carl"); }, 10000))
        << stack().windowName(chat).toStdString();
    // And the line goes there.
    ASSERT_TRUE(stack().activate(chat));
    stack().type(QStringLiteral("answer"));
    stack().key(QStringLiteral("Return"));
    EXPECT_TRUE(carl.waitFor([&] { return carl.lines().contains("ann> answer"); }, 10000));
    EXPECT_FALSE(bob.lines().contains("ann> answer"));
}

TEST_F(ChatWindowTest, TipsShowPlainTextOnOneLine)
{
    auto [bob, carl] = bobAndCarl();
    ASSERT_TRUE(meets(bob));
    ASSERT_TRUE(meets(carl));
    const WId main = mainWindow();
    // One line of the window font with the tip's margins is 20 px high; two are over 30.
    const auto oneLineTip = [&](const QString &text) {
        const desktop::AccessibleNode tip = node(QStringLiteral("tool tip"), text);
        return tip.role.isEmpty() ? std::string("no tip \"") + text.toStdString() + '"'
               : tip.extents.height() < 30
                   ? std::string()
                   : "tip of " + std::to_string(tip.extents.height()) +
                         " px: " + dump(stack().accessibleTree(QStringLiteral("Tolvex")));
    };

    // The long tip of the main window's button; the pointer moves once more on the button,
    // as a hand does, for the toolkit to start its tip timer.
    ASSERT_TRUE(stack().activate(main));
    const QPoint minimize =
        node(QStringLiteral("push button"), QStringLiteral("Minimize")).extents.center();
    stack().moveMouse(minimize);
    stack().moveMouse(minimize + QPoint(1, 0));
    EXPECT_EQ(oneLineTip(QStringLiteral("Minimize or right click to open menu")), "");

    // The chat title's tip names the group as typed, without markup.
    stack().click(row(QStringLiteral("bob")), 1, 2);
    ASSERT_NE(stack().waitForWindow(QStringLiteral("^bob$")), 0u);
    stack().xdotool({QStringLiteral("keydown"), QStringLiteral("ctrl")});
    stack().click(row(QStringLiteral("carl")));
    stack().xdotool({QStringLiteral("keyup"), QStringLiteral("ctrl")});
    const WId chat = stack().waitForWindow(QStringLiteral("^bob, carl$"));
    ASSERT_NE(chat, 0u);
    ASSERT_TRUE(stack().activate(chat));
    const QPoint title =
        node(QStringLiteral("label"), QStringLiteral("bob, carl")).extents.center();
    stack().moveMouse(title);
    stack().moveMouse(title + QPoint(1, 0));
    EXPECT_EQ(oneLineTip(QStringLiteral("bob, carl")), "");
}

TEST_F(ChatWindowTest, ALongTitleEndsBeforeTheButtons)
{
    const QByteArray name = "bartholomew-of-the-accounting-department";
    CliCopy &peerCopy = peer(name);
    startDesktop();
    ASSERT_TRUE(meets(peerCopy));
    stack().click(row(QString::fromLatin1(name)), 1, 2);
    // The window's caption keeps the whole title.
    const WId chat =
        stack().waitForWindow(QLatin1Char('^') + QString::fromLatin1(name) + QLatin1Char('$'));
    ASSERT_NE(chat, 0u);
    const QRect area = stack().geometry(chat);
    desktop::AccessibleNode shown;
    desktop::waitUntil([&] {
        for (const desktop::AccessibleNode &n : stack().accessibleTree(QStringLiteral("Tolvex")))
            if (n.role == QLatin1String("label") && n.name.startsWith(QLatin1String("barth")))
                shown = n;
        return !shown.role.isEmpty();
    });
    ASSERT_FALSE(shown.role.isEmpty()) << dump(stack().accessibleTree(QStringLiteral("Tolvex")));
    EXPECT_TRUE(shown.name.endsWith(QChar(0x2026)) || shown.name.endsWith(QLatin1String("...")))
        << shown.name.toStdString();
    // The text drawn ends before the minimise button.
    EXPECT_LE(shown.extents.right(), area.right() - ChatLook::kMinimizeFromRight);
}

// The user types in another program while a message comes: whether or not the window opens,
// none of the keys may land in the composing line and go out to the peer.
TEST_F(ChatWindowTest, AMessageNeverTakesTheKeyboardFromAnotherProgram)
{
    CliCopy &bob = peer("bob");
    startDesktop();
    ASSERT_TRUE(meets(bob));
    ASSERT_NE(mainWindow(), 0u);
    const WId other = otherProgram();

    stack().type(QStringLiteral("ls "));
    say(bob, "got a minute?");
    // The message is in (or deliberately not shown) before the user types on.
    QThread::msleep(1500);
    stack().type(QStringLiteral("-la /root/secret-dir"));
    stack().key(QStringLiteral("Return"));
    QThread::msleep(1500);
    EXPECT_EQ(stack().activeWindow(), other);
    for (const QByteArray &line : bob.lines())
        EXPECT_FALSE(line.contains("secret-dir")) << line.constData();
}
