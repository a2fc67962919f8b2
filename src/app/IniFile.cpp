#include "app/IniFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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
    if (path.isEmpty() || QFileInfo(path).isDir())
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = document.toBytes();
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
