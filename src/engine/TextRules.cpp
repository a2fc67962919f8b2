#include "engine/TextRules.h"

#include "app/NameRules.h"

namespace TextRules {

QByteArray trimBlanks(const QByteArray &text)
{
    return NameRules::trimBlanks(text);
}

QByteArray trimTrailingBlanks(const QByteArray &text)
{
    return NameRules::trimTrailingBlanks(text);
}

QByteArray separatorToDash(QByteArray text)
{
    return text.replace('|', '-');
}

QByteArray withoutControls(const QByteArray &text)
{
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text.at(i);
        if (c == '\r' && i + 1 < text.size() && text.at(i + 1) == '\n') {
            out.append("\r\n");
            ++i;
        } else if (c == '\t' || (quint8(c) >= 32 && quint8(c) != 127)) {
            out.append(c);
        }
    }
    return out;
}

QByteArray prepareChatLine(const QByteArray &typed)
{
    QByteArray line = trimTrailingBlanks(typed);
    if (line.size() > kMaxTypedLine)
        line.truncate(kMaxTypedLine);
    return line.replace("|", "\r\n");
}

QByteArray fillArgs(const QByteArray &pattern, const QByteArrayList &args)
{
    QByteArray line;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const char c = pattern.at(i);
        const char next = i + 1 < pattern.size() ? pattern.at(i + 1) : '\0';
        if (c == '%' && next >= '1' && next <= '9' && next - '1' < args.size()) {
            line += args.at(next - '1');
            ++i;
        } else {
            line += c;
        }
    }
    return line;
}

} // namespace TextRules
