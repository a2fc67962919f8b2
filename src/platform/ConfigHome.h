#pragma once

#include <QString>

/// The per-user folder for application settings: $XDG_CONFIG_HOME, else $HOME/.config.
namespace ConfigHome {

/// The folder without a trailing slash, or empty when neither variable gives an absolute path.
/// The folder is not created.
QString path();

} // namespace ConfigHome
