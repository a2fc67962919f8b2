#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

/// A bounded set of worker threads for blocking name lookups. Jobs beyond the bound wait
/// for a free worker. The shared pool is shut down when the application object goes:
/// jobs not started yet are dropped and the running ones are waited for, so no lookup
/// thread outlives the application.
class LookupPool final
{
public:
    explicit LookupPool(int maxThreads);
    ~LookupPool();
    LookupPool(const LookupPool &) = delete;
    LookupPool &operator=(const LookupPool &) = delete;

    /// Runs job on a worker as soon as one is free.
    void start(std::function<void()> job);
    /// Drops the jobs not started yet and waits for the running ones; a later start
    /// brings workers up again.
    void shutdown();
    /// Waits until no job is waiting or running.
    void waitForIdle();
    int maxThreads() const { return m_maxThreads; }
    /// Worker threads alive now (never more than maxThreads).
    int threadCount() const;

    /// The pool every socket's lookups run on.
    static LookupPool &shared();

private:
    void work();

    const int m_maxThreads;
    mutable std::mutex m_lock;
    std::condition_variable m_wake; // a job arrived, or the pool is stopping
    std::condition_variable m_idle; // a job finished
    std::deque<std::function<void()>> m_jobs;
    std::vector<std::thread> m_threads;
    int m_busy = 0;
    int m_waitingWorkers = 0;
    bool m_stopping = false;
};
