#include "net/WSocket.h"

#include <QtEndian>
#include <cerrno>
#include <gtest/gtest.h>
#include <memory>
#include <netdb.h>

TEST(SocketErrorDescTest, GivesTheTextOfEachCode)
{
    const std::pair<int, const char *> cases[] = {
        {0, "No Error"},
        {10004, "Interrupted system call"},
        {10035, "Operation would block"},
        {10040, "Message too long"},
        {10047, "Address family not supported by protocol family"},
        {10048, "Address already in use"},
        {10054, "Connection reset by peer"},
        {10057, "Socket is not connected"},
        {10059, "Too many references: can't splice"},
        {10071, "Too many levels of remote in path"},
        {10093, "WinSock not initialized"},
        {11001, "Host not found"},
        {11004, "No Data"},
        {10000, "Not a WinSock error"},
        {10072, "Not a WinSock error"},
        {-1, "Not a WinSock error"},
    };
    for (const auto &[code, text] : cases)
        EXPECT_EQ(SocketErrorDesc(code), QByteArray(text)) << code;
}

TEST(SocketErrorDescTest, SystemErrorsKeepTheClassicNumbering)
{
    const std::pair<int, int> cases[] = {
        {EINTR, 10004},        {EACCES, 10013},     {EINVAL, 10022},     {EWOULDBLOCK, 10035},
        {EINPROGRESS, 10036},  {EMSGSIZE, 10040},   {EADDRINUSE, 10048}, {EADDRNOTAVAIL, 10049},
        {ENETUNREACH, 10051},  {ECONNRESET, 10054}, {ENOTCONN, 10057},   {ECONNREFUSED, 10061},
        {EHOSTUNREACH, 10065},
    };
    for (const auto &[err, code] : cases)
        EXPECT_EQ(WSocketErrorFromErrno(err), code) << err;
    EXPECT_EQ(SocketErrorDesc(WSocketErrorFromErrno(ENODATA)), "Not a WinSock error");
    EXPECT_EQ(WSocketErrorFromResolver(EAI_NONAME), 11001);
    EXPECT_EQ(WSocketErrorFromResolver(EAI_AGAIN), 11002);
}

// The binding is process-wide; each case starts from "no socket alive, unloaded".
class SocketLibraryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(SocketInstanceCount(), 0);
        UnloadSocketLibrary();
        ASSERT_TRUE(WSocketSetReqVerLow(1));
        ASSERT_TRUE(WSocketSetReqVerHigh(1));
    }
    void TearDown() override
    {
        UnloadSocketLibrary();
        WSocketSetReqVerLow(1);
        WSocketSetReqVerHigh(1);
    }

    static void openDatagram(TWSocket &s)
    {
        s.SetProto("udp");
        s.SetAddr("127.0.0.1");
        s.SetPort("9");
        s.Connect();
    }
};

TEST_F(SocketLibraryTest, FirstUseStartsWithVersionOneOneAndLastSocketUnloads)
{
    auto socket = std::make_unique<TWSocket>();
    EXPECT_EQ(SocketInstanceCount(), 1);
    EXPECT_FALSE(WSocketLibraryLoaded()); // constructing alone starts nothing
    const int startups = WSocketStartupCount();
    openDatagram(*socket);
    EXPECT_TRUE(WSocketLibraryLoaded());
    EXPECT_EQ(WSocketStartedVersion(), 0x0101);
    EXPECT_EQ(WSocketStartupCount(), startups + 1);
    socket.reset();
    EXPECT_EQ(SocketInstanceCount(), 0);
    EXPECT_FALSE(WSocketLibraryLoaded());

    TWSocket again;
    openDatagram(again);
    EXPECT_EQ(WSocketStartupCount(), startups + 2);
}

TEST_F(SocketLibraryTest, RequestedVersionIsUsedByNextStartUpAndLockedWhileStarted)
{
    TWSocket socket;
    socket.SetReqVerLow(2);
    openDatagram(socket);
    EXPECT_EQ(WSocketStartedVersion(), 0x0102);
    socket.SetReqVerLow(2); // the same value is ignored
    try {
        socket.SetReqVerHigh(3);
        FAIL() << "no exception";
    } catch (const ESocketException &e) {
        EXPECT_TRUE(e.Message().contains("SetReqVerHigh: WinSock version can't be changed now"));
    }
    EXPECT_EQ(socket.ReqVerHigh(), 1);
}

TEST_F(SocketLibraryTest, CountedCallOutsideSocketsKeepsInterfaceUpForItsDuration)
{
    EXPECT_EQ(WSocketResolveHost("127.0.0.1"), qToBigEndian<quint32>(0x7F000001));
    EXPECT_EQ(SocketInstanceCount(), 0);
    EXPECT_TRUE(WSocketLibraryLoaded()); // stays until the last socket or the end
}
