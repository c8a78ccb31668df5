#include "InstanceChannel.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <QStringDecoder>
#include <QThread>
#include <QTimer>
#include <QtEndian>

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {
constexpr char kMagic[4] = {'T', 'S', 'V', '1'};
constexpr int kHeaderBytes = 8;
constexpr char kAck = 0x06;
constexpr char kNak = 0x15;
constexpr int kListenBacklog = 64;
// After the process ran out of descriptors, accepting pauses this long.
constexpr int kAcceptPauseMs = 100;

// "Tessivane|Brw" -> "Tessivane_Brw": only letters, digits, "-" and "." stay.
QString fileBase(const QString &service)
{
    QString base;
    for (const QChar c : service) {
        const bool plain = (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            || (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            || c == QLatin1Char('-') || c == QLatin1Char('.');
        base += plain ? c : QLatin1Char('_');
    }
    if (base.isEmpty())
        base = QStringLiteral("_");
    return base;
}

// A folder that belongs to this user and that nobody else may enter.
bool isPrivateFolder(const QByteArray &path)
{
    struct stat st;
    if (::lstat(path.constData(), &st) != 0)
        return false;
    if (!S_ISDIR(st.st_mode) || st.st_uid != ::geteuid())
        return false;
    if ((st.st_mode & 077) != 0 && ::chmod(path.constData(), 0700) != 0)
        return false;
    return true;
}

bool usableFolder(const QString &folder)
{
    const QByteArray native = QFile::encodeName(folder);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    return isPrivateFolder(native);
}

// The folder of the socket and the lock: $XDG_RUNTIME_DIR, or (when it is
// unset or not this user's) "tessivane-<uid>" in the temporary folder; "" when
// no safe folder is at hand. Every start of the same user computes the same.
QString channelFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime) && usableFolder(QDir::cleanPath(runtime)))
        return QDir::cleanPath(runtime);
    const QString folder = QDir::cleanPath(QDir::tempPath()) + QStringLiteral("/tessivane-")
        + QString::number(::geteuid());
    return usableFolder(folder) ? folder : QString();
}

QByteArray frame(const QByteArray &utf8)
{
    QByteArray out(kHeaderBytes, '\0');
    memcpy(out.data(), kMagic, 4);
    qToBigEndian<quint32>(quint32(utf8.size()), out.data() + 4);
    return out + utf8;
}

// Whether some process holds the lock of the service. A lock nobody holds
// means no instance runs (or it is gone), so a sender stops waiting.
bool lockIsHeld(const QString &lockFile)
{
    const int fd = ::open(QFile::encodeName(lockFile).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool held = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return held;
}

// The socket address of a path; false when the path is too long for one.
bool socketAddress(const QByteArray &path, sockaddr_un *addr)
{
    memset(addr, 0, sizeof *addr);
    addr->sun_family = AF_UNIX;
    if (path.isEmpty() || size_t(path.size()) >= sizeof addr->sun_path)
        return false;
    memcpy(addr->sun_path, path.constData(), size_t(path.size()));
    return true;
}

// Whether bytes, received so far, can still become a whole request.
bool couldBeWhole(const QByteArray &bytes)
{
    const qsizetype start = qMin<qsizetype>(bytes.size(), 4);
    if (memcmp(bytes.constData(), kMagic, size_t(start)) != 0)
        return false;
    if (bytes.size() < kHeaderBytes)
        return true;
    const quint32 length = qFromBigEndian<quint32>(bytes.constData() + 4);
    if (length > quint32(InstanceChannel::kMaxCommandBytes))
        return false;
    return bytes.size() <= qint64(kHeaderBytes) + length;
}

// The text of a frame whose body has fully arrived; false when the body is
// not text (invalid UTF-8, or a NUL character).
bool frameText(const QByteArray &bytes, QString *text)
{
    const quint32 length = qFromBigEndian<quint32>(bytes.constData() + 4);
    const QByteArrayView body(bytes.constData() + kHeaderBytes, length);
    if (body.contains('\0'))
        return false;
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    *text = decoder.decode(body);
    return !decoder.hasError();
}

bool bodyComplete(const QByteArray &bytes)
{
    return bytes.size() >= kHeaderBytes
        && bytes.size() == qint64(kHeaderBytes) + qFromBigEndian<quint32>(bytes.constData() + 4);
}

// Waits until fd is ready for events or the deadline passes.
bool waitFor(int fd, short events, const QDeadlineTimer &deadline)
{
    for (;;) {
        pollfd p{fd, events, 0};
        const qint64 left = deadline.remainingTime();
        if (left == 0)
            return false;
        const int r = ::poll(&p, 1, left < 0 ? -1 : int(qMin<qint64>(left, INT_MAX)));
        if (r > 0)
            return true;
        if (r == 0)
            return false;
        if (errno != EINTR)
            return false;
    }
}
} // namespace

