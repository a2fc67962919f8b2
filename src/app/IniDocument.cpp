#include "app/IniDocument.h"

#include "app/NameRules.h"

#include <algorithm>
#include <limits>

namespace {

bool isBlank(char c)
{
    return NameRules::isBlank(c);
}

QByteArray trimBlanks(const QByteArray &text)
{
    return NameRules::trimBlanks(text);
}

// What a single-line name or value may hold: up to a zero byte, without line breaks.
QByteArray oneLine(const QByteArray &text)
{
    QByteArray line = text.left(text.indexOf('\0') < 0 ? text.size() : text.indexOf('\0'));
    line.replace('\r', ' ');
    line.replace('\n', ' ');
    return line;
}

// Enclosed in a pair of like quotes, which a read takes off.
bool isQuoted(const QByteArray &value)
{
    return value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
           value.back() == value.front();
}

// The name of a header line "[name]", or nullopt for any other line.
std::optional<QByteArray> headerName(const QByteArray &line)
{
    const QByteArray trimmed = trimBlanks(line);
    if (!trimmed.startsWith('['))
        return std::nullopt;
    const qsizetype close = trimmed.indexOf(']');
    return trimBlanks(close < 0 ? trimmed.mid(1) : trimmed.mid(1, close - 1));
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

IniDocument IniDocument::parse(const QByteArray &bytes)
{
    IniDocument doc;
    const qsizetype firstBreak = bytes.indexOf('\n');
    if (firstBreak > 0 && bytes[firstBreak - 1] == '\r')
        doc.m_newline = "\r\n";

    qsizetype pos = 0;
    while (pos < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', pos);
        if (end < 0)
            end = bytes.size();
        QByteArray text = bytes.mid(pos, end - pos);
        pos = end + 1;
        // Every carriage return at the end goes: one left behind would turn into a line break
        // of its own when written with "\r\n" endings.
        while (text.endsWith('\r'))
            text.chop(1);

        if (const std::optional<QByteArray> name = headerName(text)) {
            Section section;
            section.header = text;
            section.name = *name;
            doc.m_sections.append(std::move(section));
            continue;
        }
        if (doc.m_sections.isEmpty()) {
            doc.m_preamble.append(text);
            continue;
        }
        Section &section = doc.m_sections.last();
        if (trimBlanks(text).isEmpty()) {
            section.tail.append(text);
            continue;
        }
        // Blank lines followed by more content belong to the body after all.
        for (QByteArray &blank : section.tail)
            section.body.append(Line{std::move(blank), {}, {}});
        section.tail.clear();
        addLine(section, makeLine(text));
    }
    doc.rebuildSectionIndex();
    return doc;
}

QByteArray IniDocument::toBytes() const
{
    QByteArray out;
    const auto put = [&](const QByteArray &line) {
        out += line;
        out += m_newline;
    };
    for (const QByteArray &line : m_preamble)
        put(line);
    for (const Section &section : m_sections) {
        put(section.header);
        for (const Line &line : section.body)
            put(line.text);
        for (const QByteArray &line : section.tail)
            put(line);
    }
    return out;
}

std::optional<QByteArray> IniDocument::value(const QByteArray &section, const QByteArray &key) const
{
    const Section *found = findSection(section);
    if (!found)
        return std::nullopt;
    const auto it = found->keyIndex.constFind(foldName(key));
    if (it == found->keyIndex.cend())
        return std::nullopt;
    QByteArray value = found->body[*it].value;
    const qsizetype zero = value.indexOf('\0');
    if (zero >= 0)
        value.truncate(zero);
    // Hand-edited files often quote values ("1", 'Main'); the quotes are no part of them.
    if (isQuoted(value))
        value = value.mid(1, value.size() - 2);
    value.truncate(MaxValueLength);
    return value;
}

QByteArray IniDocument::readString(const QByteArray &section, const QByteArray &key,
                                   const QByteArray &defaultValue) const
{
    return value(section, key).value_or(defaultValue);
}

bool IniDocument::readBool(const QByteArray &section, const QByteArray &key,
                           bool defaultValue) const
{
    const std::optional<QByteArray> text = value(section, key);
    if (!text)
        return defaultValue;
    const std::optional<int> number = parseInteger(*text);
    return number ? *number != 0 : defaultValue;
}

QList<QByteArray> IniDocument::keyNames(const QByteArray &section, int bufferSize) const
{
    QList<QByteArray> names;
    const Section *found = findSection(section);
    if (!found)
        return names;
    // Each name takes its length and a zero; the list ends with one more zero.
    qsizetype used = 1;
    for (const qsizetype index : found->keyLines) {
        const QByteArray &name = found->body[index].key;
        if (used + name.size() + 1 > bufferSize)
            break;
        used += name.size() + 1;
        names.append(name);
    }
    return names;
}

bool IniDocument::valueExists(const QByteArray &section, const QByteArray &key) const
{
    const QByteArray folded = foldName(key);
    const QList<QByteArray> names = keyNames(section);
    return std::any_of(names.cbegin(), names.cend(),
                       [&](const QByteArray &name) { return foldName(name) == folded; });
}

void IniDocument::writeString(const QByteArray &section, const QByteArray &key,
                              const QByteArray &value)
{
    const QByteArray sectionName = oneLine(section);
    const QByteArray keyName = oneLine(key);
    // Blanks at either end and a pair of enclosing quotes would be lost when read back; one
    // more pair of quotes keeps them.
    QByteArray stored = oneLine(value);
    if (!stored.isEmpty() &&
        (isBlank(stored.front()) || isBlank(stored.back()) || isQuoted(stored)))
        stored = '"' + stored + '"';
    const Line line = makeLine(keyName + '=' + stored);

    const auto it = m_sectionIndex.constFind(foldName(sectionName));
    if (it == m_sectionIndex.cend()) {
        // A new section goes at the end, one blank line after what is there.
        if (!m_sections.isEmpty()) {
            Section &last = m_sections.last();
            if (last.tail.isEmpty())
                last.tail.append(QByteArray());
        } else if (!m_preamble.isEmpty() && !trimBlanks(m_preamble.last()).isEmpty()) {
            m_preamble.append(QByteArray());
        }
        Section added;
        added.header = '[' + sectionName + ']';
        added.name = sectionName;
        m_sectionIndex.insert(foldName(sectionName), m_sections.size());
        addLine(added, line);
        m_sections.append(std::move(added));
        return;
    }
    Section &target = m_sections[*it];
    const auto keyIt = target.keyIndex.constFind(foldName(keyName));
    if (keyIt != target.keyIndex.cend())
        target.body[*keyIt] = line;
    else
        addLine(target, line);
}

void IniDocument::eraseSection(const QByteArray &section)
{
    const QByteArray folded = foldName(oneLine(section));
    const qsizetype removed = m_sections.removeIf(
        [&](const Section &candidate) { return foldName(candidate.name) == folded; });
    if (removed > 0)
        rebuildSectionIndex();
}

void IniDocument::eraseKeys(const QByteArray &section)
{
    const QByteArray folded = foldName(oneLine(section));
    for (Section &candidate : m_sections) {
        if (foldName(candidate.name) != folded)
            continue;
        QList<Line> body;
        for (Line &line : candidate.body) {
            if (line.key.isEmpty())
                body.append(std::move(line));
        }
        candidate.body.clear();
        candidate.keyIndex.clear();
        candidate.keyLines.clear();
        for (Line &line : body)
            addLine(candidate, std::move(line));
    }
}

std::optional<int> IniDocument::parseInteger(const QByteArray &text)
{
    qsizetype pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    const bool hex =
        text.size() - pos > 2 && text[pos] == '0' && (text[pos + 1] == 'x' || text[pos + 1] == 'X');
    if (hex)
        pos += 2;
    const qsizetype digits = text.size() - pos;
    if (digits <= 0)
        return std::nullopt;

    qint64 magnitude = 0;
    if (hex) {
        // Up to 32 bits; 0xFFFFFFFF is -1, as a 32-bit integer holds it.
        if (digits > 8)
            return std::nullopt;
        for (; pos < text.size(); ++pos) {
            const int digit = hexDigit(text[pos]);
            if (digit < 0)
                return std::nullopt;
            magnitude = magnitude * 16 + digit;
        }
        const auto bits = static_cast<qint32>(static_cast<quint32>(magnitude));
        return negative ? static_cast<int>(0u - static_cast<quint32>(bits)) : bits;
    }
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c < '0' || c > '9')
            return std::nullopt;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > qint64(1) << 31)
            return std::nullopt;
    }
    const qint64 number = negative ? -magnitude : magnitude;
    if (number > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return static_cast<int>(number);
}

