// The offscreen platform has no notification area, so most tests put a stand-in TrayHost in
// place: it says whether a notification area exists, where the icon is, and records what the
// component asks of it.
#include "ui/components/TrayVis.h"

#include "ui/components/TrayFlight.h"
#include "ui/components/TrayHost.h"

#include <QApplication>
#include <QMenu>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTest>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <stdexcept>

namespace {

struct HostState
{
    bool available = true;
    QRect iconGeometry{760, 570, 24, 24};
    int adds = 0;
    int removes = 0;
    QList<QPair<QRect, QRect>> flights;
};

class FakeHost final : public TrayHost
{
public:
    explicit FakeHost(std::shared_ptr<HostState> state) : m_state(std::move(state)) {}
    bool available() const override { return m_state->available; }
    void add(QSystemTrayIcon &) override { ++m_state->adds; }
    void remove(QSystemTrayIcon &) override { ++m_state->removes; }
    QRect iconGeometry(const QSystemTrayIcon &) const override { return m_state->iconGeometry; }
    void fly(const QRect &from, const QRect &to) override { m_state->flights.append({from, to}); }

private:
    std::shared_ptr<HostState> m_state;
};

// Counts what reaches the form itself, after the component's filter.
class Form final : public QWidget
{
public:
    std::map<int, int> seen;

protected:
    bool event(QEvent *event) override
    {
        ++seen[event->type()];
        return QWidget::event(event);
    }
};

class TrayVisTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        form = std::make_unique<Form>();
        form->setGeometry(100, 120, 200, 150);
        form->show();
        tray = new TTrayVis(form.get());
        tray->SetTrayHost(std::make_unique<FakeHost>(host));
        const auto record = [this](const char *name) {
            return [this, name](TTrayVis *sender) {
                EXPECT_EQ(sender, tray);
                calls.append(QString::fromLatin1(name));
            };
        };
        tray->OnTrayicon = record("trayicon");
        tray->OnTrayRestore = record("restore");
        tray->OnTrayLeftClick = record("left");
        tray->OnTrayLeft2Click = record("left2");
        tray->OnBallIconLeftClick = record("ballLeft");
        tray->OnBallIconLeft2Click = record("ballLeft2");
        tray->OnBallInfoShow = record("ballShow");
        tray->OnBallInfoHide = record("ballHide");
    }

    void notify(QEvent::Type type, TrayNotification what)
    {
        TrayCallback event(type, what);
        QCoreApplication::sendEvent(form.get(), &event);
    }

    std::shared_ptr<HostState> host = std::make_shared<HostState>();
    std::unique_ptr<Form> form;
    TTrayVis *tray = nullptr; // freed with the form
    QStringList calls;
};

TEST(TrayVisOwner, MustBeATopLevelWindowOrNothing)
{
    QWidget window;
    auto *child = new QWidget(&window);
    QObject plain;
    EXPECT_THROW(TTrayVis{child}, std::invalid_argument);
    EXPECT_THROW(TTrayVis{&plain}, std::invalid_argument);
    EXPECT_TRUE(child->children().isEmpty()) << "a failed creation leaves nothing behind";

    TTrayVis lone(nullptr);
    lone.Trayicon().ShowIcon(true);
    lone.MinimizeToTray();
    EXPECT_FALSE(lone.Trayicon().IconAdded()) << "no form, no icon";
    EXPECT_TRUE(lone.InTray());
}

TEST_F(TrayVisTest, TooltipsKeepTheirFirst62And63Characters)
{
    tray->Trayicon().SetToolTip(QString(70, QLatin1Char('t')));
    EXPECT_EQ(tray->Trayicon().ToolTip(), QString(62, QLatin1Char('t')));
    tray->BallooInfo().SetIconHint(QString(70, QLatin1Char('b')));
    EXPECT_EQ(tray->BallooInfo().IconHint().size(), 63);

    // A character outside the basic plane is never cut in half.
    tray->Trayicon().SetToolTip(QString(61, QLatin1Char('a')) + QString::fromUtf8("\U0001F600z"));
    EXPECT_EQ(tray->Trayicon().ToolTip(), QString(61, QLatin1Char('a')));

    tray->Trayicon().SetToolTip(QStringLiteral("Tolvex, click to restore"));
    tray->Trayicon().ShowIcon(true);
    ASSERT_NE(tray->Trayicon().SystemIcon(), nullptr);
    EXPECT_EQ(tray->Trayicon().SystemIcon()->toolTip(), QStringLiteral("Tolvex, click to restore"));
    tray->Trayicon().SetToolTip(QString(70, QLatin1Char('n')));
    EXPECT_EQ(tray->Trayicon().SystemIcon()->toolTip().size(), 62) << "changes reach a shown icon";
}

