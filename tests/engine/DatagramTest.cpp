#include "engine/Datagram.h"

#include <QSet>
#include <algorithm>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

using Datagram::cut;

namespace {

struct CutCase
{
    const char *name;
    QByteArray input;
    bool accepted;
    QByteArray id;
    QByteArray command;
    QList<QByteArray> fields;
};

class DatagramCut : public ::testing::TestWithParam<CutCase>
{};

TEST_P(DatagramCut, CutsAsReceiversExpect)
{
    const CutCase &c = GetParam();
    const auto parts = cut(c.input);
    ASSERT_EQ(parts.has_value(), c.accepted);
    EXPECT_EQ(Datagram::cutView(c.input).has_value(), c.accepted);
    if (!parts)
        return;
    EXPECT_EQ(parts->id, c.id);
    EXPECT_EQ(parts->command, c.command);
    EXPECT_EQ(parts->fields, c.fields);

    // The receive handler's cutting without copies reads the same parts.
    const auto view = Datagram::cutView(c.input);
    ASSERT_TRUE(view.has_value());
    EXPECT_EQ(view->id, c.id);
    EXPECT_EQ(view->command(), c.command);
    QList<QByteArray> fields;
    for (QByteArrayView field : view->fields)
        fields.append(field.toByteArray());
    EXPECT_EQ(fields, c.fields);
}

const QByteArray kZeroInside("1A2B3C|MSG|hi|\0there|", 21);
const QByteArray kZeroEarly("1A2B3C|EX\0T", 11);

INSTANTIATE_TEST_SUITE_P(
    Table, DatagramCut,
    ::testing::Values(
        CutCase{"TenByteLeave", "1A2B3C|EXT", true, "1A2B3C", "EXT", {}},
        CutCase{"NineBytesIgnored", "1A2B3C|EX", false, {}, {}, {}},
        CutCase{"Empty", "", false, {}, {}, {}},
        CutCase{"LowerCaseCommandUpperCasedIdKept",
                "1a2b3c|alv|Sales|",
                true,
                "1a2b3c",
                "ALV",
                {"Sales"}},
        CutCase{"SeparatorsAtSevenAndElevenNotExamined",
                "1A2B3C#ALV#Sales|",
                true,
                "1A2B3C",
                "ALV",
                {"Sales"}},
        CutCase{"EmptyMessageText", "1A2B3C|MSG||", true, "1A2B3C", "MSG", {}},
        CutCase{"MessageWithoutClosingSeparator", "1A2B3C|MSG|hello", true, "1A2B3C", "MSG", {}},
        CutCase{"OnlyFirstFieldsBeforeEmptyOne",
                "1A2B3C|ACK|BCT||ann|",
                true,
                "1A2B3C",
                "ACK",
                {"BCT"}},
        CutCase{"RestAfterNeededFieldsIgnored",
                "1A2B3C|MSG|one|two|",
                true,
                "1A2B3C",
                "MSG",
                {"one", "two"}},
        CutCase{"Announcement",
                "0A3F9C|ACK|BCT|Sales|ann|",
                true,
                "0A3F9C",
                "ACK",
                {"BCT", "Sales", "ann"}},
        CutCase{"ZeroByteEndsText", kZeroInside, true, "1A2B3C", "MSG", {"hi"}},
        CutCase{"ZeroByteMakesItTooShort", kZeroEarly, false, {}, {}, {}},
        CutCase{"NonAsciiNotUpperCased", "1A2B3C|m\xe9g|x|", true, "1A2B3C", "M\xe9G", {"x"}},
        CutCase{"LongestAccepted",
                "1A2B3C|MSG|" + QByteArray(1012, 'a') + "|",
                true,
                "1A2B3C",
                "MSG",
                {QByteArray(1012, 'a')}},
        CutCase{"OverBufferDiscardedWhole",
                "1A2B3C|MSG|" + QByteArray(1013, 'a') + "|",
                false,
                {},
                {},
                {}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(DatagramCut, TakesAtMostTheFieldsAsked)
{
    const auto parts = cut("1A2B3C|MSG|one|two|three|", 1);
    ASSERT_TRUE(parts);
    EXPECT_EQ(parts->fields, QList<QByteArray>{"one"});
}

TEST(DatagramCompose, EveryKindIsByteExact)
{
    const auto prefix = [](const QByteArray &d) { return d.left(7); };
    const auto rest = [](const QByteArray &d) { return d.mid(7); };

    const QByteArray bct = Datagram::announcement("Sales", "ann");
    EXPECT_EQ(rest(bct), "ACK|BCT|Sales|ann|");
    EXPECT_EQ(rest(Datagram::answer("Sales", "ann")), "ACK|DCT|Sales|ann|");
    EXPECT_EQ(rest(Datagram::keepAlive("Sales")), "ALV|Sales|");
    const QByteArray ext = Datagram::leaveNotice();
    EXPECT_EQ(ext.size(), 10);
    EXPECT_EQ(rest(ext), "EXT");
    EXPECT_EQ(Datagram::messageBody("hello\r\nworld"), "MSG|hello\r\nworld|");

    // Whatever we compose, we can cut again.
    const auto parts = cut(bct);
    ASSERT_TRUE(parts);
    EXPECT_EQ(parts->id + "|", prefix(bct));
    EXPECT_EQ(parts->fields, (QList<QByteArray>{"BCT", "Sales", "ann"}));
}

TEST(DatagramCompose, MessageNeverExceedsTheReceiversBuffer)
{
    // 1000 typed "|" become 2000 bytes of CR LF; sent whole, the datagram would be split by
    // the sender and its tail read as a datagram of its own.
    QByteArray crlf;
    for (int i = 0; i < 1000; ++i)
        crlf.append("\r\n");
    for (const QByteArray &text : {crlf, QByteArray(5000, 'x'), QByteArray(1012, 'y')}) {
        const QByteArray datagram = Datagram::NewPacketId() + Datagram::messageBody(text);
        EXPECT_LE(datagram.size(), Datagram::kMaxSize);
        const auto parts = cut(datagram);
        ASSERT_TRUE(parts);
        ASSERT_EQ(parts->fields.size(), 1);
        EXPECT_TRUE(text.startsWith(parts->fields.first()));
    }
    // A cut that would split a CR LF pair drops the lone CR.
    const QByteArray body = Datagram::messageBody(QByteArray(1011, 'a') + "\r\nrest");
    EXPECT_EQ(body, "MSG|" + QByteArray(1011, 'a') + "|");
    // The tail of a long text never leaves as a datagram of its own.
    const QByteArray hostile = QByteArray(1100, 'a') + "ABCDEF|EXT";
    EXPECT_FALSE(Datagram::messageBody(hostile).contains("EXT"));
}

TEST(PacketId, SixUpperHexDigitsAndSeparator)
{
    for (int i = 0; i < 1000; ++i) {
        const QByteArray id = Datagram::NewPacketId();
        ASSERT_EQ(id.size(), 7);
        EXPECT_EQ(id.at(6), '|');
        for (int k = 0; k < 6; ++k)
            EXPECT_TRUE(QByteArray("0123456789ABCDEF").contains(id.at(k))) << id.constData();
    }
}

TEST(PacketId, DigitsAreUniformOverAllSixPositions)
{
    // A generator of only 15 or 16 bits would leave the leading digits nearly constant.
    Datagram::seedPacketIds(12345);
    constexpr int kDraws = 64000;
    int counts[6][16] = {};
    QSet<QByteArray> distinct;
    for (int i = 0; i < kDraws; ++i) {
        const QByteArray id = Datagram::NewPacketId();
        distinct.insert(id);
        for (int k = 0; k < 6; ++k)
            ++counts[k][QByteArray("0123456789ABCDEF").indexOf(id.at(k))];
    }
    for (int k = 0; k < 6; ++k) {
        for (int d = 0; d < 16; ++d) {
            EXPECT_GT(counts[k][d], kDraws / 16 * 8 / 10) << "position " << k << " digit " << d;
            EXPECT_LT(counts[k][d], kDraws / 16 * 12 / 10) << "position " << k << " digit " << d;
        }
    }
    // Birthday bound over 2^24 values: about 120 collisions expected in 64000 draws.
    EXPECT_GT(distinct.size(), kDraws - 400);
}

TEST(PacketId, SameSeedSameSequenceOtherSeedOther)
{
    Datagram::seedPacketIds(7);
    const QByteArray a = Datagram::NewPacketId() + Datagram::NewPacketId();
    Datagram::seedPacketIds(7);
    EXPECT_EQ(Datagram::NewPacketId() + Datagram::NewPacketId(), a);
    Datagram::seedPacketIds(8);
    EXPECT_NE(Datagram::NewPacketId() + Datagram::NewPacketId(), a);
}

TEST(PacketId, TwoThreadsShareTheSeededSequence)
{
    // Engines may run on threads of their own: concurrent draws must neither corrupt the
    // generator nor repeat a value, so together they take exactly the seeded sequence.
    constexpr int kEach = 2000;
    Datagram::seedPacketIds(99);
    std::vector<QByteArray> sequential;
    for (int i = 0; i < 2 * kEach; ++i)
        sequential.push_back(Datagram::NewPacketId());
    Datagram::seedPacketIds(99);
    std::vector<QByteArray> a, b;
    std::thread other([&] {
        for (int i = 0; i < kEach; ++i)
            b.push_back(Datagram::NewPacketId());
    });
    for (int i = 0; i < kEach; ++i)
        a.push_back(Datagram::NewPacketId());
    other.join();
    a.insert(a.end(), b.begin(), b.end());
    std::sort(a.begin(), a.end());
    std::sort(sequential.begin(), sequential.end());
    EXPECT_EQ(a, sequential);
}

} // namespace
