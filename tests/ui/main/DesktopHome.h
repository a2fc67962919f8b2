#pragma once

#include "app/CodeCript.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

// The settings of a desktop or terminal copy started with its own HOME, for the tests that
// run the programs as processes.

/// The settings file the programs use under home (made on first use).
inline QString desktopSettingsFile(const QString &home)
{
    const QString folder = home + QStringLiteral("/.config/") +
                           QString::fromLatin1(CodeCript::Decode(CodeCript::OuterFolderName)) +
                           QLatin1Char('/') +
                           QString::fromLatin1(CodeCript::Decode(CodeCript::DisplayName));
    QDir().mkpath(folder);
    return folder + QStringLiteral("/tolvex.ini");
}

/// A current settings file for a copy named name on addr, port 5040, channel Main, so that
/// no first-run window opens.
inline void writeDesktopSettings(const QString &home, const QByteArray &name,
                                 const QByteArray &addr)
{
    QFile ini(desktopSettingsFile(home));
    if (ini.open(QIODevice::WriteOnly))
        ini.write("[Tolvex]\nVersion=010001\n[Server]\nPort=5040\nInterface=" + addr +
                  "\n[User]\nName=" + name + "\n[Channels]\nChannel0=Main\nSelected=Main\n");
}
