#include "net/WSocket.h"

#include "common/EventWait.h"
#include "net/SocketTestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QPointer>
#include <QSocketNotifier>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

// Real sockets on 127.0.0.1 only; every port is chosen by the system.

namespace {

using StatePair = std::pair<TSocketState, TSocketState>;

using sockettest::raised;
using sockettest::waitFor;

// Counts notifications, to tell "twice in one notification" from "once per notification".
class CountingSocket : public TWSocket
{
public:
    int readNotifications = 0;
    int writeNotifications = 0;

protected:
    void HandleReadEvent(quint16 ErrCode) override
    {
        ++readNotifications;
        TWSocket::HandleReadEvent(ErrCode);
    }
    void HandleWriteEvent(quint16 ErrCode) override
    {
        ++writeNotifications;
        TWSocket::HandleWriteEvent(ErrCode);
    }
};

// Refuses (or fails) sends while told to, as the system does when its buffer is full.
class RefusingSocket : public TWSocket
{
public:
    int refuseWith = 0;

protected:
    int SendChunk(const char *Data, int Len) override
    {
        if (refuseWith != 0) {
            WSocketSetLastError(refuseWith);
            return -1;
        }
        return TWSocket::SendChunk(Data, Len);
    }
};

// A datagram listener on 127.0.0.1 that reads one datagram per OnDataAvailable call.
struct Receiver
{
    CountingSocket socket;
    QList<QByteArray> datagrams;
    QList<SockAddrIn> senders;
    QList<int> errors;
    int calls = 0;
    int bufferSize = 2048;

    Receiver()
    {
        socket.OnDataAvailable = [this](TCustomWSocket *s, quint16) {
            ++calls;
            QByteArray buf(bufferSize, '\0');
            SockAddrIn from;
            int len = sizeof from;
            const int n = s->ReceiveFrom(buf.data(), bufferSize, from, len);
            if (n >= 0) {
                datagrams << buf.left(n);
                senders << from;
            } else {
                errors << s->LastError();
            }
        };
    }

    QByteArray listen()
    {
        socket.SetProto("udp");
        socket.SetAddr("127.0.0.1");
        socket.SetPort("0");
        socket.Listen();
        return socket.GetLocalPortText();
    }
};

void openSender(TCustomWSocket &s, const QByteArray &port)
{
    s.SetProto("udp");
    s.SetAddr("127.0.0.1");
    s.SetPort(port);
    s.SetLocalAddr("127.0.0.1");
    s.SetLocalPort("0");
    s.Connect();
}

// An opened sender that counts its OnDataSent events.
template <class S = TWSocket>
struct Sender
{
    S socket;
    int dataSent = 0;

    explicit Sender(const QByteArray &port)
    {
        socket.OnDataSent = [this](TCustomWSocket *, quint16) { ++dataSent; };
        openSender(socket, port);
    }
};

int openDescriptors()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System).size());
}

} // namespace

TEST(WSocketDatagramTest, ListenConnectSendReceiveWithStatesAndLateDataSent)
{
    Receiver rx;
    QList<StatePair> rxStates;
    int rxConnected = -1;
    rx.socket.OnChangeState = [&](TCustomWSocket *, TSocketState o, TSocketState n) {
        rxStates << StatePair(o, n);
    };
    rx.socket.OnSessionConnected = [&](TCustomWSocket *, quint16 e) { rxConnected = e; };
    const QByteArray port = rx.listen();
    EXPECT_EQ(rx.socket.State(), wsConnected);
    EXPECT_EQ(rxConnected, 0);
    EXPECT_EQ(rxStates,
              (QList<StatePair>{
                  {wsClosed, wsBound}, {wsBound, wsListening}, {wsListening, wsConnected}}));

    TWSocket tx;
    QList<StatePair> txStates;
    int dataSent = 0;
    tx.OnChangeState = [&](TCustomWSocket *, TSocketState o, TSocketState n) {
        txStates << StatePair(o, n);
    };
    tx.OnDataSent = [&](TCustomWSocket *, quint16) { ++dataSent; };
    openSender(tx, port);
    EXPECT_EQ(tx.State(), wsConnected);
    EXPECT_EQ(txStates, (QList<StatePair>{{wsClosed, wsOpened}, {wsOpened, wsConnected}}));
    EXPECT_EQ(tx.PeerAddr(), "127.0.0.1");
    EXPECT_EQ(tx.PeerPort(), port);

    EXPECT_EQ(tx.SendText("hello"), 5);
    EXPECT_TRUE(tx.AllDataSent());
    EXPECT_EQ(dataSent, 0); // never from inside Send
    ASSERT_TRUE(waitFor([&] { return dataSent == 1 && rx.datagrams.size() == 1; }));
    EXPECT_EQ(rx.datagrams.first(), "hello");
    EXPECT_EQ(rx.senders.first().AddrText(), "127.0.0.1");
    EXPECT_EQ(QByteArray::number(rx.senders.first().Port()), tx.LocalPort());
    EXPECT_EQ(tx.SendText(""), 0);

    tx.Close();
    EXPECT_EQ(txStates.last(), StatePair(wsConnected, wsClosed));
    // A close restores the defaults: the caller configures the socket afresh each time.
    EXPECT_EQ(tx.Proto(), "tcp");
    EXPECT_EQ(tx.LocalAddr(), "0.0.0.0");
    EXPECT_EQ(tx.LocalPort(), "0");
    EXPECT_TRUE(tx.AllDataSent());
    EXPECT_EQ(raised([&] { tx.Connect(); }), "Connect: No Port Specified");
}

