#include "net/DatagramReadAhead.h"

#include <gtest/gtest.h>
#include <sys/socket.h>

// The read-ahead on its own: a scripted reader instead of a socket.

namespace {

// A reader that hands out one prepared answer per call and counts the calls.
struct Reader
{
    QByteArray datagram;
    int error = 0; // set as the last error with a result of -1
    int calls = 0;

    auto fn()
    {
        return [this](char *buffer, int size, SockAddrIn *from) {
            ++calls;
            if (error != 0) {
                WSocketSetLastError(error);
                return -1;
            }
            EXPECT_GE(size, int(datagram.size()));
            std::memcpy(buffer, datagram.constData(), size_t(datagram.size()));
            from->sin_port = 0x3412;
            return int(datagram.size());
        };
    }
};

TEST(DatagramReadAheadTest, HeldDatagramIsServedOnceWithItsSenderAndNotReadTwice)
{
    DatagramReadAhead ahead;
    Reader reader{"hello"};
    EXPECT_EQ(ahead.fill(reader.fn()), 5);
    EXPECT_EQ(ahead.fill(reader.fn()), 5); // still held: no second read
    EXPECT_EQ(reader.calls, 1);
    EXPECT_EQ(ahead.pendingCount(), 5);

    char buf[16];
    SockAddrIn from;
    int fromLen = 0;
    EXPECT_EQ(ahead.take(buf, sizeof buf, MSG_PEEK, &from, &fromLen), 5);
    EXPECT_TRUE(ahead.held());
    EXPECT_EQ(ahead.take(buf, sizeof buf, 0, &from, &fromLen), 5);
    EXPECT_EQ(QByteArray(buf, 5), "hello");
    EXPECT_EQ(from.sin_port, 0x3412);
    EXPECT_EQ(fromLen, int(sizeof(SockAddrIn)));
    EXPECT_FALSE(ahead.held());
}

TEST(DatagramReadAheadTest, DatagramLongerThanTheReadersBufferIsDiscardedWhole)
{
    DatagramReadAhead ahead;
    Reader reader{QByteArray(100, 'x')};
    ahead.fill(reader.fn());
    char buf[10];
    EXPECT_EQ(ahead.take(buf, sizeof buf, MSG_PEEK, nullptr, nullptr), -1);
    EXPECT_EQ(WSocketGetLastError(), 10040);
    EXPECT_FALSE(ahead.held()); // also a peek drops it
}

TEST(DatagramReadAheadTest, WouldBlockHoldsNothingAndAFailureIsHandedToTheNextReader)
{
    DatagramReadAhead ahead;
    Reader reader;
    reader.error = 10035;
    EXPECT_EQ(ahead.fill(reader.fn()), 0);
    EXPECT_FALSE(ahead.held());

    reader.error = 10054;
    EXPECT_EQ(ahead.fill(reader.fn()), 1); // the reader is called to meet it
    EXPECT_TRUE(ahead.held());
    EXPECT_EQ(ahead.pendingCount(), 0);
    char buf[4];
    EXPECT_EQ(ahead.take(buf, sizeof buf, 0, nullptr, nullptr), -1);
    EXPECT_EQ(WSocketGetLastError(), 10054);
    EXPECT_FALSE(ahead.held());

    reader.error = 0;
    reader.datagram = "";
    EXPECT_EQ(ahead.fill(reader.fn()), 0); // an empty datagram is held all the same
    EXPECT_TRUE(ahead.held());
    ahead.drop();
    EXPECT_FALSE(ahead.held());
}

} // namespace
