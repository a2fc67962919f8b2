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
    if (info.size() > MaxFileSize)
        return fail(LoadError::TooLarge);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(LoadError::Unreadable);
    // Read to the size seen (a read of the whole limit would allocate 8 MiB at every
    // start); a file that grew since is read on, up to one byte past the limit.
    QByteArray bytes = file.read(info.size() + 1);
    if (bytes.size() > info.size() && file.error() == QFileDevice::NoError)
        bytes += file.read(MaxFileSize + 1 - bytes.size());
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
