// Chat lines to the selected peers, one datagram per recipient through its own socket.
#include "EngineFixture.h"
#include "engine/Datagram.h"
#include "engine/PeerColors.h"

#include <QCoreApplication>
#include <QItemSelectionModel>
#include <QPointer>
#include <QSet>

namespace {

/// A peer socket whose connect does not finish at once, as a slow one would: the sender
/// waits for it with the event loop running, and the first thing that loop runs is
/// whileConnecting, then the connect completes (if the socket is still there).
class StallingSocket final : public TWSocket
{
public:
    explicit StallingSocket(std::function<void()> whileConnecting)
        : m_whileConnecting(std::move(whileConnecting))
    {}

    void Connect() override
    {
        TWSocket::Connect();
        ChangeState(wsConnecting);
        const QPointer<StallingSocket> self(this);
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [self, action = std::exchange(m_whileConnecting, {})] {
                if (action)
                    action();
                if (self)
                    self->ChangeState(wsConnected);
            },
            Qt::QueuedConnection);
    }

private:
    std::function<void()> m_whileConnecting;
};

/// A peer socket whose sends would block while *refusing is set, as a full send buffer
/// makes them: what it is given waits in its queue.
class RefusingSocket final : public TWSocket
{
public:
    explicit RefusingSocket(const bool *refusing) : m_refusing(refusing) {}

protected:
    int SendChunk(const char *Data, int Len) override
    {
        if (*m_refusing) {
            WSocketSetLastError(10035);
            return -1;
        }
        return TWSocket::SendChunk(Data, Len);
    }

private:
    const bool *m_refusing;
};

class Outbound : public EngineFixture
{
protected:
    void selectAll()
    {
        UserList &users = m_engine->users();
        users.selectionModel()->select(
            QItemSelection(users.index(0), users.index(users.count() - 1)),
            QItemSelectionModel::ClearAndSelect);
    }
};

TEST_F(Outbound, LineGoesToEverySelectedPeerWithItsOwnIdentifier)
{
    addPeer(1, "ann");
    addPeer(2, "bob");
    addPeer(3, "carl");
    addPeer(4, "dora");
    UserList &users = m_engine->users();
    users.selectionModel()->select(QItemSelection(users.index(0), users.index(2)),
                                   QItemSelectionModel::ClearAndSelect);

    m_engine->postQueueMessage("one\r\ntwo");
    QCoreApplication::sendPostedEvents(m_engine.get(), DeferredEvent::QueueMessage);
    // The transcript has every recipient's line before anything is sent.
    ASSERT_EQ(m_windows.transcript.size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(m_windows.transcript[i].name, names()[i]);
        EXPECT_EQ(m_windows.transcript[i].text, "one\r\ntwo");
        EXPECT_EQ(m_windows.transcript[i].nameColor, PeerColors::kGray);
        EXPECT_TRUE(m_windows.transcript[i].outgoing);
    }
    EXPECT_EQ(m_windows.sendEditCleared, 1);
    EXPECT_EQ(m_engine->pendingCount(), 3);

    QSet<QByteArray> ids;
    for (int i = 1; i <= 3; ++i) {
        const QList<QByteArray> got = sentToPeer(i);
        ASSERT_EQ(got.size(), 1) << "peer " << i;
        EXPECT_EQ(withoutId(got[0]), "MSG|one\r\ntwo|");
        ids.insert(got[0].left(6));
    }
    EXPECT_EQ(ids.size(), 3);
    EXPECT_TRUE(sentToPeer(4).isEmpty());
    EXPECT_EQ(m_engine->pendingCount(), 0);
}

TEST_F(Outbound, LineWithNobodySelectedReachesNobody)
{
    addPeer(1, "ann");
    m_engine->postQueueMessage("hello");
    settle();
    EXPECT_TRUE(m_windows.transcript.isEmpty());
    EXPECT_EQ(m_windows.sendEditCleared, 1);
    EXPECT_TRUE(sentToPeer(1).isEmpty());
}

TEST_F(Outbound, NewerLineReplacesOneThatHasNotGoneOut)
{
    addPeer(1, "ann");
    selectAll();
    m_engine->QueueMessage("first");
    m_engine->QueueMessage("second");
    const QList<QByteArray> got = sentToPeer(1);
    ASSERT_EQ(got.size(), 1);
    EXPECT_EQ(withoutId(got[0]), "MSG|second|");
    EXPECT_EQ(m_windows.transcript.size(), 2) << "both were shown";
}

TEST_F(Outbound, LineOfPeerThatLeavesIsDroppedWithIt)
{
    addPeer(1, "ann");
    addPeer(2, "bob");
    selectAll();
    m_engine->QueueMessage("hello");
    hearFromPeer(1, "1A2B3C|EXT");
    EXPECT_EQ(m_engine->pendingCount(), 1);
    EXPECT_TRUE(sentToPeer(1).isEmpty());
    EXPECT_EQ(sentToPeer(2).size(), 1);
}

TEST_F(Outbound, RecipientThatLeavesWhileTheLineIsShownIsSkipped)
{
    addPeer(1, "ann");
    addPeer(2, "bob");
    selectAll();
    bool once = true;
    m_windows.whileAdding = [&] {
        if (std::exchange(once, false))
            hearFromPeer(2, "0F0F0F|EXT");
    };
    m_engine->QueueMessage("hello");
    EXPECT_EQ(m_windows.transcript.size(), 1);
    EXPECT_EQ(m_engine->pendingCount(), 1);
    EXPECT_EQ(sentToPeer(1).size(), 1);
}

