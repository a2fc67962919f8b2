#include "platform/Autostart.h"

#include "common/TestEnv.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

QByteArray execLine(const QByteArray &entry)
{
    for (const QByteArray &line : entry.split('\n')) {
        if (line.startsWith("Exec="))
            return line.mid(5);
    }
    return {};
}

TEST(AutostartTest, SetTestAndRemoveTheEntry)
{
    testenv::TempHome home;
    const QString entry = home.configHome() + QStringLiteral("/autostart/Tolvex.desktop");
    EXPECT_EQ(Autostart::entryPath(), entry);
    EXPECT_FALSE(Autostart::isSet());
    EXPECT_TRUE(Autostart::remove()) << "removing an absent entry is no failure";

    // The autostart folder does not exist yet: setting creates it.
    ASSERT_TRUE(Autostart::set(QStringLiteral("/opt/tolvex/bin/tolvex")));
    EXPECT_TRUE(Autostart::isSet());
    QFile file(entry);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.startsWith("[Desktop Entry]\n"));
    EXPECT_EQ(execLine(text), QByteArray("/opt/tolvex/bin/tolvex"));

    ASSERT_TRUE(Autostart::remove());
    EXPECT_FALSE(Autostart::isSet());
}

TEST(AutostartTest, RelativeExecutablePathIsStoredAbsolute)
{
    testenv::TempHome home;
    ASSERT_TRUE(Autostart::set(QStringLiteral("tolvex")));
    QFile file(Autostart::entryPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(execLine(file.readAll()).startsWith('/'));
}

TEST(AutostartTest, ExecQuotesAndEscapesReservedCharacters)
{
    struct Case
    {
        QString path;
        QByteArray exec;
    };
    const Case cases[] = {
        {QStringLiteral("/opt/my apps/tolvex"), "\"/opt/my apps/tolvex\""},
        {QStringLiteral("/opt/100%/tolvex"), "/opt/100%%/tolvex"},
        {QStringLiteral("/opt/$HOME/\"x\"/tolvex"), "\"/opt/\\\\$HOME/\\\\\"x\\\\\"/tolvex\""},
        {QStringLiteral("/opt/back\\slash"), "\"/opt/back\\\\\\\\slash\""},
        {QStringLiteral("/opt/two\nlines"), "\"/opt/two\\nlines\""},
        {QStringLiteral("/opt/caf\u00e9/tolvex"), "/opt/caf\xc3\xa9/tolvex"},
    };
    for (const Case &c : cases) {
        const QByteArray entry = Autostart::entryText(c.path);
        EXPECT_EQ(execLine(entry), c.exec) << c.path.toStdString();
        // No path can add lines (and with them keys) to the entry.
        EXPECT_EQ(entry.count('\n'), 6) << c.path.toStdString();
    }
}

TEST(AutostartTest, FailsWithoutConfigHomeOrWhenFolderIsAFile)
{
    testenv::TempHome home;
    QFile blocker(home.configHome() + QStringLiteral("/autostart"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_FALSE(Autostart::set(QStringLiteral("/opt/tolvex/bin/tolvex")));
    EXPECT_FALSE(Autostart::isSet());

    qunsetenv("XDG_CONFIG_HOME");
    qunsetenv("HOME");
    EXPECT_TRUE(Autostart::entryPath().isEmpty());
    EXPECT_FALSE(Autostart::set(QStringLiteral("/opt/tolvex/bin/tolvex")));
    EXPECT_FALSE(Autostart::isSet());
}

} // namespace
