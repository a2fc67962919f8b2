// Output that nobody reads never holds the program, and output that went away ends it.
#include "cli/OutputPipe.h"

#include "common/EventWait.h"

#include <QSignalSpy>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

QByteArray drain(int fd)
{
    QByteArray all;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got <= 0)
            return all;
        all.append(buffer, got);
    }
}

TEST(OutputPipe, AnUnreadOutputDropsTheExcessWithoutBlockingAndSaysHowMuch)
{
    int fds[2];
    ASSERT_EQ(::pipe2(fds, O_CLOEXEC), 0);
    {
        OutputPipe pipe(fds[1], 256 * 1024);
        // Many times what the pipe and the buffer hold, written while nobody reads.
        const QByteArray line = QByteArray(99, 'x') + '\n';
        for (int i = 0; i < 20000; ++i)
            pipe.write(line);
        EXPECT_GT(pipe.droppedBytes(), 0);
        EXPECT_FALSE(pipe.flush(50)) << "nothing is read yet";

        ::fcntl(fds[0], F_SETFL, O_NONBLOCK);
        QByteArray seen;
        ASSERT_TRUE(testwait::waitFor([&] {
            seen += drain(fds[0]);
            return seen.contains("bytes of output dropped");
        }));
        EXPECT_TRUE(pipe.flush(2000));
        seen += drain(fds[0]);
        const QByteArray notice = QByteArray::number(pipe.droppedBytes()) +
                                  " bytes of output dropped: the output was not being read]\n";
        EXPECT_TRUE(seen.endsWith(notice)) << seen.right(120).data();
        EXPECT_EQ(seen.size() - (notice.size() + 1) + pipe.droppedBytes(), 20000 * 100)
            << "whole writes are kept or dropped";
    }
    ::close(fds[0]);
    ::close(fds[1]);
}

TEST(OutputPipe, AReaderThatGoesAwayIsReportedOnce)
{
    int fds[2];
    ASSERT_EQ(::pipe2(fds, O_CLOEXEC), 0);
    OutputPipe pipe(fds[1]);
    QSignalSpy closed(&pipe, &OutputPipe::closed);
    ::close(fds[0]);
    pipe.write("anyone?\n");
    EXPECT_TRUE(closed.wait(3000));
    EXPECT_TRUE(pipe.isClosed());
    pipe.write("more\n");
    EXPECT_TRUE(pipe.flush(100));
    // A second report would have been posted by now.
    EXPECT_TRUE(testwait::drainEvents());
    EXPECT_EQ(closed.count(), 1);
    ::close(fds[1]);
}

TEST(OutputPipe, StopsWhileTheReaderStalls)
{
    int fds[2];
    ASSERT_EQ(::pipe2(fds, O_CLOEXEC), 0);
    {
        // The thread is stuck waiting for room when the object goes: it must still end.
        OutputPipe pipe(fds[1]);
        pipe.write(QByteArray(512 * 1024, 'y'));
        // Stuck for sure once the pipe is full.
        const int capacity = ::fcntl(fds[1], F_GETPIPE_SZ);
        ASSERT_TRUE(testwait::waitFor([&] {
            int queued = 0;
            return ::ioctl(fds[0], FIONREAD, &queued) == 0 && queued >= capacity;
        }));
    }
    ::close(fds[0]);
    ::close(fds[1]);
}

} // namespace
