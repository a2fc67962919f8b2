#pragma once

#include <QByteArray>
#include <QString>

/// The program's 8-bit code page (Windows-1252), so that copies on any system read each
/// other's names and messages. Used only where a widget shows or takes text.
namespace Cp1252 {

/// Bytes to text; every one of the 256 byte values has a character.
QString toUnicode(const QByteArray &bytes);

/// Bytes as a window shows them: like toUnicode, but every control character (the five
/// bytes the code page leaves undefined among them) reads "?", as on the terminal, instead of
/// an empty box; CR and LF stay for the transcript's line breaks.
QString toDisplay(const QByteArray &bytes);

/// Text to bytes; a character the code page cannot hold becomes "?" (one per character,
/// also for characters outside the Basic Multilingual Plane).
QByteArray fromUnicode(const QString &text);

/// The characters of text the code page cannot hold, each once, in the order they first
/// appear; empty when the whole text survives fromUnicode unchanged.
QString unheld(const QString &text);

/// Text with every character the code page cannot hold left out.
QString withoutUnheld(const QString &text);

} // namespace Cp1252
