// Feeds arbitrary transcript entries to the RTF writer and reads the result back with a
// small RTF reader of its own: the output must be 7-bit, well nested, and carry every
// character of the transcript with its colour and weight.
// Links: tolvex_ui
#include "engine/Cp1252.h"
#include "ui/chat/RtfWriter.h"
#include "ui/chat/Transcript.h"

#include <QColor>
#include <QList>
#include <QTextBlock>
#include <QTextDocument>
#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

struct Styled
{
    char16_t c;
    int color; // RGB, or -1 without a colour
    bool bold;
    bool operator==(const Styled &) const = default;
};

QList<Styled> documentText(const QTextDocument &doc)
{
    QList<Styled> out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        if (b != doc.begin())
            out.append({u'\n', -1, false});
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            const int color = f.foreground().style() == Qt::NoBrush
                                  ? -1
                                  : int(f.foreground().color().rgb() & 0xFFFFFF);
            for (const QChar c : it.fragment().text())
                out.append({c.unicode(), color, f.fontWeight() >= QFont::DemiBold});
        }
    }
    return out;
}

// Just enough of RTF to read what the writer writes.
class Reader
{
public:
    explicit Reader(const QByteArray &rtf) : m_in(rtf) {}

    QList<Styled> read()
    {
        while (m_pos < m_in.size()) {
            const char c = m_in.at(m_pos++);
            if (c == '{') {
                m_stack.append(m_state);
            } else if (c == '}') {
                check(!m_stack.isEmpty());
                m_state = m_stack.takeLast();
                if (m_stack.isEmpty())
                    check(m_in.mid(m_pos).trimmed().isEmpty()); // nothing after the document
            } else if (c == '\\') {
                control();
            } else if (c != '\r' && c != '\n') {
                text(char16_t(static_cast<unsigned char>(c)));
            }
        }
        check(m_stack.isEmpty());
        return m_out;
    }

private:
    struct State
    {
        int color = 0;
        bool bold = false;
        enum
        {
            Body,
            FontTable,
            ColorTable
        } dest = Body;
    };

    void text(char16_t c)
    {
        if (m_state.dest == State::ColorTable && c == ';') {
            // An entry without components is the reader's default colour.
            m_colors.append(m_red < 0 ? -1 : int(m_red << 16 | m_green << 8 | m_blue));
            m_red = -1;
            m_green = m_blue = 0;
            return;
        }
        if (m_state.dest != State::Body)
            return;
        if (m_skip > 0) {
            --m_skip;
            return;
        }
        const int color = m_state.color == 0 ? -1 : m_colors.value(m_state.color, -2);
        check(color != -2);
        m_out.append({c, color, m_state.bold});
    }

    void control()
    {
        check(m_pos < m_in.size());
        const char c = m_in.at(m_pos);
        if (c == '\\' || c == '{' || c == '}') {
            ++m_pos;
            text(char16_t(c));
            return;
        }
        if (c == '\'') {
            check(m_pos + 2 < m_in.size());
            bool hex = false;
            const int b = m_in.mid(m_pos + 1, 2).toInt(&hex, 16);
            check(hex);
            m_pos += 3;
            const QString u = Cp1252::toUnicode(QByteArray(1, char(b)));
            text(u.at(0).unicode());
            return;
        }
        qsizetype end = m_pos;
        while (end < m_in.size() && std::isalpha(static_cast<unsigned char>(m_in.at(end))))
            ++end;
        check(end > m_pos); // no other control symbols are written
        const QByteArray word = m_in.mid(m_pos, end - m_pos);
        qsizetype numEnd = end;
        if (numEnd < m_in.size() && m_in.at(numEnd) == '-')
            ++numEnd;
        while (numEnd < m_in.size() && std::isdigit(static_cast<unsigned char>(m_in.at(numEnd))))
            ++numEnd;
        const bool hasNumber = numEnd > end;
        const int number = hasNumber ? m_in.mid(end, numEnd - end).toInt() : 0;
        m_pos = numEnd;
        if (m_pos < m_in.size() && m_in.at(m_pos) == ' ')
            ++m_pos; // the delimiter
        if (word == "fonttbl") {
            m_state.dest = State::FontTable;
        } else if (word == "colortbl") {
            m_state.dest = State::ColorTable;
        } else if (word == "red") {
            m_red = number;
        } else if (word == "green") {
            m_green = number;
        } else if (word == "blue") {
            m_blue = number;
        } else if (word == "cf") {
            m_state.color = number;
        } else if (word == "b") {
            m_state.bold = !hasNumber || number != 0;
        } else if (word == "plain") {
            m_state.color = 0;
            m_state.bold = false;
        } else if (word == "par") {
            text(u'\n');
        } else if (word == "tab") {
            text(u'\t');
        } else if (word == "line") {
            text(QChar::LineSeparator);
        } else if (word == "u") {
            text(char16_t(number));
            m_skip = 1; // \uc1: the fallback that follows
        }
    }

    const QByteArray &m_in;
    qsizetype m_pos = 0;
    State m_state;
    QList<State> m_stack;
    QList<int> m_colors;
    int m_red = -1, m_green = 0, m_blue = 0;
    int m_skip = 0;
    QList<Styled> m_out;
};

quint32 colorFrom(const uint8_t *p)
{
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Entries: flags, three bytes of name colour, three of text colour, name length, text
    // length (two bytes), then the name and text bytes.
    QTextDocument doc;
    Transcript::Prepare(doc);
    size_t pos = 0;
    int entries = 0;
    while (pos + 10 <= size && entries < 64) {
        const uint8_t *h = data + pos;
        const size_t nameLen = h[7];
        const size_t textLen = size_t(h[8]) | size_t(h[9]) << 8;
        pos += 10;
        const size_t n = std::min(nameLen, size - pos);
        const QByteArray name(reinterpret_cast<const char *>(data + pos), qsizetype(n));
        pos += n;
        const size_t t = std::min(textLen, size - pos);
        const QByteArray text(reinterpret_cast<const char *>(data + pos), qsizetype(t));
        pos += t;
        Transcript::AppendEntry(doc, name, text, colorFrom(h + 1), colorFrom(h + 4), h[0] & 1);
        ++entries;
    }

    const QByteArray rtf = RtfWriter::write(doc);
    for (const char c : rtf)
        check(static_cast<unsigned char>(c) < 0x80);
    check(rtf.startsWith("{\\rtf1"));

    // Line separators inside a block are written as \line and read back as such; the
    // document's own characters must come back one for one.
    const QList<Styled> want = documentText(doc);
    const QList<Styled> got = Reader(rtf).read();
    check(got.size() == want.size());
    for (qsizetype i = 0; i < want.size(); ++i) {
        check(got[i].c == want[i].c);
        if (want[i].c != u'\n') {
            check(got[i].bold == want[i].bold);
            check(got[i].color == want[i].color);
        }
    }
    return 0;
}
