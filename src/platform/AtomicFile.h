#pragma once

#include <QByteArray>
#include <QString>

/// Replacing a file's content in one step.
namespace AtomicFile {

/// Writes bytes to a new file beside path and renames it over path, so that a crash or a
/// full disk leaves the old file or the new one, never a part of either. False when refused;
/// the old file is then untouched.
bool write(const QString &path, const QByteArray &bytes);

} // namespace AtomicFile
