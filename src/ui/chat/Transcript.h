#pragma once

#include <QByteArray>

class QTextDocument;

/// The layout of transcript entries in a rich-text document. Names and texts come from the
/// network: they are always inserted as plain text with a character format, never as markup.
namespace Transcript {

/// Appends one entry at the end of the document: the name (when not empty) and the mark
/// ("< " when outgoing, else "> ") bold in the name colour, then the text in regular weight
/// in the text colour, then a line break. CR LF, CR and LF inside the text start new lines,
/// so a text that ends with one leaves an empty line after the entry. Colours are 0x00BBGGRR;
/// name and text are Windows-1252 bytes. One edit block, so a view lays out only the entry.
void AppendEntry(QTextDocument &document, const QByteArray &name, const QByteArray &text,
                 quint32 nameColor, quint32 textColor, bool outgoing);

/// Makes a document ready to hold a transcript: no undo history, which would otherwise keep
/// a copy of every entry for as long as the program runs.
void Prepare(QTextDocument &document);

} // namespace Transcript
