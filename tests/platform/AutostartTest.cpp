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
    EXPECT_EQ(Autostart::entryPath(),
              home.configHome() + QStringLiteral("/autostart/Tolvex.desktop"));
    EXPECT_FALSE(Autostart::isSet());
    EXPECT_TRUE(Autostart::remove()) << "removing an absent entry is no failure";

    // The autostart folder does not exist yet; a relative path is stored absolute.
    ASSERT_TRUE(Autostart::set(QStringLiteral("tolvex")));
    EXPECT_TRUE(Autostart::isSet());
    QFile file(Autostart::entryPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.startsWith("[Desktop Entry]\n"));
    EXPECT_TRUE(execLine(text).startsWith('/'));

    ASSERT_TRUE(Autostart::remove());
    EXPECT_FALSE(Autostart::isSet());

    // A file where the autostart folder belongs, or no config home at all: refused.
    ASSERT_TRUE(QDir(home.configHome()).rmdir(QStringLiteral("autostart")));
    ASSERT_TRUE(QFile(home.configHome() + QStringLiteral("/autostart")).open(QIODevice::WriteOnly));
    EXPECT_FALSE(Autostart::set(QStringLiteral("/opt/tolvex")));
    qunsetenv("XDG_CONFIG_HOME");
    qunsetenv("HOME");
    EXPECT_FALSE(Autostart::set(QStringLiteral("/opt/tolvex")));
    EXPECT_FALSE(Autostart::isSet());
}

TEST(AutostartTest, ExecQuotesAndEscapesReservedCharacters)
{
    const std::pair<QString, QByteArray> cases[] = {
        {QStringLiteral("/opt/tolvex/bin/tolvex"), "/opt/tolvex/bin/tolvex"},
        {QStringLiteral("/opt/my apps/tolvex"), "\"/opt/my apps/tolvex\""},
        {QStringLiteral("/opt/100%/tolvex"), "/opt/100%%/tolvex"},
        {QStringLiteral("/opt/$HOME/\"x\"/tolvex"), "\"/opt/\\\\$HOME/\\\\\"x\\\\\"/tolvex\""},
        {QStringLiteral("/opt/back\\slash"), "\"/opt/back\\\\\\\\slash\""},
        {QStringLiteral("/opt/two\nlines"), "\"/opt/two\\nlines\""},
        {QStringLiteral("/opt/caf\u00e9/tolvex"), "/opt/caf\xc3\xa9/tolvex"},
    };
    for (const auto &[path, exec] : cases) {
        const QByteArray entry = Autostart::entryText(path);
        EXPECT_EQ(execLine(entry), exec) << path.toStdString();
        // No path can add lines (and with them keys) to the entry.
        EXPECT_EQ(entry.count('\n'), 6) << path.toStdString();
    }
}

} // namespace
