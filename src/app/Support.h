#pragma once

#include <QByteArray>
#include <QString>

/// The process-wide settings values; they live in memory while the program runs and reach
/// the settings file only through SaveSettings.
struct SettingsValues final
{
    /// Full path of the settings file (a bare file name when no folder could be made).
    QString Path;
    /// UDP port as text; nothing validates it as a number.
    QByteArray Port;
    /// Own IPv4 address of the interface to use, dotted; empty until one is chosen.
    QByteArray Interface;
    /// The name under which this peer is listed by others.
    QByteArray UserName;
    /// Channels announced by other peers join the channel list by themselves.
    bool AutoAdd = false;
};

/// The one set of settings values of the process.
extern SettingsValues Settings;

/// The computer's name (up to its first dot, at most 15 characters) in lower case, or
/// Settings.Interface when that cannot be read; "|" becomes "-" in either case.
QByteArray DefaultUserName();

/// A per-user folder by its value name, with a trailing "/", or empty. "AppData" is the
/// config home; no other name is known here.
QString ShellFolder(const QString &valueName);

/// The settings folder <AppData>/<outer folder>/<DisplayName>/: a missing config home is made
/// first, then each of the two levels when missing; empty when the lookup or a creation fails.
QString SettingsFolder();

/// The settings file's name for an executable: its file name with A-Z in lower case and
/// its extension replaced by (or extended with) ".ini".
QString SettingsFileName(const QString &executablePath);

/// The line above which the main window sits: the top of a panel along the bottom of the
/// primary screen, else the screen height.
int TaskbarTop();
