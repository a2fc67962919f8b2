#pragma once

#include <QRect>

/// Where the desktop's panel leaves room for a window that sits above it.
namespace ScreenEdge {

/// The line above which a window placed over the panel sits: the bottom of the available
/// area + 1 when a panel reserves the bottom edge, else the screen's bottom + 1 (its height
/// for a screen at the origin).
int taskbarTop(const QRect &geometry, const QRect &available);

/// taskbarTop of the primary screen; 0 when there is no screen.
int primaryTaskbarTop();

} // namespace ScreenEdge

/// The line above which the main window sits: the top of a panel along the bottom of the
/// primary screen, else the screen height.
int TaskbarTop();
