#include "LoopbackPeer.h"
#include "net/LineBuffer.h"
#include "net/SocketTestSupport.h"
#include "net/WSocket.h"

#include <QList>
#include <gtest/gtest.h>
#include <sys/ioctl.h>

// Line assembly on a real loopback stream connection, and the line buffer's editing.

namespace {

using sockettest::LoopbackPeer;
using sockettest::waitFor;

// Counts the reads the line layer makes, to tell one read from two.
class CountingLineSocket : public TWSocket
{
public:
    int reads = 0;

protected:
    bool FireDataAvailable(quint16 ErrCode) override
    {
        ++reads;
        return TWSocket::FireDataAvailable(ErrCode);
    }
};

// A line-mode socket connected to a loopback peer, recording each line and its count.
struct LineSession
{
    LoopbackPeer peer;
    CountingLineSocket socket;
    QList<QByteArray> lines;
    QList<int> counts;
    QList<int> limitReports;
    bool closed = false;

    LineSession()
    {
        socket.OnDataAvailable = [this](TCustomWSocket *s, quint16) {
            counts << s->RcvdCount();
            const QByteArray line = s->ReceiveText();
            if (!line.isEmpty())
                lines << line;
        };
        socket.OnLineLimitExceeded = [this](TCustomWSocket *, qint32 length, bool &) {
            limitReports << length;
        };
        socket.OnSessionClosed = [this](TCustomWSocket *, quint16) { closed = true; };
        socket.SetLineMode(true);
        socket.SetProto("tcp");
        socket.SetAddr("127.0.0.1");
        socket.SetPort(QByteArray::number(peer.port()));
        socket.Connect();
        EXPECT_TRUE(peer.accept());
        EXPECT_TRUE(waitFor([&] { return socket.State() == wsConnected; }));
    }

