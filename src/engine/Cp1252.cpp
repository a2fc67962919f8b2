#include "engine/Cp1252.h"

#include <array>

namespace {

// 0x80-0x9F; the five bytes Windows leaves unassigned map to the C1 control of the same
// value, as the platform's own conversion does, so every byte survives a round trip.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char encodeOne(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (std::size_t i = 0; i < kHigh.size(); ++i) {
        if (kHigh[i] == c)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

bool holds(char32_t c)
{
    return c == U'?' || (c <= 0xFFFF && encodeOne(char16_t(c)) != '?');
}

// Calls f with each character of text and its length in UTF-16 units (2 for a surrogate
// pair, 1 for anything else, a lone surrogate included).
template <typename F>
void forEachCharacter(const QString &text, F f)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            f(QChar::surrogateToUcs4(c, text.at(i + 1)), i, 2);
            ++i;
        } else {
            f(char32_t(c.unicode()), i, 1);
        }
    }
}

} // namespace

namespace Cp1252 {

QString toUnicode(const QByteArray &bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        *out++ = QChar(b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : char16_t(b));
    }
    return text;
}

QString toDisplay(const QByteArray &bytes)
{
    QString text = toUnicode(bytes);
    for (QChar &c : text) {
        if (c.category() == QChar::Other_Control && c != u'\r' && c != u'\n')
            c = u'?';
    }
    return text;
}

QByteArray fromUnicode(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            ++i; // one character, one replacement
            bytes.append('?');
            continue;
        }
        bytes.append(encodeOne(c.unicode()));
    }
    return bytes;
}

QString unheld(const QString &text)
{
    QString found;
    forEachCharacter(text, [&](char32_t c, qsizetype at, qsizetype length) {
        const QString character = text.mid(at, length);
        if (!holds(c) && !found.contains(character))
            found += character;
    });
    return found;
}

QString withoutUnheld(const QString &text)
{
    QString kept;
    kept.reserve(text.size());
    forEachCharacter(text, [&](char32_t c, qsizetype at, qsizetype length) {
        if (holds(c))
            kept += text.mid(at, length);
    });
    return kept;
}

} // namespace Cp1252
