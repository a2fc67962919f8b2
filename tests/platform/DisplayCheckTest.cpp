#include "platform/DisplayCheck.h"

#include <gtest/gtest.h>

// Which platform the desktop program asks the toolkit for, desktop by desktop.
TEST(DisplayCheckTest, PlatformFollowsTheDesktopAndTheUserAlwaysWins)
{
    using DisplayCheck::platformFor;
    // The user's choice, or no display at all: nothing is set.
    EXPECT_EQ(platformFor(true, true, true, 2), QByteArray());
    EXPECT_EQ(platformFor(false, false, false, 1), QByteArray());
    EXPECT_EQ(platformFor(false, true, false, 2), QByteArray("xcb"));
    // Wayland without XWayland: natively, X11 only as a last try.
    EXPECT_EQ(platformFor(false, false, true, 1), QByteArray("wayland;xcb"));
    // A scaled screen: natively (sharp); unscaled: XWayland, where windows place themselves,
    // unless the compositor takes attention requests natively.
    EXPECT_EQ(platformFor(false, true, true, 2), QByteArray("wayland;xcb"));
    EXPECT_EQ(platformFor(false, true, true, 1), QByteArray("xcb;wayland"));
    EXPECT_EQ(platformFor(false, true, true, 1, true), QByteArray("wayland;xcb"));
}
