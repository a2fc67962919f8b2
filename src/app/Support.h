#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <optional>

/// The settings values of a program; they live in memory while it runs and reach the
/// settings file only through SaveSettings. Each front-end owns one set and hands it to the
/// engine and to the settings-file routines.
struct SettingsValues final
{
    /// Full path of the settings file; empty when no folder for it is known.
    QString Path;
    /// UDP port as text; nothing validates it as a number.
    QByteArray Port;
    /// Own IPv4 address of the interface to use, dotted; empty until one is chosen.
    QByteArray Interface;
    /// The name under which this peer is listed by others.
    QByteArray UserName;
    /// Channels announced by other peers join the channel list by themselves.
    bool AutoAdd = false;
    /// Other networks that presence goes to besides the broadcast: directed broadcast
    /// addresses and single hosts, dotted or by name.
    QList<QByteArray> Targets;
};

/// The computer's name (up to its first dot, at most 15 characters) in lower case, or
/// interfaceAddr when that cannot be read; "|" becomes "-" in either case.
QByteArray DefaultUserName(const QByteArray &interfaceAddr);

/// A per-user folder by its value name, with a trailing "/", or empty. "AppData" is the
/// config home; no other name is known here.
QString ShellFolder(const QString &valueName);

/// The settings folder <AppData>/<outer folder>/<DisplayName>/: a missing config home is made
/// first, then each of the two levels when missing; empty when the lookup or a creation fails.
QString SettingsFolder();

/// The settings file's name for an executable: its file name with A-Z in lower case and
/// its extension replaced by (or extended with) ".ini".
QString SettingsFileName(const QString &executablePath);

/// The full path of an executable's settings file in SettingsFolder(). When the folder
/// cannot be made (a read-only home), the path it would have there, so that the failed
/// write names it; empty when no config home is known. Never a path in the working
/// directory.
QString SettingsFilePath(const QString &executablePath);

/// The port number of a port text: decimal digits only, 1 to 65535; nullopt otherwise.
std::optional<quint16> PortNumber(const QByteArray &port);
