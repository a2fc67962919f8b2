#include "ui/chat/RtfWriter.h"

#include "ChatTestSupport.h"
#include "ui/WindowLook.h"
#include "ui/chat/Transcript.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace {

// One character with its look; the colour is empty when none was set.
struct Styled
{
    QChar c;
    QString color;
    bool bold = false;
    bool operator==(const Styled &) const = default;
};

// The text of a document as styled characters, "\n" between paragraphs.
QList<Styled> styledText(const QTextDocument &doc)
{
    QList<Styled> out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        if (b != doc.begin())
            out.append({QChar(u'\n'), {}, false});
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            const QString color =
                f.foreground().style() == Qt::NoBrush ? QString() : f.foreground().color().name();
            for (const QChar c : it.fragment().text())
                out.append({c, color, f.fontWeight() >= QFont::DemiBold});
        }
    }
    return out;
}

// unrtf's HTML body as styled characters: <b>, <font color> and <br> are the tags that carry
// what the writer wrote; entities are decoded, the line breaks of the HTML source are not text.
QList<Styled> parseUnrtfHtml(const QString &html)
{
    QList<Styled> out;
    const qsizetype bodyStart = html.indexOf(QStringLiteral("<body>"));
    const qsizetype bodyEnd = html.lastIndexOf(QStringLiteral("</body>"));
    if (bodyStart < 0 || bodyEnd < bodyStart)
        return out;
    const QString body = html.mid(bodyStart + 6, bodyEnd - bodyStart - 6);
    QStringList colors;
    int bold = 0;
    static const QRegularExpression colorAttr(QStringLiteral("color=\"(#[0-9a-fA-F]{6})\""));
    const auto push = [&](QChar c) {
        out.append({c, colors.isEmpty() ? QString() : colors.back(), bold > 0});
    };
    for (qsizetype i = 0; i < body.size();) {
        const QChar c = body.at(i);
        if (c == u'<') {
            const qsizetype close = body.indexOf(u'>', i);
            const QString tag = body.mid(i + 1, close - i - 1);
            if (tag == u"b")
                ++bold;
            else if (tag == u"/b")
                --bold;
            else if (tag == u"br")
                push(QChar(u'\n'));
            else if (tag.startsWith(u"font")) {
                const QRegularExpressionMatch m = colorAttr.match(tag);
                colors.append(m.hasMatch() ? m.captured(1).toLower()
                                           : (colors.isEmpty() ? QString() : colors.back()));
            } else if (tag == u"/font" && !colors.isEmpty())
                colors.removeLast();
            i = close + 1;
        } else if (c == u'&') {
            const qsizetype semi = body.indexOf(u';', i);
            const QString entity = body.mid(i, semi - i + 1);
            if (entity.startsWith(u"&#")) {
                push(QChar(char16_t(entity.mid(2, entity.size() - 3).toUInt())));
            } else {
                QTextDocument decoder;
                decoder.setHtml(entity);
                for (const QChar d : decoder.toRawText())
                    push(d);
            }
            i = semi + 1;
        } else {
            if (c != u'\n')
                push(c);
            ++i;
        }
    }
    return out;
}

QString plain(const QList<Styled> &text)
{
    QString s;
    for (const Styled &c : text)
        s += c.c;
    return s;
}

// The reader folds runs of blanks into one, as HTML does; everything else must match.
QString foldBlanks(QString s)
{
    static const QRegularExpression blanks(QStringLiteral(" {2,}"));
    return s.replace(blanks, QStringLiteral(" ")).trimmed();
}

QList<Styled> withoutBlanks(const QList<Styled> &text)
{
    QList<Styled> out;
    for (const Styled &c : text) {
        if (!c.c.isSpace())
            out.append(c);
    }
    return out;
}

QList<Styled> readWithUnrtf(const QByteArray &rtf)
{
    const QString unrtf = QStandardPaths::findExecutable(QStringLiteral("unrtf"));
    EXPECT_FALSE(unrtf.isEmpty()) << "unrtf is installed by scripts/install-deps";
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.rtf"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(rtf);
    file.close();
    QProcess reader;
    reader.start(unrtf, {QStringLiteral("--html"), path});
    EXPECT_TRUE(reader.waitForFinished(30000));
    EXPECT_EQ(reader.exitCode(), 0) << reader.readAllStandardError().toStdString();
    return parseUnrtfHtml(QString::fromUtf8(reader.readAllStandardOutput()));
}