TEST(WSocketDatagramTest, TwoWaitingDatagramsRaiseDataAvailableTwiceInOneNotification)
{
    Receiver rx;
    const QByteArray port = rx.listen();
    Sender tx(port);
    tx.socket.SendText("one");
    tx.socket.SendText("two"); // loopback delivers both before the loop runs
    ASSERT_TRUE(waitFor([&] { return rx.datagrams.size() == 2 && tx.dataSent == 2; }));
    EXPECT_EQ(rx.datagrams, (QList<QByteArray>{"one", "two"}));
    EXPECT_EQ(rx.socket.readNotifications, 1);
    EXPECT_EQ(rx.calls, 2);
    EXPECT_TRUE(testwait::drainEvents());
    EXPECT_EQ(tx.dataSent, 2); // one completion per send, no more
}

TEST(WSocketDatagramTest, DatagramsReadAheadKeepTheirSizeSenderAndTooLongRule)
{
    // The read loop learns whether more waits by reading the next datagram ahead; what
    // the handler then reads must be exactly what the socket would have given it.
    Receiver rx;
    rx.bufferSize = 1024;
    QList<int> pending;
    const auto read = rx.socket.OnDataAvailable;
    rx.socket.OnDataAvailable = [&](TCustomWSocket *s, quint16 e) {
        pending << s->RcvdCount();
        read(s, e);
    };
    const QByteArray port = rx.listen();
    TWSocket tx;
    openSender(tx, port);
    tx.SendText("short");
    tx.SendText(QByteArray(1400, 'L'));
    tx.SendText("tail");
    ASSERT_TRUE(waitFor([&] { return rx.datagrams.size() == 2; }));
    EXPECT_EQ(rx.datagrams, (QList<QByteArray>{"short", "tail"}));
    EXPECT_EQ(rx.errors, QList<int>{10040});
    EXPECT_EQ(pending, (QList<int>{5, 1400, 4}));
    for (const SockAddrIn &from : rx.senders)
        EXPECT_EQ(QByteArray::number(from.Port()), tx.GetLocalPortText());
}

TEST(WSocketDatagramTest, DatagramReadAheadGoesToTheNextReaderButNotPastAClose)
{
    // The handler reads once, then leaves the datagram read ahead for somebody else.
    Receiver rx;
    bool readNext = true;
    const auto read = rx.socket.OnDataAvailable;
    rx.socket.OnDataAvailable = [&](TCustomWSocket *s, quint16 e) {
        if (std::exchange(readNext, false))
            read(s, e);
    };
    QByteArray port = rx.listen();
    TWSocket tx;
    openSender(tx, port);
    const auto sendPair = [&](const QByteArray &first, const QByteArray &second) {
        tx.SendText(first);
        tx.SendText(second);
        return waitFor(
            [&] { return rx.datagrams.contains(first) && rx.socket.RcvdCount() == second.size(); });
    };
    ASSERT_TRUE(sendPair("one", "two"));
    char buf[64];
    SockAddrIn from;
    int len = sizeof from;
    ASSERT_EQ(rx.socket.ReceiveFrom(buf, sizeof buf, from, len), 3);
    EXPECT_EQ(QByteArray(buf, 3), "two");

    readNext = true;
    ASSERT_TRUE(sendPair("three", "four"));
    rx.socket.Close(); // "four" goes with the socket
    port = rx.listen();
    tx.Close();
    openSender(tx, port);
    readNext = true;
    tx.SendText("five");
    ASSERT_TRUE(waitFor([&] { return rx.datagrams.size() == 3; }));
    EXPECT_TRUE(testwait::drainEvents());
    EXPECT_EQ(rx.datagrams, (QList<QByteArray>{"one", "three", "five"}));
}