TEST_F(TrayVisTest, MinimizingTwiceHidesAnimatesAndReportsOnce)
{
    const QRect formFrame = form->frameGeometry();
    tray->MinimizeToTray();
    tray->MinimizeToTray();

    EXPECT_TRUE(tray->InTray());
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(tray->Trayicon().IconAdded());
    EXPECT_EQ(host->adds, 1);
    ASSERT_EQ(host->flights.size(), 1);
    EXPECT_EQ(host->flights[0].first, formFrame);
    EXPECT_EQ(host->flights[0].second, host->iconGeometry);
    EXPECT_EQ(calls, QStringList{"trayicon"});
}

TEST_F(TrayVisTest, HideToTrayDoesNotFlyAndNoIconPlaceMeansNoFlight)
{
    tray->HideToTray();
    EXPECT_TRUE(tray->InTray());
    EXPECT_TRUE(host->flights.isEmpty());
    tray->RestoreFromTray();
    EXPECT_EQ(host->flights.size(), 1) << "the way back always flies";

    host->iconGeometry = QRect();
    tray->MinimizeToTray();
    tray->RestoreFromTray();
    EXPECT_EQ(host->flights.size(), 1);
    EXPECT_EQ(calls, (QStringList{"trayicon", "restore", "trayicon", "restore"}));
}

class TrayVisRestoreTest : public TrayVisTest, public ::testing::WithParamInterface<bool>
{};

TEST_P(TrayVisRestoreTest, RestoreKeepsTheIconOnlyWhenAlwaysActive)
{
    const bool alwaysActive = GetParam();
    tray->Trayicon().SetAlwaysActive(alwaysActive);
    EXPECT_EQ(tray->Trayicon().IconAdded(), alwaysActive);
    tray->MinimizeToTray();
    tray->RestoreFromTray();
    tray->RestoreFromTray();

    EXPECT_FALSE(tray->InTray());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(tray->Trayicon().IconAdded(), alwaysActive);
    EXPECT_EQ(calls, (QStringList{"trayicon", "restore"}));
    ASSERT_EQ(host->flights.size(), 2) << "the flight back starts at the icon even when it goes";
    EXPECT_EQ(host->flights[1].first, host->iconGeometry);
}

INSTANTIATE_TEST_SUITE_P(AlwaysActive, TrayVisRestoreTest, ::testing::Bool());

TEST_F(TrayVisTest, SwitchingAlwaysActiveOffWhileHiddenKeepsTheWayBack)
{
    tray->Trayicon().SetAlwaysActive(true);
    tray->MinimizeToTray();
    tray->Trayicon().SetAlwaysActive(false);
    EXPECT_TRUE(tray->Trayicon().IconAdded());
    tray->RestoreFromTray();
    EXPECT_FALSE(tray->Trayicon().IconAdded());
    tray->Trayicon().SetAlwaysActive(true);
    tray->Trayicon().SetAlwaysActive(false);
    EXPECT_FALSE(tray->Trayicon().IconAdded()) << "outside the tray it goes at once";
}

TEST_F(TrayVisTest, WithoutNotificationAreaTheFormIsMinimisedWithATaskbarEntry)
{
    host->available = false;
    tray->HideTaskbarButton(true);
    ASSERT_EQ(form->windowType(), Qt::Tool);

    tray->MinimizeToTray();
    EXPECT_TRUE(tray->InTray());
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->isMinimized());
    EXPECT_EQ(form->windowType(), Qt::Window) << "a minimised window needs its entry to return";
    EXPECT_TRUE(host->flights.isEmpty());

    tray->RestoreFromTray();
    EXPECT_FALSE(tray->InTray());
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->isMinimized());
    EXPECT_EQ(form->windowType(), Qt::Tool);
    EXPECT_TRUE(tray->TaskbarButtonHidden());
    EXPECT_EQ(calls, (QStringList{"trayicon", "restore"}));
}

