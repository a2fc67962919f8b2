#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <optional>

/// An INI text held as bytes (the settings file's single-byte code page), read and changed
/// with the rules of the platform's private-profile files: section and key names match
/// without regard to the case of A-Z, the first matching section and key count, values are
/// read up to MaxValueLength bytes without a pair of enclosing quotes, and a write keeps
/// every other line as it was.
/// Section and key names are the program's own; they hold no "=", "]" or line break.
class IniDocument final
{
public:
    /// Longest value a read gives; anything beyond is cut.
    static constexpr int MaxValueLength = 2047;
    /// Room for the key names of one section when testing whether a key exists, counting a
    /// zero after each name and one at the end; names beyond it count as missing.
    static constexpr int KeyNameBufferSize = 16384;

    /// Reads any bytes; lines that are neither a section header nor a key are kept as they are.
    static IniDocument parse(const QByteArray &bytes);

    /// The text; parsing it gives the same sections, keys and values again.
    QByteArray toBytes() const;

    /// The value of a key, or nullopt when the section or key is missing.
    std::optional<QByteArray> value(const QByteArray &section, const QByteArray &key) const;

    /// The value of a key, or defaultValue when it is missing.
    QByteArray readString(const QByteArray &section, const QByteArray &key,
                          const QByteArray &defaultValue) const;

    /// A key read as an integer (decimal, or hexadecimal after "0x"/"0X"), non-zero being
    /// true; a missing key or a value that is no integer gives defaultValue.
    bool readBool(const QByteArray &section, const QByteArray &key, bool defaultValue) const;

    /// The section's key names in file order, as many as fit in bufferSize bytes.
    QList<QByteArray> keyNames(const QByteArray &section, int bufferSize = KeyNameBufferSize) const;

    /// The key is among keyNames of its section.
    bool valueExists(const QByteArray &section, const QByteArray &key) const;

    /// Sets a key, adding it after the section's last line or adding the section at the end.
    /// The value ends at a zero byte, and line breaks in it become blanks, so that no value
    /// can add lines (and with them keys or sections) to the file. A value that would lose
    /// blanks at its ends or enclosing quotes on reading is written inside quotes.
    void writeString(const QByteArray &section, const QByteArray &key, const QByteArray &value);

    /// Removes every section of that name with all its lines.
    void eraseSection(const QByteArray &section);

    /// Removes the keys of every section of that name; its header, comments and other lines
    /// stay.
    void eraseKeys(const QByteArray &section);

    /// A whole text as a 32-bit integer: optional sign, then decimal digits or "0x"/"0X" and
    /// up to eight hexadecimal digits; nullopt for anything else or a value out of range.
    static std::optional<int> parseInteger(const QByteArray &text);

    /// A name with A-Z turned to lower case: the form in which names are compared.
    static QByteArray foldName(const QByteArray &name);

private:
    struct Line
    {
        QByteArray text;
        QByteArray key; // trimmed; empty when the line is no key
        QByteArray value;
    };
    struct Section
    {
        QByteArray header;
        QByteArray name;
        QList<Line> body;
        // Blank lines after the body: new keys go before them, so that the blank line that
        // separates sections stays in place.
        QList<QByteArray> tail;
        QHash<QByteArray, qsizetype> keyIndex; // folded key -> first line in body
        QList<qsizetype> keyLines;             // lines of body that hold keys, in order
    };

    static Line makeLine(const QByteArray &text);
    static void addLine(Section &section, Line line);
    const Section *findSection(const QByteArray &name) const;
    void rebuildSectionIndex();

    QList<QByteArray> m_preamble; // lines before the first section
    QList<Section> m_sections;
    QHash<QByteArray, qsizetype> m_sectionIndex; // folded name -> first section
    QByteArray m_newline = "\n";
};
