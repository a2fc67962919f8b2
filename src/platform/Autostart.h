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
    /// entries require). Its TryExec line names the same path, so that a session skips the
    /// entry once the program is gone (the package removed), instead of failing to start it.
    static QByteArray entryText(const QString &executablePath);

    /// The program the entry starts: the first argument of its Exec line, unquoted; empty
    /// when there is no entry or no Exec line.
    static QString target();

    enum class Repair
    {
        /// No entry.
        Absent,
        /// The entry starts this program as written today.
        Current,
        /// The entry was rewritten to start this program.
        Repaired,
        /// The entry starts another program that exists: another installed copy's choice.
        LeftAlone,
        /// The entry needed repair and could not be written.
        Failed
    };

    /// At start: an entry that starts a program which is gone (a removed package, a moved
    /// build), or this program in an older form, is rewritten for executablePath.
    static Repair repair(const QString &executablePath);
};
