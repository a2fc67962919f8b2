#pragma once

#include <QByteArray>
#include <QString>

/// The start-at-log-on mark: a desktop entry in the user's autostart folder that starts the
/// program's executable by its absolute path.
class Autostart final
{
public:
    /// Path of the entry (<config home>/autostart/Tolvex.desktop), or empty without a config
    /// home.
    static QString entryPath();

    /// The entry is present.
    static bool isSet();

    /// Writes the entry for the executable, replacing any earlier one; false on failure.
    static bool set(const QString &executablePath);

    /// Removes the entry; true also when there was none.
    static bool remove();

    /// The entry's text for an executable path (its Exec line quoted and escaped as desktop
    /// entries require).
    static QByteArray entryText(const QString &executablePath);
};
