#include "app/Support.h"

#include "common/TestEnv.h"
#include "platform/ComputerName.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <gtest/gtest.h>

namespace {

class SupportTest : public ::testing::Test
{
protected:
    void SetUp() override { Settings = {}; }
    void TearDown() override
    {
        ComputerName::setSource({});
        Settings = {};
    }

    static void useHostName(std::optional<QByteArray> raw)
    {
        ComputerName::setSource([raw] { return raw; });
    }

    static void makeFile(const QString &path)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
};

TEST_F(SupportTest, DefaultUserNameLowersOnlyAsciiLettersAndReplacesBars)
{
    const std::pair<QByteArray, QByteArray> cases[] = {
        {"OFFICE|PC7", "office-pc7"},
        {"Desk-12.corp.example.org", "desk-12"},
        {"\xC9TAGE-2", "\xC9tage-2"}, // only A-Z change
        {"FIFTEEN|CHARS-X", "fifteen-chars-x"},
    };
    for (const auto &[host, expected] : cases) {
        useHostName(host);
        EXPECT_EQ(DefaultUserName(), expected) << host.constData();
    }
}

TEST_F(SupportTest, DefaultUserNameFallsBackToInterface)
{
    Settings.Interface = "192.168.0.7";
    useHostName(std::nullopt);
    EXPECT_EQ(DefaultUserName(), QByteArray("192.168.0.7"));
    // A name longer than 15 characters cannot be read either.
    useHostName(QByteArray("SIXTEEN-CHARS-XY"));
    EXPECT_EQ(DefaultUserName(), QByteArray("192.168.0.7"));
    Settings.Interface = "a|b";
    EXPECT_EQ(DefaultUserName(), QByteArray("a-b"));
    Settings.Interface.clear();
    EXPECT_EQ(DefaultUserName(), QByteArray());
}

TEST_F(SupportTest, ShellFolderKnowsOnlyAppData)
{
    testenv::TempHome home;
    EXPECT_EQ(ShellFolder(QStringLiteral("AppData")), home.configHome() + QLatin1Char('/'));
    EXPECT_EQ(ShellFolder(QStringLiteral("appdata")), home.configHome() + QLatin1Char('/'));
    EXPECT_TRUE(ShellFolder(QStringLiteral("Desktop")).isEmpty());
    qunsetenv("XDG_CONFIG_HOME");
    qunsetenv("HOME");
    EXPECT_TRUE(ShellFolder(QStringLiteral("AppData")).isEmpty());
    EXPECT_TRUE(SettingsFolder().isEmpty());
}

TEST_F(SupportTest, SettingsFolderCreatesBothLevelsOnce)
{
    testenv::TempHome home;
    const QString expected = home.configHome() + QStringLiteral("/Tolvex Software/Tolvex/");
    EXPECT_EQ(SettingsFolder(), expected);
    EXPECT_TRUE(QFileInfo(expected).isDir());
    // Existing folders are used as they are.
    EXPECT_EQ(SettingsFolder(), expected);
}

TEST_F(SupportTest, SettingsFolderMakesAMissingConfigHomePrivate)
{
    testenv::TempHome home;
    const QString config = home.path() + QStringLiteral("/fresh/.config");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config));
    EXPECT_EQ(SettingsFolder(), config + QStringLiteral("/Tolvex Software/Tolvex/"));
    EXPECT_EQ(QFile::permissions(config) & 0x0077, QFile::Permissions());
}

TEST_F(SupportTest, SettingsFolderIsEmptyWhenAFileIsInTheWay)
{
    {
        testenv::TempHome home;
        makeFile(home.configHome() + QStringLiteral("/Tolvex Software"));
        EXPECT_TRUE(SettingsFolder().isEmpty());
    }
    {
        testenv::TempHome home;
        ASSERT_TRUE(QDir(home.configHome()).mkdir(QStringLiteral("Tolvex Software")));
        makeFile(home.configHome() + QStringLiteral("/Tolvex Software/Tolvex"));
        EXPECT_TRUE(SettingsFolder().isEmpty());
    }
}

TEST_F(SupportTest, SettingsFileNameLowersAsciiAndReplacesExtension)
{
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("/usr/bin/tolvex"), QStringLiteral("tolvex.ini")},
        {QStringLiteral("/opt/X/TOLVEX.BIN"), QStringLiteral("tolvex.ini")},
        {QStringLiteral("/opt/x/Tolvex.Beta.exe"), QStringLiteral("tolvex.beta.ini")},
        {QStringLiteral("/opt/x.d/Chat"), QStringLiteral("chat.ini")},
        {QStringLiteral("/opt/x/.Hidden"), QStringLiteral(".hidden.ini")},
        {QStringLiteral("/opt/x/\u00C9CHO"), QStringLiteral("\u00C9cho.ini")},
    };
    for (const auto &[exe, expected] : cases)
        EXPECT_EQ(SettingsFileName(exe), expected) << exe.toStdString();
}

TEST_F(SupportTest, TaskbarTopIsScreenHeightWithoutPanel)
{
    ASSERT_NE(QGuiApplication::primaryScreen(), nullptr);
    EXPECT_EQ(TaskbarTop(), QGuiApplication::primaryScreen()->geometry().height());
}

} // namespace
