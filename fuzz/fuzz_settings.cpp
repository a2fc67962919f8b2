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

void checkLoaded(const LoadedSettings &loaded, const SettingsValues &read)
{
    const ChannelSettings &channels = loaded.channels;
    check(!channels.channels.isEmpty());
    for (const QByteArray &channel : channels.channels)
        check(!channel.isEmpty() && oneLine(channel));
    check(channels.selected >= -1 && channels.selected < channels.channels.size());
    check(channels.text ==
          (channels.selected >= 0 ? channels.channels[channels.selected] : QByteArray()));
    for (const QByteArray &channel : channels.heard)
        check(!channel.isEmpty() && oneLine(channel));
    check(oneLine(read.Port) && oneLine(read.Interface) && oneLine(read.UserName));
}

// b was read from what a's values were written as.
void checkSame(const LoadedSettings &a, const SettingsValues &values, const LoadedSettings &b,
               const SettingsValues &read)
{
    check(asWritten(a.channels.channels) == b.channels.channels);
    check(asWritten(a.channels.text) == b.channels.text);
    check(a.channels.selected == b.channels.selected);
    check(asWritten(a.channels.heard) == b.channels.heard);
    check(asWritten(values.Port) == read.Port);
    check(asWritten(values.Interface) == read.Interface);
    check(asWritten(values.UserName) == read.UserName && values.AutoAdd == read.AutoAdd);
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
    SettingsValues settings;
    settings.Path = path;
    int firstRuns = 0;
    int errors = 0;
    SettingsHooks hooks;
    hooks.firstRun = [&firstRuns] { ++firstRuns; };
    hooks.reportError = [&errors](const QString &) { ++errors; };

    const LoadedSettings first = LoadSettings(settings, hooks);
    checkLoaded(first, settings);
    check(firstRuns == (first.firstRun ? 1 : 0));
    check(!first.firstRun || first.versionReset);
    check(errors == 0);
    SettingsValues values = settings;

    // A file written anew at a version change gives back what was read from the old one,
    // and keeps the administrator's locks.
    LoadedSettings second = first;
    if (first.versionReset) {
        settings = SettingsValues();
        settings.Path = path;
        second = LoadSettings(settings, hooks);
        checkSame(first, values, second, settings);
        check(second.restrictions.configurationLocked == first.restrictions.configurationLocked);
        check(second.restrictions.channelsLocked == first.restrictions.channelsLocked);
        values = settings;
    }

    // Saving what was loaded and loading again changes nothing, the locks included.
    check(SaveSettings(values, second.channels, hooks.reportError));
    settings = SettingsValues();
    settings.Path = path;
    const LoadedSettings third = LoadSettings(settings, hooks);
    checkSame(second, values, third, settings);
    check(third.restrictions.configurationLocked == second.restrictions.configurationLocked);
    check(third.restrictions.channelsLocked == second.restrictions.channelsLocked);
    check(errors == 0 && firstRuns <= 1);
    return 0;
}
