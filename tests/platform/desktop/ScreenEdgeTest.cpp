#include "platform/desktop/ScreenEdge.h"

#include <gtest/gtest.h>

namespace {

TEST(ScreenEdgeTest, TaskbarTopFollowsOnlyABottomPanel)
{
    struct Case
    {
        const char *name;
        QRect geometry, available;
        int expected;
    };
    const Case cases[] = {
        {"no panel", {0, 0, 1920, 1080}, {0, 0, 1920, 1080}, 1080},
        {"bottom panel", {0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 1040},
        {"top panel", {0, 0, 1920, 1080}, {0, 32, 1920, 1048}, 1080},
        {"side panel", {0, 0, 1920, 1080}, {64, 0, 1856, 1080}, 1080},
        {"top and bottom", {0, 0, 1280, 1024}, {0, 24, 1280, 960}, 984},
        {"screen below another", {0, 1080, 1920, 1200}, {0, 1080, 1920, 1150}, 2230},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ScreenEdge::taskbarTop(c.geometry, c.available), c.expected) << c.name;
}

} // namespace
