// Options that can never work are refused before anything starts. Each run sits in a
// network namespace of its own, so that a copy that wrongly starts reaches no network.
#include "common/TestEnv.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Refusal
{
    QStringList args;
    QByteArray told;
};

QString cliProgram()
{
    return qEnvironmentVariable("TOLVEX_BINARY_DIR", QStringLiteral(TOLVEX_BINARY_DIR_DEFAULT)) +
           QStringLiteral("/src/cli/tolvex-cli");
}

TEST(CliOptions, BadPortsAndInterfacesAreRefusedWithAReason)
{
    TOLVEX_REQUIRE_NETNS();
    const QByteArray badPort = "a port is a number from 1 to 65535";
    const QByteArray badInterface = "give the IPv4 address of a network interface";
    const Refusal cases[] = {
        {{"--port", "0"}, "invalid port \"0\": " + badPort},
        {{"--port", "-1"}, "invalid port \"-1\""},
        {{"--port", "abc"}, "invalid port \"abc\""},
        {{"--port", "http"}, "invalid port \"http\""},
        {{"--port", "99999"}, "invalid port \"99999\""},
        {{"--port", "5040x"}, "invalid port \"5040x\""},
        {{"--port", ""}, "invalid port \"\""},
        // A name is never handed to the name service: no resolver is reachable here, and the
        // answer still comes at once.
        {{"--interface", "e0"}, "invalid interface \"e0\": " + badInterface},
        {{"--interface", "garbage"}, "invalid interface \"garbage\""},
        {{"--interface", "example.invalid"}, "invalid interface \"example.invalid\""},
        // The namespace's loopback device is down and has no address.
        {{"--interface", "lo"}, "the network device lo has no IPv4 address"},
        // One message from a script: what cannot go out whole is refused, never cut.
        {{"--send", "hi"}, "--send needs the recipients: --to NAME[,NAME...] or --all"},
        {{"--to", "ann", "hi"}, "--to goes with --send"},
        {{"--send", "--all", "--wait", "soon", "hi"}, "invalid wait \"soon\""},
        {{"--send", "--all", QString(1001, QLatin1Char('x'))},
         "the text has 1001 characters and one message holds at most 1000"},
        {{"--send", "--all", QString(600, QLatin1Char('|'))},
         "with its line breaks the text takes 1200 bytes and one message carries at most 1012"},
        {{"--send", "--all", QStringLiteral("caf\u00e9 \u2192 \u263a")},
         "characters the network's code page (Windows-1252) cannot carry: \xe2\x86\x92 "
         "\xe2\x98\xba"},
        {{"--send", "--all", " \n "}, "the text is empty"},
        {{"--bogus"}, "Unknown option 'bogus'"},
    };
    QTemporaryDir home;
    for (const Refusal &c : cases) {
        QProcess cli;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
        cli.setProcessEnvironment(env);
        cli.start(QStringLiteral("unshare"), QStringList{"--net", cliProgram()} + c.args);
        cli.closeWriteChannel();
        ASSERT_TRUE(cli.waitForFinished(20000)) << c.told.data();
        const QByteArray errors = cli.readAllStandardError();
        EXPECT_EQ(cli.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(cli.exitCode(), 2) << c.told.data();
        EXPECT_TRUE(errors.contains(c.told)) << errors.data();
        EXPECT_TRUE(cli.readAllStandardOutput().isEmpty());
    }
    EXPECT_TRUE(QDir(home.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty())
        << "a refused run writes no settings";
}

} // namespace
