// The terminal front-end: transcript lines, commands, and the order of typed lines.
#include "cli/TerminalFrontEnd.h"

#include "EngineFixture.h"
#include "engine/Datagram.h"

#include <QFile>
#include <QPointer>

namespace {

class Terminal : public ::testing::Test
{
protected:
    Terminal()
    {
        m_port = UdpProbe::freePort(loopbackHost(2));
        m_settings.Path = m_dir.filePath(QStringLiteral("tolvex.ini"));
        QFile file(m_settings.Path);
        if (file.open(QIODevice::WriteOnly))
            file.write("[Tolvex]\nVersion=010001\n[Server]\nPort=" + QByteArray::number(m_port) +
                       "\nInterface=" + loopbackHost(2) +
                       "\n[User]\nName=stored\n[Channels]\n"
                       "Channel0=Sales\nSelected=Sales\n");
        file.close();
        m_broadcasts = std::make_unique<UdpProbe>(loopbackHost(3), m_port);
        m_options.name = "me|you";
        m_options.channel = "Lab";
        open();
    }

    void open()
    {
        m_front = std::make_unique<TerminalFrontEnd>(
            m_settings, loopbackSeams(), m_options, [this](const QByteArray &b) { m_out += b; },
            [this](const QByteArray &b) { m_err += b; });
        m_front->start();
        EXPECT_TRUE(testwait::drainEvents());
    }

    MessagingEngine &engine() { return m_front->engine(); }
    UdpProbe &peer(int i)
    {
        auto &probe = m_peers[i];
        if (!probe)
            probe = std::make_unique<UdpProbe>(loopbackHost(10 + i), m_port);
        return *probe;
    }
    void addPeer(int i, const QByteArray &name)
    {
        peer(i);
        engine().handleDatagram(Datagram::answer("Lab", name), loopbackHost(10 + i));
    }

    QTemporaryDir m_dir;
    quint16 m_port = 0;
    SettingsValues m_settings;
    TerminalOptions m_options;
    QByteArray m_out;
    QByteArray m_err;
    std::unique_ptr<UdpProbe> m_broadcasts;
    std::map<int, std::unique_ptr<UdpProbe>> m_peers;
    std::unique_ptr<TerminalFrontEnd> m_front;
};

TEST_F(Terminal, OptionsHoldForTheRunOnly)
{
    EXPECT_EQ(m_settings.UserName, "me-you") << "a name travels inside one field";
    EXPECT_EQ(engine().ActiveChannel(), "Lab");
    EXPECT_EQ(engine().ChannelBox().items(), QList<QByteArray>{"Sales"});
    m_front->takeLine("/quit");
    EXPECT_TRUE(testwait::waitFor([this] { return m_front->isShutDown(); }));
    QFile file(m_settings.Path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray saved = file.readAll();
    EXPECT_TRUE(saved.contains("Name=stored")) << saved.data();
    EXPECT_TRUE(saved.contains("Selected=Sales")) << saved.data();
}

TEST_F(Terminal, PrintsTranscriptEntriesAsLinesWithoutControlCharacters)
{
    addPeer(1, "ann");
    engine().handleDatagram("111111|MSG|hello\r\nworld\x1B[2J|", loopbackHost(11));
    m_front->takeLine("/all");
    m_front->takeLine("bye|now");
    // The user list is printed a moment after the change that asked for it.
    EXPECT_TRUE(testwait::waitFor([this] { return m_out.contains("users: ann*\n"); }));
    EXPECT_TRUE(m_out.contains("ann> hello\n     world?[2J\n")) << m_out.data();
    EXPECT_TRUE(m_out.contains("ann< bye\n     now\n")) << m_out.data();
    EXPECT_TRUE(m_out.contains("users: ann*\n")) << m_out.data();
}

TEST_F(Terminal, EachLineGoesToTheUsersSelectedWhenItWasTyped)
{
    addPeer(1, "ann");
    addPeer(2, "bob");
    m_front->takeLine("/to ann");
    m_front->takeLine("for ann");
    m_front->takeLine("/to bob,nobody");
    m_front->takeLine("for bob");
    const auto toAnn = peer(1).untilMarker();
    const auto toBob = peer(2).untilMarker();
    ASSERT_EQ(toAnn.size(), 1);
    ASSERT_EQ(toBob.size(), 1);
    EXPECT_EQ(withoutId(toAnn[0].data), "MSG|for ann|");
    EXPECT_EQ(withoutId(toBob[0].data), "MSG|for bob|");
    EXPECT_TRUE(m_err.contains("no user nobody")) << m_err.data();
}

TEST_F(Terminal, ALineIsSentWholeOrRefusedWithTheReason)
{
    addPeer(1, "ann");
    m_front->takeLine("/all");
    m_front->takeLine("\xd0\x9f\xd1\x80\xd0\xb8 hi"); // Cyrillic: no "?" on the wire
    m_front->takeLine(QByteArray(1001, 'x'));         // more than one line holds
    m_front->takeLine(QByteArray(507, '|'));          // 1014 bytes once "|" is CR LF
    m_front->takeLine("caf\xc3\xa9");
    const auto toAnn = peer(1).untilMarker();
    ASSERT_EQ(toAnn.size(), 1);
    EXPECT_EQ(withoutId(toAnn[0].data), "MSG|caf\xe9|");
    EXPECT_EQ(m_err.count("nothing was sent"), 3) << m_err.data();
}

TEST_F(Terminal, CommandsReportChannelsAndAddresses)
{
    addPeer(1, "ann");
    m_front->takeLine("/channel Sales");
    m_front->takeLine("/channels");
    m_front->takeLine("/ip ann");
    m_front->takeLine("/bogus");
    EXPECT_TRUE(testwait::drainEvents());
    EXPECT_EQ(engine().ActiveChannel(), "Sales");
    EXPECT_TRUE(m_out.contains("channels: Sales*\n")) << m_out.data();
    EXPECT_FALSE(m_out.contains(loopbackHost(11))) << "ann was left with the old channel";
    EXPECT_TRUE(m_err.contains("no user ann")) << m_err.data();
    EXPECT_TRUE(m_err.contains("unknown command /bogus")) << m_err.data();
}

// The front-end goes with peers listed and selected: its engine goes after the front-end's
// own members, and another listener of the lists goes before or after them. Nobody hears of
// the peers' going and nothing is printed.
TEST_F(Terminal, GoesWithPeersSelectedWhicheverListenerGoesFirst)
{
    for (const bool listenerFirst : {true, false}) {
        SCOPED_TRACE(listenerFirst ? "listener first" : "listener last");
        if (!m_front)
            open();
        addPeer(1, "ann");
        addPeer(2, "bob");
        m_front->takeLine("/to ann,bob");
        ASSERT_TRUE(testwait::drainEvents());
        ASSERT_EQ(engine().users().selectedRows().size(), 2);
        UserList &users = engine().users();
        const QPointer<UserList> list(&users);
        ListListener listener(users);
        if (listenerFirst)
            listener.end();
        const QByteArray printed = m_out + m_err;
        m_front.reset();
        EXPECT_TRUE(list.isNull());
        EXPECT_EQ(listener.heard(), 0);
        EXPECT_EQ(m_out + m_err, printed);
    }
}

} // namespace
