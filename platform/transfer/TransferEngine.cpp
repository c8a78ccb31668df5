#include "TransferEngine.h"

#include "UrlTransfer.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <algorithm>

struct TransferEngine::SocketWatch
{
    curl_socket_t fd = CURL_SOCKET_BAD;
    QSocketNotifier *read = nullptr;
    QSocketNotifier *write = nullptr;
};

namespace {
// A notifier may be the one whose signal is running: switch it off now and
// let the event loop delete it.
void dropNotifier(QSocketNotifier *n)
{
    if (!n)
        return;
    n->setEnabled(false);
    n->deleteLater();
}
} // namespace

TransferEngine *TransferEngine::instance()
{
    // Lives as long as the process; transfers may still unwind at exit.
    static TransferEngine *engine = new TransferEngine;
    return engine;
}

TransferEngine::TransferEngine()
{
    curl_global_init(CURL_GLOBAL_DEFAULT);
    m_multi = curl_multi_init();
    curl_multi_setopt(m_multi, CURLMOPT_SOCKETFUNCTION, &TransferEngine::socketCallback);
    curl_multi_setopt(m_multi, CURLMOPT_SOCKETDATA, this);
    curl_multi_setopt(m_multi, CURLMOPT_TIMERFUNCTION, &TransferEngine::timerCallback);
    curl_multi_setopt(m_multi, CURLMOPT_TIMERDATA, this);

    m_curlTimer.setSingleShot(true);
    connect(&m_curlTimer, &QTimer::timeout, this, [this] { socketAction(CURL_SOCKET_TIMEOUT, 0); });
    m_deliverTimer.setSingleShot(true);
    m_deliverTimer.setInterval(0);
    connect(&m_deliverTimer, &QTimer::timeout, this, &TransferEngine::deliver);
    // Data progress that the throttle held back, and a peer or redirect seen
    // without further socket activity, are reported at this pace.
    m_pollTimer.setInterval(kProgressIntervalMs);
    connect(&m_pollTimer, &QTimer::timeout, this, &TransferEngine::afterAction);
    m_launchTimer.setSingleShot(true);
    m_launchTimer.setInterval(0);
    connect(&m_launchTimer, &QTimer::timeout, this, &TransferEngine::launchWaiting);
    m_clock.start();
    m_slice.start();
}

TransferEngine::~TransferEngine()
{
    if (m_multi)
        curl_multi_cleanup(m_multi);
}

void TransferEngine::add(UrlTransfer *t)
{
    m_waiting.push_back(t);
    launchWaiting();
}

void TransferEngine::launchWaiting()
{
    if (m_inCurl) {
        m_launchTimer.start();
        return;
    }
    while (!m_waiting.empty() && int(m_active.size()) < kMaxRunning) {
        UrlTransfer *t = m_waiting.front();
        m_waiting.pop_front();
        // A transfer that cannot be launched has failed and left the engine.
        if (!t->launch())
            continue;
        if (curl_multi_add_handle(m_multi, t->easy()) != CURLM_OK) {
            t->launchFailed();
            continue;
        }
        m_active.push_back(t);
        if (!m_pollTimer.isActive())
            m_pollTimer.start();
    }
}

void TransferEngine::remove(UrlTransfer *t)
{
    const auto waiting = std::find(m_waiting.begin(), m_waiting.end(), t);
    if (waiting != m_waiting.end()) {
        m_waiting.erase(waiting);
        return;
    }
    auto it = std::find(m_active.begin(), m_active.end(), t);
    if (it == m_active.end())
        return;
    m_active.erase(it);
    curl_multi_remove_handle(m_multi, t->easy());
    if (m_active.empty())
        m_pollTimer.stop();
    // The freed place goes to the next waiting transfer from the event loop,
    // not from inside whatever is taking this one out.
    if (!m_waiting.empty())
        m_launchTimer.start();
}

