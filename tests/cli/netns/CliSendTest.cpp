// `tolvex-cli --send` against terminal copies on sandbox hosts: one recipient, several, all,
// one that never answers, the text on standard input, and a copy that holds the port on
// the sending computer. Terminal copies stand in for the desktop program: they hold the
// port and answer exactly as it does.
#include "CliCopy.h"
#include "common/Netns.h"
#include "common/TestEnv.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

using Names = QList<QByteArray>;

/// The settings files below a host's HOME.
QStringList settingsFiles(const QString &home)
{
    QStringList files;
    QDirIterator it(home, {QStringLiteral("*.ini")}, QDir::Files | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(it.next());
    return files;
}

TEST(CliSend, ReachesTheNamedUsersOrAllAndNamesWhoDidNotAnswer)
{
    TOLVEX_REQUIRE_NETNS();
    testnet::NetLab lab;
    lab.addFlatLan(4);
    CliCopy ann(lab, "1", {"--name", "ann", "--channel", "Lab"});
    CliCopy bob(lab, "2", {"--name", "bob", "--channel", "Lab"});
    CliCopy carl(lab, "3", {"--name", "carl", "--channel", "Lab"});
    ASSERT_TRUE(carl.waitForUsers({"ann", "bob"}, 10000)) << carl.errors().data();
    ASSERT_TRUE(ann.waitForUsers({"bob", "carl"}, 2000));
    const QStringList ops = {"--send", "--name", "ops", "--channel", "Lab"};

    // One recipient: the run ends once bob answered, long before its --wait.
    {
        QElapsedTimer clock;
        clock.start();
        CliCopy send(lab, "4", ops + QStringList{"--to", "bob", "--wait", "30", "backup done"});
        EXPECT_EQ(send.waitForExit(15000), 0) << send.errors().data();
        EXPECT_LT(clock.elapsed(), 15000);
        EXPECT_EQ(send.lines(), Names{"sent: bob"});
        ASSERT_TRUE(bob.waitFor([&] { return bob.count("ops> backup done") == 1; }, 2000));
    }
    // Several, the text on standard input with its line breaks.
    {
        CliCopy send(lab, "4", ops + QStringList{"--to", "ann,carl"});
        send.send("restart at 17:00\nsave your work");
        send.closeInput();
        EXPECT_EQ(send.waitForExit(15000), 0) << send.errors().data();
        for (CliCopy *c : {&ann, &carl}) {
            ASSERT_TRUE(c->waitFor([&] { return c->count("ops> restart at 17:00") == 1; }, 2000));
            EXPECT_EQ(c->count("     save your work"), 1);
        }
    }
    // Everybody who answers within --wait.
    {
        CliCopy send(lab, "4", ops + QStringList{"--all", "--wait", "1.5", "hi all"});
        EXPECT_EQ(send.waitForExit(15000), 0) << send.errors().data();
        EXPECT_EQ(send.lines().size(), 3);
        for (CliCopy *c : {&ann, &bob, &carl})
            EXPECT_TRUE(c->waitFor([&] { return c->count("ops> hi all") == 1; }, 2000));
    }
    // A name nobody answers to: the others still get the message, and the status says so.
    {
        CliCopy send(lab, "4", ops + QStringList{"--to", "bob,nobody", "--wait", "1", "last"});
        EXPECT_EQ(send.waitForExit(15000), 1);
        EXPECT_TRUE(send.errors().contains("not found on the channel Lab: nobody"))
            << send.errors().data();
        EXPECT_TRUE(bob.waitFor([&] { return bob.count("ops> last") == 1; }, 2000));
    }
    // Each run left: nobody lists it afterwards. Nothing of it was saved.
    EXPECT_EQ(bob.count("ops> backup done") + ann.count("ops> backup done"), 1);
    for (CliCopy *c : {&ann, &bob, &carl})
        EXPECT_TRUE(c->waitFor([&] { return !c->users().contains("ops"); }, 2000));
    EXPECT_EQ(settingsFiles(lab.home("4")), QStringList{});

    // --save keeps what the run used.
    CliCopy saved(lab, "4", ops + QStringList{"--to", "ann", "--save", "kept"});
    EXPECT_EQ(saved.waitForExit(15000), 0) << saved.errors().data();
    const QStringList files = settingsFiles(lab.home("4"));
    ASSERT_EQ(files.size(), 1);
    QFile file(files.first());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("ops"));
}

TEST(CliSend, LeavesACopyHoldingThePortAloneAndTellsAnUnusableNetwork)
{
    TOLVEX_REQUIRE_NETNS();
    testnet::NetLab lab;
    lab.addFlatLan(2);
    lab.addHost("alone"); // loopback only
    CliCopy ann(lab, "1", {"--name", "ann", "--channel", "Lab"});
    CliCopy bob(lab, "2", {"--name", "bob", "--channel", "Lab"});
    ASSERT_TRUE(bob.waitForUsers({"ann"}, 10000)) << bob.errors().data();

    // The sending computer runs ann: her port is taken, so nothing goes out, and bob
    // neither hears a stranger from ann's address nor a leave notice that would drop her.
    CliCopy send(lab, "1", {"--send", "--name", "ops", "--channel", "Lab", "--to", "bob", "hi"});
    EXPECT_EQ(send.waitForExit(15000), 3);
    EXPECT_TRUE(send.errors().contains("port 5040 is held by another program on this computer"))
        << send.errors().data();
    bob.send("/to ann");
    bob.send("still there?");
    EXPECT_TRUE(ann.waitFor([&] { return ann.count("bob> still there?") == 1; }, 3000));
    EXPECT_EQ(bob.users(), Names{"ann"});
    EXPECT_EQ(bob.count("left: ann"), 0);
    const Names heard = bob.lines();
    EXPECT_TRUE(std::none_of(heard.cbegin(), heard.cend(),
                             [](const QByteArray &line) { return line.contains("ops"); }));

    CliCopy offline(lab, "alone", {"--send", "--name", "ops", "--all", "hi"});
    EXPECT_EQ(offline.waitForExit(15000), 3);
    EXPECT_TRUE(offline.errors().contains("You do not have a local network IP"))
        << offline.errors().data();
}

} // namespace