QByteArray IniDocument::foldName(const QByteArray &name)
{
    return NameRules::foldAscii(name);
}

IniDocument::Line IniDocument::makeLine(const QByteArray &text)
{
    const QByteArray trimmed = trimBlanks(text);
    const qsizetype equals = trimmed.indexOf('=');
    // Comments and lines without a name before "=" are kept but hold no key.
    if (trimmed.startsWith(';') || equals <= 0)
        return Line{text, {}, {}};
    QByteArray key = trimBlanks(trimmed.left(equals));
    if (key.isEmpty())
        return Line{text, {}, {}};
    return Line{text, std::move(key), trimBlanks(trimmed.mid(equals + 1))};
}

void IniDocument::addLine(Section &section, Line line)
{
    const qsizetype index = section.body.size();
    if (!line.key.isEmpty()) {
        const QByteArray folded = foldName(line.key);
        if (!section.keyIndex.contains(folded))
            section.keyIndex.insert(folded, index);
        section.keyLines.append(index);
    }
    section.body.append(std::move(line));
}

const IniDocument::Section *IniDocument::findSection(const QByteArray &name) const
{
    const auto it = m_sectionIndex.constFind(foldName(name));
    return it == m_sectionIndex.cend() ? nullptr : &m_sections[*it];
}

void IniDocument::rebuildSectionIndex()
{
    m_sectionIndex.clear();
    for (qsizetype i = 0; i < m_sections.size(); ++i) {
        const QByteArray folded = foldName(m_sections[i].name);
        if (!m_sectionIndex.contains(folded))
            m_sectionIndex.insert(folded, i);
    }
}
