#include "app/NameRules.h"

namespace NameRules {

bool isBlank(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

QByteArray trimBlanks(const QByteArray &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text.at(begin)))
        ++begin;
    while (end > begin && isBlank(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

QByteArray trimTrailingBlanks(const QByteArray &text)
{
    qsizetype end = text.size();
    while (end > 0 && isBlank(text.at(end - 1)))
        --end;
    return text.left(end);
}

QByteArray foldCase(const QByteArray &name)
{
    QByteArray folded = name;
    for (char &c : folded) {
        const auto u = static_cast<unsigned char>(c);
        if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7))
            c = static_cast<char>(u + 0x20);
        else if (u == 0x8A || u == 0x8C || u == 0x8E) // Š Œ Ž
            c = static_cast<char>(u + 0x10);
        else if (u == 0x9F) // Ÿ
            c = static_cast<char>(0xFF);
    }
    return folded;
}

QByteArray foldAscii(const QByteArray &name)
{
    QByteArray folded = name;
    for (char &c : folded) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return folded;
}

} // namespace NameRules
