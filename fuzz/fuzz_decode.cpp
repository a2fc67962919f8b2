// Unscrambling takes any text without a fault, and scrambling any text unscrambles back to it.
// The link templates take any arguments and expand only their own placeholders.
// Links: tolvex_app
#include "app/CodeCript.h"

#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

QByteArray upToZero(const QByteArray &bytes)
{
    const qsizetype zero = bytes.indexOf('\0');
    return zero < 0 ? bytes : bytes.left(zero);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));

    // Any input as scrambled text: three bytes at most per full group of four symbols.
    const QByteArray decoded = CodeCript::Decode(bytes);
    check(decoded.size() <= upToZero(bytes).size() / 4 * 3);

    // Any input as plain text: scrambled, it holds table symbols and padding only.
    const QByteArray encoded = CodeCript::Encode(bytes);
    const QByteArray plain = upToZero(bytes);
    check(encoded.size() == (plain.size() + 2) / 3 * 4);
    for (const char c : encoded)
        check(c == '=' || std::char_traits<char>::find(CodeCript::Table, 64, c) != nullptr);
    check(CodeCript::Decode(encoded) == plain);

    // The input cut in four: a template and its three arguments. An argument's own "%n"
    // is never expanded, so a template without placeholders comes out unchanged.
    const qsizetype quarter = bytes.size() / 4;
    const QByteArray pattern = bytes.left(quarter);
    const QList<QByteArray> args{bytes.mid(quarter, quarter), bytes.mid(2 * quarter, quarter),
                                 bytes.mid(3 * quarter)};
    const QByteArray filled = CodeCript::fillTemplate(pattern, args);
    if (!pattern.contains('%'))
        check(filled == pattern);
    qsizetype longest = pattern.size();
    for (const QByteArray &arg : args)
        longest = qMax(longest, pattern.size() / 2 * arg.size() + pattern.size());
    check(filled.size() <= longest);

    const QByteArray mail = CodeCript::MailLink(bytes);
    check(mail.startsWith(CodeCript::Decode(CodeCript::MailTemplate).left(7)));
    CodeCript::DonationLink(args[0], args[1], args[2]);
    return 0;
}
