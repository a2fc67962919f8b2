#include "ui/chat/ChatRules.h"

#include "app/CodeCript.h"
#include "ui/WindowLook.h"

namespace ChatRules {

Title ChatTitle(const QList<QByteArray> &selectedNames)
{
    const QByteArray joined = selectedNames.join(", ");
    if (!joined.isEmpty())
        return {WindowLook::text(joined), WindowLook::kNavy};
    return {WindowLook::text(CodeCript::Decode(CodeCript::DisplayName)), WindowLook::kGray};
}

UtilsMenuState UtilsMenu(bool hasSelection, bool transcriptEmpty)
{
    return {hasSelection && !transcriptEmpty, !transcriptEmpty, !transcriptEmpty};
}

QString ProposedFileName(const QString &title)
{
    QString name;
    name.reserve(title.size());
    for (const QChar c : title)
        name.append(c == u'/' || c.unicode() < 0x20 || c.unicode() == 0x7F ? QChar(u'_') : c);
    // A leading dot would hide the file or, as "..", name the folder above.
    qsizetype start = 0;
    while (start < name.size() && (name.at(start) == u'.' || name.at(start).isSpace()))
        ++start;
    name = name.mid(start).trimmed();
    while (name.toUtf8().size() > kMaxFileNameBytes - 4) {
        name.chop(1);
        if (!name.isEmpty() && name.back().isHighSurrogate())
            name.chop(1);
    }
    name = name.trimmed();
    if (name.isEmpty())
        name = WindowLook::text(CodeCript::Decode(CodeCript::DisplayName));
    if (name.contains(u'.') && !name.endsWith(QStringLiteral(".rtf"), Qt::CaseInsensitive))
        name += QStringLiteral(".rtf");
    return name;
}

} // namespace ChatRules
