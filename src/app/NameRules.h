#pragma once

#include <QByteArray>

/// How names and typed words are compared and trimmed, in one place: channel names in the
/// channel box and in the settings file, typed channels, and the settings file's lines.
namespace NameRules {

/// A blank: the space and every control character (every byte of 32 or less).
bool isBlank(char c);

/// The text without blanks at either end.
QByteArray trimBlanks(const QByteArray &text);

/// The text without blanks at its end.
QByteArray trimTrailingBlanks(const QByteArray &text);

/// Lower case in the Windows-1252 code page (A-Z, the accented capitals, Š Œ Ž Ÿ): the form
/// in which channel names match, so that "ÉTÉ" and "été" name one channel on either system.
QByteArray foldCase(const QByteArray &name);

/// A-Z in lower case and nothing else: the settings file's section and key names. They are
/// the program's own ASCII names, so the file's codec needs no code page to compare them.
QByteArray foldAscii(const QByteArray &name);

} // namespace NameRules
