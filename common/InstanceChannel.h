#pragma once

#include <QObject>
#include <QString>

class QSocketNotifier;

// Single-instance channel between starts of one program: the first start
// serves requests, a later start hands its request over and ends.
//
// The service ("Tessivane|Brw", "Dunmora|Dwn") names a per-user local socket
// and a lock file. Both live in $XDG_RUNTIME_DIR when it is set (and belongs
// to the user), else in a folder "tessivane-<uid>" of the temporary folder
// that only the user can enter; the socket itself is reachable by the same
// user only. The lock (flock, released by the kernel when the process dies)
// decides which of two simultaneous starts becomes the server; a socket file
// left behind by a crashed server is taken over.
//
// One connection carries one request: the four bytes "TSV1", the length of
// the text in bytes (32 bits, big-endian), the text in UTF-8; then the sender
// shuts down its sending side. The request is whole only when what arrived up
// to that end is exactly such a frame, of at most kMaxCommandBytes, whose text
// is valid UTF-8 without NUL characters. The server answers one byte, ACK
// (0x06) for a whole request and NAK (0x15) for anything else (another
// header, a length that does not match, a frame cut short, bytes that are not
// text), and closes the connection; only a whole request reaches
// requestReceived. A sender that has not finished within the read time-out
// gets NAK. The server never waits for a sender: it reads what has arrived
// and goes on, so a slow or hostile client cannot hold the program.
class InstanceChannel : public QObject
{
    Q_OBJECT
public:
    static constexpr int kMaxCommandBytes = 1 << 20;
    static constexpr int kDefaultReadTimeoutMs = 5000;
    // Connections open at once; a further one is refused at once.
    static constexpr int kMaxOpenConnections = 32;

    explicit InstanceChannel(const QString &service, QObject *parent = nullptr);
    ~InstanceChannel() override;

    // True: this process is the first instance (it holds the lock) and now
    // serves requests; also true, without serving, in the rare case that no
    // private folder can be had or the socket cannot be opened (the program
    // then runs on its own). False: another instance is running; the caller
    // forwards its request with send() and ends.
    bool listen();
    // Whether requests of later starts reach this instance.
    bool isServer() const;

    // How long a connection may take to deliver its whole request.
    void setReadTimeout(int ms);

    // Whether some process holds the lock of the service: an instance runs,
    // or is starting. Needs no application object, so that a later start can
    // ask before it builds anything.
    static bool isRunning(const QString &service);

    // Sends one request to the running instance and waits up to timeoutMs in
    // all for its acknowledgement. While the lock holder is not yet listening
    // (two starts at once) the connection is retried until the time is up.
    // False when no instance runs, it refuses the request, or time runs out.
    static bool send(const QString &service, const QString &command, int timeoutMs = 3000);

    // Where the socket and the lock of a service live (for tests and messages).
    static QString socketPath(const QString &service);
    static QString lockPath(const QString &service);

signals:
    // Emitted on the thread of this object (the UI thread) after the sender
    // has been acknowledged, in arrival order.
    void requestReceived(const QString &command);

private:
    class Connection;

    void acceptConnections();
    void finish(Connection *connection, bool whole);

    QString m_service;
    QString m_socketFile;
    int m_lockFd = -1;
    int m_listenFd = -1;
    QSocketNotifier *m_acceptNotifier = nullptr;
    bool m_unreachable = false;
    int m_readTimeoutMs = kDefaultReadTimeoutMs;
    int m_open = 0;
};
