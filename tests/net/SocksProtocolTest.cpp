#include "net/SocksProtocol.h"

#include <gtest/gtest.h>

// The SOCKS requests byte for byte, and the reading of replies fed in pieces.

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

// Feeds Reply in pieces of Piece bytes and returns the last outcome.
SocksProtocol::Outcome feed(SocksProtocol &p, const QByteArray &reply, int piece)
{
    SocksProtocol::Outcome out;
    for (qsizetype at = 0; at < reply.size(); at += piece) {
        const QByteArray part = reply.mid(at, piece);
        EXPECT_LE(part.size(), p.room());
        std::memcpy(p.tail(), part.constData(), size_t(part.size()));
        out = p.received(int(part.size()));
        if (out.What != SocksProtocol::Outcome::Wait)
            break;
    }
    return out;
}

TEST(SocksProtocolTest, RequestsAreLaidOutByteForByte)
{
    EXPECT_EQ(SocksProtocol::greeting(2), bytes({5, 1, 2}));
    EXPECT_EQ(SocksProtocol::usercodeRequest("u", "pw"), bytes({1, 1, 'u', 2, 'p', 'w'}));
    // A length byte announces at most 255 bytes, and the text is cut to match.
    const QByteArray cut = SocksProtocol::usercodeRequest(QByteArray(300, 'u'), "");
    EXPECT_EQ(cut.size(), 1 + 1 + 255 + 1);
    EXPECT_EQ(quint8(cut[1]), 255);
    EXPECT_EQ(SocksProtocol::connect4(0x1234, 0x0100007F, "me"),
              bytes({4, 1, 0x12, 0x34, 127, 0, 0, 1, 'm', 'e', 0}));
    EXPECT_EQ(SocksProtocol::connect4A(80, "", "h"), bytes({4, 1, 0, 80, 0, 0, 0, 1, 0, 'h', 0}));
    EXPECT_EQ(SocksProtocol::connect5("ab", 443), bytes({5, 1, 0, 3, 2, 'a', 'b', 1, 0xBB}));
}

struct ReplyCase
{
    const char *level;
    int state;
    QByteArray reply;
    int code;
    const char *text;
};

class SocksReplyTest : public testing::TestWithParam<ReplyCase>
{};

// Every piece size gives the same verdict: a reply may come in any number of reads.
TEST_P(SocksReplyTest, VerdictDoesNotDependOnHowTheReplyIsCut)
{
    const ReplyCase &c = GetParam();
    for (int piece = 1; piece <= c.reply.size(); ++piece) {
        SocksProtocol p;
        p.begin(c.level, 0);
        p.setState(c.state);
        const SocksProtocol::Outcome out = feed(p, c.reply, piece);
        EXPECT_EQ(out.Code, c.code) << "piece " << piece;
        EXPECT_EQ(out.Text, c.text) << "piece " << piece;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Codes, SocksReplyTest,
    testing::Values(
        ReplyCase{"4", 1, bytes({5, 0}), 20001, "TWSocket logic error"},
        ReplyCase{"5", 1, bytes({6, 0}), 20002, "socks version error"},
        ReplyCase{"5", 1, bytes({5, 1}), 20003, "authentification method not acceptable"},
        ReplyCase{"5", 2, bytes({1, 1}), 20015, "socks authentication failed"},
        ReplyCase{"5", 2, bytes({2, 0}), 20002, "socks version error"},
        ReplyCase{"5", 3, bytes({5, 1}), 20004, "general SOCKS server failure"},
        ReplyCase{"5", 3, bytes({5, 2}), 20005, "connection not allowed by ruleset"},
        ReplyCase{"5", 3, bytes({5, 3}), 20006, "network unreachable"},
        ReplyCase{"5", 3, bytes({5, 4}), 20007, "host unreachable"},
        ReplyCase{"5", 3, bytes({5, 5}), 20008, "connection refused"},
        ReplyCase{"5", 3, bytes({5, 6}), 20009, "time to live expired"},
        ReplyCase{"5", 3, bytes({5, 7}), 20010, "command not supported"},
        ReplyCase{"5", 3, bytes({5, 8}), 20011, "address type not supported"},
        ReplyCase{"5", 3, bytes({5, 200}), 20012, "unassigned error #200"},
        ReplyCase{"5", 3, bytes({5, 0, 0, 6, 0}), 20011, "address type not supported"},
        ReplyCase{"4A", 3, bytes({0, 91, 0, 0, 0, 0, 0, 0}), 20016, "request rejected or failed"},
        ReplyCase{"4", 3, bytes({0, 0, 0, 0, 0, 0, 0, 0}), 20012, "unassigned error #0"},
        ReplyCase{"5", 0, bytes({5}), 20013, "internal error"}));

TEST(SocksProtocolTest, BoundAddressAndPendingBytesOfAFinalReply)
{
    SocksProtocol p;
    p.begin("5", 0);
    p.setState(SocksProtocol::Requested);
    const QByteArray reply = bytes({5, 0, 0, 1, 10, 1, 2, 3, 0x1F, 0x90}) + "data";
    EXPECT_EQ(feed(p, reply, int(reply.size())).What, SocksProtocol::Outcome::Connected);
    EXPECT_EQ(p.state(), SocksProtocol::Idle);
    EXPECT_EQ(p.boundAddr(), "10.1.2.3");
    EXPECT_EQ(p.boundPort(), "8080");
    EXPECT_EQ(p.pendingCount(), 4);
    char buf[8];
    EXPECT_EQ(p.takePending(buf, 2, true), 2);
    EXPECT_EQ(p.takePending(buf, 8, false), 4);
    EXPECT_EQ(QByteArray(buf, 4), "data");
    EXPECT_EQ(p.pendingCount(), 0);

    // An IPv6 bound address: 16 bytes, 22 in all.
    p.begin("5", 0);
    p.setState(SocksProtocol::Requested);
    QByteArray addr(16, '\0'); // 2001:db8::7
    addr[0] = 0x20;
    addr[1] = 0x01;
    addr[2] = 0x0d;
    addr[3] = char(0xb8);
    addr[15] = 7;
    const QByteArray v6 = bytes({5, 0, 0, 4}) + addr + bytes({0x1F, 0x91}) + "x";
    EXPECT_EQ(feed(p, v6, int(v6.size())).What, SocksProtocol::Outcome::Connected);
    EXPECT_EQ(p.boundAddr(), "2001:db8::7");
    EXPECT_EQ(p.boundPort(), "8081");
    EXPECT_EQ(p.pendingCount(), 1);
}

TEST(SocksProtocolTest, MethodRepliesAskForTheNextRequest)
{
    SocksProtocol p;
    p.begin("5", 2);
    SocksProtocol::Outcome out = feed(p, bytes({5, 2}), 1);
    EXPECT_EQ(out.What, SocksProtocol::Outcome::SendUsercode);
    EXPECT_EQ(p.count(), 0);
    p.setState(SocksProtocol::Authenticating);
    out = feed(p, bytes({1, 0}), 2);
    EXPECT_EQ(out.What, SocksProtocol::Outcome::SendConnect);
    EXPECT_TRUE(out.AuthSuccess);

    p.begin("5", 2);
    out = feed(p, bytes({5, 0}), 2);
    EXPECT_EQ(out.What, SocksProtocol::Outcome::SendConnect);
    EXPECT_TRUE(out.AuthNotRequired); // a method was offered and none is wanted
}

} // namespace
