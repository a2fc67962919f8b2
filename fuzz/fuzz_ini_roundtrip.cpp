// Writes and erasures on any INI text read back as written, before and after the text is
// saved and parsed again, and leave every other key of the touched sections as it was.
// The input is the text, then "\n%%\n", then records split by 0x1E: "section 0x1F key
// 0x1F value" writes, a record without 0x1F erases that section.
// Links: tolvex_app
#include "app/IniDocument.h"
#include "app/NameRules.h"

#include <cstdint>
#include <cstdlib>
#include <map>
#include <optional>
#include <utility>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

constexpr int kMaxRecords = 64;

// Names are the program's own: no "=", "]", zero or line break anywhere, no blank at the
// ends, and a key that does not begin like a comment or a header.
QByteArray asName(QByteArray name, bool key)
{
    name.replace('\0', "").replace('\n', "").replace('\r', "").replace('=', "").replace(']', "");
    name = NameRules::trimBlanks(name);
    while (key && (name.startsWith(';') || name.startsWith('[')))
        name = NameRules::trimBlanks(name.mid(1));
    return name;
}

// What a read gives for a written value: the part up to a zero, line breaks as blanks.
QByteArray readsAs(const QByteArray &value)
{
    QByteArray line = value.left(value.indexOf('\0') < 0 ? value.size() : value.indexOf('\0'));
    line.replace('\r', ' ').replace('\n', ' ');
    return line.left(IniDocument::MaxValueLength);
}

using Model =
    std::map<QByteArray, std::map<QByteArray, std::pair<QByteArray, std::optional<QByteArray>>>>;

void checkModel(const IniDocument &doc, const Model &model)
{
    for (const auto &[folded, keys] : model) {
        for (const auto &[foldedKey, entry] : keys) {
            (void)folded;
            (void)foldedKey;
            const auto &[names, expected] = entry;
            const qsizetype split = names.indexOf('\x1f');
            check(doc.value(names.left(split), names.mid(split + 1)) == expected);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const qsizetype cut = bytes.indexOf("\n%%\n");
    const QByteArray text = cut < 0 ? bytes : bytes.left(cut);
    const QList<QByteArray> records =
        cut < 0 ? QList<QByteArray>() : bytes.mid(cut + 4).split('\x1e');

    IniDocument doc = IniDocument::parse(text);
    // Every key that the records name, and every key of a section they name, with the value
    // it has now; keyed by folded names, holding the names used to read it.
    Model model;
    const auto track = [&](const QByteArray &section, const QByteArray &key) {
        auto &keys = model[IniDocument::foldName(section)];
        const QByteArray folded = IniDocument::foldName(key);
        if (keys.find(folded) == keys.end())
            keys[folded] = {section + '\x1f' + key, doc.value(section, key)};
    };
    for (qsizetype i = 0; i < records.size() && i < kMaxRecords; ++i) {
        const QList<QByteArray> fields = records[i].split('\x1f');
        const QByteArray section = asName(fields[0], false);
        if (section.isEmpty())
            continue;
        for (const QByteArray &key : doc.keyNames(section))
            track(section, key);
        if (fields.size() >= 2 && !asName(fields[1], true).isEmpty())
            track(section, asName(fields[1], true));
    }

    for (qsizetype i = 0; i < records.size() && i < kMaxRecords; ++i) {
        const QList<QByteArray> fields = records[i].split('\x1f');
        const QByteArray section = asName(fields[0], false);
        if (section.isEmpty())
            continue;
        auto &keys = model[IniDocument::foldName(section)];
        if (fields.size() < 2) {
            doc.eraseSection(section);
            for (auto &[folded, entry] : keys)
                entry.second = std::nullopt;
            continue;
        }
        const QByteArray key = asName(fields[1], true);
        if (key.isEmpty())
            continue;
        const QByteArray value = fields.size() > 2 ? fields.mid(2).join('\x1f') : QByteArray();
        doc.writeString(section, key, value);
        keys[IniDocument::foldName(key)].second = readsAs(value);
        checkModel(doc, model);
    }

    checkModel(doc, model);
    const QByteArray saved = doc.toBytes();
    const IniDocument reread = IniDocument::parse(saved);
    checkModel(reread, model);
    check(reread.toBytes() == saved);
    return 0;
}
