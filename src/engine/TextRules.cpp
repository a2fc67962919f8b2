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

QByteArray PrepareChatLine(const QByteArray &typed)
{
    QByteArray line = TrimTrailingBlanks(typed);
    if (line.size() > kMaxTypedLine)
        line.truncate(kMaxTypedLine);
    return line.replace("|", "\r\n");
}

} // namespace TextRules