TEST(WSocketDatagramTest, AFloodIsHandedOverInSlicesWithTheRestOfTheThreadInBetween)
{
    Receiver rx;
    const QByteArray port = rx.listen();
    constexpr int kWaiting = 120; // all of them fit in the receive buffer
    TWSocket tx;
    openSender(tx, port);
    for (int i = 0; i < kWaiting; ++i)
        tx.SendText(QByteArray::number(i));
    // Work posted while the first datagram is handled runs before the last one is.
    const auto read = rx.socket.OnDataAvailable;
    qsizetype readWhenPostedWorkRan = -1;
    QObject context; // the work is dropped with the test should it not have run
    rx.socket.OnDataAvailable = [&](TCustomWSocket *s, quint16 e) {
        if (rx.calls == 0)
            QTimer::singleShot(0, &context, [&] { readWhenPostedWorkRan = rx.datagrams.size(); });
        read(s, e);
    };
    ASSERT_TRUE(waitFor([&] { return rx.datagrams.size() == kWaiting; }));
    EXPECT_GE(readWhenPostedWorkRan, 1);
    EXPECT_LT(readWhenPostedWorkRan, kWaiting);
    EXPECT_EQ(rx.datagrams.last(), QByteArray::number(kWaiting - 1));
}

TEST(WSocketDatagramTest, NoReceiveLoopRaisesDataAvailableOncePerNotification)
{
    Receiver rx;
    rx.socket.SetComponentOptions(wsoNoReceiveLoop);
    const QByteArray port = rx.listen();
    TWSocket tx;
    openSender(tx, port);
    tx.SendText("one");
    tx.SendText("two");
    ASSERT_TRUE(waitFor([&] { return rx.datagrams.size() == 2; }));
    EXPECT_EQ(rx.socket.readNotifications, 2);
    EXPECT_EQ(rx.calls, 2);
}

TEST(WSocketDatagramTest, OversizedDatagramIsDiscardedWholeWithMessageTooLong)
{
    Receiver rx;
    rx.bufferSize = 1024;
    const QByteArray port = rx.listen();
    TWSocket tx;
    openSender(tx, port);
    tx.SendText(QByteArray(1025, 'L'));
    tx.SendText("short");
    tx.SendText("end"); // a marker: nothing of the long one can come after it
    ASSERT_TRUE(waitFor([&] { return rx.datagrams.size() == 2; }));
    EXPECT_EQ(rx.errors, QList<int>{10040});
    EXPECT_EQ(rx.datagrams, (QList<QByteArray>{"short", "end"})); // no tail of the long one
}

TEST(WSocketDatagramTest, EachSendLeavesAsOneDatagramAndAnOverlongOneIsRefused)
{
    Receiver rx;
    rx.bufferSize = 65536;
    const QByteArray port = rx.listen();
    TWSocket tx;
    QList<int> errors;
    tx.OnError = [&](TCustomWSocket *s) { errors << s->LastError(); };
    openSender(tx, port);
    QByteArray data(3000, '\0');
    for (int i = 0; i < data.size(); ++i)
        data[i] = char(i % 251);
    EXPECT_EQ(tx.SendText(data), 3000);
    EXPECT_EQ(tx.SendText(QByteArray(1461, 'x')), 1461);
    EXPECT_TRUE(tx.AllDataSent());
    // One byte more than a UDP datagram holds: refused, and nothing of it is queued.
    EXPECT_EQ(tx.SendText(QByteArray(65508, 'L')), -1);
    EXPECT_EQ(errors, QList<int>{10040});
    EXPECT_TRUE(tx.AllDataSent());
    EXPECT_EQ(tx.State(), wsConnected);
    EXPECT_EQ(tx.SendText(QByteArray(65507, 'M')), 65507);
    ASSERT_TRUE(waitFor([&] { return rx.datagrams.size() == 3; }));
    EXPECT_EQ(rx.datagrams[0], data);
    EXPECT_EQ(rx.datagrams[1], QByteArray(1461, 'x'));
    EXPECT_EQ(rx.datagrams[2], QByteArray(65507, 'M'));
}

// The seam: SendChunk fails with 10035 while refusing, as a full send buffer would.
TEST(WSocketDatagramTest, SendsQueuedWhileRefusedLeaveOneDatagramEach)
{
    Receiver rx;
    const QByteArray port = rx.listen();
    Sender<RefusingSocket> tx(port);
    tx.socket.refuseWith = 10035;
    EXPECT_EQ(tx.socket.SendText(QByteArray(100, 'a')), 100);
    EXPECT_EQ(tx.socket.SendText(QByteArray(100, 'b')), 100);
    EXPECT_FALSE(tx.socket.AllDataSent());
    testwait::runRounds(20); // the socket stays writable, so its notifier keeps firing
    EXPECT_EQ(tx.dataSent, 0);
    tx.socket.refuseWith = 0;
    ASSERT_TRUE(waitFor([&] { return tx.dataSent == 1 && rx.datagrams.size() == 2; }));
    EXPECT_EQ(rx.datagrams, (QList<QByteArray>{QByteArray(100, 'a'), QByteArray(100, 'b')}));
    EXPECT_TRUE(tx.socket.AllDataSent());
    EXPECT_TRUE(testwait::drainEvents());
    EXPECT_EQ(tx.dataSent, 1);
}

