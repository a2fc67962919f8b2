// Feeds arbitrary bytes to the INI codec as a settings file and checks that reading, writing
// and erasing keep their promises on whatever the file held.
// Links: tolvex_app
#include "app/IniDocument.h"

#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    IniDocument doc = IniDocument::parse(bytes);

    // Writing out and reading back is stable.
    const QByteArray once = doc.toBytes();
    check(IniDocument::parse(once).toBytes() == once);

    const QByteArray sections[] = {"Tolvex", "Server", "User", "Channels", "Restrictions"};
    const QByteArray keys[] = {"Version", "Port", "Name", "Channel0", "Selected", "AutoAdd"};
    for (const QByteArray &section : sections) {
        for (const QByteArray &key : keys) {
            const std::optional<QByteArray> value = doc.value(section, key);
            check(!value ||
                  (value->size() <= IniDocument::MaxValueLength && !value->contains('\0')));
            doc.readBool(section, key, true);
        }
        qsizetype used = 1;
        for (const QByteArray &name : doc.keyNames(section))
            used += name.size() + 1;
        check(used <= IniDocument::KeyNameBufferSize);
    }

    // A value taken from the input reads back as one line, whatever it holds.
    const QByteArray value = bytes.left(64);
    doc.writeString("Channels", "Channel0", value);
    doc.eraseSection("Server");
    const IniDocument reread = IniDocument::parse(doc.toBytes());
    // The stand-in for a missing key holds a line break, which no stored value can.
    const QByteArray missing = "\n";
    const QByteArray stored = reread.readString("Channels", "Channel0", missing);
    check(stored == doc.readString("Channels", "Channel0", missing));
    check(!stored.contains('\n') && !stored.contains('\r'));
    // Nothing else changes: not its blanks, not its quotes.
    QByteArray expected = value.left(value.indexOf('\0') < 0 ? value.size() : value.indexOf('\0'));
    expected.replace('\r', ' ').replace('\n', ' ');
    check(stored == expected);
    check(!reread.valueExists("Server", "Port"));
    return 0;
}
