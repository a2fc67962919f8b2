#pragma once

/// What the Wayland display tells of its screens before the toolkit starts.
namespace WaylandOutputs {

/// The largest scale of the outputs of the display WAYLAND_DISPLAY names, as the compositor
/// reports it (a fractional scale is told rounded up); 1 where no display answers.
int largestScale();

} // namespace WaylandOutputs
