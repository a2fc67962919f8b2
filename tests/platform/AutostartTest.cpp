#include "platform/Autostart.h"

#include "common/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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
        EXPECT_EQ(entry.count('\n'), 7) << path.toStdString();
        // The entry names the program it starts, whatever the quoting.
        testenv::TempHome home;
        ASSERT_TRUE(Autostart::set(path));
        EXPECT_EQ(Autostart::target(), path) << path.toStdString();
    }
}

TEST(AutostartTest, AStaleEntryIsRepairedAndAnotherCopysEntryLeftAlone)
{
    testenv::TempHome home;
    const QString self = home.path() + QStringLiteral("/bin/tolvex");
    const QString other = home.path() + QStringLiteral("/other/tolvex");
    for (const QString &program : {self, other}) {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(program).path()));
        QFile file(program);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    const auto writeEntry = [](const QByteArray &text) {
        QFile file(Autostart::entryPath());
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) > 0;
    };
    EXPECT_EQ(Autostart::repair(self), Autostart::Repair::Absent);
    EXPECT_FALSE(Autostart::isSet());

    // The program it started is gone (the package removed, a build moved): this one takes it.
    ASSERT_TRUE(Autostart::set(QStringLiteral("/usr/bin/removed-tolvex")));
    EXPECT_EQ(Autostart::repair(self), Autostart::Repair::Repaired);
    EXPECT_EQ(Autostart::target(), self);
    EXPECT_EQ(Autostart::repair(self), Autostart::Repair::Current);

    // An entry of an older form (no TryExec) for this program gets its TryExec line.
    ASSERT_TRUE(
        writeEntry("[Desktop Entry]\nType=Application\nName=Tolvex\nExec=" + self.toUtf8() + "\n"));
    EXPECT_EQ(Autostart::repair(self), Autostart::Repair::Repaired);
    QFile entry(Autostart::entryPath());
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    EXPECT_TRUE(entry.readAll().contains("\nTryExec=" + self.toUtf8() + "\n"));

    // Another installed copy that exists keeps the entry its user made there.
    ASSERT_TRUE(Autostart::set(other));
    EXPECT_EQ(Autostart::repair(self), Autostart::Repair::LeftAlone);
    EXPECT_EQ(Autostart::target(), other);
}

} // namespace
