#include "engine/TextRules.h"

namespace {

bool isBlank(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

} // namespace

namespace TextRules {

QByteArray TrimBlanks(const QByteArray &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text.at(begin)))
        ++begin;
    while (end > begin && isBlank(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

QByteArray TrimTrailingBlanks(const QByteArray &text)
{
    qsizetype end = text.size();
    while (end > 0 && isBlank(text.at(end - 1)))
        --end;
    return text.left(end);
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
