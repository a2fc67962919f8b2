// Where the settings file goes when the home cannot take it, the port rule shared by both
// front-ends, and the heard channels kept beside the list.
#include "app/SettingsFile.h"
#include "app/Support.h"
#include "common/TestEnv.h"
#include "platform/ComputerName.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

TEST(SettingsPath, AnUnwritableHomeNeverSendsTheFileToTheWorkingDirectory)
{
    testenv::TempHome home;
    // Root ignores permission bits, so a file where the config home should be stands for a
    // home the user cannot write.
    const QString blocker = home.path() + QStringLiteral("/ro");
    ASSERT_TRUE(QFile(blocker).open(QIODevice::WriteOnly));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(blocker + QStringLiteral("/.config")));
    const QString work = home.path() + QStringLiteral("/work");
    ASSERT_TRUE(QDir().mkdir(work));
    const QString oldCwd = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(work));

    SettingsValues values;
    values.Path = SettingsFilePath(QStringLiteral("/usr/bin/Tolvex-CLI"));
    EXPECT_EQ(values.Path,
              blocker + QStringLiteral("/.config/Tolvex Software/Tolvex/tolvex-cli.ini"));
    QStringList errors;
    const LoadedSettings loaded =
        LoadSettings(values, {{}, [&errors](const QString &m) { errors.append(m); }});
    EXPECT_FALSE(
        SaveSettings(values, loaded.channels, [&errors](const QString &m) { errors.append(m); }));
    EXPECT_EQ(errors.value(0), QStringLiteral("Unable to write to ") + values.Path)
        << "the full path is named";
    EXPECT_TRUE(QDir(work).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());

    // Nothing names a config home: no path, and the failure says why.
    qunsetenv("XDG_CONFIG_HOME");
    qunsetenv("HOME");
    values.Path = SettingsFilePath(QStringLiteral("tolvex"));
    EXPECT_TRUE(values.Path.isEmpty());
    errors.clear();
    EXPECT_FALSE(
        SaveSettings(values, loaded.channels, [&errors](const QString &m) { errors.append(m); }));
    EXPECT_TRUE(errors.value(0).contains(QStringLiteral("no folder")))
        << errors.value(0).toStdString();
    EXPECT_TRUE(QDir(work).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
    QDir::setCurrent(oldCwd);
}

TEST(SettingsPath, PortsAreDecimalNumbersFromOneTo65535)
{
    const std::pair<QByteArray, std::optional<quint16>> cases[] = {
        {"5040", 5040}, {"1", 1},      {"65535", 65535}, {"05040", 5040}, {"0", {}},
        {"-1", {}},     {"abc", {}},   {"http", {}},     {"99999", {}},   {"65536", {}},
        {"5040x", {}},  {" 5040", {}}, {"", {}},         {"+5040", {}},   {"000005040", {}},
    };
    for (const auto &[text, expected] : cases)
        EXPECT_EQ(PortNumber(text), expected) << text.constData();
}

TEST(SettingsPath, HeardChannelsAreKeptBesideTheListAndOnlyForListedNames)
{
    testenv::TempHome home;
    ComputerName::setSource([] { return std::optional<QByteArray>("desk"); });
    SettingsValues values;
    values.Path = home.path() + QStringLiteral("/tolvex.ini");
    ChannelSettings channels;
    channels.channels = {"Main", "Junk1", "Lab"};
    channels.text = "Main";
    channels.heard = {"Junk1"};
    values.Port = "5040";
    ASSERT_TRUE(SaveSettings(values, channels, {}));

    QFile file(values.Path);
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("Heard1=NotListed\n");
    file.close();
    const LoadedSettings loaded = LoadSettings(values);
    EXPECT_EQ(loaded.channels.channels, (QList<QByteArray>{"Main", "Junk1", "Lab"}));
    EXPECT_EQ(loaded.channels.heard, QList<QByteArray>{"Junk1"});
    ComputerName::setSource({});
}

} // namespace
