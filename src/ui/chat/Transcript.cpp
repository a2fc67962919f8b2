#include "ui/chat/Transcript.h"

#include "ui/WindowLook.h"

#include <QTextCursor>
#include <QTextDocument>

namespace Transcript {

namespace {

// Inserts text, starting a new block at every CR LF, CR or LF.
void insertLines(QTextCursor &cursor, const QString &text, const QTextCharFormat &format)
{
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        if (i > start)
            cursor.insertText(text.mid(start, i - start), format);
        cursor.insertBlock(QTextBlockFormat(), format);
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        cursor.insertText(text.mid(start), format);
}

} // namespace

void AppendEntry(QTextDocument &document, const QByteArray &name, const QByteArray &text,
                 quint32 nameColor, quint32 textColor, bool outgoing)
{
    QTextCursor cursor(&document);
    cursor.movePosition(QTextCursor::End);
    cursor.beginEditBlock();
    if (!name.isEmpty()) {
        QTextCharFormat nameFormat;
        nameFormat.setForeground(WindowLook::color(nameColor));
        nameFormat.setFontWeight(QFont::Bold);
        insertLines(cursor, WindowLook::text(name + (outgoing ? "< " : "> ")), nameFormat);
    }
    QTextCharFormat textFormat;
    textFormat.setForeground(WindowLook::color(textColor));
    textFormat.setFontWeight(QFont::Normal);
    insertLines(cursor, WindowLook::text(text), textFormat);
    // The entry's own line break; after a text that ended in one, this leaves an empty line.
    cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    cursor.endEditBlock();
}

void Prepare(QTextDocument &document)
{
    document.setUndoRedoEnabled(false);
}

} // namespace Transcript
