#pragma once

#include <QByteArray>
#include <QByteArrayList>

/// The rules that keep typed text from breaking the datagram fields.
namespace TextRules {

/// Longest chat line a user can type, in characters (one byte each in the code page).
inline constexpr qsizetype kMaxTypedLine = 1000;

/// Removes blanks and control characters (every byte of 32 or less) from both ends.
QByteArray trimBlanks(const QByteArray &text);

/// Removes blanks and control characters from the end only; leading blanks belong to a
/// chat line.
QByteArray trimTrailingBlanks(const QByteArray &text);

/// Replaces every field separator "|" by "-": for names and channels, which travel inside
/// one field.
QByteArray separatorToDash(QByteArray text);

/// What a typed message may carry on the wire: every control character (bytes below 32
/// and 127) is removed except tab and the CR LF pairs that stand for line breaks; a NUL
/// would end the text at every receiver, and the others are terminal commands or noise.
QByteArray withoutControls(const QByteArray &text);

/// A typed chat line as it is handed to the engine: trailing blanks removed, cut to
/// kMaxTypedLine characters, every "|" turned into CR LF. Empty when nothing is left to send.
QByteArray prepareChatLine(const QByteArray &typed);

/// pattern (a translated text already in the bytes it is shown in) with %1 ... %9 replaced
/// by args; what is filled in is not read again, so a name holding "%2" stays as it is.
QByteArray fillArgs(const QByteArray &pattern, const QByteArrayList &args);

} // namespace TextRules