TEST_F(Outbound, PeerThatLeavesWhileItsSocketConnectsHoldsUpNobody)
{
    // ann's leave notice arrives while the sender waits for ann's socket (ann sorts first,
    // so hers is the first line to go).
    bool leftWhileConnecting = false;
    m_newPeerSocket = [this, &leftWhileConnecting, first = true]() mutable {
        std::function<void()> leave;
        if (std::exchange(first, false)) {
            leave = [this, &leftWhileConnecting] {
                const TUser *ann = m_engine->users().findByAddr(peerAddr(1));
                leftWhileConnecting = ann && ann->Socket->State() == wsConnecting;
                hearFromPeer(1, "1A2B3C|EXT");
            };
        }
        return std::make_unique<StallingSocket>(std::move(leave));
    };
    addPeer(1, "ann");
    addPeer(2, "bob");
    selectAll();
    m_engine->QueueMessage("hello");
    const QList<QByteArray> toBob = sentToPeer(2);
    EXPECT_TRUE(leftWhileConnecting);
    EXPECT_EQ(names(), QList<QByteArray>{"bob"});
    EXPECT_TRUE(sentToPeer(1).isEmpty());
    ASSERT_EQ(toBob.size(), 1) << "bob's line does not wait for the next keep-alive";
    EXPECT_EQ(withoutId(toBob[0]), "MSG|hello|");
}

TEST_F(Outbound, LongLineFullOfSeparatorsStaysReadable)
{
    addPeer(1, "ann");
    selectAll();
    m_engine->QueueMessage(QByteArray(1000, '|').replace("|", "\r\n"));
    const QList<QByteArray> got = sentToPeer(1);
    ASSERT_EQ(got.size(), 1) << "one datagram, not a second one made of the tail";
    EXPECT_LE(got[0].size(), Datagram::kMaxSize);
    EXPECT_TRUE(got[0].endsWith("\r\n|"));
}

TEST_F(Outbound, ControlCharactersOtherThanTabAndLineBreaksNeverReachTheWire)
{
    addPeer(1, "ann");
    selectAll();
    m_engine->postQueueMessage(QByteArray("a\0b\x01"
                                          "c\td\r\ne\x1b[1m\rf\ng\x7f"
                                          "h",
                                          20));
    m_engine->postQueueMessage(QByteArray("\0\x07", 2)); // nothing is left to send
    const QList<QByteArray> got = sentToPeer(1);
    ASSERT_EQ(got.size(), 1);
    EXPECT_EQ(withoutId(got[0]), "MSG|abc\td\r\ne[1mfgh|");
    ASSERT_EQ(m_windows.transcript.size(), 1);
    EXPECT_EQ(m_windows.transcript[0].text, "abc\td\r\ne[1mfgh");
    EXPECT_EQ(m_windows.sendEditCleared, 2);
}

// The seam stands in for a send buffer that is full (a rate-limited link).
TEST_F(Outbound, DatagramWaitingBehindAFullSendBufferIsNotDroppedByTheNextSend)
{
    bool refusing = false;
    m_newPeerSocket = [&refusing] { return std::make_unique<RefusingSocket>(&refusing); };
    addPeer(1, "ann");
    selectAll();
    refusing = true;
    hearFromPeer(1, "0A0A0A|ACK|BCT|Sales|ann|"); // the answer waits in ann's socket
    testwait::runRounds(20);                      // not settle(): the writable socket keeps waking
    m_engine->QueueMessage("hello");              // the line goes through the same socket
    refusing = false;
    const QList<QByteArray> got = sentToPeer(1);
    ASSERT_EQ(got.size(), 2);
    EXPECT_TRUE(withoutId(got[0]).startsWith("ACK|DCT|Sales|")) << got[0].data();
    EXPECT_EQ(withoutId(got[1]), "MSG|hello|");
}

TEST_F(Outbound, LineWhoseSocketCannotOpenWaitsForTheNextCompletedSend)
{
    addPeer(1, "ann");
    selectAll();
    m_settings.Interface = "192.0.2.1"; // no such local address: binding fails
    m_engine->QueueMessage("hello");
    settle();
    EXPECT_EQ(m_engine->pendingCount(), 1);

    m_settings.Interface = ownAddr();
    m_engine->AliveTimerTimer(); // the keep-alive's completion serves the queue again
    const QList<QByteArray> got = sentToPeer(1);
    ASSERT_EQ(got.size(), 1);
    EXPECT_EQ(withoutId(got[0]), "MSG|hello|");
}

TEST_F(Outbound, StaleAnswerRequestDoesNotReachANewcomerAtTheSameAddress)
{
    peer(1);
    hearFromPeer(1, "0A0A0A|ACK|BCT|Sales|ann|"); // answer request queued for this record
    hearFromPeer(1, "0B0B0B|EXT");
    hearFromPeer(1, "0C0C0C|ACK|DCT|Sales|ann|"); // a new record, which wants no answer
    ASSERT_EQ(m_engine->users().count(), 1);
    EXPECT_TRUE(sentToPeer(1).isEmpty());
}

} // namespace
