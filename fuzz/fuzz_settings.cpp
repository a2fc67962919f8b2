// The settings loader over any file: what it reads holds together, a file it writes anew
// reads back as the same values, and a save followed by a load changes nothing, the
// administrator's locks included.
// Links: tolvex_app
#include "app/SettingsFile.h"
#include "app/Support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

// In memory where the system offers it: every run writes the file, and a save is synced.
QString settingsPath()
{
    static const QString base = QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                                    ? QStringLiteral("/dev/shm")
                                    : QDir::tempPath();
    static QTemporaryDir dir(base + QStringLiteral("/tolvex-fuzz-settings-XXXXXX"));
    return dir.filePath(QStringLiteral("tolvex.ini"));
}

// A value read holds no line break and no zero; a carriage return inside a line is part of
// it as read, and becomes a blank when written.
bool oneLine(const QByteArray &value)
{
    return !value.contains('\n') && !value.contains('\0');
}

QByteArray asWritten(QByteArray value)
{
    return value.replace('\r', ' ');
}

QList<QByteArray> asWritten(QList<QByteArray> values)
{
    for (QByteArray &value : values)
        value.replace('\r', ' ');
    return values;
}

void checkLoaded(const LoadedSettings &loaded)
{
    const ChannelSettings &channels = loaded.channels;
    check(!channels.channels.isEmpty());
    for (const QByteArray &channel : channels.channels)
        check(!channel.isEmpty() && oneLine(channel));
    check(channels.selected >= -1 && channels.selected < channels.channels.size());
    check(channels.text ==
          (channels.selected >= 0 ? channels.channels[channels.selected] : QByteArray()));
    check(oneLine(Settings.Port) && oneLine(Settings.Interface) && oneLine(Settings.UserName));
}

// b was read from what a's values were written as.
void checkSame(const LoadedSettings &a, const SettingsValues &values, const LoadedSettings &b)
{
    check(asWritten(a.channels.channels) == b.channels.channels);
    check(asWritten(a.channels.text) == b.channels.text);
    check(a.channels.selected == b.channels.selected);
    check(asWritten(values.Port) == Settings.Port);
    check(asWritten(values.Interface) == Settings.Interface);
    check(asWritten(values.UserName) == Settings.UserName && values.AutoAdd == Settings.AutoAdd);
    check(!b.firstRun && !b.versionReset);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = settingsPath();
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size));
    }
    Settings = SettingsValues();
    Settings.Path = path;
    int firstRuns = 0;
    int errors = 0;
    SettingsHooks hooks;
    hooks.firstRun = [&firstRuns] { ++firstRuns; };
    hooks.reportError = [&errors](const QString &) { ++errors; };

    const LoadedSettings first = LoadSettings(hooks);
    checkLoaded(first);
    check(firstRuns == (first.firstRun ? 1 : 0));
    check(!first.firstRun || first.versionReset);
    check(errors == 0);
    SettingsValues values = Settings;

    // A file written anew at a version change gives back what was read from the old one,
    // without the locks: a new version starts from a fresh file.
    LoadedSettings second = first;
    if (first.versionReset) {
        second = LoadSettings(hooks);
        checkSame(first, values, second);
        check(!second.restrictions.configurationLocked && !second.restrictions.channelsLocked);
        values = Settings;
    }

    // Saving what was loaded and loading again changes nothing, the locks included.
    check(SaveSettings(second.channels, hooks.reportError));
    const LoadedSettings third = LoadSettings(hooks);
    checkSame(second, values, third);
    check(third.restrictions.configurationLocked == second.restrictions.configurationLocked);
    check(third.restrictions.channelsLocked == second.restrictions.channelsLocked);
    check(errors == 0 && firstRuns <= 1);
    return 0;
}
