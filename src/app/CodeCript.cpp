#include "app/CodeCript.h"

#include <array>

namespace CodeCript {

namespace {

static_assert(sizeof Table == 65, "the code table has 64 symbols");

// Position of every byte value in the table, -1 for bytes that are not in it.
constexpr std::array<int, 256> makeValues()
{
    std::array<int, 256> values{};
    values.fill(-1);
    for (int i = 0; i < 64; ++i)
        values[static_cast<unsigned char>(Table[i])] = i;
    return values;
}

constexpr std::array<int, 256> Values = makeValues();

int valueOf(char symbol)
{
    return Values[static_cast<unsigned char>(symbol)];
}

char lowByte(int value)
{
    return static_cast<char>(value & 0xFF);
}

QByteArray upToZero(const QByteArray &bytes)
{
    const qsizetype zero = bytes.indexOf('\0');
    return zero < 0 ? bytes : bytes.left(zero);
}

} // namespace

QByteArray Encode(const QByteArray &text)
{
    const QByteArray bytes = upToZero(text);
    const auto *b = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qsizetype n = bytes.size();
    QByteArray out;
    out.reserve((n + 2) / 3 * 4);
    qsizetype i = 0;
    for (; i + 3 <= n; i += 3) {
        out += Table[b[i] >> 2];
        out += Table[(b[i] & 3) << 4 | b[i + 1] >> 4];
        out += Table[(b[i + 1] & 15) << 2 | b[i + 2] >> 6];
        out += Table[b[i + 2] & 63];
    }
    if (n - i == 2) {
        out += Table[b[i] >> 2];
        out += Table[(b[i] & 3) << 4 | b[i + 1] >> 4];
        out += Table[(b[i + 1] & 15) << 2];
        out += '=';
    } else if (n - i == 1) {
        out += Table[b[i] >> 2];
        out += Table[(b[i] & 3) << 4];
        out += "==";
    }
    return out;
}

QByteArray Decode(const QByteArray &scrambled)
{
    const QByteArray text = upToZero(scrambled);
    QByteArray out;
    out.reserve(text.size() / 4 * 3);
    // Signed arithmetic throughout: a symbol outside the table is -1, "/" and "%" truncate
    // toward zero, and each byte keeps the low eight bits, so any input gives some output.
    for (qsizetype g = 0; g + 4 <= text.size(); g += 4) {
        const char s2 = text[g + 2];
        const char s3 = text[g + 3];
        const int v0 = valueOf(text[g]);
        const int v1 = valueOf(text[g + 1]);
        out += lowByte(v0 * 4 + v1 / 16);
        int v2 = 0;
        if (s2 != '=') {
            v2 = valueOf(s2);
            out += lowByte((v1 % 16) * 16 + v2 / 4);
        }
        if (s3 != '=')
            out += lowByte((v2 % 4) * 64 + valueOf(s3));
    }
    return out;
}

QByteArray fillTemplate(const QByteArray &pattern, const QList<QByteArray> &args)
{
    QByteArray out;
    out.reserve(pattern.size());
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == '%' && i + 1 < pattern.size()) {
            const int n = pattern[i + 1] - '0';
            if (n >= 1 && n <= 9 && n <= args.size()) {
                out += args[n - 1];
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

QByteArray MailLink(const QByteArray &subject)
{
    return fillTemplate(Decode(MailTemplate), {subject.toPercentEncoding()});
}

QByteArray DonationLink(const QByteArray &first, const QByteArray &second, const QByteArray &third)
{
    return fillTemplate(
        Decode(DonationTemplate),
        {first.toPercentEncoding(), second.toPercentEncoding(), third.toPercentEncoding()});
}

} // namespace CodeCript
