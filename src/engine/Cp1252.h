#pragma once

#include <QByteArray>
#include <QString>

/// The program's 8-bit code page (Windows-1252), so that copies on any system read each
/// other's names and messages. Used only where a widget shows or takes text.
namespace Cp1252 {

/// Bytes to text; every one of the 256 byte values has a character.
QString toUnicode(const QByteArray &bytes);

/// Text to bytes; a character the code page cannot hold becomes "?" (one per character,
/// also for characters outside the Basic Multilingual Plane).
QByteArray fromUnicode(const QString &text);

} // namespace Cp1252
