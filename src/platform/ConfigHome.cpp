#include "platform/ConfigHome.h"

#include <QDir>

QString ConfigHome::path()
{
    // A relative value is invalid by the base-directory rules and must be ignored; taking it
    // would put the settings wherever the program happens to be started.
    const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!config.isEmpty() && QDir::isAbsolutePath(config))
        return QDir::cleanPath(config);
    const QString home = qEnvironmentVariable("HOME");
    if (!home.isEmpty() && QDir::isAbsolutePath(home))
        return QDir::cleanPath(home + QStringLiteral("/.config"));
    return {};
}