TEST_F(TrayVisTest, RestoringTheMinimisedFormByHandFinishesTheRestore)
{
    host->available = false;
    tray->HideTaskbarButton(true);
    tray->MinimizeToTray();
    QCoreApplication::processEvents();
    EXPECT_TRUE(tray->InTray());

    form->showNormal(); // what the task bar does
    QCoreApplication::processEvents();
    EXPECT_FALSE(tray->InTray());
    EXPECT_EQ(form->windowType(), Qt::Tool);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(calls, (QStringList{"trayicon", "restore"}));
}

TEST_F(TrayVisTest, NotificationAreaComingAndGoing)
{
    tray->Trayicon().SetAlwaysActive(true);
    tray->MinimizeToTray();
    tray->BallooInfo().SetTrayiconActive(true);
    ASSERT_EQ(host->adds, 2);

    // Gone while the form hides in it: the form must stay reachable.
    host->available = false;
    tray->CheckTrayHost();
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->isMinimized());
    EXPECT_TRUE(tray->InTray());

    // Back: both icons are put in again, once, and the form sees the notice too.
    host->available = true;
    tray->CheckTrayHost();
    tray->CheckTrayHost();
    QCoreApplication::processEvents();
    EXPECT_EQ(host->removes, 2);
    EXPECT_EQ(host->adds, 4);
    EXPECT_EQ(form->seen[TTrayVis::TaskbarCreatedEvent()], 1);
    EXPECT_TRUE(tray->Trayicon().IconAdded());

    tray->RestoreFromTray();
    EXPECT_FALSE(form->isMinimized());
    EXPECT_TRUE(tray->Trayicon().IconAdded());
}

TEST_F(TrayVisTest, MainIconNotificationsFireTheirEventsAndStopThere)
{
    const QEvent::Type type = TTrayVis::TrayCallbackEvent();
    notify(type, TrayNotification::LeftButtonUp);
    notify(type, TrayNotification::LeftDoubleClick);
    notify(type, TrayNotification::RightButtonUp); // no menu attached: nothing
    notify(type, TrayNotification::BalloonShow);   // not the main icon's: ignored
    EXPECT_EQ(calls, (QStringList{"left", "left2"}));
    EXPECT_EQ(form->seen[type], 0);

    QMenu menu;
    menu.addAction(QStringLiteral("Restore"));
    tray->Trayicon().SetPopupMenu(&menu);
    notify(type, TrayNotification::RightButtonUp);
    EXPECT_TRUE(menu.isVisible());
    menu.close();
}

TEST_F(TrayVisTest, AHandlerExceptionStaysInsideAndTheEventGoesOn)
{
    tray->OnTrayLeftClick = [](TTrayVis *) { throw std::runtime_error("handler failed"); };
    EXPECT_NO_THROW(notify(TTrayVis::TrayCallbackEvent(), TrayNotification::LeftButtonUp));
    EXPECT_EQ(form->seen[TTrayVis::TrayCallbackEvent()], 1);
}

TEST_F(TrayVisTest, BalloonIconNotifications)
{
    const QEvent::Type type = TTrayVis::BallCallbackEvent();
    tray->BallooInfo().SetTrayiconActive(true);
    notify(type, TrayNotification::LeftButtonUp);
    notify(type, TrayNotification::LeftDoubleClick);
    notify(type, TrayNotification::BalloonShow);
    notify(type, TrayNotification::BalloonTimeout);
    EXPECT_TRUE(tray->BallooInfo().IconAdded()) << "an active balloon icon stays";
    EXPECT_EQ(calls, (QStringList{"ballLeft", "ballShow", "ballLeft2", "ballShow", "ballHide"}));

    calls.clear();
    tray->BallooInfo().SetTrayiconActive(false);
    tray->BallooInfo().ShowIcon(true);
    notify(type, TrayNotification::BalloonUserClick);
    EXPECT_FALSE(tray->BallooInfo().IconAdded());
    EXPECT_EQ(calls, QStringList{"ballHide"});
    EXPECT_EQ(form->seen[type], 0);
}

TEST_F(TrayVisTest, DestructionTakesTheIconsAway)
{
    tray->Trayicon().SetAlwaysActive(true);
    tray->BallooInfo().SetTrayiconActive(true);
    delete tray;
    EXPECT_EQ(host->removes, 2);
    form->move(3, 3); // the filter is gone with the component
}

