#pragma once

#include "app/IniDocument.h"

#include <QString>
#include <optional>

/// Reading and replacing an INI file as a whole.
namespace IniFile {

/// The file's document: empty when the file does not exist, nullopt when it exists but
/// cannot be read or is no regular file.
std::optional<IniDocument> load(const QString &path);

/// Replaces the file with the document: written beside it and renamed over it, so a crash or
/// a full disk leaves either the old file or the new one, never a part. False when refused.
bool save(const QString &path, const IniDocument &document);

} // namespace IniFile
