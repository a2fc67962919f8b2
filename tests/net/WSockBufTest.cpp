#include "net/WSockBuf.h"

#include <QByteArray>
#include <gtest/gtest.h>

TEST(TBufferTest, SizeOfZeroOrLessGivesDefaultBlock)
{
    for (qint32 size : {0, -1, -1460})
        EXPECT_EQ(TBuffer(size).BlockSize(), 1514) << size;
    EXPECT_EQ(TBuffer(1460).BlockSize(), 1460);
}

TEST(TBufferTest, WriteTakesOnlyWhatFits)
{
    const QByteArray data(2000, 'x');
    TBuffer block(1460);
    EXPECT_EQ(block.Write(data.constData(), 2000), 1460);
    EXPECT_EQ(block.Write(data.constData(), 10), 0);
    EXPECT_EQ(block.WritePos(), 1460);
}

TEST(TBufferTest, PeekAndRemoveOnEmptyBlockYieldNothing)
{
    TBuffer block(16);
    qint32 len = -1;
    EXPECT_EQ(block.Peek(len), nullptr);
    EXPECT_EQ(len, 0);
    EXPECT_EQ(block.Remove(5), 0);
}

TEST(TBufferTest, RemovingLastUnsentByteRewindsBothPositions)
{
    TBuffer block(16);
    block.Write("abcdef", 6);
    EXPECT_EQ(block.Remove(2), 2);
    qint32 len = 0;
    const char *p = block.Peek(len);
    ASSERT_EQ(len, 4);
    EXPECT_EQ(QByteArray(p, len), "cdef");
    EXPECT_EQ(block.Remove(100), 4); // more than unsent: what is unsent
    EXPECT_EQ(block.ReadPos(), 0);
    EXPECT_EQ(block.WritePos(), 0);
    block.Write("xy", 2); // refilled from the start
    p = block.Peek(len);
    EXPECT_EQ(QByteArray(p, len), "xy");
}

TEST(TBufferTest, NegativeRemoveLeavesPositionsAlone)
{
    TBuffer block(16);
    block.Write("abcdef", 6);
    block.Remove(3);
    EXPECT_EQ(block.Remove(-2), 0);
    EXPECT_EQ(block.ReadPos(), 3);
}

TEST(TBufferTest, ResizeKeepsWrittenBytesAndRefusesToCutThem)
{
    TBuffer block(8);
    block.Write("abcdefgh", 8);
    block.Remove(3);
    EXPECT_FALSE(block.SetBlockSize(4));
    EXPECT_EQ(block.BlockSize(), 8);
    EXPECT_TRUE(block.SetBlockSize(32));
    qint32 len = 0;
    const char *p = block.Peek(len);
    EXPECT_EQ(QByteArray(p, len), "defgh");
    EXPECT_EQ(block.Write("ij", 2), 2);
}
