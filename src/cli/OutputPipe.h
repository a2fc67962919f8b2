#pragma once

#include <QByteArray>
#include <QObject>
#include <condition_variable>
#include <mutex>
#include <thread>

/// Writes to a descriptor from a thread of its own, so that an output nobody reads (a
/// stopped pager, a full pipe, a stalled ssh session) never holds the event loop: what
/// does not fit a bounded buffer is dropped and counted, and one line tells how much once
/// the reader catches up. A reader that goes away is reported by closed().
class OutputPipe final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(OutputPipe)

public:
    static constexpr qsizetype kDefaultLimit = 1024 * 1024;

    /// fd stays open and owned by the caller; limit bounds the bytes waiting.
    explicit OutputPipe(int fd, qsizetype limit = kDefaultLimit, QObject *parent = nullptr);
    /// Stops the thread; what has not been written by then is lost (call flush first).
    ~OutputPipe() override;

    /// Queues bytes without ever blocking; drops them whole when the buffer is full.
    void write(const QByteArray &bytes);
    /// Waits up to timeoutMs for everything queued to be written; true when it was.
    bool flush(int timeoutMs);
    /// The descriptor refused a write for good (the reader went away, or it is closed).
    bool isClosed() const;
    /// Bytes dropped so far.
    qint64 droppedBytes() const;

signals:
    /// Emitted once, on the thread that made the object, when the output went away.
    void closed();

private:
    void run();
    bool writeAll(const QByteArray &bytes);

    const int m_fd;
    const qsizetype m_limit;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_drained;
    QByteArray m_buffer;
    qint64 m_droppedPending = 0;
    qint64 m_droppedTotal = 0;
    bool m_writing = false;
    bool m_stop = false;
    bool m_closed = false;
    std::thread m_thread;
};
