#include "cli/OutputPipe.h"

#include <cerrno>
#include <chrono>
#include <poll.h>
#include <unistd.h>

namespace {

// Each write is at most this large and waits for room first, so the thread notices a
// request to stop within one poll period even while nobody reads.
constexpr qsizetype kChunk = 4096;
constexpr int kPollMs = 100;

} // namespace

OutputPipe::OutputPipe(int fd, qsizetype limit, QObject *parent)
    : QObject(parent), m_fd(fd), m_limit(limit), m_thread([this] { run(); })
{}

OutputPipe::~OutputPipe()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void OutputPipe::write(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return;
    {
        std::lock_guard lock(m_mutex);
        if (m_closed)
            return;
        if (m_buffer.size() + bytes.size() > m_limit) {
            m_droppedPending += bytes.size();
            m_droppedTotal += bytes.size();
            return;
        }
        m_buffer += bytes;
    }
    m_wake.notify_one();
}

bool OutputPipe::flush(int timeoutMs)
{
    std::unique_lock lock(m_mutex);
    return m_drained.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] {
        return m_closed || (m_buffer.isEmpty() && m_droppedPending == 0 && !m_writing);
    });
}

bool OutputPipe::isClosed() const
{
    std::lock_guard lock(m_mutex);
    return m_closed;
}

qint64 OutputPipe::droppedBytes() const
{
    std::lock_guard lock(m_mutex);
    return m_droppedTotal;
}

void OutputPipe::run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stop || !m_buffer.isEmpty() || m_droppedPending > 0; });
        if (m_stop)
            return;
        QByteArray chunk;
        if (!m_buffer.isEmpty()) {
            chunk = std::exchange(m_buffer, {});
        } else {
            // Told once the reader has caught up with everything that did fit.
            chunk = "[" + QByteArray::number(m_droppedPending) +
                    " bytes of output dropped: the output was not being read]\n";
            m_droppedPending = 0;
        }
        m_writing = true;
        lock.unlock();
        const bool ok = writeAll(chunk);
        lock.lock();
        m_writing = false;
        if (!ok && !m_stop) {
            m_closed = true;
            m_buffer.clear();
            m_droppedPending = 0;
            QMetaObject::invokeMethod(this, &OutputPipe::closed, Qt::QueuedConnection);
        }
        m_drained.notify_all();
        if (m_closed || m_stop)
            break;
    }
    // Closed or stopped: wake anybody still waiting in flush().
    m_drained.notify_all();
}

bool OutputPipe::writeAll(const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        {
            std::lock_guard lock(m_mutex);
            if (m_stop)
                return true;
        }
        pollfd pfd{m_fd, POLLOUT, 0};
        const int ready = ::poll(&pfd, 1, kPollMs);
        if (ready < 0 && errno != EINTR)
            return false;
        if (ready <= 0)
            continue;
        if (pfd.revents & (POLLERR | POLLNVAL))
            return false;
        const qsizetype size = std::min(kChunk, bytes.size() - done);
        const ssize_t written = ::write(m_fd, bytes.constData() + done, size_t(size));
        if (written < 0) {
            if (errno == EINTR || errno == EAGAIN)
                continue;
            return false; // EPIPE (the reader went away), EBADF, EIO ...
        }
        done += written;
    }
    return true;
}
