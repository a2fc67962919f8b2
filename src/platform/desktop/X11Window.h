#pragma once

class QWindow;

/// Window-manager hints the toolkit does not offer, for X11 desktops; elsewhere (Wayland,
/// the offscreen platform) and for a window without a native one (null, or not created yet)
/// every call does nothing.
namespace X11Window {

/// Keeps the window out of the task bar (_NET_WM_STATE_SKIP_TASKBAR) or lets it in. Works on
/// a shown window and on one about to be shown (from its show event on).
void setSkipTaskbar(QWindow *window, bool skip);
bool skipsTaskbar(QWindow *window);

/// The urgency hint of WM_HINTS: the task bar marks the window until it is cleared.
void setUrgent(QWindow *window, bool urgent);
bool urgent(QWindow *window);

/// Asks for the next mapping of a hidden window to show it normal. A window minimised by the
/// program keeps "start iconic" in WM_HINTS after the window manager restored it, and the
/// window manager maps it iconic again at its next showing.
void setOpensNormal(QWindow *window);

/// Whether the program runs natively on Wayland (not through XWayland).
bool onWayland();

/// Whether the program's X display is XWayland (the compositor's X server), where the pointer's
/// place is known only while it is over an X window.
bool onXWayland();

/// Whether a window shown without asking for activation surely leaves the keyboard where it
/// is. Only a plain X server (not XWayland) whose window manager says it reads the
/// "no activation" user time (_NET_WM_USER_TIME in _NET_SUPPORTED), or that has no window
/// manager at all, is trusted; Wayland compositors and XWayland may focus every new window.
/// Platforms without a keyboard to take (offscreen) count as safe.
bool showsWithoutFocus();

/// Whether the X server's keyboard focus is in one of the program's windows. The toolkit's
/// active window can lag behind (under some compositors' X window managers it kept the
/// first window active after another program took the focus); the server's focus is what
/// typing goes to. Elsewhere the toolkit's word stands: true.
bool holdsInputFocus();

/// Whether the window manager shows the window iconic (WM_STATE), as after a minimise it
/// honoured. Elsewhere, and for a window without a native one, true: nothing to check.
bool iconic(QWindow *window);

} // namespace X11Window
