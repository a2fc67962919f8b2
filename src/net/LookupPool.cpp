#include "net/LookupPool.h"

#include <QCoreApplication>
#include <atomic>

namespace {

// Lookups wait on the network; a few at a time is plenty for a socket component that
// rarely looks anything up, and the bound keeps a burst from starting hundreds of threads.
constexpr int SharedThreads = 4;

std::atomic<bool> g_exitHookInstalled{false};

void shutdownShared()
{
    g_exitHookInstalled = false;
    LookupPool::shared().shutdown();
}

} // namespace

LookupPool::LookupPool(int maxThreads) : m_maxThreads(maxThreads < 1 ? 1 : maxThreads) {}

LookupPool::~LookupPool()
{
    shutdown();
}

LookupPool &LookupPool::shared()
{
    // Never destroyed: the application object's exit hook stops it, and sockets that live
    // in static objects may still cancel their lookups after that.
    static LookupPool *const pool = new LookupPool(SharedThreads);
    return *pool;
}

void LookupPool::start(std::function<void()> job)
{
    if (this == &shared() && QCoreApplication::instance() && !g_exitHookInstalled.exchange(true))
        qAddPostRoutine(shutdownShared);
    std::lock_guard guard(m_lock);
    if (m_stopping)
        return; // the application is going away
    m_jobs.push_back(std::move(job));
    if (m_waitingWorkers > 0)
        m_wake.notify_one();
    else if (int(m_threads.size()) < m_maxThreads)
        m_threads.emplace_back([this] { work(); });
}

void LookupPool::work()
{
    std::unique_lock guard(m_lock);
    for (;;) {
        ++m_waitingWorkers;
        m_wake.wait(guard, [this] { return m_stopping || !m_jobs.empty(); });
        --m_waitingWorkers;
        if (m_stopping)
            return;
        std::function<void()> job = std::move(m_jobs.front());
        m_jobs.pop_front();
        ++m_busy;
        guard.unlock();
        job();
        job = nullptr; // whatever the job holds goes before the pool counts it done
        guard.lock();
        --m_busy;
        m_idle.notify_all();
    }
}

void LookupPool::shutdown()
{
    std::vector<std::thread> threads;
    {
        std::lock_guard guard(m_lock);
        m_jobs.clear();
        m_stopping = true;
        threads.swap(m_threads);
    }
    m_wake.notify_all();
    for (std::thread &t : threads)
        t.join();
    std::lock_guard guard(m_lock);
    m_stopping = false;
    m_idle.notify_all();
}

void LookupPool::waitForIdle()
{
    std::unique_lock guard(m_lock);
    m_idle.wait(guard, [this] { return m_jobs.empty() && m_busy == 0; });
}

int LookupPool::threadCount() const
{
    std::lock_guard guard(m_lock);
    return int(m_threads.size());
}
