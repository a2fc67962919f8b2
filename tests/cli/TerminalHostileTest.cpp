// tolvex-cli's front-end against an unlucky user and a hostile LAN: quitting right after a
// command, options that must hold, a missing name, floods of peers and endless lines.
#include "EngineFixture.h"
#include "cli/TerminalFrontEnd.h"
#include "engine/Datagram.h"

#include <QFile>
#include <fcntl.h>
#include <unistd.h>

namespace {

class TerminalHostile : public ::testing::Test
{
protected:
    void start(const QByteArray &storedName, TerminalOptions options)
    {
        m_port = UdpProbe::freePort(loopbackHost(2));
        m_settings.Path = m_dir.filePath(QStringLiteral("tolvex.ini"));
        QFile file(m_settings.Path);
        if (file.open(QIODevice::WriteOnly))
            file.write("[Tolvex]\nVersion=010001\n[Server]\nPort=1\nInterface=" + loopbackHost(2) +
                       "\n[User]\nName=" + storedName +
                       "\n[Channels]\nChannel0=Main\nChannel1=Sales\nSelected=Sales\n");
        file.close();
        m_broadcasts = std::make_unique<UdpProbe>(loopbackHost(3), m_port);
        const EngineSeams seams = loopbackSeams();
        // The file's port (1) would reach nobody: the option's must hold all along.
        options.port = QByteArray::number(m_port);
        m_front = std::make_unique<TerminalFrontEnd>(
            m_settings, seams, options, [this](const QByteArray &b) { m_out += b; },
            [this](const QByteArray &b) { m_err += b; });
        m_front->start();
        EXPECT_TRUE(testwait::drainEvents());
    }
    MessagingEngine &engine() { return m_front->engine(); }
    void comeOnLine()
    {
        engine().startAliveTimer();
        engine().AliveTimerTimer();
        engine().AliveTimer().stop();
        EXPECT_TRUE(testwait::drainEvents());
    }
    QList<QByteArray> sentCommands()
    {
        QList<QByteArray> result;
        for (const ProbeDatagram &d : m_broadcasts->untilMarker())
            result.append(withoutId(d.data));
        return result;
    }
    QByteArray fileText()
    {
        QFile file(m_settings.Path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
    quint16 m_port = 0;
    SettingsValues m_settings;
    QByteArray m_out;
    QByteArray m_err;
    std::unique_ptr<UdpProbe> m_broadcasts;
    std::unique_ptr<TerminalFrontEnd> m_front;
};

TEST_F(TerminalHostile, QuittingRightAfterAChannelChangeSendsNothingAfterTheLeaveNotice)
{
    for (const QByteArray &command : {QByteArray("/channel Other"), QByteArray("/reload")}) {
        m_out.clear();
        m_err.clear();
        m_front.reset();
        TerminalOptions options;
        options.name = "cli";
        start("stored", options);
        comeOnLine();
        engine().handleDatagram(Datagram::answer("Sales", "ann"), loopbackHost(11));
        sentCommands();
        // The front-end's own ordering: the quit comes right after the command.
        m_front->takeLine(command);
        m_front->takeLine("/quit");
        ASSERT_TRUE(testwait::waitFor([this] { return m_front->isShutDown(); }));
        const QList<QByteArray> sent = sentCommands();
        ASSERT_FALSE(sent.isEmpty()) << command.data();
        EXPECT_EQ(sent.last(), "EXT") << command.data() << ": " << sent.join(' ').data();
        for (const QByteArray &d : sent)
            EXPECT_FALSE(d.contains("stored")) << "the file's name was never announced";
        EXPECT_TRUE(fileText().contains("Name=stored")) << "the option was not saved";
        EXPECT_TRUE(fileText().contains("Port=1\n"));
    }
}

TEST_F(TerminalHostile, OptionsHoldForTheWholeRun)
{
    TerminalOptions options;
    options.name = "cli";
    start("stored", options);
    comeOnLine();
    sentCommands();
    m_front->takeLine("/reload");
    EXPECT_TRUE(testwait::drainEvents());
    const QList<QByteArray> sent = sentCommands();
    ASSERT_EQ(sent.size(), 1);
    EXPECT_EQ(sent[0], "ACK|BCT|Sales|cli|");
    EXPECT_EQ(m_settings.UserName, "cli");
}

TEST_F(TerminalHostile, AnEmptyNameIsToldAtStart)
{
    start("", {});
    EXPECT_TRUE(m_err.contains("warning: the user name is empty")) << m_err.data();
    EXPECT_TRUE(m_err.contains(m_settings.Path.toLocal8Bit())) << m_err.data();
    m_err.clear();
    m_front.reset();
    start("someone", {});
    EXPECT_FALSE(m_err.contains("user name is empty"));
}

TEST_F(TerminalHostile, ArrivalsAndDeparturesArePrintedNotTheWholeListEachTime)
{
    start("me", {});
    const int peers = 3000;
    for (int i = 0; i < peers; ++i)
        engine().handleDatagram(Datagram::answer("Sales", "u" + QByteArray::number(i)),
                                "10.4." + QByteArray::number(i / 250) + "." +
                                    QByteArray::number(i % 250 + 1));
    // The changes are printed together a moment after the last of them.
    EXPECT_TRUE(testwait::waitFor([&] { return m_out.count("joined: ") >= peers; }));
    engine().handleDatagram("0E0E0E|EXT", "10.4.0.1");
    EXPECT_TRUE(testwait::waitFor([this] { return m_out.contains("left: u0\n"); }));
    EXPECT_EQ(m_out.count("joined: "), peers);
    EXPECT_EQ(m_out.count("left: u0\n"), 1);
    EXPECT_FALSE(m_out.contains("users:"));
    // Linear in the number of peers: each is printed once or twice, never the whole list.
    EXPECT_LT(m_out.size(), peers * 20);
    m_front->takeLine("/to u7");
    EXPECT_TRUE(testwait::waitFor([this] { return m_out.contains("u7*"); }))
        << "a selection change shows the list";
}

TEST_F(TerminalHostile, AnEndlessLineIsCutAndTheNextLinesStillWork)
{
    start("me", {});
    int fds[2];
    ASSERT_EQ(::pipe2(fds, O_CLOEXEC | O_NONBLOCK), 0);
    m_front->readFrom(fds[0]);
    // Whatever fits goes in; the front-end reads while events run.
    const auto feed = [&fds](const QByteArray &bytes) {
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t n =
                ::write(fds[1], bytes.constData() + done, size_t(bytes.size() - done));
            if (n > 0)
                done += n;
            else
                EXPECT_TRUE(testwait::drainEvents()); // the front-end reads what is in
        }
    };
    const qint64 written = 80 * 60000;
    for (int i = 0; i < 80; ++i)
        feed(QByteArray(60000, 'z'));
    feed("\n/channels\n");
    EXPECT_TRUE(testwait::waitFor([this] { return m_out.contains("channels:"); }));
    EXPECT_TRUE(
        m_err.contains("input line too long: " + QByteArray::number(written) + " bytes dropped"))
        << m_err.left(300).data();
    ::close(fds[1]);
    EXPECT_TRUE(testwait::waitFor([this] { return m_front->isShutDown(); }));
    ::close(fds[0]);
}

TEST_F(TerminalHostile, DeleteCommandRemovesAHeardChannel)
{
    start("me", {});
    engine().handleDatagram(Datagram::announcement("Junk", "x"), loopbackHost(12));
    m_front->takeLine("/delete junk");
    m_front->takeLine("/delete Main");
    m_front->takeLine("/delete Sales");
    m_front->takeLine("/delete Nowhere");
    m_front->takeLine("/channels");
    EXPECT_TRUE(testwait::drainEvents());
    EXPECT_TRUE(m_out.contains("channels: Main, Sales*\n")) << m_out.data();
    EXPECT_TRUE(m_err.contains("channel junk deleted"));
    EXPECT_TRUE(m_err.contains("channel Main cannot be deleted"));
    EXPECT_TRUE(m_err.contains("channel Sales is the active one"));
    EXPECT_TRUE(m_err.contains("no channel Nowhere in the list"));
}

} // namespace
