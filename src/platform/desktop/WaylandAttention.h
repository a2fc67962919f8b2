#pragma once

class QWindow;

/// Attention on native Wayland, which the toolkit's alert does not carry there.
namespace WaylandAttention {

/// Asks the compositor to mark a shown window as wanting attention: an activation request
/// with no user action behind it, which compositors take as "urgent" (sway marks the window,
/// others flash it or tell of it), never as a focus change the user did not ask for. Does
/// nothing off Wayland, for a window not shown, or where the compositor lacks the protocol.
void ask(QWindow *window);

} // namespace WaylandAttention
