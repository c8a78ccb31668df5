#include "UrlTransfer.h"

#include "TransferEngine.h"

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// Addresses come from web pages and command lines; curl wants them encoded.
QByteArray encodedUrl(const QString &url)
{
    bool plain = true;
    for (const QChar c : url) {
        if (c.unicode() <= 0x20 || c.unicode() >= 0x7f) {
            plain = false;
            break;
        }
    }
    if (plain)
        return url.toLatin1();
    return QUrl(url, QUrl::TolerantMode).toEncoded();
}

mode_t fileModeFromUmask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// The transfer's own tunables: how long a connection may take to open, and
// how long it may crawl below one byte a second before it counts as failed.
constexpr long kConnectTimeoutS = 30;
constexpr long kLowSpeedLimit = 1;
constexpr long kLowSpeedTimeS = 60;
constexpr long kMaxRedirects = 20;
constexpr long kBufferSize = 512 * 1024;
} // namespace

UrlTransfer::UrlTransfer(const QString &url, const QString &path, BindStatusCallback *callback)
    : m_url(url)
    , m_path(path)
    , m_callback(callback)
    , m_textUrl(url)
{
}

UrlTransfer::~UrlTransfer()
{
    releaseHandle();
    releaseFile();
}

bool UrlTransfer::openTemp(QString *error)
{
    const QFileInfo target(m_path);
    QByteArray name = QFile::encodeName(target.absolutePath()) + "/.dunmora-XXXXXX";
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) {
        *error = QString::fromLocal8Bit(strerror(errno));
        return false;
    }
    m_tempName = name;
    ::fchmod(fd, fileModeFromUmask());
    const std::weak_ptr<UrlTransfer> weak = weak_from_this();
    m_sink = std::make_unique<FileSink>(
        fd, TransferEngine::instance(),
        [weak] {
            if (const auto t = weak.lock())
                t->resume();
        },
        [weak](bool ok, const QString &why) {
            if (const auto t = weak.lock())
                t->complete(ok, why);
        });
    return true;
}

// Lets go of the file: the queue is dropped (its descriptor closes) and the
// temporary file, unless it was put in place, is removed.
void UrlTransfer::releaseFile()
{
    if (m_sink) {
        m_sink->cancel();
        m_sink.reset();
    }
    if (!m_tempName.isEmpty()) {
        ::unlink(m_tempName.constData());
        m_tempName.clear();
    }
}

bool UrlTransfer::begin()
{
    m_callback->onStartBinding(shared_from_this());
    if (m_stopDelivered)
        return false; // aborted from inside onStartBinding

    queueProgress(BindStatus::FindingResource, QUrl(m_url).host());

    // A transfer that cannot start still reports its first step before its
    // end, as one that fails later does: the caller runs the loop that hands
    // both out.
    const QFileInfo target(m_path);
    if (m_path.isEmpty() || target.fileName().isEmpty() || target.isDir()) {
        fail(QStringLiteral("invalid target path"));
        return true;
    }
    // The folder is looked at now; the file itself is made when the
    // transfer is launched.
    const QFileInfo folder(target.absolutePath());
    const int folderError = !folder.isDir() ? ENOENT
        : ::access(QFile::encodeName(folder.filePath()).constData(), W_OK | X_OK) != 0 ? errno : 0;
    if (folderError) {
        fail(QString::fromLocal8Bit(strerror(folderError)));
        return true;
    }
    m_inEngine = true;
    TransferEngine::instance()->add(this);
    return true;
}

void UrlTransfer::fail(const QString &why)
{
    m_result = TransferResult::Failed;
    m_errorText = why;
    m_finished = true;
    releaseHandle();
    releaseFile();
    queueStop();
}

