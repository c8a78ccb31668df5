#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <curl/curl.h>

#include <deque>
#include <memory>
#include <vector>

class UrlTransfer;
class QSocketNotifier;

// The one curl multi handle of the process, driven by the Qt event loop:
// curl's sockets are watched by socket notifiers and its timeouts by a timer,
// so every transfer moves whichever event loop runs (a nested transfer's, a
// message box's). Notifications are queued while curl works and handed out
// afterwards in arrival order.
class TransferEngine : public QObject
{
    Q_OBJECT
public:
    static TransferEngine *instance();
    ~TransferEngine() override;

    // At most kMaxRunning transfers run at once, so that any number of
    // downloads handed over together keeps within the descriptor limit (each
    // running one holds a socket and its file); the others wait, in the order
    // they came, without a socket, a file or a clock running.
    static constexpr int kMaxRunning = 32;
    // Launches the transfer now or once a running one has ended.
    void add(UrlTransfer *t);
    // Takes the transfer out, waiting or running (never called from inside curl).
    void remove(UrlTransfer *t);
    // Lets a paused transfer read on (never called from inside curl).
    void resume(UrlTransfer *t);

    struct Notification
    {
        std::weak_ptr<UrlTransfer> transfer;
        bool stop = false;
        qint64 progress = 0;
        qint64 max = 0;
        int status = 0;
        QString text;
    };
    void post(Notification n);

    int runningCount() const { return int(m_active.size()); }
    int waitingCount() const { return int(m_waiting.size()); }
    // A fast sender can keep curl reading inside one call for as long as data
    // keeps coming; a transfer that has had its slice pauses and reads on from
    // the event loop, so the window gets its turn.
    bool sliceOver() const { return m_inCurl && m_slice.nsecsElapsed() > kSliceNs; }
    static constexpr qint64 kSliceNs = 8 * 1000 * 1000;
    qint64 nowMs() const { return m_clock.elapsed(); }

private:
    TransferEngine();

    struct SocketWatch;
    static int socketCallback(CURL *easy, curl_socket_t s, int what, void *userp, void *socketp);
    static int timerCallback(CURLM *multi, long timeoutMs, void *userp);
    void watchSocket(curl_socket_t s, int what, SocketWatch *watch);
    void socketAction(curl_socket_t s, int events);
    void afterAction();
    void deliver();
    void launchWaiting();

    CURLM *m_multi = nullptr;
    QTimer m_curlTimer;
    QTimer m_deliverTimer;
    QTimer m_pollTimer;
    QTimer m_launchTimer;
    QElapsedTimer m_clock;
    QElapsedTimer m_slice;
    std::vector<UrlTransfer *> m_active;
    std::deque<UrlTransfer *> m_waiting;
    std::deque<Notification> m_queue;
    bool m_inCurl = false;
};
