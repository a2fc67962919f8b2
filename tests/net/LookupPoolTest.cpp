#include "net/LookupPool.h"

#include "net/SocketTestSupport.h"
#include "net/WSocket.h"

#include <atomic>
#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>

namespace {

// A gate the jobs wait at until the test opens it.
struct Gate
{
    std::mutex lock;
    std::condition_variable cv;
    bool open = false;

    void wait()
    {
        std::unique_lock guard(lock);
        cv.wait(guard, [&] { return open; });
    }
    void release()
    {
        std::lock_guard guard(lock);
        open = true;
        cv.notify_all();
    }
};

TEST(LookupPoolTest, NeverRunsMoreJobsAtOnceThanItsBound)
{
    LookupPool pool(2);
    Gate gate;
    std::atomic<int> running{0};
    std::atomic<int> most{0};
    std::atomic<int> done{0};
    for (int i = 0; i < 8; ++i) {
        pool.start([&] {
            const int now = ++running;
            int seen = most.load();
            while (now > seen && !most.compare_exchange_weak(seen, now)) {
            }
            gate.wait();
            --running;
            ++done;
        });
    }
    EXPECT_EQ(pool.threadCount(), 2);
    gate.release();
    pool.waitForIdle();
    EXPECT_EQ(done.load(), 8);
    EXPECT_LE(most.load(), 2);
}

TEST(LookupPoolTest, ShutdownDropsWaitingJobsAndWaitsForRunningOnes)
{
    LookupPool pool(1);
    Gate gate;
    std::atomic<bool> started{false};
    std::atomic<bool> finished{false};
    std::atomic<bool> secondRan{false};
    pool.start([&] {
        started = true;
        gate.wait();
        finished = true;
    });
    pool.start([&] { secondRan = true; });
    ASSERT_TRUE(sockettest::waitFor([&] { return started.load(); }));
    // The running job ends only once shutdown has taken the workers, so the waiting job
    // cannot slip in before it is dropped.
    std::thread opener([&] {
        while (pool.threadCount() != 0)
            std::this_thread::yield();
        gate.release();
    });
    pool.shutdown();
    opener.join();
    EXPECT_TRUE(finished.load());   // waited for
    EXPECT_FALSE(secondRan.load()); // dropped
    EXPECT_EQ(pool.threadCount(), 0);
    // The pool comes up again for later work.
    pool.start([&] { secondRan = true; });
    pool.waitForIdle();
    EXPECT_TRUE(secondRan.load());
}

TEST(LookupPoolTest, ManyLookupsAtOnceAllAnswerThroughTheBoundedPool)
{
    std::vector<std::unique_ptr<TWSocket>> sockets;
    int answered = 0;
    for (int i = 0; i < 20; ++i) {
        auto s = std::make_unique<TWSocket>();
        s->OnDnsLookupDone = [&](TCustomWSocket *sock, quint16 err) {
            EXPECT_EQ(err, 0);
            EXPECT_EQ(sock->DnsResult(), "127.0.0.1");
            ++answered;
        };
        s->DnsLookup("localhost");
        sockets.push_back(std::move(s));
    }
    EXPECT_LE(LookupPool::shared().threadCount(), LookupPool::shared().maxThreads());
    ASSERT_TRUE(sockettest::waitFor([&] { return answered == 20; }, 10000));
}

} // namespace