TEST(WSocketDatagramTest, ResetBySendClosesSocketAndReportsSessionClosedWithoutException)
{
    RefusingSocket tx;
    QList<int> closed;
    tx.OnSessionClosed = [&](TCustomWSocket *, quint16 e) { closed << e; };
    openSender(tx, "9");
    tx.refuseWith = 10054;
    EXPECT_EQ(tx.SendText("x"), 1);
    EXPECT_EQ(tx.State(), wsClosed);
    EXPECT_EQ(closed, QList<int>{10054});
}

TEST(WSocketDatagramTest, NotificationOfEarlierOpeningIsIgnoredOnReusedDescriptor)
{
    Receiver rx;
    const QByteArray port = rx.listen();
    Sender tx(port);
    const SocketHandle first = tx.socket.HSocket();
    tx.socket.SendText("stale"); // posts its completion for this opening
    tx.socket.Close();
    openSender(tx.socket, port);
    EXPECT_EQ(tx.socket.HSocket(), first); // the system hands the same number out again
    ASSERT_TRUE(waitFor([&] { return rx.datagrams.size() == 1; }));
    EXPECT_TRUE(testwait::drainEvents()); // the stale completion is delivered, and ignored
    EXPECT_EQ(tx.dataSent, 0);
}

TEST(WSocketDatagramTest, CloseDelayedAndReleaseActAfterTheHandlerReturns)
{
    Receiver rx;
    const QByteArray port = rx.listen();
    auto *tx = new TWSocket;
    QPointer<QObject> alive(tx);
    tx->OnDataSent = [&](TCustomWSocket *s, quint16) {
        s->CloseDelayed();
        EXPECT_EQ(s->State(), wsConnected);
        s->Release();
        EXPECT_FALSE(alive.isNull());
    };
    openSender(*tx, port);
    tx->SendText("x");
    ASSERT_TRUE(waitFor([&] { return alive.isNull(); }));
    EXPECT_TRUE(testwait::drainEvents()); // lets the detached window go too
}

TEST(WSocketDatagramTest, ExceptionInDataAvailableIsSwallowedAndSocketStaysOpen)
{
    Receiver rx;
    int bg = 0;
    rx.socket.OnBgException = [&](TCustomWSocket *, const std::exception &, bool &) { ++bg; };
    const auto read = rx.socket.OnDataAvailable;
    rx.socket.OnDataAvailable = [&](TCustomWSocket *s, quint16 e) {
        read(s, e);
        if (rx.datagrams.size() == 1)
            throw ESocketException("handler failed");
    };
    const QByteArray port = rx.listen();
    TWSocket tx;
    openSender(tx, port);
    tx.SendText("first");
    ASSERT_TRUE(waitFor([&] { return rx.datagrams.size() == 1; }));
    tx.SendText("second");
    ASSERT_TRUE(waitFor([&] { return rx.datagrams.size() == 2; }));
    EXPECT_EQ(rx.socket.State(), wsConnected);
    EXPECT_EQ(bg, 0);
}

TEST(WSocketDatagramTest, ExceptionInDataSentAbortsUnlessVetoed)
{
    for (const bool veto : {false, true}) {
        Receiver rx;
        const QByteArray port = rx.listen();
        TWSocket tx;
        QByteArray seen;
        tx.OnDataSent = [](TCustomWSocket *, quint16) { throw ESocketException("sent failed"); };
        tx.OnBgException = [&](TCustomWSocket *, const std::exception &e, bool &canClose) {
            seen = e.what();
            if (veto)
                canClose = false;
        };
        openSender(tx, port);
        tx.SendText("x");
        ASSERT_TRUE(waitFor([&] { return !seen.isEmpty(); }));
        EXPECT_EQ(seen, "sent failed");
        EXPECT_EQ(tx.State(), veto ? wsConnected : wsClosed) << veto;
    }
}

TEST(WSocketDatagramTest, PostedTestExceptionReachesBackgroundHandlerAndAborts)
{
    TWSocket tx;
    QByteArray seen;
    tx.OnBgException = [&](TCustomWSocket *, const std::exception &e, bool &) { seen = e.what(); };
    openSender(tx, "9");
    tx.PostTestException();
    ASSERT_TRUE(waitFor([&] { return !seen.isEmpty(); }));
    EXPECT_EQ(seen, "Test exception in WSocket");
    EXPECT_EQ(tx.State(), wsClosed);
}

