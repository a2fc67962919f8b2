#pragma once

#include <QByteArray>

class QTextDocument;

/// Writes a rich-text document as an RTF document: paragraphs, text colours and bold. The
/// output is 7-bit ASCII; "\", "{" and "}" are escaped, characters of Windows-1252 above 127
/// are written as \'xx and every other character, controls included, as \uN with the
/// fallback "?" (UTF-16 units, so characters beyond the Basic Multilingual Plane become their
/// surrogate pair). Tabs and line separators become \tab and \line.
namespace RtfWriter {

QByteArray write(const QTextDocument &document);

} // namespace RtfWriter
