#pragma once

#include <QByteArray>
#include <functional>

/// Whether a graphical program can start here, asked before the toolkit would abort.
namespace DisplayCheck {

/// Empty when a display is named (X11, Wayland, or a platform chosen by the environment),
/// else why there is none, in one plain line.
QByteArray missingReason();

/// Chooses X11 (XWayland on a Wayland desktop) where the environment names no platform and
/// an X display exists: the windows place themselves above the panel, which Wayland does not
/// let a program do. With a Wayland display as well, Wayland is the fallback when the X
/// server does not answer.
void preferX11();

/// Turns the toolkit's fatal "no platform plugin" failure into the given line on standard
/// error and exit status 1, instead of an abort with a core dump.
void explainFatalPlatformFailure(const QByteArray &line);

/// When the toolkit reports that the connection to the X server broke (it ends the process
/// right after saying so), runs finish instead and ends the process with the status finish
/// returns. finish runs inside the toolkit's event handling and must not run the event loop
/// or show anything; the toolkit's own line is replaced by line on standard error. Needs
/// explainFatalPlatformFailure first.
void onConnectionLost(const QByteArray &line, std::function<int()> finish);

} // namespace DisplayCheck
