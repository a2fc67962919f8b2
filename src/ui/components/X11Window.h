#pragma once

class QWidget;

/// Window-manager hints the toolkit does not offer, for X11 desktops; elsewhere (Wayland,
/// the offscreen platform) every call does nothing.
namespace X11Window {

/// Keeps the window out of the task bar (_NET_WM_STATE_SKIP_TASKBAR) or lets it in. Works on
/// a shown window and on one about to be shown (from its show event on).
void setSkipTaskbar(QWidget &window, bool skip);
bool skipsTaskbar(QWidget &window);

/// The urgency hint of WM_HINTS: the task bar marks the window until it is cleared.
void setUrgent(QWidget &window, bool urgent);
bool urgent(QWidget &window);

} // namespace X11Window
