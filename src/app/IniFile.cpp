#include "app/IniFile.h"

#include "platform/AtomicFile.h"

#include <QFile>
#include <QFileInfo>

std::optional<IniDocument> IniFile::load(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return IniDocument();
    // Only a regular file is read: a pipe would block the start-up until someone writes to
    // it, and a device such as /dev/zero would never end.
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.read(MaxFileSize + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > MaxFileSize)
        return std::nullopt;
    return IniDocument::parse(bytes);
}

bool IniFile::save(const QString &path, const IniDocument &document)
{
    return AtomicFile::write(path, document.toBytes());
}
