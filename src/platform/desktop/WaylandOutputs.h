#pragma once

/// What the Wayland display tells of its screens before the toolkit starts.
namespace WaylandOutputs {

struct Facts
{
    /// The largest scale of the outputs, as the compositor reports it (a fractional scale
    /// is told rounded up); 1 where no display answers.
    int largestScale = 1;
    /// Whether the compositor takes attention requests (the activation protocol).
    bool activation = false;
};

/// What the display WAYLAND_DISPLAY names tells of itself.
Facts read();

} // namespace WaylandOutputs
