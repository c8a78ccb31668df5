#include "FileSink.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QMetaObject>
#include <QObject>
#include <QPointer>

#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>
#include <algorithm>
#include <atomic>
#include <unistd.h>

namespace {
constexpr size_t kSpareBuffers = 48;
std::atomic<size_t> g_highWater{FileSink::kHighWater};
std::atomic<size_t> g_lowWater{FileSink::kLowWater};
std::atomic<qint64> g_slowWriteNs{FileSink::kSlowWriteNs};
} // namespace

void FileSink::setQueueLimits(size_t high, size_t low)
{
    g_highWater = high ? high : kHighWater;
    g_lowWater = high ? low : kLowWater;
    g_slowWriteNs = high ? 0 : kSlowWriteNs;
}

struct FileSink::State
{
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<QByteArray> queue;
    // Written buffers come back here, so that a steady transfer allocates no
    // fresh pages on the UI thread (allocating can wait on the kernel's
    // reclaim while the disk is busy).
    std::vector<QByteArray> spare;
    size_t queued = 0;
    bool full = false;
    bool busy = false; // the thread is writing a chunk it took off the queue
    bool threadStarted = false;
    bool closing = false;
    bool cancelled = false;
    int error = 0;
    int fd = -1;
    QPointer<QObject> context;
    std::function<void()> onDrained;
    std::function<void(bool, const QString &)> onClosed;

    void post(std::function<void()> f)
    {
        // The context (the transfer engine) lives as long as the process.
        if (QObject *c = context.data())
            QMetaObject::invokeMethod(c, std::move(f), Qt::QueuedConnection);
    }

    void run(const std::shared_ptr<State> &self)
    {
        for (;;) {
            QByteArray chunk;
            {
                std::unique_lock<std::mutex> lock(mutex);
                wake.wait(lock, [this] { return cancelled || closing || !queue.empty(); });
                if (cancelled || (queue.empty() && closing))
                    break;
                chunk = std::move(queue.front());
                queue.pop_front();
                busy = true;
            }
            const char *p = chunk.constData();
            size_t left = size_t(chunk.size());
            int failure = 0;
            while (left > 0) {
                const ssize_t w = ::write(fd, p, left);
                if (w < 0) {
                    if (errno == EINTR)
                        continue;
                    failure = errno;
                    break;
                }
                p += w;
                left -= size_t(w);
            }
            std::unique_lock<std::mutex> lock(mutex);
            busy = false;
            queued -= size_t(chunk.size());
            if (spare.size() < kSpareBuffers)
                spare.push_back(std::move(chunk));
            if (failure && !error)
                error = failure;
            if (full && (queued <= g_lowWater || error) && !cancelled) {
                full = false;
                post([self] {
                    if (!self->cancelled && self->onDrained)
                        self->onDrained();
                });
            }
            if (error)
                break;
        }
        std::unique_lock<std::mutex> lock(mutex);
        if (fd >= 0)
            ::close(fd);
        fd = -1;
        if (closing && !cancelled) {
            const bool ok = error == 0;
            const QString why = ok ? QString() : QString::fromLocal8Bit(strerror(error));
            post([self, ok, why] {
                if (!self->cancelled && self->onClosed)
                    self->onClosed(ok, why);
            });
        }
    }
};

FileSink::FileSink(int fd, QObject *context, std::function<void()> onDrained,
                   std::function<void(bool ok, const QString &error)> onClosed)
    : m_state(std::make_shared<State>())
{
    m_state->fd = fd;
    m_state->context = context;
    m_state->onDrained = std::move(onDrained);
    m_state->onClosed = std::move(onClosed);
    if (m_state->fd < 0)
        m_state->error = EBADF;
}

void FileSink::startThreadLocked()
{
    if (m_state->threadStarted)
        return;
    m_state->threadStarted = true;
    const std::shared_ptr<State> state = m_state;
    std::thread([state] { state->run(state); }).detach();
}

FileSink::~FileSink()
{
    cancel();
}

FileSink::Push FileSink::push(const char *data, size_t len)
{
    std::unique_lock<std::mutex> lock(m_state->mutex);
    if (m_state->error || m_state->cancelled || m_state->closing)
        return Push::Failed;
    if (!m_state->threadStarted) {
        QElapsedTimer took;
        took.start();
        const char *p = data;
        size_t left = len;
        while (left > 0) {
            const ssize_t w = ::write(m_state->fd, p, left);
            if (w < 0) {
                if (errno == EINTR)
                    continue;
                m_state->error = errno;
                return Push::Failed;
            }
            p += w;
            left -= size_t(w);
        }
        if (took.nsecsElapsed() >= g_slowWriteNs)
            startThreadLocked();
        return Push::Ok;
    }
    startThreadLocked();
    if (m_state->queued >= g_highWater) {
        m_state->full = true;
        return Push::Full;
    }
    QByteArray chunk;
    if (!m_state->spare.empty()) {
        chunk = std::move(m_state->spare.back());
        m_state->spare.pop_back();
    } else {
        chunk.reserve(qsizetype(len));
    }
    chunk.resize(qsizetype(len));
    std::memcpy(chunk.data(), data, len);
    m_state->queue.push_back(std::move(chunk));
    m_state->queued += len;
    m_state->wake.notify_one();
    return Push::Ok;
}

void FileSink::close()
{
    std::unique_lock<std::mutex> lock(m_state->mutex);
    m_state->closing = true;
    startThreadLocked(); // it closes the file and reports
    m_state->wake.notify_one();
}

bool FileSink::closeIfWritten(bool *ok)
{
    std::unique_lock<std::mutex> lock(m_state->mutex);
    if (m_state->busy || !m_state->queue.empty() || m_state->error || m_state->cancelled || m_state->fd < 0)
        return false;
    *ok = ::close(m_state->fd) == 0;
    m_state->fd = -1;
    m_state->cancelled = true; // the thread ends without reporting
    m_state->wake.notify_one();
    return true;
}

void FileSink::cancel()
{
    std::unique_lock<std::mutex> lock(m_state->mutex);
    if (m_state->cancelled)
        return;
    m_state->cancelled = true;
    m_state->queue.clear();
    m_state->queued = 0;
    if (!m_state->threadStarted && m_state->fd >= 0) {
        ::close(m_state->fd);
        m_state->fd = -1;
    }
    m_state->wake.notify_one();
}
