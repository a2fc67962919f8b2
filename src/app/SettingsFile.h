#pragma once

#include "app/Support.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>

/// Format version of the settings file, also the build number the about window shows. A file
/// with any other version is written anew right after it is read.
inline constexpr char SettingsFormatVersion[] = "010001";

/// The channel box as the settings file knows it: its items in order and its text.
struct ChannelSettings final
{
    /// The channel names, in the box's order; duplicates are allowed.
    QList<QByteArray> channels;
    /// The box's text, which is the active channel.
    QByteArray text;
    /// After loading: the index of the selected item, -1 when none is selected. Saving
    /// ignores it and writes text.
    int selected = -1;
    /// Channels of the list that were heard from others and never chosen here: the list
    /// may let them go to make room for newer ones ("Heard<n>" keys beside the list).
    QList<QByteArray> heard;
};

/// The two locks an administrator can set in the file's "Restrictions" section.
struct SettingsRestrictions final
{
    /// The tray menu's "Configuration..." item is disabled.
    bool configurationLocked = false;
    /// The channel box is disabled.
    bool channelsLocked = false;
};

/// Receives a message for the user, such as "Unable to write to <path>".
using SettingsErrorReport = std::function<void(const QString &message)>;

/// What LoadSettings needs from the windows.
struct SettingsHooks final
{
    /// Runs on a first run (no stored version) before the file is written; shows the about
    /// window and returns when it is closed. May be empty.
    std::function<void()> firstRun;
    /// Shows a failure to write the file. May be empty.
    SettingsErrorReport reportError;
};

/// What LoadSettings gives the windows to apply.
struct LoadedSettings final
{
    /// Items and selection for the channel box; channels.text is the active channel.
    ChannelSettings channels;
    SettingsRestrictions restrictions;
    /// No version was stored: the file was missing or had never been written.
    bool firstRun = false;
    /// The stored version differed, so the file was written anew.
    bool versionReset = false;
};

/// Reads values.Path into values (Port, Interface, UserName, AutoAdd) and returns the
/// channel box, the locks and the first-run state; then, when the stored version is not
/// SettingsFormatVersion, calls hooks.firstRun for a first run and writes the file anew from
/// the values now in memory. A missing or unreadable file yields the defaults; a file that
/// is too large to read is reported as such and left alone.
LoadedSettings LoadSettings(SettingsValues &values, const SettingsHooks &hooks = {});

/// The channel box as LoadSettings gives it from the file at path, without writing anything.
ChannelSettings LoadChannels(const QString &path);

/// Writes values and the channel box into values.Path, keeping keys it does not own (the
/// locks among them). The file is replaced in one step; when that is refused, reportError
/// gets "Unable to write to " and the path, the old file stays, and the result is false.
bool SaveSettings(const SettingsValues &values, const ChannelSettings &channels,
                  const SettingsErrorReport &reportError);
