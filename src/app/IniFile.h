#pragma once

#include "app/IniDocument.h"

#include <QString>
#include <optional>

/// Reading and replacing an INI file as a whole.
namespace IniFile {

/// Largest file that is read. A file the program writes stays far below it (only the channel
/// keys whose names fit the key-name list are ever read back), while a parsed text takes
/// many times its size in memory.
inline constexpr qint64 MaxFileSize = 8 * 1024 * 1024;

/// Why load found no document.
enum class LoadError
{
    None,
    NotAFile,
    Unreadable,
    TooLarge
};

/// The file's document: empty when the file does not exist, nullopt when it exists but
/// cannot be read, is no regular file or is larger than MaxFileSize (error tells which).
std::optional<IniDocument> load(const QString &path, LoadError *error = nullptr);

/// Replaces the file with the document: written beside it and renamed over it, so a crash or
/// a full disk leaves either the old file or the new one, never a part. False when refused.
bool save(const QString &path, const IniDocument &document);

} // namespace IniFile