void TransferEngine::resume(UrlTransfer *t)
{
    if (m_inCurl || std::find(m_active.begin(), m_active.end(), t) == m_active.end())
        return;
    m_inCurl = true;
    m_slice.start();
    curl_easy_pause(t->easy(), CURLPAUSE_CONT);
    m_inCurl = false;
    afterAction();
}

void TransferEngine::post(Notification n)
{
    m_queue.push_back(std::move(n));
    if (!m_deliverTimer.isActive())
        m_deliverTimer.start();
}

int TransferEngine::socketCallback(CURL *, curl_socket_t s, int what, void *userp, void *socketp)
{
    static_cast<TransferEngine *>(userp)->watchSocket(s, what, static_cast<SocketWatch *>(socketp));
    return 0;
}

int TransferEngine::timerCallback(CURLM *, long timeoutMs, void *userp)
{
    auto *self = static_cast<TransferEngine *>(userp);
    if (timeoutMs < 0)
        self->m_curlTimer.stop();
    else
        self->m_curlTimer.start(int(std::min<long>(timeoutMs, 24L * 3600 * 1000)));
    return 0;
}

void TransferEngine::watchSocket(curl_socket_t s, int what, SocketWatch *watch)
{
    if (what == CURL_POLL_REMOVE) {
        if (watch) {
            dropNotifier(watch->read);
            dropNotifier(watch->write);
            delete watch;
        }
        curl_multi_assign(m_multi, s, nullptr);
        return;
    }
    if (!watch) {
        watch = new SocketWatch;
        watch->fd = s;
        curl_multi_assign(m_multi, s, watch);
    }
    const bool wantRead = what == CURL_POLL_IN || what == CURL_POLL_INOUT;
    const bool wantWrite = what == CURL_POLL_OUT || what == CURL_POLL_INOUT;
    if (wantRead && !watch->read) {
        watch->read = new QSocketNotifier(qintptr(s), QSocketNotifier::Read, this);
        connect(watch->read, &QSocketNotifier::activated, this,
                [this, s] { socketAction(s, CURL_CSELECT_IN); });
    }
    if (wantWrite && !watch->write) {
        watch->write = new QSocketNotifier(qintptr(s), QSocketNotifier::Write, this);
        connect(watch->write, &QSocketNotifier::activated, this,
                [this, s] { socketAction(s, CURL_CSELECT_OUT); });
    }
    if (watch->read)
        watch->read->setEnabled(wantRead);
    if (watch->write)
        watch->write->setEnabled(wantWrite);
}

void TransferEngine::socketAction(curl_socket_t s, int events)
{
    if (m_inCurl)
        return;
    int running = 0;
    m_inCurl = true;
    m_slice.start();
    curl_multi_socket_action(m_multi, s, events, &running);
    m_inCurl = false;
    afterAction();
}

void TransferEngine::afterAction()
{
    if (m_inCurl)
        return;
    int left = 0;
    while (CURLMsg *msg = curl_multi_info_read(m_multi, &left)) {
        if (msg->msg != CURLMSG_DONE)
            continue;
        CURL *easy = msg->easy_handle;
        const CURLcode code = msg->data.result;
        UrlTransfer *t = nullptr;
        curl_easy_getinfo(easy, CURLINFO_PRIVATE, &t);
        if (t)
            t->finish(code);
        else
            curl_multi_remove_handle(m_multi, easy);
    }
    const qint64 now = nowMs();
    const std::vector<UrlTransfer *> active = m_active;
    for (UrlTransfer *t : active)
        t->sample(now, false);
}

void TransferEngine::deliver()
{
    // A handler may run a nested event loop that delivers the rest of the
    // queue; each notification is taken off before it is handed out.
    while (!m_queue.empty()) {
        Notification n = std::move(m_queue.front());
        m_queue.pop_front();
        const std::shared_ptr<UrlTransfer> t = n.transfer.lock();
        if (!t || t->stopDelivered())
            continue;
        if (n.stop)
            t->deliverStop();
        else
            t->deliverProgress(n.progress, n.max, n.status, n.text);
    }
}
