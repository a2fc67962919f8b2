// What the desktop program keeps when a user changes the channel by typing, when the end
// comes from outside (a signal with an unwritable settings file, a display that goes away):
// the peers' view and the settings file.
#include "DesktopSuite.h"

#include <QFile>
#include <QFileInfo>
#include <csignal>

namespace {

QByteArray settingsOf(testnet::NetLab &lab)
{
    QFile file(desktopSettingsFile(lab.home("1")));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class EndsAndChannelsTest : public DesktopSuite
{
protected:
    // A terminal peer on another channel, on host 4.
    std::unique_ptr<CliCopy> peerOn(const QByteArray &name, const QByteArray &channel)
    {
        return std::make_unique<CliCopy>(
            lab(), "4",
            QStringList{QStringLiteral("--name"), QString::fromLatin1(name),
                        QStringLiteral("--channel"), QString::fromLatin1(channel),
                        QStringLiteral("--interface"),
                        QString::fromLatin1(testnet::NetLab::flatAddr(4))});
    }
};

TEST_F(EndsAndChannelsTest, AChannelTypedIntoTheBoxIsJoinedAndKeptForTheNextStart)
{
    CliCopy &bob = peer("bob");
    const std::unique_ptr<CliCopy> sue = peerOn("sue", "Sales");
    startDesktop();
    ASSERT_TRUE(meets(bob)) << desktop().errors().constData();
    const WId main = mainWindow();
    const QRect g = stack().geometry(main);
    ASSERT_TRUE(stack().activate(main));
    // The channel box: 3, 1 in the bottom bar at 156.
    stack().click(g.topLeft() + QPoint(30, 168));
    stack().key(QStringLiteral("ctrl+a"));
    stack().type(QStringLiteral("Sales"));
    stack().key(QStringLiteral("Return"));

    EXPECT_TRUE(meets(*sue)) << "ann joins Sales: " << sue->errors().constData();
    EXPECT_TRUE(bob.waitFor([&] { return !bob.users().contains("ann"); }, 10000))
        << "ann leaves Main";

    // Exit saves the channel; the next start comes up on it, where sue sees it again.
    desktop().process().signal(SIGTERM);
    ASSERT_EQ(desktop().process().waitForExit(10000), 0) << desktop().errors().constData();
    EXPECT_TRUE(settingsOf(lab()).contains("Selected=Sales"));
    EXPECT_TRUE(sue->waitFor([&] { return !sue->users().contains("ann"); }, 10000));
    startDesktop({}, false);
    EXPECT_TRUE(meets(*sue)) << desktop().errors().constData();
    EXPECT_FALSE(bob.users().contains("ann"));
}

TEST_F(EndsAndChannelsTest, ASignalEndsTheProgramWhenTheSettingsCannotBeWritten)
{
    CliCopy &bob = peer("bob");
    writeDesktopSettings(lab().home("1"), "ann", testnet::NetLab::flatAddr(1));
    // Read-only for root as well: the folder is mounted read-only for ann alone.
    const QString folder = QFileInfo(desktopSettingsFile(lab().home("1"))).path();
    desktop::Program ann;
    ASSERT_TRUE(
        ann.start(lab(), "1", stack(), {}, QStringLiteral("/bin/sh"),
                  {QStringLiteral("-c"),
                   QStringLiteral("mount --bind -o ro '%1' '%1' && exec \"$0\"").arg(folder),
                   desktop::Program::desktopProgram()}));
    ASSERT_TRUE(meets(bob)) << ann.errors().constData();

    ann.process().signal(SIGTERM);
    EXPECT_TRUE(bob.waitFor([&] { return !bob.users().contains("ann"); }, 10000));
    EXPECT_EQ(ann.process().waitForExit(10000), 1) << "no message box waits for an answer";
    EXPECT_TRUE(ann.errors().contains("tolvex: Unable to write to ")) << ann.errors().constData();
    EXPECT_TRUE(stack().windows(QStringLiteral("^Tolvex$")).isEmpty());
}

TEST_F(EndsAndChannelsTest, TheLossOfTheDisplayLeavesTheNetworkAndSaves)
{
    CliCopy &bob = peer("bob");
    startDesktop();
    ASSERT_TRUE(meets(bob)) << desktop().errors().constData();
    mainWindow();
    stack().killServer();
    EXPECT_TRUE(bob.waitFor([&] { return bob.count("left: ann") > 0; }, 10000))
        << "no ghost on the peers";
    EXPECT_EQ(desktop().process().waitForExit(10000), 0) << desktop().errors().constData();
    EXPECT_TRUE(desktop().errors().contains("the connection to the display was lost"));
    EXPECT_TRUE(settingsOf(lab()).contains("AutoAdd=1")) << "written at the end";
}