TEST(WSocketErrorTest, FailuresRaiseOrGoToOnErrorWithTheirTexts)
{
    TWSocket s;
    EXPECT_EQ(raised([&] { s.Send("x", 1); }),
              "Error 10057 in function Send\r\nSocket is not connected");
    EXPECT_EQ(s.LastError(), 10057);

    int errors = 0;
    int closed = 0;
    s.OnError = [&](TCustomWSocket *) { ++errors; };
    s.OnSessionClosed = [&](TCustomWSocket *, quint16) { ++closed; };
    EXPECT_EQ(s.Send("x", 1), -1);
    EXPECT_EQ(errors, 1);
    EXPECT_EQ(closed, 0); // already closed: nothing to report
    s.OnError = nullptr;

    EXPECT_EQ(raised([&] { s.Connect(); }), "Connect: No Port Specified");
    s.SetPort("9");
    EXPECT_EQ(raised([&] { s.Connect(); }), "Connect: No IP Address Specified");
    s.SetProto("");
    s.SetAddr("127.0.0.1");
    EXPECT_EQ(raised([&] { s.Connect(); }), "Connect: No Protocol Specified");
    s.SetProto("udp");
    s.SetAddr("no-such-host.invalid");
    EXPECT_TRUE(raised([&] {
                    s.Connect();
                }).startsWith("connect: WSocketResolveHost: Cannot convert host address"));
    EXPECT_EQ(raised([&] { s.SetSendFlags(7); }), "Invalid SendFlags");

    TWSocket l;
    EXPECT_EQ(raised([&] { l.Listen(); }),
              "Error 10022 in function listen: port not assigned\r\nInvalid argument");
}

TEST(WSocketErrorTest, PropertiesNeedClosedSocketUnlessTextIsUnchanged)
{
    TWSocket s;
    openSender(s, "9");
    s.SetPort("9"); // same text: nothing happens
    s.SetAddr("127.0.0.1");
    const std::pair<std::function<void()>, const char *> cases[] = {
        {[&] { s.SetPort("10"); }, "Cannot change Port if not closed"},
        {[&] { s.SetAddr("127.0.0.2"); }, "Cannot change Addr if not closed"},
        {[&] { s.SetProto("tcp"); }, "Cannot change Proto if not closed"},
        {[&] { s.SetLocalAddr("0.0.0.0"); }, "Cannot change LocalAddr if not closed"},
        {[&] { s.SetLocalPort("0"); }, "Cannot change LocalPort if not closed"},
        {[&] { s.Connect(); }, "Connect: Socket already in use"},
    };
    for (const auto &[change, text] : cases)
        EXPECT_EQ(raised(change), QByteArray(text));
    EXPECT_EQ(s.Port(), "9");
    EXPECT_EQ(s.State(), wsConnected);
}

TEST(WSocketErrorTest, StateChangedInsideChangeStateFailsConnectWithInvalidArgument)
{
    TWSocket s;
    s.OnChangeState = [](TCustomWSocket *sender, TSocketState, TSocketState n) {
        if (n == wsOpened)
            sender->Close();
    };
    s.SetProto("udp");
    s.SetAddr("127.0.0.1");
    s.SetPort("9");
    EXPECT_EQ(raised([&] { s.Connect(); }),
              "Error 10022 in function Connect (Invalid operation in OnChangeState)\r\n"
              "Invalid argument");
}

TEST(WSocketErrorTest, ListenOnBusyPortReportsAddressInUseAndKeepsNoDescriptor)
{
    Receiver rx;
    const QByteArray port = rx.listen();
    const int before = openDescriptors();
    TWSocket second;
    for (int i = 0; i < 20; ++i) { // the engine retries on every announcement
        second.SetProto("udp");
        second.SetAddr("127.0.0.1");
        second.SetPort(port);
        EXPECT_EQ(raised([&] { second.Listen(); }),
                  "Error 10048 in function Bind\r\nAddress already in use");
        EXPECT_EQ(second.LastError(), 10048);
        EXPECT_EQ(second.State(), wsClosed);
    }
    EXPECT_EQ(openDescriptors(), before);
}

TEST(WSocketStreamTest, ConnectAcceptExchangeAndPeerClose)
{
    TWSocket server;
    QList<StatePair> serverStates;
    server.OnChangeState = [&](TCustomWSocket *, TSocketState o, TSocketState n) {
        serverStates << StatePair(o, n);
    };
    std::unique_ptr<TWSocket> session;
    QByteArray atServer;
    server.OnSessionAvailable = [&](TCustomWSocket *s, quint16 e) {
        EXPECT_EQ(e, 0);
        session = std::make_unique<TWSocket>();
        session->OnDataAvailable = [&](TCustomWSocket *c, quint16) {
            atServer += c->ReceiveText();
        };
        session->Dup(s->Accept());
    };
    server.SetProto("tcp");
    server.SetAddr("127.0.0.1");
    server.SetPort("0");
    server.Listen();
    EXPECT_EQ(serverStates, (QList<StatePair>{{wsClosed, wsBound}, {wsBound, wsListening}}));
    const QByteArray port = server.GetLocalPortText();

    TWSocket client;
    client.SetComponentOptions(wsoTcpNoDelay);
    int connected = -1;
    int closedAtClient = -1;
    QByteArray atClient;
    client.OnSessionConnected = [&](TCustomWSocket *, quint16 e) { connected = e; };
    client.OnSessionClosed = [&](TCustomWSocket *, quint16 e) { closedAtClient = e; };
    client.OnDataAvailable = [&](TCustomWSocket *c, quint16) { atClient += c->ReceiveText(); };
    client.SetProto("tcp");
    client.SetAddr("127.0.0.1");
    client.SetPort(port);
    client.Connect();
    EXPECT_EQ(client.State(), wsConnecting);
    ASSERT_TRUE(waitFor([&] { return connected == 0 && session; }));
    EXPECT_EQ(client.State(), wsConnected);
    EXPECT_EQ(client.PeerPort(), port);
    EXPECT_EQ(session->State(), wsConnected);

    client.SendText("ping");
    ASSERT_TRUE(waitFor([&] { return atServer == "ping"; }));
    session->SendText("pong");
    ASSERT_TRUE(waitFor([&] { return atClient == "pong"; }));

    session->Close();
    ASSERT_TRUE(waitFor([&] { return closedAtClient == 0; }));
    EXPECT_EQ(client.State(), wsClosed);
}

