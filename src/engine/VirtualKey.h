#pragma once

/// Key codes the engine's key handlers take: the numbers of the platform's virtual keys,
/// so a front-end maps its own key events onto them.
namespace VirtualKey {

enum Code : int
{
    Enter = 13,
    Escape = 27,
};

} // namespace VirtualKey
