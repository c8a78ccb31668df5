#include "InstanceChannel.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QStringDecoder>
#include <QThread>
#include <QTimer>
#include <QtEndian>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr char kMagic[4] = {'T', 'S', 'V', '1'};
constexpr int kHeaderBytes = 8;
constexpr char kAck = 0x06;
constexpr char kNak = 0x15;
// A connection that has not delivered its whole frame by then is dropped.
constexpr int kServerReadTimeoutMs = 5000;
constexpr int kMaxOpenConnections = 32;

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
} // namespace

InstanceChannel::InstanceChannel(const QString &service, QObject *parent)
    : QObject(parent)
    , m_service(service)
{
}

InstanceChannel::~InstanceChannel()
{
    if (m_server)
        m_server->close(); // removes the socket file
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
    QLocalServer::removeServer(socketFile);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    m_server->setMaxPendingConnections(kMaxOpenConnections);
    connect(m_server, &QLocalServer::newConnection, this, &InstanceChannel::acceptConnections);
    if (!m_server->listen(socketFile)) {
        // Still the first instance: it runs, but later starts cannot reach it
        // and end silently.
        qWarning("InstanceChannel: cannot listen on %s: %s", qPrintable(socketFile),
                 qPrintable(m_server->errorString()));
    }
    return true;
}

bool InstanceChannel::isServer() const
{
    return m_lockFd >= 0 && m_server && m_server->isListening();
}

void InstanceChannel::acceptConnections()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readFrom(socket); });
        QTimer::singleShot(kServerReadTimeoutMs, socket, [socket] { socket->abort(); });
        if (socket->bytesAvailable() > 0)
            readFrom(socket);
    }
}

void InstanceChannel::readFrom(QLocalSocket *socket)
{
    if (socket->property("tessivaneDone").toBool()) {
        socket->readAll();
        return;
    }
    const auto refuse = [socket] {
        socket->setProperty("tessivaneDone", true);
        socket->readAll();
        socket->write(&kNak, 1);
        socket->flush();
        socket->disconnectFromServer();
    };
    if (socket->bytesAvailable() < kHeaderBytes) {
        // A wrong first byte is refused at once; the rest of the header may come later.
        const QByteArray start = socket->peek(4);
        if (!start.isEmpty() && memcmp(start.constData(), kMagic, size_t(start.size())) != 0)
            refuse();
        return;
    }
    const QByteArray header = socket->peek(kHeaderBytes);
    if (memcmp(header.constData(), kMagic, 4) != 0) {
        refuse();
        return;
    }
    const quint32 length = qFromBigEndian<quint32>(header.constData() + 4);
    if (length > quint32(kMaxCommandBytes)) {
        refuse();
        return;
    }
    if (socket->bytesAvailable() < qint64(kHeaderBytes) + length)
        return;
    socket->read(kHeaderBytes);
    const QByteArray body = socket->read(length);
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    const QString command = decoder.decode(body);
    if (decoder.hasError()) {
        refuse();
        return;
    }
    socket->setProperty("tessivaneDone", true);
    socket->write(&kAck, 1);
    socket->flush();
    socket->disconnectFromServer();
    // The request is handled only once the sender has its answer, so a
    // handler that waits (a message box) never keeps a later start waiting.
    QMetaObject::invokeMethod(this, [this, command] { emit requestReceived(command); }, Qt::QueuedConnection);
}

bool InstanceChannel::send(const QString &service, const QString &command, int timeoutMs)
{
    const QByteArray utf8 = command.toUtf8();
    if (utf8.size() > kMaxCommandBytes)
        return false;
    const QString socketFile = socketPath(service);
    const QString lockFile = lockPath(service);
    if (socketFile.isEmpty())
        return false;

    QDeadlineTimer deadline(qMax(timeoutMs, 0));
    QLocalSocket socket;
    for (;;) {
        socket.connectToServer(socketFile);
        if (socket.waitForConnected(int(qMax<qint64>(deadline.remainingTime(), 0))))
            break;
        socket.abort();
        // Nobody holds the lock: no instance runs, nothing to wait for.
        if (!lockIsHeld(lockFile) || deadline.hasExpired())
            return false;
        // The lock holder is starting and not yet listening.
        QThread::msleep(quint32(qMin<qint64>(25, qMax<qint64>(deadline.remainingTime(), 1))));
        if (deadline.hasExpired())
            return false;
    }

    const QByteArray data = frame(utf8);
    if (socket.write(data) != data.size())
        return false;
    while (socket.bytesToWrite() > 0) {
        if (deadline.hasExpired() || !socket.waitForBytesWritten(int(qMax<qint64>(deadline.remainingTime(), 1))))
            return false;
    }
    while (socket.bytesAvailable() < 1) {
        if (deadline.hasExpired() || !socket.waitForReadyRead(int(qMax<qint64>(deadline.remainingTime(), 1))))
            return false;
    }
    char answer = 0;
    if (socket.read(&answer, 1) != 1)
        return false;
    socket.disconnectFromServer();
    return answer == kAck;
}