TEST(WSocketStreamTest, RefusedConnectReportsErrorAndCloses)
{
    // A port that was just free: nothing listens there.
    TWSocket probe;
    probe.SetProto("tcp");
    probe.SetAddr("127.0.0.1");
    probe.SetPort("0");
    probe.Listen();
    const QByteArray port = probe.GetLocalPortText();
    probe.Close();

    TWSocket client;
    int connected = -1;
    client.OnSessionConnected = [&](TCustomWSocket *, quint16 e) { connected = e; };
    client.SetProto("tcp");
    client.SetAddr("127.0.0.1");
    client.SetPort(port);
    client.Connect();
    ASSERT_TRUE(waitFor([&] { return connected != -1; }));
    EXPECT_EQ(connected, 10061);
    EXPECT_EQ(client.State(), wsClosed);
}

TEST(WSocketIdleTest, IdleListenerAndFinishedSenderNeverWake)
{
    Receiver rx;
    const QByteArray port = rx.listen();
    CountingSocket tx;
    openSender(tx, port);
    tx.SendText("x");
    ASSERT_TRUE(waitFor([&] { return rx.datagrams.size() == 1 && tx.writeNotifications == 1; }));
    const int reads = rx.socket.readNotifications;
    EXPECT_TRUE(testwait::drainEvents()) << "a notifier keeps firing";
    EXPECT_EQ(rx.socket.readNotifications, reads);
    EXPECT_EQ(rx.socket.writeNotifications, 0);
    EXPECT_EQ(tx.writeNotifications, 1);
    for (TCustomWSocket *s :
         {static_cast<TCustomWSocket *>(&rx.socket), static_cast<TCustomWSocket *>(&tx)}) {
        for (QSocketNotifier *n : s->WindowHandle()->findChildren<QSocketNotifier *>()) {
            if (n->type() == QSocketNotifier::Write) {
                EXPECT_FALSE(n->isEnabled());
            }
        }
    }
}

TEST(WSocketLookupTest, LookupsAnswerFromTheEventLoop)
{
    TWSocket s;
    QList<int> done;
    s.OnDnsLookupDone = [&](TCustomWSocket *, quint16 e) { done << e; };
    s.DnsLookup("10.1.2.3"); // dotted: answered at once
    EXPECT_EQ(done, QList<int>{0});
    EXPECT_EQ(s.DnsResult(), "10.1.2.3");

    done.clear();
    s.DnsLookup("localhost");
    EXPECT_TRUE(done.isEmpty());
    ASSERT_TRUE(waitFor([&] { return !done.isEmpty(); }));
    EXPECT_EQ(done, QList<int>{0});
    EXPECT_EQ(s.DnsResult(), "127.0.0.1");
    EXPECT_TRUE(s.DnsResultList().contains("127.0.0.1"));

    done.clear();
    s.DnsLookup("localhost");
    s.CancelDnsLookup();
    EXPECT_EQ(done, QList<int>{10004});
    // An answer posted before the cancel is delivered and dropped; none is posted after it.
    EXPECT_TRUE(testwait::drainEvents());
    EXPECT_EQ(done, QList<int>{10004}); // the cancelled answer never arrives

    done.clear();
    s.OnError = [](TCustomWSocket *) {};
    s.DnsLookup("");
    EXPECT_EQ(done, QList<int>{10022});
}

TEST(WSocketLeakTest, ThousandsOfSocketsLeaveNoDescriptorOpen)
{
    Receiver rx;
    const QByteArray port = rx.listen();
    const int before = openDescriptors();
    for (int i = 0; i < 3000; ++i) {
        TWSocket s;
        if (i % 3 == 0) {
            openSender(s, port);
            s.SendText("leak?");
        } else if (i % 3 == 1) {
            openSender(s, port);
            s.Abort();
        }
    }
    EXPECT_TRUE(testwait::drainEvents()); // posted completions of destroyed sockets
    EXPECT_EQ(openDescriptors(), before);
    EXPECT_EQ(SocketInstanceCount(), 1);
}