bool UrlTransfer::launch()
{
    QString why;
    if (!openTemp(&why)) {
        fail(why);
        return false;
    }
    m_easy = curl_easy_init();
    if (!m_easy) {
        fail(QStringLiteral("out of memory"));
        return false;
    }
    CURL *e = m_easy;
    curl_easy_setopt(e, CURLOPT_URL, encodedUrl(m_url).constData());
    curl_easy_setopt(e, CURLOPT_PRIVATE, this);
    curl_easy_setopt(e, CURLOPT_ERRORBUFFER, m_error);
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &UrlTransfer::writeCallback);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(e, CURLOPT_XFERINFOFUNCTION, &UrlTransfer::progressCallback);
    curl_easy_setopt(e, CURLOPT_XFERINFODATA, this);
    curl_easy_setopt(e, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(e, CURLOPT_MAXREDIRS, kMaxRedirects);
    curl_easy_setopt(e, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(e, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(e, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutS);
    curl_easy_setopt(e, CURLOPT_LOW_SPEED_LIMIT, kLowSpeedLimit);
    curl_easy_setopt(e, CURLOPT_LOW_SPEED_TIME, kLowSpeedTimeS);
    curl_easy_setopt(e, CURLOPT_BUFFERSIZE, kBufferSize);
    curl_easy_setopt(e, CURLOPT_USERAGENT, "Mozilla/5.0 (X11; Linux x86_64) Dunmora/1.0");
    return true;
}

void UrlTransfer::abort()
{
    if (m_stopDelivered)
        return;
    if (!m_finished || m_draining) {
        m_finished = true;
        m_draining = false;
        releaseHandle();
        releaseFile();
        m_result = TransferResult::Aborted;
        m_errorText = QStringLiteral("aborted");
    }
    // A transfer that already completed keeps its file and its result; only
    // the notifications still queued for it are dropped.
    deliverStop();
}

void UrlTransfer::releaseHandle()
{
    if (m_inEngine) {
        TransferEngine::instance()->remove(this);
        m_inEngine = false;
    }
    if (!m_easy)
        return;
    curl_easy_cleanup(m_easy);
    m_easy = nullptr;
}

size_t UrlTransfer::writeCallback(char *data, size_t size, size_t n, void *userp)
{
    auto *t = static_cast<UrlTransfer *>(userp);
    const size_t len = size * n;
    if (TransferEngine::instance()->sliceOver()) {
        // curl keeps the bytes; the event loop runs before they come again.
        t->m_paused = true;
        const std::weak_ptr<UrlTransfer> weak = t->weak_from_this();
        QMetaObject::invokeMethod(
            TransferEngine::instance(),
            [weak] {
                if (const auto self = weak.lock())
                    self->resume();
            },
            Qt::QueuedConnection);
        return CURL_WRITEFUNC_PAUSE;
    }
    switch (t->m_sink->push(data, len)) {
    case FileSink::Push::Ok:
        break;
    case FileSink::Push::Full:
        // curl keeps the bytes and hands them over again after resume().
        t->m_paused = true;
        return CURL_WRITEFUNC_PAUSE;
    case FileSink::Push::Failed:
        t->m_writeFailed = true;
        return 0;
    }
    t->m_written += qint64(len);
    t->m_bodyStarted = true;
    return len;
}

void UrlTransfer::resume()
{
    if (!m_paused || !m_easy || m_finished)
        return;
    m_paused = false;
    TransferEngine::instance()->resume(this);
}

int UrlTransfer::progressCallback(void *userp, curl_off_t dltotal, curl_off_t dlnow, curl_off_t, curl_off_t)
{
    auto *t = static_cast<UrlTransfer *>(userp);
    if (t->m_now != dlnow) {
        t->m_now = dlnow;
        t->m_dataPending = true;
    }
    t->m_total = dltotal;
    t->m_touched = true;
    return 0;
}

void UrlTransfer::queueProgress(int status, const QString &text)
{
    TransferEngine::Notification n;
    n.transfer = weak_from_this();
    n.progress = m_now;
    n.max = m_total;
    n.status = status;
    n.text = text;
    TransferEngine::instance()->post(std::move(n));
}

void UrlTransfer::queueStop()
{
    if (m_stopQueued)
        return;
    m_stopQueued = true;
    TransferEngine::Notification n;
    n.transfer = weak_from_this();
    n.stop = true;
    TransferEngine::instance()->post(std::move(n));
}

void UrlTransfer::sample(qint64 nowMs, bool force)
{
    if (!m_easy || m_finished || !m_touched)
        return;
    m_touched = false;
    long redirects = 0;
    if (curl_easy_getinfo(m_easy, CURLINFO_REDIRECT_COUNT, &redirects) == CURLE_OK && redirects > m_redirects) {
        m_redirects = redirects;
        char *effective = nullptr;
        curl_easy_getinfo(m_easy, CURLINFO_EFFECTIVE_URL, &effective);
        if (effective)
            m_textUrl = QString::fromUtf8(effective);
        queueProgress(BindStatus::Redirecting, m_textUrl);
    }
    char *ip = nullptr;
    if (curl_easy_getinfo(m_easy, CURLINFO_PRIMARY_IP, &ip) == CURLE_OK && ip && *ip && m_peer != ip) {
        m_peer = ip;
        queueProgress(BindStatus::Connecting, QString::fromLatin1(m_peer));
    }
    if (m_bodyStarted && !m_beginSent) {
        m_beginSent = true;
        m_dataPending = false;
        m_lastDataNote = nowMs;
        queueProgress(BindStatus::BeginDownloadData, m_textUrl);
        return;
    }
    if (m_beginSent && m_dataPending && (force || nowMs - m_lastDataNote >= kProgressIntervalMs)) {
        m_dataPending = false;
        m_lastDataNote = nowMs;
        queueProgress(BindStatus::DownloadingData, m_textUrl);
    } else if (m_dataPending) {
        m_touched = true; // held back by the throttle: look again at the next poll
    }
}

void UrlTransfer::finish(CURLcode code)
{
    if (m_finished)
        return;
    sample(0, true);
    curl_off_t received = 0;
    if (curl_easy_getinfo(m_easy, CURLINFO_SIZE_DOWNLOAD_T, &received) == CURLE_OK && received > m_now)
        m_now = received;
    char *effective = nullptr;
    if (curl_easy_getinfo(m_easy, CURLINFO_EFFECTIVE_URL, &effective) == CURLE_OK && effective)
        m_textUrl = QString::fromUtf8(effective);
    m_finished = true;
    releaseHandle();

    if (code != CURLE_OK || m_writeFailed) {
        m_errorText = m_error[0] ? QString::fromUtf8(m_error) : QString::fromUtf8(curl_easy_strerror(code));
        releaseFile();
        m_result = TransferResult::Failed;
        queueStop();
        return;
    }
    // The file's thread writes what is still queued; complete() follows.
    m_draining = true;
    bool written = false;
    if (m_sink->closeIfWritten(&written))
        complete(written, written ? QString() : QStringLiteral("cannot write the file"));
    else
        m_sink->close();
}

void UrlTransfer::complete(bool ok, const QString &error)
{
    if (!m_draining || m_stopDelivered)
        return;
    m_draining = false;
    // The file's descriptor is closed by now; its queue goes with it.
    m_sink.reset();
    if (ok) {
        if (::rename(m_tempName.constData(), QFile::encodeName(m_path).constData()) == 0) {
            m_tempName.clear();
        } else {
            ok = false;
            m_errorText = QString::fromLocal8Bit(strerror(errno));
        }
    } else {
        m_errorText = error;
    }
    if (!ok) {
        releaseFile();
        m_result = TransferResult::Failed;
        queueStop();
        return;
    }
    m_result = TransferResult::Ok;
    if (m_total <= 0 || m_total < m_now)
        m_total = m_now; // a size never given is the size received
    if (!m_beginSent) {
        m_beginSent = true;
        queueProgress(BindStatus::BeginDownloadData, m_textUrl);
    }
    queueProgress(BindStatus::DownloadingData, m_textUrl);
    queueProgress(BindStatus::EndDownloadData, m_textUrl);
    queueStop();
}

void UrlTransfer::deliverProgress(qint64 progress, qint64 max, int status, const QString &text)
{
    if (m_stopDelivered)
        return;
    m_callback->onProgress(progress, max, status, text);
}

void UrlTransfer::deliverStop()
{
    if (m_stopDelivered)
        return;
    m_stopDelivered = true;
    m_callback->onStopBinding(this, m_result, m_errorText);
    if (m_loop)
        m_loop->quit();
}
