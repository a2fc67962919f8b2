#include "platform/Autostart.h"

#include "platform/AtomicFile.h"
#include "platform/ConfigHome.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace {

// Characters that make a desktop-entry Exec argument need quotes.
bool needsQuotes(QChar c)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    return reserved.contains(c);
}

// One Exec argument: "%" doubled so it is no field code, quoted when needed, then the
// string-level escapes applied last, as the reader undoes them first.
QString execArgument(const QString &path)
{
    QString arg = path;
    arg.replace(QLatin1Char('%'), QStringLiteral("%%"));
    if (std::any_of(arg.cbegin(), arg.cend(), needsQuotes)) {
        QString quoted = QStringLiteral("\"");
        for (const QChar c : arg) {
            if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
                c == QLatin1Char('\\'))
                quoted += QLatin1Char('\\');
            quoted += c;
        }
        arg = quoted + QLatin1Char('"');
    }
    QString escaped;
    for (const QChar c : arg) {
        switch (c.unicode()) {
        case '\\':
            escaped += QStringLiteral("\\\\");
            break;
        case '\n':
            escaped += QStringLiteral("\\n");
            break;
        case '\t':
            escaped += QStringLiteral("\\t");
            break;
        case '\r':
            escaped += QStringLiteral("\\r");
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

} // namespace

QString Autostart::entryPath()
{
    const QString home = ConfigHome::path();
    if (home.isEmpty())
        return {};
    return home + QStringLiteral("/autostart/Tolvex.desktop");
}

bool Autostart::isSet()
{
    const QString path = entryPath();
    return !path.isEmpty() && QFileInfo(path).isFile();
}

bool Autostart::set(const QString &executablePath)
{
    const QString path = entryPath();
    if (path.isEmpty() || !QDir().mkpath(QFileInfo(path).path()))
        return false;
    return AtomicFile::write(path, entryText(QFileInfo(executablePath).absoluteFilePath()));
}

bool Autostart::remove()
{
    const QString path = entryPath();
    if (path.isEmpty() || !QFileInfo::exists(path))
        return true;
    return QFile::remove(path);
}

QByteArray Autostart::entryText(const QString &executablePath)
{
    const QString text = QStringLiteral("[Desktop Entry]\n"
                                        "Type=Application\n"
                                        "Name=Tolvex\n"
                                        "Exec=") +
                         execArgument(executablePath) +
                         QStringLiteral("\n"
                                        "Terminal=false\n"
                                        "X-GNOME-Autostart-enabled=true\n");
    return text.toUtf8();
}