TEST(WSocketErrorTest, FailedLocalBindEndsConnectWithTheSocketClosedAgain)
{
    Receiver rx;
    const QByteArray busy = rx.listen();
    const int before = openDescriptors();
    TWSocket s;
    int errors = 0;
    int connected = 0;
    s.OnSessionConnected = [&](TCustomWSocket *, quint16) { ++connected; };
    const auto connectFrom = [&](const QByteArray &localPort) {
        s.SetProto("udp");
        s.SetAddr("127.0.0.1");
        s.SetPort(busy);
        s.SetLocalAddr("127.0.0.1");
        s.SetLocalPort(localPort);
        s.Connect();
    };
    EXPECT_EQ(raised([&] { connectFrom(busy); }), "winsock.bind failed, error #10048");
    EXPECT_EQ(s.State(), wsClosed);

    // A caller that hears of failures only through OnError and resets only connected
    // sockets must be able to try again.
    s.OnError = [&](TCustomWSocket *) { ++errors; };
    connectFrom(busy);
    EXPECT_EQ(errors, 1);
    EXPECT_EQ(s.LastError(), 10048);
    EXPECT_EQ(s.State(), wsClosed);
    EXPECT_EQ(connected, 0);
    EXPECT_EQ(openDescriptors(), before);
    connectFrom("0");
    EXPECT_EQ(s.State(), wsConnected);
    EXPECT_EQ(connected, 1);
}

TEST(WSocketErrorTest, SessionClosedIsRaisedForTheOpeningAfterAnErrorClosedTheSocket)
{
    TWSocket s;
    QList<quint16> closed;
    s.OnError = [](TCustomWSocket *) {};
    s.OnSessionClosed = [&](TCustomWSocket *, quint16 err) { closed << err; };
    s.SetProto("tcp");
    s.SetAddr("127.0.0.1");
    s.SetPort("0");
    s.Listen();
    ASSERT_EQ(s.State(), wsListening);
    EXPECT_EQ(s.Send("x", 1), -1); // not connected: the report closes the socket
    EXPECT_EQ(s.State(), wsClosed);
    EXPECT_EQ(closed, QList<quint16>{10057});

    s.Listen(); // the texts survive an error close
    ASSERT_EQ(s.State(), wsListening);
    s.Close();
    EXPECT_EQ(closed, (QList<quint16>{10057, 0}));
}

TEST(WSocketReentryTest, SocketReopenedFromSessionClosedKeepsItsNewOpening)
{
    Receiver rx;
    rx.socket.OnSessionClosed = [&](TCustomWSocket *, quint16) {
        rx.socket.OnSessionClosed = nullptr;
        rx.listen();
    };
    rx.listen();
    rx.socket.Close();
    ASSERT_EQ(rx.socket.State(), wsConnected);
    EXPECT_EQ(rx.socket.Proto(), "udp");
    Sender<> tx(rx.socket.GetLocalPortText());
    tx.socket.SendText("again");
    EXPECT_TRUE(waitFor([&] { return rx.datagrams.size() == 1; }));
}

// Each handler destroys the socket that raised it; run under the sanitizers these catch
// any touch of the freed object.
TEST(WSocketReentryTest, HandlersMayDestroyOrAbortTheirOwnSocket)
{
    {
        auto *s = new TWSocket;
        QPointer<TWSocket> guard(s);
        s->OnSessionClosed = [](TCustomWSocket *sender, quint16) { delete sender; };
        openSender(*s, "9");
        s->Close();
        EXPECT_TRUE(guard.isNull());
    }
    {
        auto *s = new TWSocket;
        QPointer<TWSocket> guard(s);
        s->OnSessionClosed = [](TCustomWSocket *sender, quint16) { delete sender; };
        s->SetAddr("127.0.0.1");
        s->SetPort("0");
        s->Listen();
        EXPECT_EQ(s->Send("x", 1), -1); // a listening stream is not connected
        EXPECT_TRUE(guard.isNull());
    }
    {
        Receiver rx;
        auto *s = new RefusingSocket;
        QPointer<TWSocket> guard(s);
        openSender(*s, rx.listen());
        s->refuseWith = 10035; // keeps Flush waiting in the event loop
        s->SendText("x");
        QTimer::singleShot(10, [s] { delete s; });
        s->Flush();
        EXPECT_TRUE(guard.isNull());
    }
    {
        Receiver rx;
        rx.bufferSize = 4096; // the 3000 bytes leave as one datagram
        const QByteArray port = rx.listen();
        auto *s = new TWSocket;
        QPointer<TWSocket> guard(s);
        s->OnSendData = [](TCustomWSocket *sender, qint32) { delete sender; };
        openSender(*s, port);
        EXPECT_EQ(s->SendText(QByteArray(3000, 'x')), 3000);
        EXPECT_TRUE(guard.isNull());
        EXPECT_TRUE(waitFor([&] { return rx.datagrams.size() == 1; }));
    }
    {
        Receiver rx;
        const QByteArray port = rx.listen();
        TWSocket s;
        int sent = 0;
        s.OnSendData = [&](TCustomWSocket *sender, qint32) {
            ++sent;
            sender->Abort(); // frees the queued blocks under the send
        };
        openSender(s, port);
        EXPECT_EQ(s.SendText(QByteArray(3000, 'x')), 3000);
        EXPECT_EQ(sent, 1);
        EXPECT_EQ(s.State(), wsClosed);
        EXPECT_TRUE(s.AllDataSent());
    }
    {
        auto *rx = new Receiver;
        QPointer<TWSocket> guard(&rx->socket);
        const QByteArray port = rx->listen();
        rx->socket.OnDataAvailable = [rx](TCustomWSocket *, quint16) {
            char buf[64];
            SockAddrIn from;
            int len = sizeof from;
            rx->socket.ReceiveFrom(buf, sizeof buf, from, len);
            delete rx;
        };
        Sender<> tx(port);
        tx.socket.SendText("one");
        tx.socket.SendText("two");
        EXPECT_TRUE(waitFor([&] { return guard.isNull(); }));
    }
}