    // Sends Bytes and waits until the socket has read all of them.
    void deliver(const QByteArray &bytes)
    {
        const int before = socket.reads;
        peer.send(bytes);
        EXPECT_TRUE(waitFor([&] {
            int pending = 0;
            ioctl(socket.HSocket(), FIONREAD, &pending);
            return socket.reads > before && pending == 0;
        }));
    }
};

TEST(LineModeTest, TwoLinesInOneReadRaiseDataAvailableTwiceWithEachLinesLength)
{
    LineSession s;
    s.deliver("abc\r\ndefgh\r\n");
    EXPECT_EQ(s.socket.reads, 1);
    EXPECT_EQ(s.lines, (QList<QByteArray>{"abc\r\n", "defgh\r\n"}));
    EXPECT_EQ(s.counts, (QList<int>{5, 7}));
}

TEST(LineModeTest, LineEndSplitAcrossReadsIsFound)
{
    LineSession s;
    s.deliver("first part\r");
    EXPECT_TRUE(s.lines.isEmpty());
    s.deliver("\nsecond\r");
    s.deliver("\n");
    EXPECT_GE(s.socket.reads, 3);
    EXPECT_EQ(s.lines, (QList<QByteArray>{"first part\r\n", "second\r\n"}));
}

TEST(LineModeTest, OtherLineEndsAndTheLastUnterminatedLineAtClose)
{
    LineSession s;
    s.socket.SetLineEnd("||");
    s.deliver("one|");
    s.deliver("|two||thr");
    s.peer.send("ee");
    s.peer.hangUp();
    ASSERT_TRUE(waitFor([&] { return s.closed; }));
    EXPECT_EQ(s.lines, (QList<QByteArray>{"one||", "two||", "three"}));
}

TEST(LineModeTest, LineWithoutEndPastTheLimitIsReportedAndDropped)
{
    LineSession s;
    s.peer.send(QByteArray(70000, 'x'));
    ASSERT_TRUE(waitFor([&] { return !s.limitReports.isEmpty(); }));
    EXPECT_GT(s.limitReports.first(), 65536);
    EXPECT_TRUE(s.lines.isEmpty());
    // The report's answer dropped what was held: the next line starts afresh.
    s.deliver("\r\nok\r\n");
    EXPECT_EQ(s.lines.last(), "ok\r\n");
    for (const QByteArray &line : s.lines)
        EXPECT_LE(line.size(), 70000 - 65536 + 2);
}

TEST(LineModeTest, EditingAppliesBackspacesAndTabsAndEchoesWhatATerminalShows)
{
    LineSession s;
    s.socket.SetLineEdit(true);
    s.socket.SetLineEcho(true);
    s.deliver("ab\bc\td\r\n");
    EXPECT_EQ(s.lines, (QList<QByteArray>{"ac      d\r\n"}));
    EXPECT_EQ(s.peer.read(15), "ab\b \bc      d\r\n");
    // A backspace reaches back into a part held from an earlier read, never further.
    s.deliver("xy");
    s.deliver("\b\b\b\bz\r\n");
    EXPECT_EQ(s.lines.last(), "z\r\n");
}

TEST(LineModeTest, EchoWithoutEditingSendsTheBytesBackUnchanged)
{
    LineSession s;
    s.socket.SetLineEcho(true);
    s.deliver("a\tb\r\n");
    EXPECT_EQ(s.peer.read(5), "a\tb\r\n");
    EXPECT_EQ(s.lines, (QList<QByteArray>{"a\tb\r\n"}));
}

TEST(LineModeTest, SendLineAppendsTheLineEnd)
{
    LineSession s;
    EXPECT_EQ(s.socket.SendLine("hello"), 7);
    EXPECT_EQ(s.socket.SendLine(""), 0);
    EXPECT_EQ(s.peer.read(7), "hello\r\n");
}

TEST(LineModeTest, HandlerThatReadsNothingDoesNotGetTheSameLineForever)
{
    LineSession s;
    int calls = 0;
    s.socket.OnDataAvailable = [&](TCustomWSocket *, quint16) { ++calls; };
    s.deliver("a\r\nb\r\n");
    EXPECT_EQ(calls, 2);
}

TEST(LineModeTest, SwitchingLineModeOffHandsTheRestOverRawAndBackOnFindsHeldLines)
{
    LineSession s;
    QList<QByteArray> raw;
    s.socket.OnDataAvailable = [&](TCustomWSocket *sock, quint16) {
        auto *line = static_cast<TWSocket *>(sock);
        if (!line->LineMode()) {
            if (!raw.isEmpty())
                return; // the rest stays held
            char buf[3];
            const int n = sock->Receive(buf, sizeof buf); // reads only part of what waits
            if (n > 0)
                raw << QByteArray(buf, n);
            return;
        }
        s.lines << sock->ReceiveText();
        if (s.lines.size() == 1)
            line->SetLineMode(false);
    };
    s.deliver("one\r\ntwo\r\nthree\r\n");
    EXPECT_EQ(s.lines, (QList<QByteArray>{"one\r\n"}));
    ASSERT_FALSE(raw.isEmpty());
    EXPECT_EQ(raw.first(), "two");
    // Switched back on, the bytes still held are searched from their start.
    s.socket.SetLineMode(true);
    ASSERT_TRUE(waitFor([&] { return s.lines.size() >= 3; }));
    EXPECT_EQ(s.lines, (QList<QByteArray>{"one\r\n", "\r\n", "three\r\n"}));
}

TEST(LineModeTest, WithoutLineModeBytesPassThroughUnchanged)
{
    LineSession s;
    s.socket.SetLineMode(false);
    s.deliver("no\r\nlines\r\nhere");
    QByteArray all;
    for (const QByteArray &part : s.lines)
        all += part;
    EXPECT_EQ(all, "no\r\nlines\r\nhere");
}

struct EditCase
{
    const char *held;
    const char *typed;
    const char *result;
    const char *echo;
    int fresh;
};

class LineBufferEditTest : public testing::TestWithParam<EditCase>
{};

TEST_P(LineBufferEditTest, EditsTheNewBytesLikeATerminal)
{
    const EditCase &c = GetParam();
    LineBuffer buffer;
    const QByteArray held(c.held);
    const QByteArray typed(c.typed);
    std::memcpy(buffer.reserve(int(held.size())), held.constData(), size_t(held.size()));
    buffer.commit(int(held.size()));
    std::memcpy(buffer.reserve(int(typed.size())), typed.constData(), size_t(typed.size()));
    buffer.commit(int(typed.size()));
    QByteArray echo;
    EXPECT_EQ(buffer.edit(int(typed.size()), &echo), c.fresh);
    EXPECT_EQ(QByteArray(buffer.constData(), buffer.count()), c.result);
    EXPECT_EQ(echo, c.echo);
    EXPECT_EQ(buffer.constData()[buffer.count()], '\0');
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LineBufferEditTest,
    testing::Values(EditCase{"", "abc", "abc", "abc", 3}, EditCase{"", "ab\b", "a", "ab\b \b", 1},
                    EditCase{"", "\b\ba", "a", "a", 1}, // nothing before the first byte
                    EditCase{"xy", "\b\b\bz", "z", "\b \b\b \bz", 1}, // into the held part
                    EditCase{"", "\t", "        ", "        ", 8},
                    EditCase{"abc", "\t|", "abc     |", "     |", 6}, // to the next multiple of 8
                    EditCase{"", "a\t\b\b", "a     ", "a       \b \b\b \b", 6}));

TEST(LineBufferTest, FindsEndsTakesAndRemovesFromTheFront)
{
    LineBuffer buffer;
    const QByteArray text = "ab\r\ncd\r\nrest";
    std::memcpy(buffer.reserve(int(text.size())), text.constData(), size_t(text.size()));
    buffer.commit(int(text.size()));
    EXPECT_EQ(buffer.find("\r\n", 0), 2);
    EXPECT_EQ(buffer.find("\r\n", 3), 6);
    EXPECT_EQ(buffer.find("\r\n", 7), -1);
    EXPECT_EQ(buffer.find("", 0), -1);
    char out[8];
    EXPECT_EQ(buffer.take(out, 4, true), 4);
    EXPECT_EQ(buffer.count(), int(text.size()));
    EXPECT_EQ(buffer.take(out, 4), 4);
    EXPECT_EQ(QByteArray(out, 4), "ab\r\n");
    buffer.remove(100);
    EXPECT_EQ(buffer.count(), 0);
    EXPECT_EQ(buffer.take(out, 4), 0);
}

} // namespace
