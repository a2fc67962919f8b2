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

// Undoes the string-level escapes of a desktop-entry value.
QString unescapeValue(const QString &value)
{
    QString out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value.at(i) != QLatin1Char('\\') || i + 1 == value.size()) {
            out += value.at(i);
            continue;
        }
        const QChar next = value.at(++i);
        switch (next.unicode()) {
        case 'n':
            out += QLatin1Char('\n');
            break;
        case 't':
            out += QLatin1Char('\t');
            break;
        case 'r':
            out += QLatin1Char('\r');
            break;
        case 's':
            out += QLatin1Char(' ');
            break;
        default:
            out += next;
        }
    }
    return out;
}

// The first argument of an Exec value whose string escapes are undone: quoted (with its
// backslash escapes) or up to the first blank; "%%" stands for "%".
QString firstArgument(const QString &exec)
{
    QString arg;
    qsizetype i = 0;
    if (exec.startsWith(QLatin1Char('"'))) {
        for (i = 1; i < exec.size() && exec.at(i) != QLatin1Char('"'); ++i) {
            if (exec.at(i) == QLatin1Char('\\') && i + 1 < exec.size())
                ++i;
            arg += exec.at(i);
        }
    } else {
        const qsizetype blank = exec.indexOf(QLatin1Char(' '));
        arg = blank < 0 ? exec : exec.left(blank);
    }
    return arg.replace(QStringLiteral("%%"), QStringLiteral("%"));
}

// The path with its links resolved when it exists, so that two names of one file compare equal.
QString canonical(const QString &path)
{
    const QFileInfo info(path);
    const QString resolved = info.canonicalFilePath();
    return resolved.isEmpty() ? info.absoluteFilePath() : resolved;
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
    QString tryExec = executablePath;
    tryExec.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char('\n'), QStringLiteral("\\n"))
        .replace(QLatin1Char('\t'), QStringLiteral("\\t"))
        .replace(QLatin1Char('\r'), QStringLiteral("\\r"));
    const QString text = QStringLiteral("[Desktop Entry]\n"
                                        "Type=Application\n"
                                        "Name=Tolvex\n"
                                        "TryExec=") +
                         tryExec + QStringLiteral("\nExec=") + execArgument(executablePath) +
                         QStringLiteral("\n"
                                        "Terminal=false\n"
                                        "X-GNOME-Autostart-enabled=true\n");
    return text.toUtf8();
}

QString Autostart::target()
{
    const QString path = entryPath();
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return {};
    // An entry is a few lines; anything far larger is not ours to read whole.
    const QByteArray text = file.read(64 * 1024);
    for (const QByteArray &line : text.split('\n')) {
        if (line.startsWith("Exec="))
            return firstArgument(unescapeValue(QString::fromUtf8(line.mid(5)).trimmed()));
    }
    return {};
}

Autostart::Repair Autostart::repair(const QString &executablePath)
{
    if (!isSet())
        return Repair::Absent;
    const QString self = QFileInfo(executablePath).absoluteFilePath();
    const QString starts = target();
    if (!starts.isEmpty() && canonical(starts) != canonical(self)) {
        const QFileInfo other(starts);
        if (other.isFile() && other.isExecutable())
            return Repair::LeftAlone;
    } else if (!starts.isEmpty()) {
        QFile file(entryPath());
        if (file.open(QIODevice::ReadOnly) && file.read(64 * 1024) == entryText(self))
            return Repair::Current;
    }
    return set(self) ? Repair::Repaired : Repair::Failed;
}