TEST(WSocketErrorTest, ConnectReportsTheRemotePortBeforeTheLocalPort)
{
    TWSocket s;
    s.SetProto("udp");
    s.SetAddr("127.0.0.1");
    s.SetPort("no-such-remote-service");
    s.SetLocalPort("no-such-local-service");
    EXPECT_EQ(raised([&] { s.Connect(); }),
              "connect: WSocketResolvePort: Cannot convert port 'no-such-remote-service', "
              "Error #11004");
    s.SetPort("9");
    EXPECT_EQ(raised([&] { s.Connect(); }),
              "connect: WSocketResolvePort: Cannot convert port 'no-such-local-service', "
              "Error #11004");
}

// With OnError assigned the failure returns normally and the bytes stay queued; the
// writable socket must not bring the same failure back again and again.
TEST(WSocketDatagramTest, SendFailureIsReportedOnceUntilTheNextSend)
{
    Receiver rx;
    const QByteArray port = rx.listen();
    Sender<RefusingSocket> tx(port);
    QList<int> errors;
    tx.socket.OnError = [&](TCustomWSocket *s) { errors << s->LastError(); };
    tx.socket.refuseWith = 10051;
    EXPECT_EQ(tx.socket.SendText("lost"), 4);
    EXPECT_TRUE(testwait::drainEvents()) << "the writable socket keeps waking";
    EXPECT_EQ(errors, QList<int>{10051});
    EXPECT_FALSE(tx.socket.AllDataSent());
    EXPECT_EQ(tx.socket.State(), wsConnected);
    tx.socket.Flush(); // tries once more, reports, and does not wait for ever
    EXPECT_EQ(errors.size(), 2);

    tx.socket.refuseWith = 0;
    EXPECT_EQ(tx.socket.SendText("next"), 4);
    EXPECT_TRUE(waitFor([&] { return rx.datagrams.size() == 2; }));
    EXPECT_EQ(rx.datagrams, (QList<QByteArray>{"lost", "next"}));
    EXPECT_TRUE(waitFor([&] { return tx.dataSent == 1; }));
}

TEST(WSocketDatagramTest, DrainUntilClosedLeavesUnreadDatagramsWaiting)
{
    Receiver rx;
    const QByteArray port = rx.listen();
    rx.socket.Pause(); // only the drain reads
    Sender<> tx(port);
    tx.socket.SendText("one");
    tx.socket.SendText("two");
    EXPECT_TRUE(waitFor([&] { return tx.dataSent == 2; }));
    EXPECT_TRUE(waitFor([&] { return rx.socket.RcvdCount() > 0; }));
    rx.socket.DrainUntilClosed();
    rx.socket.Resume();
    EXPECT_TRUE(waitFor([&] { return rx.datagrams.size() == 2; }));
    EXPECT_EQ(rx.datagrams, (QList<QByteArray>{"one", "two"}));
}

TEST(WSocketDatagramTest, SendFromSendDataJoinsTheQueueAndNothingLeavesTwice)
{
    Receiver rx;
    const QByteArray port = rx.listen();
    Sender<> tx(port);
    bool more = true;
    tx.socket.OnSendData = [&](TCustomWSocket *s, qint32) {
        if (std::exchange(more, false))
            s->SendText("two");
    };
    tx.socket.SendText("one");
    EXPECT_TRUE(waitFor([&] { return tx.dataSent >= 1 && rx.datagrams.size() >= 2; }));
    EXPECT_TRUE(testwait::drainEvents());
    EXPECT_TRUE(tx.socket.AllDataSent());
    tx.socket.SendText("end"); // a marker: a second copy of either would come before it
    ASSERT_TRUE(waitFor([&] { return rx.datagrams.contains("end"); }));
    EXPECT_EQ(rx.datagrams, (QList<QByteArray>{"one", "two", "end"}));
}
