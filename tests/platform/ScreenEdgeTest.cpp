#include "platform/ScreenEdge.h"

#include <QGuiApplication>
#include <QScreen>
#include <gtest/gtest.h>

namespace {

struct EdgeCase
{
    const char *name;
    QRect geometry;
    QRect available;
    int expected;
};

void PrintTo(const EdgeCase &c, std::ostream *os)
{
    *os << c.name;
}

class ScreenEdgeTest : public ::testing::TestWithParam<EdgeCase>
{};

TEST_P(ScreenEdgeTest, TaskbarTopFollowsOnlyABottomPanel)
{
    const EdgeCase &c = GetParam();
    EXPECT_EQ(ScreenEdge::taskbarTop(c.geometry, c.available), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Panels, ScreenEdgeTest,
    ::testing::Values(
        EdgeCase{"NoPanel", {0, 0, 1920, 1080}, {0, 0, 1920, 1080}, 1080},
        EdgeCase{"BottomPanel", {0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 1040},
        EdgeCase{"TopPanel", {0, 0, 1920, 1080}, {0, 32, 1920, 1048}, 1080},
        EdgeCase{"SidePanel", {0, 0, 1920, 1080}, {64, 0, 1856, 1080}, 1080},
        EdgeCase{"TopAndBottom", {0, 0, 1280, 1024}, {0, 24, 1280, 960}, 984},
        EdgeCase{"ScreenBelowAnother", {0, 1080, 1920, 1200}, {0, 1080, 1920, 1150}, 2230}),
    [](const ::testing::TestParamInfo<EdgeCase> &info) { return std::string(info.param.name); });

TEST(ScreenEdgePrimaryTest, OffscreenScreenWithoutPanelGivesItsHeight)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(ScreenEdge::primaryTaskbarTop(), screen->geometry().height());
}

} // namespace