// One connection of a later start, read as its bytes arrive.
class InstanceChannel::Connection : public QObject
{
public:
    Connection(int fd, InstanceChannel *channel)
        : QObject(channel)
        , fd(fd)
        , notifier(new QSocketNotifier(qintptr(fd), QSocketNotifier::Read, this))
    {
        timer.setSingleShot(true);
    }
    ~Connection() override
    {
        delete notifier; // before its descriptor goes
        if (fd >= 0)
            ::close(fd);
    }

    int fd;
    QByteArray bytes;
    QSocketNotifier *notifier;
    QTimer timer;
    bool done = false;
};

InstanceChannel::InstanceChannel(const QString &service, QObject *parent)
    : QObject(parent)
    , m_service(service)
{
}

InstanceChannel::~InstanceChannel()
{
    // Connections still open end unanswered: the sender sees the program gone.
    if (m_listenFd >= 0) {
        ::unlink(QFile::encodeName(m_socketFile).constData());
        ::close(m_listenFd);
    }
    if (m_lockFd >= 0)
        ::close(m_lockFd); // releases the lock; the file stays for the next start
}

QString InstanceChannel::socketPath(const QString &service)
{
    const QString folder = channelFolder();
    return folder.isEmpty() ? QString() : folder + QLatin1Char('/') + fileBase(service) + QStringLiteral(".sock");
}

QString InstanceChannel::lockPath(const QString &service)
{
    const QString folder = channelFolder();
    return folder.isEmpty() ? QString() : folder + QLatin1Char('/') + fileBase(service) + QStringLiteral(".lock");
}

void InstanceChannel::setReadTimeout(int ms)
{
    m_readTimeoutMs = qMax(ms, 1);
}

bool InstanceChannel::listen()
{
    if (m_lockFd >= 0 || m_unreachable)
        return true;
    const QString lockFile = lockPath(m_service);
    const QString socketFile = socketPath(m_service);
    if (lockFile.isEmpty() || socketFile.isEmpty()) {
        // Without a safe folder no instance can be reached: run alone rather
        // than hand the request to nobody.
        qWarning("InstanceChannel: no private folder for the instance channel");
        m_unreachable = true;
        return true;
    }

    const int fd = ::open(QFile::encodeName(lockFile).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    m_lockFd = fd;

    // Holding the lock, any socket file present is a leftover of a crash.
    // Failing to listen keeps this the first instance: it runs, but later
    // starts cannot reach it and end silently.
    const QByteArray native = QFile::encodeName(socketFile);
    sockaddr_un addr;
    if (!socketAddress(native, &addr)) {
        qWarning("InstanceChannel: socket path too long: %s", native.constData());
        return true;
    }
    ::unlink(native.constData());
    const int listenFd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (listenFd < 0 || ::bind(listenFd, reinterpret_cast<const sockaddr *>(&addr), sizeof addr) != 0
        || ::chmod(native.constData(), 0600) != 0 || ::listen(listenFd, kListenBacklog) != 0) {
        qWarning("InstanceChannel: cannot listen on %s: %s", native.constData(), strerror(errno));
        if (listenFd >= 0) {
            ::close(listenFd);
            ::unlink(native.constData());
        }
        return true;
    }
    m_listenFd = listenFd;
    m_socketFile = socketFile;
    m_acceptNotifier = new QSocketNotifier(qintptr(listenFd), QSocketNotifier::Read, this);
    connect(m_acceptNotifier, &QSocketNotifier::activated, this, &InstanceChannel::acceptConnections);
    return true;
}

bool InstanceChannel::isRunning(const QString &service)
{
    const QString lockFile = lockPath(service);
    return !lockFile.isEmpty() && lockIsHeld(lockFile);
}

bool InstanceChannel::isServer() const
{
    return m_lockFd >= 0 && m_listenFd >= 0;
}

void InstanceChannel::acceptConnections()
{
    for (;;) {
        const int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED || errno == EPROTO)
                continue;
            if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) {
                // Out of descriptors: wait a moment instead of spinning; the
                // waiting senders stay queued.
                m_acceptNotifier->setEnabled(false);
                QTimer::singleShot(kAcceptPauseMs, m_acceptNotifier,
                                   [n = m_acceptNotifier] { n->setEnabled(true); });
            }
            return;
        }
        auto *c = new Connection(fd, this);
        ++m_open;
        if (m_open > kMaxOpenConnections) {
            finish(c, false);
            continue;
        }
        connect(c->notifier, &QSocketNotifier::activated, c, [this, c] {
            char buffer[65536];
            // Reads what has arrived, never more than a frame can hold.
            for (int round = 0; round < 32 && !c->done; ++round) {
                const ssize_t n = ::recv(c->fd, buffer, sizeof buffer, MSG_DONTWAIT);
                if (n > 0) {
                    c->bytes.append(buffer, n);
                    if (!couldBeWhole(c->bytes)) {
                        finish(c, false);
                    } else if (bodyComplete(c->bytes)) {
                        // Text that is not valid now never becomes valid.
                        QString text;
                        if (!frameText(c->bytes, &text))
                            finish(c, false);
                    }
                    continue;
                }
                if (n == 0) {
                    finish(c, true);
                    return;
                }
                if (errno == EINTR)
                    continue;
                if (errno != EAGAIN && errno != EWOULDBLOCK) {
                    // The sender is gone: nobody to answer.
                    c->done = true;
                    c->notifier->setEnabled(false);
                    --m_open;
                    c->deleteLater();
                }
                return;
            }
        });
        connect(&c->timer, &QTimer::timeout, c, [this, c] { finish(c, false); });
        c->timer.start(m_readTimeoutMs);
    }
}

