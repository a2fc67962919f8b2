#pragma once

#include <QByteArray>
#include <functional>

/// Whether a graphical program can start here, asked before the toolkit would abort.
namespace DisplayCheck {

/// Empty when a display is named (X11, Wayland, or a platform chosen by the environment),
/// else why there is none, in one plain line.
QByteArray missingReason();

/// The toolkit's platform list for a desktop: empty where the user named a platform
/// (QT_QPA_PLATFORM always wins) or there is no display. X11 alone gives "xcb". With a Wayland
/// display, native Wayland comes first when the compositor scales its outputs (waylandScale
/// above 1: through XWayland every window would be drawn at 1 and stretched, blurred), when
/// it takes attention requests natively (waylandActivation: through XWayland the toolkit
/// loses track of the keyboard, and a message reaches a user elsewhere less surely), or when
/// there is no X display; otherwise XWayland first, where the windows may place themselves.
/// Either way the other platform follows, for a server that does not answer.
QByteArray platformFor(bool userChose, bool xDisplay, bool waylandDisplay, int waylandScale,
                       bool waylandActivation = false);

/// Sets QT_QPA_PLATFORM to platformFor() of this environment; waylandScale is the largest
/// output scale of the Wayland display (1 where unknown), waylandActivation whether it takes
/// attention requests.
void preferX11(int waylandScale = 1, bool waylandActivation = false);

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