// Text, colours and weights of the document survive the trip through the reader.
void expectReadBack(const QTextDocument &doc)
{
    const QList<Styled> want = styledText(doc);
    const QList<Styled> got = readWithUnrtf(RtfWriter::write(doc));
    EXPECT_EQ(foldBlanks(plain(got)).toStdString(), foldBlanks(plain(want)).toStdString());
    const QList<Styled> gotInk = withoutBlanks(got);
    const QList<Styled> wantInk = withoutBlanks(want);
    ASSERT_EQ(gotInk.size(), wantInk.size());
    for (qsizetype i = 0; i < wantInk.size(); ++i) {
        ASSERT_EQ(gotInk[i], wantInk[i])
            << "character " << i << " '" << QString(wantInk[i].c).toStdString() << "' want "
            << wantInk[i].color.toStdString() << (wantInk[i].bold ? " bold" : "") << ", got "
            << gotInk[i].color.toStdString() << (gotInk[i].bold ? " bold" : "");
    }
}

TEST(RtfWriterRaw, IsSevenBitWithBalancedGroups)
{
    QTextDocument doc;
    Transcript::AppendEntry(doc, "N\xe9{", "}\\\x80\xff", 0x000000FF, 0, false);
    const QByteArray rtf = RtfWriter::write(doc);
    int depth = 0;
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        const auto c = static_cast<unsigned char>(rtf.at(i));
        ASSERT_LT(c, 0x80) << "at " << i;
        if (c == '\\') {
            ++i; // an escaped brace does not count
        } else if (c == '{') {
            ++depth;
        } else if (c == '}') {
            ASSERT_GT(depth, 0);
            --depth;
        }
    }
    EXPECT_EQ(depth, 0);
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252"));
    EXPECT_TRUE(rtf.contains("N\\'e9\\{"));
    EXPECT_TRUE(rtf.contains("\\}\\\\\\'80\\'ff"));
}

TEST(RtfWriterReadBack, KeepsNamesTextsBreaksColoursAndBold)
{
    QTextDocument doc;
    Transcript::AppendEntry(doc, "Alice", "first\r\nsecond", 0x000000FF, 0x00000000, false);
    Transcript::AppendEntry(doc, "Bob", "sent\r\n", 0x00808080, 0x00000000, true);
    Transcript::AppendEntry(doc, "Carol", "  leading blanks", 0x00008000, 0x00800000, false);
    Transcript::AppendEntry(doc, "", "no name", 0, 0x00FF0000, false);
    expectReadBack(doc);
}

TEST(RtfWriterReadBack, HostileTranscriptComesBackUnchanged)
{
    QByteArray everyHighByte;
    for (int b = 0x80; b <= 0xFF; ++b)
        everyHighByte += char(b);
    QByteArray controls;
    for (int b = 1; b < 0x20; ++b) {
        if (b != '\r' && b != '\n' && b != '\t')
            controls += char(b);
    }
    controls += '\x7f';
    const QByteArray texts[] = {
        "{\\rtf1\\ansi {\\fonttbl x}\\par}",
        "}}}{{{ \\\\ \\ \\' \\u123? \\*\\generator \\'41",
        "<b>x</b> <img src=file:///etc/passwd> &amp;",
        everyHighByte,
        "a" + controls + "z",
    };
    QTextDocument doc;
    for (const QByteArray &text : texts)
        Transcript::AppendEntry(doc, "{\\b0 n}\\", text, 0x000000FF, 0, false);
    // Characters the code page cannot hold, one of them beyond the BMP.
    QTextCursor end(&doc);
    end.movePosition(QTextCursor::End);
    QTextCharFormat green;
    green.setForeground(QColor(0, 128, 0));
    green.setFontWeight(QFont::Bold);
    end.insertText(QStringLiteral(u"\u263A \u4E2D\u6587 \U0001F600 \u0100 \uFFFD"), green);
    expectReadBack(doc);
}

} // namespace
