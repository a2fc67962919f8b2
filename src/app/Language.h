#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

class QCoreApplication;

/// The language of the user's texts, from the locale variables as gettext reads them.
namespace Language {

/// The catalogue language for env among those available (for example "de", "pt_BR"), or
/// empty for English: LANGUAGE's colon list is tried first, entry by entry, then LC_ALL,
/// LC_MESSAGES or LANG, whichever is set first. A C or POSIX locale means English whatever
/// LANGUAGE says; "de_AT" falls back to "de", and "pt" to "pt_BR".
QString choose(const QProcessEnvironment &env, const QStringList &available);

/// The folders searched for the catalogues, first match wins: beside the program as
/// installed (<prefix>/bin/../share/tolvex/translations), in the build tree, then the
/// folder the package installs to.
QStringList folders();

/// The languages that have a catalogue named <catalogue>_<language>.qm in folders().
QStringList available(const QString &catalogue);

/// Loads <catalogue>_<language>.qm, and the toolkit's own qtbase catalogue where installed,
/// into app for the process environment's language; returns the language, or empty for
/// English (nothing loaded).
QString install(QCoreApplication &app, const QString &catalogue);

} // namespace Language
