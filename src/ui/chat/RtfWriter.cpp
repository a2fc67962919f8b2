#include "ui/chat/RtfWriter.h"

#include "engine/Cp1252.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QTextBlock>
#include <QTextDocument>
#include <array>

namespace RtfWriter {

namespace {

// The characters that Windows-1252 puts at 0x80 to 0x9F; 0xA0 to 0xFF are Latin-1's own.
const std::array<char16_t, 32> &upperControlBlock()
{
    static const std::array<char16_t, 32> table = [] {
        std::array<char16_t, 32> t{};
        for (int b = 0; b < 32; ++b)
            t[std::size_t(b)] = Cp1252::toUnicode(QByteArray(1, char(0x80 + b))).at(0).unicode();
        return t;
    }();
    return table;
}

// The Windows-1252 byte of a printable character above 127, or -1. The five bytes the code
// page leaves unassigned stand for C1 controls, which readers drop when written as bytes.
int codePageByte(char16_t c)
{
    if (c >= 0xA0 && c <= 0xFF)
        return c;
    if (c < 0x100)
        return -1;
    const std::array<char16_t, 32> &table = upperControlBlock();
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (table[i] == c)
            return int(0x80 + i);
    }
    return -1;
}

void appendText(QByteArray &out, QStringView text)
{
    static constexpr char hex[] = "0123456789abcdef";
    for (const QChar qc : text) {
        const char16_t c = qc.unicode();
        if (c == u'\\' || c == u'{' || c == u'}') {
            out += '\\';
            out += char(c);
        } else if (c >= 0x20 && c < 0x7F) {
            out += char(c);
        } else if (c == u'\t') {
            out += "\\tab ";
        } else if (c == QChar::LineSeparator) {
            out += "\\line ";
        } else if (const int b = codePageByte(c); b >= 0) {
            out += "\\'";
            out += hex[b >> 4];
            out += hex[b & 0xF];
        } else {
            // RTF numbers are signed 16-bit. The "?" that a reader without Unicode shows is
            // written as \'3f: some readers drop the rest of the word after a literal one.
            out += "\\u";
            out += QByteArray::number(int(qint16(c)));
            out += "\\'3f";
        }
    }
}

// Colour table index of a character format: 0 (the reader's default) without a colour.
int colorIndex(const QTextCharFormat &format, QHash<QRgb, int> &table, QList<QRgb> &order)
{
    if (format.foreground().style() == Qt::NoBrush)
        return 0;
    const QRgb rgb = format.foreground().color().rgb() & 0xFFFFFF;
    auto it = table.constFind(rgb);
    if (it != table.constEnd())
        return it.value();
    order.append(rgb);
    table.insert(rgb, int(order.size()));
    return int(order.size());
}

bool isBold(const QTextCharFormat &format)
{
    return format.fontWeight() >= QFont::DemiBold;
}

} // namespace

QByteArray write(const QTextDocument &document)
{
    QHash<QRgb, int> colors;
    QList<QRgb> order;
    QByteArray body;
    body.reserve(document.characterCount() + 64);
    int currentColor = 0;
    bool currentBold = false;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block != document.begin())
            body += "\\par\r\n";
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            const QTextCharFormat format = fragment.charFormat();
            const int color = colorIndex(format, colors, order);
            const bool bold = isBold(format);
            if (color != currentColor) {
                body += "\\cf" + QByteArray::number(color) + ' ';
                currentColor = color;
            }
            if (bold != currentBold) {
                body += bold ? "\\b " : "\\b0 ";
                currentBold = bold;
            }
            appendText(body, fragment.text());
        }
    }

    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1"
                     "{\\fonttbl{\\f0\\fswiss\\fcharset0 Tahoma;}}\r\n{\\colortbl ;";
    for (const QRgb rgb : order) {
        out += "\\red" + QByteArray::number(qRed(rgb)) + "\\green" +
               QByteArray::number(qGreen(rgb)) + "\\blue" + QByteArray::number(qBlue(rgb)) + ';';
    }
    out += "}\r\n\\viewkind4\\pard\\plain\\f0\\fs16 ";
    out += body;
    out += "\r\n}\r\n";
    return out;
}

} // namespace RtfWriter
