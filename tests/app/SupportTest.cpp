#include "app/Support.h"

#include "common/TestEnv.h"
#include "platform/ComputerName.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

class SupportTest : public ::testing::Test
{
protected:
    void TearDown() override { ComputerName::setSource({}); }

    static void useHostName(std::optional<QByteArray> raw)
    {
        ComputerName::setSource([raw] { return raw; });
    }
};

TEST_F(SupportTest, DefaultUserNameLowersOnlyAsciiLettersAndReplacesBars)
{
    const std::pair<QByteArray, QByteArray> cases[] = {
        {"OFFICE|PC7", "office-pc7"},
        {"Desk-12.corp.example.org", "desk-12"},
        {"\xC9TAGE-2", "\xC9tage-2"},
        {"FIFTEEN|CHARS-X.example.org", "fifteen-chars-x"},
    };
    for (const auto &[host, expected] : cases) {
        useHostName(host);
        EXPECT_EQ(DefaultUserName({}), expected) << host.constData();
    }
}

TEST_F(SupportTest, DefaultUserNameFallsBackToInterface)
{
    // Unreadable, longer than 15 characters, or nothing before the first dot.
    for (const std::optional<QByteArray> &host :
         {std::optional<QByteArray>(), std::optional<QByteArray>("SIXTEEN-CHARS-XY"),
          std::optional<QByteArray>(".example.org")}) {
        useHostName(host);
        EXPECT_EQ(DefaultUserName("192.168.0.7"), QByteArray("192.168.0.7"));
    }
    EXPECT_EQ(DefaultUserName("a|b"), QByteArray("a-b"));
    EXPECT_EQ(DefaultUserName({}), QByteArray());
}

TEST_F(SupportTest, ShellFolderIsTheConfigHome)
{
    testenv::TempHome home;
    const QString expected = home.configHome() + QLatin1Char('/');
    EXPECT_EQ(ShellFolder(QStringLiteral("AppData")), expected);
    EXPECT_TRUE(ShellFolder(QStringLiteral("Desktop")).isEmpty());
    // Empty or relative values are ignored, as the base-directory rules ask.
    qputenv("XDG_CONFIG_HOME", "relative/conf");
    EXPECT_EQ(ShellFolder(QStringLiteral("appdata")), expected);
    qputenv("XDG_CONFIG_HOME", "");
    EXPECT_EQ(ShellFolder(QStringLiteral("AppData")), expected);
    qputenv("XDG_CONFIG_HOME", "/srv/conf/");
    EXPECT_EQ(ShellFolder(QStringLiteral("AppData")), QStringLiteral("/srv/conf/"));
    qunsetenv("XDG_CONFIG_HOME");
    qunsetenv("HOME");
    EXPECT_TRUE(ShellFolder(QStringLiteral("AppData")).isEmpty());
    EXPECT_TRUE(SettingsFolder().isEmpty());
}

TEST_F(SupportTest, SettingsFolderCreatesBothLevels)
{
    testenv::TempHome home;
    // A fresh account may lack the config home: it is made, private to the user.
    const QString config = home.path() + QStringLiteral("/fresh/.config");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config));
    const QString expected = config + QStringLiteral("/Tolvex Software/Tolvex/");
    EXPECT_EQ(SettingsFolder(), expected);
    EXPECT_TRUE(QFileInfo(expected).isDir());
    EXPECT_EQ(QFile::permissions(config) & 0x0077, QFile::Permissions());
    EXPECT_EQ(SettingsFolder(), expected) << "existing folders are used as they are";
}

TEST_F(SupportTest, SettingsFolderIsEmptyWhenAFileIsInTheWay)
{
    for (const bool innerBlocked : {false, true}) {
        testenv::TempHome home;
        QString blocker = home.configHome() + QStringLiteral("/Tolvex Software");
        if (innerBlocked) {
            ASSERT_TRUE(QDir().mkdir(blocker));
            blocker += QStringLiteral("/Tolvex");
        }
        ASSERT_TRUE(QFile(blocker).open(QIODevice::WriteOnly));
        EXPECT_TRUE(SettingsFolder().isEmpty()) << blocker.toStdString();
    }
}

TEST_F(SupportTest, SettingsFileNameLowersAsciiAndReplacesExtension)
{
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("/usr/bin/tolvex"), QStringLiteral("tolvex.ini")},
        {QStringLiteral("/opt/X/TOLVEX.BIN"), QStringLiteral("tolvex.ini")},
        {QStringLiteral("/opt/x.d/Tolvex.Beta.exe"), QStringLiteral("tolvex.beta.ini")},
        {QStringLiteral("/opt/x/.Hidden"), QStringLiteral(".hidden.ini")},
        {QStringLiteral("/opt/x/\u00C9CHO"), QStringLiteral("\u00C9cho.ini")},
    };
    for (const auto &[exe, expected] : cases)
        EXPECT_EQ(SettingsFileName(exe), expected) << exe.toStdString();
}

} // namespace