TEST_F(TrayVisTest, MovesSnapToTheScreenEdgeOnlyWhenEnabled)
{
    tray->Margin().Magnetic = true;
    form->move(6, 200);
    QCoreApplication::processEvents();
    EXPECT_EQ(form->frameGeometry().x(), 6) << "margins are off by default";

    tray->Margin().Enabled = true;
    form->move(6, 201);
    QCoreApplication::processEvents();
    EXPECT_EQ(form->frameGeometry().topLeft(), QPoint(0, 201));
    form->move(7, 202);
    QCoreApplication::processEvents();
    EXPECT_EQ(form->frameGeometry().topLeft(), QPoint(7, 202));

    EXPECT_TRUE(tray->CaptionDragAllowed());
    tray->Margin().NoMove = true;
    EXPECT_FALSE(tray->CaptionDragAllowed());
}

struct MarginCase
{
    const char *name;
    bool magnetic;
    bool alwaysOnScreen;
    QRect proposed;
    QRect expected;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const MarginCase &c, std::ostream *os)
{
    *os << c.name;
}

class ApplyMarginTest : public ::testing::TestWithParam<MarginCase>
{};

TEST_P(ApplyMarginTest, KeepsTheWindowAgainstTheEdges)
{
    const MarginCase &c = GetParam();
    TMargin margin;
    margin.Enabled = true;
    margin.Magnetic = c.magnetic;
    margin.AlwaysOnScreen = c.alwaysOnScreen;
    const QRect screen(0, 0, 1024, 768);
    EXPECT_EQ(margin.ApplyMargin(c.proposed, c.proposed.size(), screen), c.expected);
}

// Screen 1024 x 768; default limits -5 and 7, all comparisons strict.
INSTANTIATE_TEST_SUITE_P(
    Cases, ApplyMarginTest,
    ::testing::Values(
        MarginCase{"Left6Snaps", true, false, {6, 300, 100, 80}, {0, 300, 100, 80}},
        MarginCase{"Left7Stays", true, false, {7, 300, 100, 80}, {7, 300, 100, 80}},
        MarginCase{"Left5OutsideStays", true, false, {-5, 300, 100, 80}, {-5, 300, 100, 80}},
        MarginCase{"Bottom6Snaps", true, false, {300, 682, 100, 80}, {300, 688, 100, 80}},
        MarginCase{"Right6Snaps", true, false, {918, 300, 100, 80}, {924, 300, 100, 80}},
        MarginCase{"Right5OutsideStays", true, false, {929, 300, 100, 80}, {929, 300, 100, 80}},
        MarginCase{"CornerSnapsBoth", true, false, {3, 684, 100, 80}, {0, 688, 100, 80}},
        MarginCase{"NotMagneticStays", false, false, {3, 3, 100, 80}, {3, 3, 100, 80}},
        MarginCase{"OffScreenPulledBack", false, true, {-50, -40, 100, 80}, {0, 0, 100, 80}},
        MarginCase{"TallerEndsAtTheBottom", false, true, {10, -10, 100, 800}, {10, -32, 100, 800}},
        MarginCase{"WiderEndsAtTheRight", false, true, {10, 10, 1100, 80}, {-76, 10, 1100, 80}}),
    [](const ::testing::TestParamInfo<MarginCase> &info) { return std::string(info.param.name); });

TEST(ApplyMarginScreens, EdgesAreThoseOfTheGivenScreen)
{
    TMargin margin;
    margin.Magnetic = true;
    const QRect second(1024, 0, 800, 600);
    EXPECT_EQ(margin.ApplyMargin({1030, 50, 100, 80}, {100, 80}, second), QRect(1024, 50, 100, 80));
    EXPECT_EQ(margin.ApplyMargin({1720, 515, 100, 80}, {100, 80}, second),
              QRect(1724, 520, 100, 80));
}

TEST(TrayFlightTest, FliesAndGoes)
{
    QPointer<TrayFlight> flight =
        TrayFlight::start(QRect(100, 100, 200, 150), QRect(700, 560, 24, 24));
    ASSERT_TRUE(flight);
    EXPECT_TRUE(flight->isVisible());
    EXPECT_EQ(flight->geometry(), QRect(100, 100, 200, 150));
    EXPECT_TRUE(QTest::qWaitFor([&] { return flight.isNull(); }, 2000));
}

} // namespace
