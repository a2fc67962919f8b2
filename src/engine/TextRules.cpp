#include "engine/TextRules.h"

#include "app/NameRules.h"

namespace TextRules {

QByteArray TrimBlanks(const QByteArray &text)
{
    return NameRules::TrimBlanks(text);
}

QByteArray TrimTrailingBlanks(const QByteArray &text)
{
    return NameRules::TrimTrailingBlanks(text);
}

QByteArray SeparatorToDash(QByteArray text)
{
    return text.replace('|', '-');
}

QByteArray WithoutControls(const QByteArray &text)
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

QByteArray PrepareChatLine(const QByteArray &typed)
{
    QByteArray line = TrimTrailingBlanks(typed);
    if (line.size() > kMaxTypedLine)
        line.truncate(kMaxTypedLine);
    return line.replace("|", "\r\n");
}

} // namespace TextRules
