#include "app/SettingsFile.h"

#include "app/Support.h"
#include "common/TestEnv.h"
#include "platform/ComputerName.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <csignal>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

const QByteArray FreshDefaults = "[Tolvex]\nVersion=010001\n\n[Server]\nPort=5040\n\n"
                                 "[User]\nName=desk-7\n\n"
                                 "[Channels]\nSelected=Main\nAutoAdd=1\nChannel0=Main\n";

class SettingsFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_values.Path = m_home.path() + QStringLiteral("/tolvex.ini");
        ComputerName::setSource([] { return std::optional<QByteArray>("DESK|7"); });
    }
    void TearDown() override { ComputerName::setSource({}); }

    void writeFile(const QByteArray &bytes)
    {
        QFile file(m_values.Path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray readFile()
    {
        QFile file(m_values.Path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    // Collects what would be shown to the user.
    SettingsHooks recordingHooks()
    {
        SettingsHooks hooks;
        hooks.firstRun = [this] {
            ++m_firstRuns;
            m_fileAtFirstRun = QFile::exists(m_values.Path);
        };
        hooks.reportError = [this](const QString &message) { m_errors.append(message); };
        return hooks;
    }

    testenv::TempHome m_home;
    SettingsValues m_values;
    int m_firstRuns = 0;
    bool m_fileAtFirstRun = false;
    QStringList m_errors;
};

TEST_F(SettingsFileTest, FirstRunShowsAboutThenWritesDefaults)
{
    const LoadedSettings loaded = LoadSettings(m_values, recordingHooks());

    EXPECT_EQ(m_firstRuns, 1);
    EXPECT_FALSE(m_fileAtFirstRun) << "the file is written only after the about window closed";
    EXPECT_TRUE(loaded.firstRun);
    EXPECT_TRUE(loaded.versionReset);
    EXPECT_EQ(m_values.Port, QByteArray("5040"));
    EXPECT_EQ(m_values.Interface, QByteArray());
    EXPECT_EQ(m_values.UserName, QByteArray("desk-7"));
    EXPECT_TRUE(m_values.AutoAdd);
    EXPECT_EQ(loaded.channels.channels, QList<QByteArray>{"Main"});
    EXPECT_EQ(loaded.channels.selected, 0);
    EXPECT_EQ(loaded.channels.text, QByteArray("Main"));
    EXPECT_FALSE(loaded.restrictions.configurationLocked);
    EXPECT_FALSE(loaded.restrictions.channelsLocked);
    EXPECT_EQ(readFile(), FreshDefaults);
    EXPECT_TRUE(m_errors.isEmpty());
}

TEST_F(SettingsFileTest, CurrentVersionIsReadWithoutRewriting)
{
    const QByteArray stored = "[TOLVEX]\r\nversion=010001\r\n"
                              "[server]\r\nPort=6001\r\nInterface=10.0.0.9\r\n"
                              "[User]\r\nName=Ann|B\r\n"
                              "[Channels]\r\nSelected=\xE9T\xC9\r\nAutoAdd=0x0\r\n"
                              "Channel0=first\r\nChannel1=\xC9t\xE9\r\nChannel2=\xE9t\xE9\r\n"
                              "[Restrictions]\r\nConfiguration=1\r\nChannels=yes\r\n";
    writeFile(stored);
    const LoadedSettings loaded = LoadSettings(m_values, recordingHooks());

    EXPECT_EQ(m_firstRuns, 0);
    EXPECT_FALSE(loaded.firstRun);
    EXPECT_FALSE(loaded.versionReset);
    EXPECT_EQ(readFile(), stored);
    EXPECT_EQ(m_values.Port, QByteArray("6001"));
    EXPECT_EQ(m_values.Interface, QByteArray("10.0.0.9"));
    EXPECT_EQ(m_values.UserName, QByteArray("Ann|B")) << "a stored name is used unchanged";
    EXPECT_FALSE(m_values.AutoAdd);
    EXPECT_EQ(loaded.channels.channels.size(), 3);
    // The first item equal without regard to case, accented letters included.
    EXPECT_EQ(loaded.channels.selected, 1);
    EXPECT_EQ(loaded.channels.text, QByteArray("\xC9t\xE9"));
    EXPECT_TRUE(loaded.restrictions.configurationLocked);
    // "yes" is no integer, so the lock keeps its default.
    EXPECT_FALSE(loaded.restrictions.channelsLocked);
}

TEST_F(SettingsFileTest, OtherVersionIsWrittenAnewKeepingLocksUnknownSectionsAndComments)
{
    writeFile("; written by the administrator\n"
              "[Tolvex]\nVersion=010000\n"
              "[Server]\n; the office port\nPort=7000\nObsolete=1\n"
              "[User]\nName=bob\n"
              "[Channels]\nChannel0=Ops\nAutoAdd=2\n"
              "[Restrictions]\nChannels=1\n"
              "[Future]\nColour=blue\n");
    const LoadedSettings loaded = LoadSettings(m_values, recordingHooks());

    EXPECT_EQ(m_firstRuns, 0);
    EXPECT_FALSE(loaded.firstRun);
    EXPECT_TRUE(loaded.versionReset);
    EXPECT_TRUE(loaded.restrictions.channelsLocked);
    EXPECT_TRUE(m_values.AutoAdd);
    // No Selected key: the default channel, added to the list, rather than none at all.
    EXPECT_EQ(loaded.channels.text, QByteArray("Main"));
    EXPECT_EQ(loaded.channels.channels, (QList<QByteArray>{"Ops", "Main"}));
    EXPECT_EQ(readFile(), QByteArray("; written by the administrator\n"
                                     "[Tolvex]\nVersion=010001\n"
                                     "[Server]\n; the office port\nPort=7000\n"
                                     "[User]\nName=bob\n"
                                     "[Restrictions]\nChannels=1\n"
                                     "[Future]\nColour=blue\n\n"
                                     "[Channels]\nSelected=Main\nAutoAdd=1\n"
                                     "Channel0=Ops\nChannel1=Main\n"));
}

TEST_F(SettingsFileTest, LocksOfAFileWithoutVersionHoldFromTheSecondStartOn)
{
    writeFile("[User]\nName=adm\n[Restrictions]\nConfiguration=1\nChannels=1\n");
    LoadedSettings loaded = LoadSettings(m_values, recordingHooks());
    EXPECT_TRUE(loaded.firstRun);
    loaded = LoadSettings(m_values, recordingHooks());
    EXPECT_FALSE(loaded.versionReset);
    EXPECT_TRUE(loaded.restrictions.configurationLocked);
    EXPECT_TRUE(loaded.restrictions.channelsLocked);
    EXPECT_EQ(m_values.UserName, QByteArray("adm"));
}

TEST_F(SettingsFileTest, ChannelsStopAtFirstMissingNumberAndSaveRenumbers)
{
    writeFile("[Tolvex]\nVersion=010001\n"
              "[Channels]\nChannel0=lobby\nChannel1=\nChannel2=lobby\nChannel4=hidden\n"
              "Channel7=stale\nSelected=elsewhere\n");
    LoadedSettings loaded = LoadSettings(m_values, recordingHooks());
    // "elsewhere" is not listed: the default channel is selected and added.
    EXPECT_EQ(loaded.channels.channels, (QList<QByteArray>{"lobby", "lobby", "Main"}));
    EXPECT_EQ(loaded.channels.selected, 2);
    EXPECT_EQ(loaded.channels.text, QByteArray("Main"));

    m_values.Interface = "10.1.1.1";
    loaded.channels.channels.append("new");
    loaded.channels.text = "typed";
    ASSERT_TRUE(SaveSettings(m_values, loaded.channels, recordingHooks().reportError));
    // [Server] was added while [Channels] still stood between it and [Tolvex].
    EXPECT_EQ(readFile(), QByteArray("[Tolvex]\nVersion=010001\n"
                                     "[Server]\nPort=5040\nInterface=10.1.1.1\n\n"
                                     "[User]\nName=desk-7\n\n"
                                     "[Channels]\nSelected=typed\nAutoAdd=1\n"
                                     "Channel0=lobby\nChannel1=lobby\nChannel2=Main\n"
                                     "Channel3=new\n"));
}

TEST_F(SettingsFileTest, OtherNetworksStopAtFirstMissingNumberAndVanishWhenEmptied)
{
    writeFile("[Tolvex]\nVersion=010001\n"
              "[Networks]\nTarget0=192.168.2.255\nTarget1=\nTarget2= gw.example \n"
              "Target4=stale\n");
    LoadedSettings loaded = LoadSettings(m_values, recordingHooks());
    EXPECT_EQ(m_values.Targets, (QList<QByteArray>{"192.168.2.255", "gw.example"}));

    m_values.Targets = {"10.8.0.14"};
    ASSERT_TRUE(SaveSettings(m_values, loaded.channels, {}));
    EXPECT_TRUE(readFile().contains("[Networks]\nTarget0=10.8.0.14\n"));
    EXPECT_FALSE(readFile().contains("Target1")) << readFile().constData();
    m_values.Targets.clear();
    ASSERT_TRUE(SaveSettings(m_values, loaded.channels, {}));
    EXPECT_FALSE(readFile().contains("Target0")) << readFile().constData();
}

// The first-run about window shows the channel before the file is written.
TEST_F(SettingsFileTest, ChannelsAloneAreReadAsTheStartWillHaveThemWithoutWriting)
{
    const QByteArray unversioned = "[Channels]\nChannel0=lobby\nChannel1=Sales\nSelected=sales\n";
    writeFile(unversioned);
    EXPECT_EQ(LoadChannels(m_values.Path).text, QByteArray("Sales"));
    EXPECT_EQ(readFile(), unversioned);
    writeFile("[Channels]\nChannel0=lobby\nSelected=gone\n");
    EXPECT_EQ(LoadChannels(m_values.Path).text, LoadSettings(m_values).channels.text);
}

TEST_F(SettingsFileTest, SaveKeepsForeignKeysLocksAndStoredInterface)
{
    writeFile("[Tolvex]\nVersion=010001\n\n"
              "[Server]\nPort=5040\nInterface=10.0.0.9\nNote=admin\n\n"
              "[Channels]\nChannel0=a\nChannel1=b\n\n"
              "[Restrictions]\nConfiguration=1\n");
    LoadedSettings loaded = LoadSettings(m_values);
    m_values.Interface.clear();
    m_values.Port = "not a number";
    m_values.AutoAdd = false;
    loaded.channels.channels = {"b"};
    loaded.channels.text = "b";
    ASSERT_TRUE(SaveSettings(m_values, loaded.channels, {}));
    EXPECT_EQ(readFile(), QByteArray("[Tolvex]\nVersion=010001\n\n"
                                     "[Server]\nPort=not a number\nInterface=10.0.0.9\n"
                                     "Note=admin\n\n"
                                     "[Restrictions]\nConfiguration=1\n\n"
                                     "[User]\nName=desk-7\n\n"
                                     "[Channels]\nSelected=b\nAutoAdd=0\nChannel0=b\n"));
}

TEST_F(SettingsFileTest, RefusedWriteReportsThePathLiterally)
{
    // A file where the folder should be: every write is refused, also for root.
    const QString blocker = m_home.path() + QStringLiteral("/%s %1 folder");
    QFile(blocker).open(QIODevice::WriteOnly);
    m_values.Path = blocker + QStringLiteral("/tolvex.ini");

    const LoadedSettings loaded = LoadSettings(m_values, recordingHooks());
    EXPECT_TRUE(loaded.firstRun);
    EXPECT_EQ(m_values.Port, QByteArray("5040"));
    EXPECT_EQ(m_errors, QStringList{QStringLiteral("Unable to write to ") + m_values.Path});

    m_errors.clear();
    EXPECT_FALSE(SaveSettings(m_values, loaded.channels, recordingHooks().reportError));
    EXPECT_EQ(m_errors, QStringList{QStringLiteral("Unable to write to ") + m_values.Path});
    EXPECT_FALSE(SaveSettings(m_values, loaded.channels, {})) << "no reporter is no crash";

    // A path that exists but cannot be read gives the defaults and is not replaced.
    m_values.Path = m_home.path();
    m_errors.clear();
    EXPECT_TRUE(LoadSettings(m_values, recordingHooks()).firstRun);
    EXPECT_EQ(m_errors.size(), 1);
    EXPECT_TRUE(QFileInfo(m_values.Path).isDir());
}

TEST_F(SettingsFileTest, UnreadableIrregularOrHugeFileIsReadAsMissingAndNotWiped)
{
    const QByteArray path = QFile::encodeName(m_values.Path);
    // A socket cannot be opened for reading, not even by root: it stands for a file whose
    // locks this run never saw.
    const auto makeSocket = [&] {
        const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        memcpy(address.sun_path, path.constData(),
               std::min(size_t(path.size()), sizeof address.sun_path - 1));
        EXPECT_EQ(bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
        close(fd);
    };
    // A pipe would block the read until someone wrote to it.
    const auto makePipe = [&] { EXPECT_EQ(mkfifo(path.constData(), 0600), 0); };
    // Parsed, a text takes many times its size in memory.
    const auto makeHuge = [&] {
        writeFile("[Tolvex]\nVersion=010000\n" + QByteArray("[x]\n").repeated(2200000));
    };
    const QString unwritable = QStringLiteral("Unable to write to ") + m_values.Path;
    // A huge file is not a write failure: the user is told what is wrong with it.
    const QString tooLarge = QStringLiteral("The settings file ") + m_values.Path +
                             QStringLiteral(" is too large to read (more than 8 MiB); it was "
                                            "left as it is");
    const std::pair<std::function<void()>, QString> cases[] = {
        {makeSocket, unwritable}, {makePipe, unwritable}, {makeHuge, tooLarge}};
    for (const auto &[make, message] : cases) {
        QFile::remove(m_values.Path);
        make();
        const qint64 size = QFileInfo(m_values.Path).size();
        m_errors.clear();
        LoadedSettings loaded = LoadSettings(m_values, recordingHooks());
        EXPECT_EQ(m_values.Port, QByteArray("5040"));
        EXPECT_TRUE(loaded.firstRun);
        EXPECT_EQ(m_errors, QStringList{message});
        EXPECT_FALSE(SaveSettings(m_values, loaded.channels, recordingHooks().reportError));
        EXPECT_EQ(m_errors.value(1), message);
        EXPECT_EQ(QFileInfo(m_values.Path).size(), size) << "the file was replaced";
    }
}

// Limits the size of files this process may write, like a disk that is full.
class FileSizeLimit final
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

TEST_F(SettingsFileTest, FullDiskLeavesTheOldFileWhole)
{
    writeFile(FreshDefaults);
    LoadedSettings loaded = LoadSettings(m_values, recordingHooks());
    for (int i = 0; i < 500; ++i)
        loaded.channels.channels.append("channel number " + QByteArray::number(i));
    {
        const FileSizeLimit limit(FreshDefaults.size() + 100);
        EXPECT_FALSE(SaveSettings(m_values, loaded.channels, recordingHooks().reportError));
    }
    EXPECT_EQ(readFile(), FreshDefaults);
    EXPECT_EQ(m_errors.size(), 1);
    EXPECT_EQ(QDir(m_home.path()).entryList(QDir::Files), QStringList{"tolvex.ini"})
        << "no temporary file is left behind";
}

TEST_F(SettingsFileTest, MalformedFilesLoadWithDefaults)
{
    QByteArray garbage;
    for (int i = 0; i < 65536; ++i)
        garbage += char((i * 7919 + i / 256) % 256);
    writeFile(garbage);
    LoadedSettings loaded = LoadSettings(m_values);
    EXPECT_TRUE(loaded.versionReset);
    EXPECT_EQ(m_values.Port, QByteArray("5040"));
    EXPECT_TRUE(m_values.AutoAdd);
    EXPECT_EQ(loaded.channels.channels, QList<QByteArray>{"Main"});

    // Megabyte lines are cut, repeated keys and sections give their first value.
    writeFile("[Server]\nPort=1\nPort=2\n[Server]\nPort=3\n[User]\nName=" +
              QByteArray(4 * 1024 * 1024, 'n') + "\n[Channels]\nChannel0=a\nChannel0=b\n");
    loaded = LoadSettings(m_values);
    EXPECT_EQ(m_values.Port, QByteArray("1"));
    EXPECT_EQ(m_values.UserName, QByteArray(2047, 'n'));
    // No Selected key: the default channel is added after the first "a".
    EXPECT_EQ(loaded.channels.channels, (QList<QByteArray>{"a", "Main"}));
}

} // namespace
