// Where the chat window opens beside the main window: always inside the available area,
// whichever side has room.
#include "ChatTestSupport.h"
#include "ui/chat/ChatForm.h"
#include "ui/chat/ChatLook.h"

#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

using namespace ChatLook;
using Side = TChatForm::Side;

namespace {

struct PlacementCase
{
    const char *name;
    QRect main;
    QRect available;
    QPoint pos;
    Side side;
};

class PlaceBesideTest : public ::testing::TestWithParam<PlacementCase>
{};

const QSize kChat(250, 180);
const QRect kScreen(0, 0, 1024, 768);

TEST_P(PlaceBesideTest, StaysInsideTheAvailableArea)
{
    const PlacementCase &c = GetParam();
    const TChatForm::Placement place = TChatForm::PlaceBeside(c.main, kChat, c.available);
    EXPECT_EQ(place.pos, c.pos);
    EXPECT_EQ(place.side, c.side);
    EXPECT_TRUE(c.available.contains(QRect(place.pos, kChat)) ||
                kChat.width() > c.available.width());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlaceBesideTest,
    ::testing::Values(
        PlacementCase{"RoomOnTheLeft", {869, 573, 130, 180}, kScreen, {614, 573}, Side::Left},
        PlacementCase{"AtTheLeftEdge", {0, 40, 130, 180}, kScreen, {135, 40}, Side::Right},
        // A panel along the left edge takes the room the left side would need.
        PlacementCase{
            "LeftOfAPanel", {200, 40, 130, 180}, {100, 0, 924, 768}, {335, 40}, Side::Right},
        PlacementCase{
            "NarrowerThanBoth", {150, 300, 130, 180}, {0, 0, 400, 600}, {0, 300}, Side::Over},
        PlacementCase{
            "NarrowerThanTheChat", {50, 0, 130, 180}, {0, 0, 200, 600}, {0, 0}, Side::Over},
        // Partly below the area (a panel came at the bottom): pulled up.
        PlacementCase{
            "BelowTheArea", {869, 700, 130, 180}, {0, 0, 1024, 738}, {614, 558}, Side::Left},
        PlacementCase{"NoAreaKnown", {0, 0, 130, 180}, {}, {-255, 0}, Side::Left}),
    [](const auto &info) { return std::string(info.param.name); });

// Opened at the left edge of the screen, the window sits right of the main window, which
// stays on its left when the chat window is moved.
TEST(ChatPlacement, OpensRightOfAMainWindowAtTheLeftEdgeAndKeepsItOnTheLeft)
{
    StandInHost host;
    TChatForm chat(host);
    host.main.resize(130, 180);
    host.main.move(0, 100);
    host.main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host.main));
    chat.OpenBeside(host.main);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&chat));
    EXPECT_EQ(chat.pos(), QPoint(host.main.frameGeometry().width() + kMainGap, 100));
    EXPECT_TRUE(chat.screen()->availableGeometry().contains(chat.frameGeometry()));

    chat.move(300, 150);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return host.main.pos() == QPoint(300 - kMainGap - host.main.width(), 150); }, 5000))
        << host.main.x() << "," << host.main.y();
}

} // namespace
