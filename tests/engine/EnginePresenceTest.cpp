// The presence cycle: first tick, announcing while alone, keep-alives, expiry of silent
// peers, leaving.
#include "EngineFixture.h"
#include "engine/Datagram.h"
#include "net/WSocket.h"

#include <QTimeZone>

namespace {

class Presence : public EngineFixture
{
protected:
    /// A tick after the first one.
    void tick()
    {
        m_engine->AliveTimerTimer();
        settle();
    }
};

TEST_F(Presence, FirstTickOpensTheReceiverAndAnnounces)
{
    m_engine->startAliveTimer();
    EXPECT_EQ(m_engine->aliveTimerTag(), 1);
    m_engine->AliveTimerTimer();
    EXPECT_EQ(m_engine->WSocketRecv().State(), wsConnected);
    EXPECT_EQ(m_engine->aliveTimerTag(), 0);
    EXPECT_EQ(m_engine->AliveTimer().interval(), MessagingEngine::kTickMs);
    EXPECT_TRUE(m_engine->AliveTimer().isActive());
    EXPECT_EQ(broadcasts().size(), 1);
    EXPECT_TRUE(m_windows.boxes.isEmpty());
    EXPECT_EQ(m_engine->LocalAddresses(), QByteArrayList{ownAddr()}) << "127.0.0.1 left out";
}

TEST_F(Presence, AloneItAnnouncesEveryTickAndNeverKeepsAlive)
{
    for (int i = 0; i < 3; ++i)
        tick();
    const QList<QByteArray> sent = broadcasts();
    ASSERT_EQ(sent.size(), 3);
    for (const QByteArray &d : sent)
        EXPECT_EQ(withoutId(d), "ACK|BCT|Sales|me|");
}

TEST_F(Presence, WithPeersItKeepsAlive)
{
    addPeer(1, "ann");
    tick();
    EXPECT_EQ(broadcasts().size(), 1);
    tick();
    const QList<QByteArray> sent = broadcasts();
    ASSERT_EQ(sent.size(), 1);
    EXPECT_EQ(withoutId(sent[0]), "ALV|Sales|");
}

TEST_F(Presence, SilenceOfMoreThan75WholeSecondsDropsAPeer)
{
    addPeer(1, "ann");
    advance(75'900);
    tick();
    EXPECT_EQ(m_engine->users().count(), 1) << "75.9 s are 75 whole seconds";
    advance(100);
    tick();
    EXPECT_TRUE(m_engine->users().isEmpty());
}

TEST_F(Presence, NeighboursSilentTogetherGoOnOneTickAndTheKeepAliveStillGoesOut)
{
    addPeer(1, "ann");
    addPeer(2, "bob");
    addPeer(3, "carl");
    advance(50'000);
    hearFromPeer(3, "0C0C0C|ALV|Sales|");
    advance(30'000);
    broadcasts();
    tick();
    EXPECT_EQ(names(), QList<QByteArray>{"carl"});
    advance(50'000);
    tick();
    EXPECT_TRUE(m_engine->users().isEmpty());
    const QList<QByteArray> sent = broadcasts();
    ASSERT_EQ(sent.size(), 2);
    EXPECT_EQ(withoutId(sent[1]), "ALV|Sales|") << "sent on the tick that emptied the list";
    tick();
    EXPECT_EQ(withoutId(broadcasts().value(0)), "ACK|BCT|Sales|me|");
}

TEST_F(Presence, ClockSetBackDropsEverybody)
{
    addPeer(1, "ann");
    addPeer(2, "bob");
    advance(-80'000);
    tick();
    EXPECT_TRUE(m_engine->users().isEmpty());
}

TEST_F(Presence, SummerTimeEndingIsNotAClockSetBack)
{
    // Wall clocks in Berlin go from 03:00 back to 02:00 on 2026-10-25 at 01:00 UTC.
    const QTimeZone berlin("Europe/Berlin");
    if (!berlin.isValid())
        GTEST_SKIP() << "no time zone data";
    m_now = QDateTime(QDate(2026, 10, 25), QTime(0, 59, 50), Qt::UTC).toTimeZone(berlin);
    addPeer(1, "ann");
    advance(30'000); // the wall clock now reads almost an hour earlier
    tick();
    EXPECT_EQ(m_engine->users().count(), 1);
    EXPECT_EQ(EngineSeams::system().clock().timeSpec(), Qt::UTC);
}

TEST_F(Presence, LeavingWithAnEmptyListSendsNothing)
{
    m_engine->LeaveNetwork();
    EXPECT_TRUE(broadcasts().isEmpty());
}

TEST_F(Presence, LeavingDropsEveryPeerAndBroadcastsTheNotice)
{
    addPeer(1, "ann");
    addPeer(2, "bob");
    m_engine->LeaveNetwork();
    EXPECT_TRUE(m_engine->users().isEmpty());
    const QList<QByteArray> sent = broadcasts();
    ASSERT_EQ(sent.size(), 1);
    EXPECT_EQ(sent[0].size(), 10);
    EXPECT_EQ(withoutId(sent[0]), "EXT");
}

TEST_F(Presence, ReloadLeavesAndAnnouncesAgain)
{
    addPeer(1, "ann");
    m_engine->ReloadListClick();
    settle();
    const QList<QByteArray> sent = broadcasts();
    ASSERT_EQ(sent.size(), 2);
    EXPECT_EQ(withoutId(sent[0]), "EXT");
    EXPECT_EQ(withoutId(sent[1]), "ACK|BCT|Sales|me|");
}

TEST_F(Presence, ReloadBeforeTheFirstTickOpensTheReceiverQuietly)
{
    m_engine->startAliveTimer();
    m_engine->ReloadListClick();
    settle();
    EXPECT_EQ(m_engine->WSocketRecv().State(), wsConnected);
    m_engine->AliveTimerTimer();
    EXPECT_TRUE(m_windows.boxes.isEmpty());
}

class PresenceOffline : public ::testing::Test
{};

TEST_F(PresenceOffline, OnlyLoopbackReportsTheNetworkErrorAtTheFirstTickOnly)
{
    RecordingWindows windows;
    SettingsValues settings;
    settings.Port = "5040";
    settings.UserName = "me";
    EngineSeams seams;
    seams.clock = [] { return QDateTime::currentDateTime(); };
    QByteArrayList addresses{"127.0.0.1"};
    seams.LocalIPList = [&addresses] { return addresses; };
    seams.networkConnected = [] { return false; };
    seams.broadcastAddr = loopbackHost(3);
    MessagingEngine engine(windows, settings, seams);

    engine.startAliveTimer();
    engine.AliveTimerTimer();
    ASSERT_EQ(windows.boxes.size(), 1);
    EXPECT_EQ(windows.boxes[0].kind, EngineWindows::Box::Error);
    EXPECT_EQ(windows.boxes[0].text, "Network error\r\nYou do not have a local network IP.\r\n"
                                     "The server cannot be started.");
    EXPECT_TRUE(settings.Interface.isEmpty());
    engine.Announce();
    EXPECT_EQ(windows.boxes.size(), 1) << "later attempts are silent";
    EXPECT_NE(engine.WSocketRecv().State(), wsConnected);
}

TEST_F(Presence, PortInUseIsReportedAtTheFirstTickAndNothingIsAnnouncedUntilItIsFree)
{
    auto squatter = std::make_unique<UdpProbe>(ownAddr(), m_port);
    ASSERT_TRUE(squatter->bound());
    m_engine->startAliveTimer();
    m_engine->AliveTimerTimer();
    ASSERT_EQ(m_windows.boxes.size(), 1);
    EXPECT_EQ(m_windows.boxes[0].text,
              "Error: port " + QByteArray::number(m_port) +
                  " is already in use (another copy running?); this copy stays off line until "
                  "the port is free");
    // No announcement, keep-alive or leave notice on behalf of the copy that holds it.
    settle();
    m_engine->AliveTimerTimer();
    settle();
    EXPECT_TRUE(broadcasts().isEmpty());

    squatter.reset();
    m_engine->AliveTimerTimer();
    settle();
    EXPECT_EQ(m_engine->WSocketRecv().State(), wsConnected);
    const QList<QByteArray> sent = broadcasts();
    ASSERT_EQ(sent.size(), 1);
    EXPECT_TRUE(withoutId(sent[0]).startsWith("ACK|BCT|")) << sent[0].data();
    EXPECT_EQ(m_windows.boxes.size(), 1) << "later attempts are silent";
}

} // namespace
