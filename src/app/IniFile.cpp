#include "app/IniFile.h"

#include "platform/AtomicFile.h"

#include <QFile>
#include <QFileInfo>

std::optional<IniDocument> IniFile::load(const QString &path, LoadError *error)
{
    const auto fail = [error](LoadError why) -> std::optional<IniDocument> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    if (error)
        *error = LoadError::None;
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return IniDocument();
    // Only a regular file is read: a pipe would block the start-up until someone writes to
    // it, and a device such as /dev/zero would never end.
    if (!info.isFile())
        return fail(LoadError::NotAFile);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(LoadError::Unreadable);
    const QByteArray bytes = file.read(MaxFileSize + 1);
    if (file.error() != QFileDevice::NoError)
        return fail(LoadError::Unreadable);
    if (bytes.size() > MaxFileSize)
        return fail(LoadError::TooLarge);
    return IniDocument::parse(bytes);
}

bool IniFile::save(const QString &path, const IniDocument &document)
{
    return AtomicFile::write(path, document.toBytes());
}
