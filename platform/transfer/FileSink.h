#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>
#include <memory>

class QObject;

// Writes a transfer's body into its file. Writes are made at once, on the
// caller's thread, as long as each one is quick; the first write that keeps
// the caller waiting (a disk that makes write() wait, the kernel throttling
// dirty pages) moves the rest of the file to a thread of its own, so that the
// event loop is never stalled twice by one file. That thread's queue is
// bounded: push() answers Full above the high-water mark, and onDrained runs
// once it is back under the low one.
class FileSink
{
public:
    static constexpr size_t kHighWater = 16u << 20;
    static constexpr size_t kLowWater = 4u << 20;
    // A write that takes longer than this moves the file to its thread.
    static constexpr qint64 kSlowWriteNs = 10 * 1000 * 1000;
    // Tests shrink the marks to make the queue fill up, and with it every
    // file goes to its thread after its first write; 0, 0 restores both.
    static void setQueueLimits(size_t high, size_t low);

    enum class Push { Ok, Full, Failed };

    // Takes over fd: the sink closes it (close(), closeIfWritten() or
    // cancel()). The callbacks run on the thread of context (queued), and
    // never after cancel().
    FileSink(int fd, QObject *context, std::function<void()> onDrained,
             std::function<void(bool ok, const QString &error)> onClosed);
    ~FileSink(); // cancels

    Push push(const char *data, size_t len);
    // Writes what is queued, closes the file and reports through onClosed.
    void close();
    // Closes the file at once when everything queued is already written:
    // true (with the outcome in *ok), and onClosed is not called; false when
    // close() is needed.
    bool closeIfWritten(bool *ok);
    // Drops what is queued; nothing is reported any more.
    void cancel();

private:
    void startThreadLocked();

    struct State;
    std::shared_ptr<State> m_state;
};
