#include "app/IniFile.h"

#include "platform/AtomicFile.h"

#include <QFile>
#include <QFileInfo>

std::optional<IniDocument> IniFile::load(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return IniDocument();
    QFile file(path);
    if (info.isDir() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return IniDocument::parse(bytes);
}

bool IniFile::save(const QString &path, const IniDocument &document)
{
    return AtomicFile::write(path, document.toBytes());
}
