// What the receive handler does with each datagram: registering, refreshing, answering,
// showing messages, dropping duplicates and leavers.
#include "EngineFixture.h"
#include "engine/Datagram.h"
#include "engine/PeerColors.h"

#include <QItemSelectionModel>

namespace {

using Datagram::announcement;
using Datagram::answer;

class Inbound : public EngineFixture
{};

TEST_F(Inbound, OwnBroadcastIsIgnored)
{
    m_engine->OpenReceiver(false); // learns the own addresses
    hear(ownAddr(), announcement("Sales", "me"));
    EXPECT_TRUE(m_engine->users().isEmpty());
}

TEST_F(Inbound, UnregisteredSenderGetsNoHearingExceptForAnnouncements)
{
    hearFromPeer(1, "111111|MSG|hello|");
    hearFromPeer(1, "222222|ALV|Sales|");
    hearFromPeer(1, "333333|EXT");
    settle();
    EXPECT_TRUE(m_engine->users().isEmpty());
    EXPECT_TRUE(m_windows.transcript.isEmpty());
}

struct AnswerCase
{
    const char *name;
    bool registeredBefore;
    const char *subKind;
    bool answered;
};

class InboundAnswers : public EngineFixture, public ::testing::WithParamInterface<AnswerCase>
{};

// Only a broadcast announcement is answered, registered sender or not; so two copies that
// know each other exchange no further answers.
TEST_P(InboundAnswers, AnswersBroadcastAnnouncementsOnly)
{
    const AnswerCase &c = GetParam();
    peer(1);
    if (c.registeredBefore) {
        addPeer(1, "ann");
        settle();
    }
    hearFromPeer(1, QByteArray("0A0A0A|ACK|") + c.subKind + "|Sales|ann|");
    ASSERT_EQ(m_engine->users().count(), 1);
    EXPECT_EQ(m_engine->users().at(0)->Name, "ann");

    const auto got = peer(1).untilMarker();
    if (!c.answered) {
        EXPECT_TRUE(got.isEmpty());
        return;
    }
    ASSERT_EQ(got.size(), 1);
    EXPECT_EQ(withoutId(got[0].data), "ACK|DCT|Sales|me|");
    EXPECT_EQ(got[0].fromAddr, ownAddr());
    EXPECT_NE(got[0].fromPort, m_port) << "answers leave from an ephemeral port";
}

INSTANTIATE_TEST_SUITE_P(Table, InboundAnswers,
                         ::testing::Values(AnswerCase{"NewBct", false, "BCT", true},
                                           AnswerCase{"NewDct", false, "DCT", false},
                                           AnswerCase{"NewLowerBct", false, "bct", true},
                                           AnswerCase{"KnownBct", true, "BCT", true},
                                           AnswerCase{"KnownDct", true, "DCT", false}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(Inbound, OtherChannelIsListedOnceAndItsPeersAreNot)
{
    hearFromPeer(1, answer("Lab", "ann"));
    hearFromPeer(2, announcement("Lab", "bob"));
    hearFromPeer(3, announcement("LAB", "carl"));
    // Differing only in case is another channel: not registered either.
    hearFromPeer(4, announcement("sales", "dora"));
    EXPECT_TRUE(m_engine->users().isEmpty());
    EXPECT_EQ(m_engine->ChannelBox().items(), (QList<QByteArray>{"Lab", "sales"}));
}

TEST_F(Inbound, HeardChannelsAreNotAddedWithoutAutoAdd)
{
    m_settings.AutoAdd = false;
    hearFromPeer(1, announcement("Lab", "ann"));
    addPeer(2, "bob");
    hearFromPeer(2, announcement("Lab", "bob"));
    EXPECT_TRUE(m_engine->ChannelBox().items().isEmpty());
}

TEST_F(Inbound, AnnouncementsOfEndlesslyNewChannelsCannotGrowTheListWithoutBound)
{
    const int heard = MessagingEngine::kMaxHeardChannels + 50;
    // One source alone may add only a few; these come from many.
    for (int i = 0; i < heard; ++i)
        hear("10.9.0." + QByteArray::number(i % 250 + 1),
             announcement("room" + QByteArray::number(i), "ann"));
    EXPECT_EQ(m_engine->ChannelBox().count(), MessagingEngine::kMaxHeardChannels);
    // A channel the user types is still listed.
    m_engine->ChannelBox().setText("Lab");
    m_engine->ChannelBoxSelect();
    EXPECT_EQ(m_engine->ChannelBox().items().last(), "Lab");
}

TEST_F(Inbound, KnownPeerAnnouncingAnotherChannelAddsItButKeepsItsRecord)
{
    addPeer(1, "ann");
    hearFromPeer(1, "0B0B0B|ACK|DCT|Lab|ann|");
    hearFromPeer(1, "0C0C0C|ALV|Other|");
    EXPECT_EQ(m_engine->ChannelBox().items(), QList<QByteArray>{"Lab"});
    EXPECT_EQ(m_engine->users().count(), 1);
}

TEST_F(Inbound, IncompleteAnnouncementsRegisterNobody)
{
    hearFromPeer(1, "0A0A0A|ACK|BCT|Sales|");
    hearFromPeer(2, "0A0A0A|ACK|BCT||bob|");
    hearFromPeer(3, "0A0A0A|ACK|BCT|Sales|carl");
    EXPECT_TRUE(m_engine->users().isEmpty());
}

TEST_F(Inbound, RepeatedIdentifierFromOnePeerOnlyRefreshes)
{
    addPeer(1, "ann");
    addPeer(2, "bob");
    hearFromPeer(1, "ABCDEF|MSG|hello|");
    advance(10'000);
    hearFromPeer(1, "ABCDEF|MSG|hello|");
    EXPECT_EQ(m_engine->users().findByAddr(peerAddr(1))->LastSeen, m_now);
    EXPECT_EQ(m_windows.transcript.size(), 1);

    // The same identifier from another peer counts, and comes back after a different one.
    hearFromPeer(2, "ABCDEF|MSG|hi|");
    hearFromPeer(1, "123456|ALV|Sales|");
    hearFromPeer(1, "ABCDEF|MSG|again|");
    ASSERT_EQ(m_windows.transcript.size(), 3);
    EXPECT_EQ(m_windows.transcript[1].name, "bob");
    EXPECT_EQ(m_windows.transcript[2].text, "again");
}

TEST_F(Inbound, MessageIsShownInThePeersColourAndFieldsAreCut)
{
    addPeer(1, "ann");
    hearFromPeer(1, "111111|MSG|one|two|");
    hearFromPeer(1, "222222|MSG||");
    hearFromPeer(1, "333333|MSG|unterminated");
    ASSERT_EQ(m_windows.transcript.size(), 1);
    const auto &entry = m_windows.transcript[0];
    EXPECT_EQ(entry.name, "ann");
    EXPECT_EQ(entry.text, "one");
    EXPECT_EQ(entry.nameColor, PeerColors::colorByName("clRed"));
    EXPECT_EQ(entry.textColor, PeerColors::kBlack);
    EXPECT_FALSE(entry.outgoing);
    EXPECT_EQ(m_windows.chatShown, 1);
    EXPECT_EQ(m_engine->users().at(0)->LastText, "one");
}

struct AttentionCase
{
    const char *name;
    bool appActive;
    bool somethingSelected;
    bool senderTakesSelection;
};

class InboundAttention : public EngineFixture, public ::testing::WithParamInterface<AttentionCase>
{};

TEST_P(InboundAttention, SenderBecomesTheRecipientUnlessTheUserIsAtWork)
{
    const AttentionCase &c = GetParam();
    addPeer(1, "ann");
    addPeer(2, "bob");
    UserList &users = m_engine->users();
    if (c.somethingSelected)
        users.selectOnly(0);
    if (c.appActive)
        m_engine->AppOnActivate();
    hearFromPeer(2, "111111|MSG|hello|");
    settle();
    EXPECT_EQ(m_windows.transcript.size(), 1);
    if (c.senderTakesSelection) {
        EXPECT_EQ(users.selectedRows(), QList<int>{1});
        EXPECT_EQ(users.selectionModel()->currentIndex().row(), 1);
        EXPECT_EQ(m_windows.attentionCalls, 1);
    } else {
        EXPECT_EQ(users.selectedRows(), QList<int>{0});
        EXPECT_EQ(m_windows.attentionCalls, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, InboundAttention,
    ::testing::Values(AttentionCase{"ActiveWithSelection", true, true, false},
                      AttentionCase{"ActiveWithoutSelection", true, false, true},
                      AttentionCase{"InactiveWithSelection", false, true, true},
                      AttentionCase{"InactiveWithoutSelection", false, false, true}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(Inbound, PeerThatLeavesWhileItsMessageIsShownIsNotTouchedAgain)
{
    addPeer(1, "ann");
    addPeer(2, "bob");
    bool once = true;
    m_windows.whileAdding = [&] {
        if (std::exchange(once, false))
            hearFromPeer(1, "0F0F0F|EXT");
    };
    hearFromPeer(1, "0E0E0E|MSG|bye|");
    EXPECT_EQ(names(), QList<QByteArray>{"bob"});
    EXPECT_EQ(m_windows.transcript.value(0).text, "bye");
    EXPECT_TRUE(m_engine->users().selectedRows().isEmpty());
    settle();
    EXPECT_EQ(m_windows.attentionCalls, 0);
}

TEST_F(Inbound, LeaveNoticeDropsThePeerAtOnce)
{
    addPeer(1, "ann");
    addPeer(2, "bob");
    hearFromPeer(1, "1A2B3C|EXT");
    EXPECT_EQ(names(), QList<QByteArray>{"bob"});
}

TEST_F(Inbound, ColourIsTheRowAtArrivalModuloEight)
{
    addPeer(1, "bob");
    addPeer(2, "ann"); // sorts before bob: row 0 as well
    for (int i = 3; i <= 9; ++i)
        addPeer(i, "z" + QByteArray::number(i)); // rows 2..8
    const UserList &users = m_engine->users();
    const quint32 red = PeerColors::colorByName("clRed");
    EXPECT_EQ(users.findByAddr(peerAddr(1))->Color, red);
    EXPECT_EQ(users.findByAddr(peerAddr(2))->Color, red);
    EXPECT_EQ(users.findByAddr(peerAddr(3))->Color, PeerColors::colorByName("clLime"));
    EXPECT_EQ(users.findByAddr(peerAddr(9))->Color, red) << "row 8";

    // Colours stay when others leave.
    hearFromPeer(3, "1A2B3C|EXT");
    EXPECT_EQ(users.findByAddr(peerAddr(4))->Color, PeerColors::colorByName("clYellow"));
}

TEST_F(Inbound, ReceivesThroughTheListeningSocket)
{
    m_engine->OpenReceiver(true);
    ASSERT_TRUE(m_windows.boxes.isEmpty());
    // Longer than a receiver reads: discarded whole, not cut. ann's comes after it, so once
    // ann is listed the long one has been dealt with.
    ASSERT_TRUE(
        peer(2).sendTo(ownAddr(), m_port, "0B0B0B|ACK|DCT|Sales|bob|" + QByteArray(1024, 'x')));
    ASSERT_TRUE(peer(1).sendTo(ownAddr(), m_port, "0A0A0A|ACK|DCT|Sales|ann|"));
    ASSERT_TRUE(testwait::waitFor([&] { return !m_engine->users().isEmpty(); }));
    EXPECT_EQ(names(), QList<QByteArray>{"ann"});
    EXPECT_EQ(m_engine->users().at(0)->Addr, peerAddr(1));
}

} // namespace
