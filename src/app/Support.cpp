#include "app/Support.h"

#include "app/CodeCript.h"
#include "platform/ComputerName.h"
#include "platform/ConfigHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// Only A-Z change: the name goes into datagrams in the program's single-byte code page,
// where a locale's idea of case must not alter other bytes.
QByteArray lowerAscii(QByteArray text)
{
    for (char &c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

QString lowerAscii(QString text)
{
    for (QChar &c : text) {
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() - 'A' + 'a');
    }
    return text;
}

// Appends one folder level and creates it unless a directory of that name exists already.
// Missing parents are never created, and a file in the way is a failure.
bool enterFolder(QString &folder, const QString &name)
{
    folder += name + QLatin1Char('/');
    if (QFileInfo(folder).isDir())
        return true;
    return QDir().mkdir(folder);
}

} // namespace

QByteArray DefaultUserName(const QByteArray &interfaceAddr)
{
    const std::optional<QByteArray> computer = ComputerName::read();
    QByteArray name = computer ? lowerAscii(*computer) : interfaceAddr;
    // "|" separates the fields of every datagram.
    name.replace('|', '-');
    return name;
}

QString ShellFolder(const QString &valueName)
{
    if (valueName.compare(QLatin1String("AppData"), Qt::CaseInsensitive) != 0)
        return {};
    const QString folder = ConfigHome::path();
    if (folder.isEmpty())
        return {};
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

QString SettingsFolder()
{
    QString folder = ShellFolder(QStringLiteral("AppData"));
    if (folder.isEmpty())
        return {};
    // A fresh account may have no config home yet; the base-directory rules ask for it to be
    // made, private to the user, before anything is written there.
    if (!QFileInfo(folder).isDir()) {
        if (!QDir().mkpath(folder))
            return {};
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    const QString outer = QString::fromLatin1(CodeCript::Decode(CodeCript::OuterFolderName));
    const QString inner = QString::fromLatin1(CodeCript::Decode(CodeCript::DisplayName));
    if (!enterFolder(folder, outer) || !enterFolder(folder, inner))
        return {};
    return folder;
}

QString SettingsFileName(const QString &executablePath)
{
    QString name = lowerAscii(QFileInfo(executablePath).fileName());
    // A leading dot starts a hidden file's name, not an extension.
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot > 0)
        name.truncate(dot);
    return name + QStringLiteral(".ini");
}

QString SettingsFilePath(const QString &executablePath)
{
    const QString name = SettingsFileName(executablePath);
    const QString folder = SettingsFolder();
    if (!folder.isEmpty())
        return folder + name;
    // The folder could not be made: keep the place it should have, never the working
    // directory, where a settings file would be found by nobody (or by the wrong program).
    const QString home = ShellFolder(QStringLiteral("AppData"));
    if (home.isEmpty())
        return {};
    const QString outer = QString::fromLatin1(CodeCript::Decode(CodeCript::OuterFolderName));
    const QString inner = QString::fromLatin1(CodeCript::Decode(CodeCript::DisplayName));
    return home + outer + QLatin1Char('/') + inner + QLatin1Char('/') + name;
}

std::optional<quint16> PortNumber(const QByteArray &port)
{
    // Digits only: a sign, a service name or trailing junk is a mistake, not a port.
    if (port.isEmpty() || port.size() > 5)
        return std::nullopt;
    quint32 value = 0;
    for (char c : port) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + quint32(c - '0');
    }
    if (value == 0 || value > 65535)
        return std::nullopt;
    return static_cast<quint16>(value);
}