// Answers and closes a connection. whole: the sender has finished; its bytes
// are a request when they form exactly one frame of text.
void InstanceChannel::finish(Connection *c, bool whole)
{
    if (c->done)
        return;
    c->done = true;
    c->notifier->setEnabled(false);
    c->timer.stop();
    QString command;
    const bool accepted = whole && bodyComplete(c->bytes) && couldBeWhole(c->bytes) && frameText(c->bytes, &command);
    const char answer = accepted ? kAck : kNak;
    // One byte into an empty socket buffer: never blocks. A sender that is
    // gone simply misses it.
    ssize_t sent;
    do {
        sent = ::send(c->fd, &answer, 1, MSG_NOSIGNAL | MSG_DONTWAIT);
    } while (sent < 0 && errno == EINTR);
    ::shutdown(c->fd, SHUT_RDWR);
    ::close(c->fd);
    c->fd = -1;
    --m_open;
    c->deleteLater();
    // The request is handled only once the sender has its answer, so a
    // handler that waits (a message box) never keeps a later start waiting.
    if (accepted)
        QMetaObject::invokeMethod(this, [this, command] { emit requestReceived(command); }, Qt::QueuedConnection);
}

bool InstanceChannel::send(const QString &service, const QString &command, int timeoutMs)
{
    const QByteArray utf8 = command.toUtf8();
    if (utf8.size() > kMaxCommandBytes)
        return false;
    const QString socketFile = socketPath(service);
    const QString lockFile = lockPath(service);
    sockaddr_un addr;
    if (socketFile.isEmpty() || !socketAddress(QFile::encodeName(socketFile), &addr))
        return false;

    const QDeadlineTimer deadline(qMax(timeoutMs, 0));
    int fd = -1;
    for (;;) {
        fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        if (fd < 0)
            return false;
        if (::connect(fd, reinterpret_cast<const sockaddr *>(&addr), sizeof addr) == 0)
            break;
        ::close(fd);
        fd = -1;
        // Nobody holds the lock: no instance runs, nothing to wait for.
        if (!lockIsHeld(lockFile) || deadline.hasExpired())
            return false;
        // The lock holder is starting and not yet listening, or its queue is full.
        QThread::msleep(quint32(qMin<qint64>(25, qMax<qint64>(deadline.remainingTime(), 1))));
        if (deadline.hasExpired())
            return false;
    }

    const QByteArray data = frame(utf8);
    bool ok = true;
    qsizetype written = 0;
    while (ok && written < data.size()) {
        const ssize_t n = ::send(fd, data.constData() + written, size_t(data.size() - written), MSG_NOSIGNAL);
        if (n > 0)
            written += n;
        else if (n < 0 && errno == EINTR)
            continue;
        else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            ok = waitFor(fd, POLLOUT, deadline);
        else
            ok = false;
    }
    // The end of the request: the server answers only a finished sender.
    if (ok)
        ok = ::shutdown(fd, SHUT_WR) == 0;
    char answer = 0;
    if (ok) {
        for (;;) {
            const ssize_t n = ::recv(fd, &answer, 1, 0);
            if (n == 1)
                break;
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) && waitFor(fd, POLLIN, deadline))
                continue;
            ok = false;
            break;
        }
    }
    ::close(fd);
    return ok && answer == kAck;
}
