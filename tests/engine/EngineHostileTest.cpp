// The engine on a hostile or unlucky network: nothing after the leave notice, settings
// that can never work, interface names, channel floods, forged senders and mass expiry.
#include "EngineFixture.h"
#include "app/SettingsFile.h"
#include "engine/Datagram.h"
#include "net/WSocket.h"

#include <QFile>
#include <QItemSelectionModel>

namespace {

using Datagram::announcement;

class Hostile : public EngineFixture
{
protected:
    /// Rebuilds the engine with the fixture's seams plus the interface lookups given.
    void rebuild(std::function<int(const QByteArray &)> indexOf,
                 std::function<std::optional<QByteArray>(const QByteArray &)> deviceAddr)
    {
        EngineSeams seams;
        seams.clock = [this] { return m_now; };
        seams.LocalIPList = [] { return QByteArrayList{"127.0.0.1", ownAddr()}; };
        seams.networkConnected = [] { return true; };
        seams.broadcastAddr = broadcastAddr();
        seams.interfaceIndexOf = std::move(indexOf);
        seams.deviceAddr = std::move(deviceAddr);
        m_engine.reset();
        m_engine = std::make_unique<MessagingEngine>(m_windows, m_settings, seams);
        m_engine->selectChannelQuietly("Sales");
    }
    void firstTick()
    {
        m_engine->startAliveTimer();
        m_engine->AliveTimerTimer();
        m_engine->AliveTimer().stop();
        settle();
    }
    QList<QByteArray> commands(const QList<QByteArray> &datagrams)
    {
        QList<QByteArray> result;
        for (const QByteArray &d : datagrams)
            result.append(withoutId(d).left(3));
        return result;
    }
};

TEST_F(Hostile, NothingIsSentAfterTheLeaveNoticeAndQueuedWorkDoesNothing)
{
    firstTick();
    addPeer(1, "ann");
    broadcasts();
    // A channel change queues its announcement; the shutdown comes before it runs.
    m_engine->ChannelBox().setText("Other");
    m_engine->ChannelBoxSelect();
    m_engine->postQueueMessage("late");
    m_engine->FormClose();
    EXPECT_TRUE(m_engine->isClosed());
    settle();
    m_engine->AliveTimerTimer();
    m_engine->Announce();
    m_engine->SendDirect(2, 0);
    const QList<QByteArray> sent = commands(broadcasts());
    ASSERT_FALSE(sent.isEmpty());
    EXPECT_EQ(sent.last(), "EXT") << "the leave notice is the last datagram";
    EXPECT_EQ(sent.count("ACK"), 0);
    hearFromPeer(2, announcement("Other", "bob"));
    EXPECT_TRUE(names().isEmpty()) << "a closed engine lists nobody";
}

TEST_F(Hostile, SettingsThatCanNeverWorkAreToldAtTheFirstTickAndSendNothing)
{
    struct Case
    {
        QByteArray port;
        QByteArray interfaceName;
        QByteArray told;
    };
    const Case cases[] = {
        {"0", {}, "the port \"0\" is not a number from 1 to 65535"},
        {"abc", {}, "the port \"abc\""},
        {"99999", {}, "the port \"99999\""},
        {"5040x", {}, "the port \"5040x\""},
        {{},
         "garbage",
         "the interface \"garbage\" is neither an IPv4 address nor a network device"},
        {{}, "example.invalid", "the interface \"example.invalid\""},
        {{}, "noaddr0", "the network device \"noaddr0\" has no IPv4 address"},
    };
    for (const Case &c : cases) {
        m_windows.boxes.clear();
        m_settings.Port = c.port.isEmpty() ? QByteArray::number(m_port) : c.port;
        m_settings.Interface = c.interfaceName.isEmpty() ? ownAddr() : c.interfaceName;
        QList<QByteArray> looked;
        rebuild({}, [&looked](const QByteArray &name) -> std::optional<QByteArray> {
            looked.append(name);
            if (name == "noaddr0")
                return QByteArray();
            return std::nullopt;
        });
        firstTick();
        ASSERT_EQ(m_windows.boxes.size(), 1) << c.told.data();
        EXPECT_TRUE(m_windows.boxes[0].text.startsWith("Error: " + c.told))
            << m_windows.boxes[0].text.data();
        EXPECT_NE(m_engine->WSocketRecv().State(), wsConnected);
        m_engine->Announce();
        EXPECT_TRUE(broadcasts().isEmpty()) << c.told.data();
        m_engine->AliveTimerTimer();
        EXPECT_EQ(m_windows.boxes.size(), 1) << "later ticks try again quietly";
        EXPECT_EQ(looked.isEmpty(), c.interfaceName.isEmpty());
    }
}

TEST_F(Hostile, ADeviceNameStandsForItsAddress)
{
    m_settings.Interface = "lan0";
    rebuild({}, [](const QByteArray &name) -> std::optional<QByteArray> {
        if (name == "lan0")
            return ownAddr();
        return std::nullopt;
    });
    firstTick();
    EXPECT_TRUE(m_windows.boxes.isEmpty());
    EXPECT_EQ(m_engine->WSocketRecv().State(), wsConnected);
    EXPECT_EQ(m_engine->interfaceAddr(), ownAddr());
    const auto sent = m_broadcastProbe->untilMarker();
    ASSERT_EQ(sent.size(), 1);
    EXPECT_EQ(sent[0].fromAddr, ownAddr());
    EXPECT_EQ(m_settings.Interface, "lan0") << "the name is what the settings keep";
}

TEST_F(Hostile, TheReceiverOpensAgainWhenTheAddressMovesToAnotherDevice)
{
    int device = 4;
    int lookups = 0;
    rebuild(
        [&](const QByteArray &addr) {
            ++lookups;
            return addr == ownAddr() ? device : 0;
        },
        {});
    firstTick();
    addPeer(1, "ann");
    ASSERT_EQ(m_engine->WSocketRecv().State(), wsConnected);
    const int looked = lookups;
    m_engine->AliveTimerTimer();
    EXPECT_GT(lookups, looked) << "each tick looks";
    EXPECT_EQ(m_engine->WSocketRecv().State(), wsConnected);

    // Gone, then back on another device: opened again (a loopback address cannot really
    // go away here; the sandbox test deletes a real device).
    device = 0;
    m_engine->AliveTimerTimer();
    device = 9;
    m_engine->AliveTimerTimer();
    EXPECT_EQ(m_engine->WSocketRecv().State(), wsConnected);
    UdpProbe probe(peerAddr(1), 0);
    ASSERT_TRUE(probe.sendTo(ownAddr(), m_port, "0A0A0A|MSG|still here|"));
    EXPECT_TRUE(testwait::waitFor([this] { return !m_windows.transcript.isEmpty(); }));
}

TEST_F(Hostile, OneSourceCannotFillTheChannelListAndHeardChannelsGiveWay)
{
    m_engine->ChannelBox().reset({"Sales", "Typed"}, "Sales");
    for (int i = 0; i < 300; ++i)
        hear("10.8.0.1", announcement("junk" + QByteArray::number(i), "x"));
    EXPECT_EQ(m_engine->ChannelBox().count(), 2 + MessagingEngine::kMaxHeardChannelsPerSource);

    // Forged from many sources: the list fills to its cap, then new names push out the
    // heard channel announced least recently, never one the user chose.
    for (int i = 0; i < 400; ++i)
        hear("10.8." + QByteArray::number(1 + i / 200) + "." + QByteArray::number(i % 200 + 1),
             announcement("flood" + QByteArray::number(i), "x"));
    EXPECT_EQ(m_engine->ChannelBox().count(), MessagingEngine::kMaxHeardChannels);
    hear("10.7.0.1", announcement("Real", "ann"));
    const QList<QByteArray> items = m_engine->ChannelBox().items();
    EXPECT_TRUE(items.contains("Real"));
    EXPECT_TRUE(items.contains("Sales"));
    EXPECT_TRUE(items.contains("Typed"));
    EXPECT_FALSE(items.contains("junk0")) << "the oldest heard channel went first";
    EXPECT_TRUE(m_engine->isHeardChannel("Real"));
    EXPECT_FALSE(m_engine->isHeardChannel("Typed"));

    // The junk that is saved is marked, so the next run can let it go too; a channel the
    // user picks stops being heard.
    m_engine->ChannelBox().setText("Real");
    m_engine->ChannelBoxSelect();
    EXPECT_FALSE(m_engine->isHeardChannel("Real"));
    m_engine->FormClose();
    SettingsValues reread;
    reread.Path = m_settings.Path;
    const LoadedSettings loaded = LoadSettings(reread);
    EXPECT_EQ(loaded.channels.channels.size(), MessagingEngine::kMaxHeardChannels);
    EXPECT_EQ(loaded.channels.heard.size(), MessagingEngine::kMaxHeardChannels - 3);
    EXPECT_FALSE(loaded.channels.heard.contains("Real"));
}

TEST_F(Hostile, DeletingAChannelSparesTheDefaultAndTheActiveOne)
{
    m_engine->ChannelBox().reset({"Main", "Sales", "Lab"}, "Sales");
    using D = MessagingEngine::ChannelDeletion;
    EXPECT_EQ(m_engine->deleteChannel("main"), D::IsDefault);
    EXPECT_EQ(m_engine->deleteChannel("SALES"), D::IsActive);
    EXPECT_EQ(m_engine->deleteChannel("Nowhere"), D::NotListed);
    EXPECT_EQ(m_engine->deleteChannel("lab"), D::Deleted);
    EXPECT_EQ(m_engine->ChannelBox().items(), (QList<QByteArray>{"Main", "Sales"}));
}

TEST_F(Hostile, TheUserListIsBoundedAndMassExpiryKeepsTheSelectionOfTheRest)
{
    m_engine->setUserLimit(300);
    for (int i = 0; i < 400; ++i)
        hear("10.6." + QByteArray::number(i / 200) + "." + QByteArray::number(i % 200 + 1),
             Datagram::answer("Sales", "u" + QByteArray::number(1000 + i)));
    EXPECT_EQ(m_engine->users().count(), 300);

    // Every other one stays fresh, so the expiry removes scattered rows.
    advance(60000);
    for (int i = 0; i < 300; i += 2)
        hear("10.6." + QByteArray::number(i / 200) + "." + QByteArray::number(i % 200 + 1),
             "0D0D0D|ALV|Sales|");
    UserList &users = m_engine->users();
    const int keptRow = users.rowOf(users.findByAddr("10.6.0.5"));
    users.selectionModel()->select(users.index(keptRow), QItemSelectionModel::Select);
    users.selectionModel()->select(users.index(keptRow + 1), QItemSelectionModel::Select);
    advance(20000);
    m_engine->AliveTimerTimer();
    EXPECT_EQ(users.count(), 150);
    EXPECT_EQ(users.selectedRows(), QList<int>{users.rowOf(users.findByAddr("10.6.0.5"))});
    hear("10.5.0.1", Datagram::answer("Sales", "late"));
    EXPECT_TRUE(users.findByAddr("10.5.0.1")) << "room again once the forged ones went";
}

} // namespace
