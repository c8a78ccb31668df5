#include "DDESend.h"
#include "InstanceChannel.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <chrono>
#include <atomic>
#include <future>
#include <thread>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {
const QString kService = QStringLiteral("Tessivane|Brw");

// Each test gets its own runtime folder, so no real instance is disturbed.
class InstanceChannelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_runtime.isValid());
        m_oldRuntime = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
    }
    void TearDown() override { qputenv("XDG_RUNTIME_DIR", m_oldRuntime); }

    // Runs a blocking client call on another thread while this thread serves.
    template<class F>
    static auto whileServing(F f)
    {
        auto future = std::async(std::launch::async, f);
        QDeadlineTimer deadline(20000);
        while (future.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return future.get();
    }
    static void pumpUntil(const std::function<bool()> &done)
    {
        QDeadlineTimer deadline(10000);
        while (!done() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    // Delivers everything posted so far: the channel posts each request as
    // it answers its sender, so every request already answered has arrived
    // when this returns.
    static void pumpPosted()
    {
        bool reached = false;
        QMetaObject::invokeMethod(QCoreApplication::instance(), [&reached] { reached = true; }, Qt::QueuedConnection);
        pumpUntil([&] { return reached; });
    }

    // How a raw client ends its side: shut down its sending side and read the
    // answer (as senders do), close the connection at once, or keep it open
    // and wait for the answer.
    enum class End { Finish, Close, Wait };

    // Sends raw bytes as a client and returns the server's one-byte answer
    // ("" when none came within waitMs).
    static QByteArray rawExchange(const QByteArray &bytes, End end = End::Wait, int waitMs = 3000)
    {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0)
            return "nosocket";
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        const QByteArray path = QFile::encodeName(InstanceChannel::socketPath(kService));
        memcpy(addr.sun_path, path.constData(), size_t(path.size()));
        if (::connect(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0) {
            ::close(fd);
            return "noconnect";
        }
        // A refused frame may be cut off while it is still being written.
        qsizetype written = 0;
        while (written < bytes.size()) {
            const ssize_t n = ::send(fd, bytes.constData() + written, size_t(bytes.size() - written), MSG_NOSIGNAL);
            if (n <= 0)
                break;
            written += n;
        }
        if (end == End::Close) {
            ::close(fd);
            return QByteArray();
        }
        if (end == End::Finish)
            ::shutdown(fd, SHUT_WR);
        QByteArray answer;
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, waitMs) == 1) {
            char buf[16];
            const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
            if (n > 0)
                answer = QByteArray(buf, n);
        }
        ::close(fd);
        return answer;
    }
    static QByteArray header(quint32 length, const char *magic = "TSV1")
    {
        QByteArray h(magic, 4);
        h.resize(8);
        qToBigEndian<quint32>(length, h.data() + 4);
        return h;
    }

    QTemporaryDir m_runtime;
    QByteArray m_oldRuntime;
};

TEST_F(InstanceChannelTest, FirstListenerServesLaterOnesForward)
{
    InstanceChannel first(kService);
    EXPECT_FALSE(first.isServer());
    ASSERT_TRUE(first.listen());
    EXPECT_TRUE(first.isServer());
    InstanceChannel second(kService);
    EXPECT_FALSE(second.listen());
    EXPECT_FALSE(second.isServer());
    // Another service is independent.
    InstanceChannel other(QStringLiteral("Dunmora|Dwn"));
    EXPECT_TRUE(other.listen());
}

TEST_F(InstanceChannelTest, RoundTripKeepsTextExactlyAndInOrder)
{
    InstanceChannel server(kService);
    ASSERT_TRUE(server.listen());
    QStringList received;
    QObject::connect(&server, &InstanceChannel::requestReceived, &server,
                     [&](const QString &c) { received << c; });

    const QStringList commands = {
        QStringLiteral("OpenNew"),
        QStringLiteral("DDEOpen") + QStringLiteral("http://127.0.0.1/a b?q=1\r\n"),
        QStringLiteral("DDEOpen") + QString::fromUtf8("D:\\书签\\新浪.vkt\r\nhttp://中文.example/\r\n"),
        QString(),
        QString(QChar(0xFEFF)) + QStringLiteral("bom kept"),
        QStringLiteral("http://host/file.zip@@/tmp/x y/file.zip"),
    };
    const bool allSent = whileServing([&] {
        for (const QString &c : commands)
            if (!DDESend(kService, c))
                return false;
        return true;
    });
    EXPECT_TRUE(allSent);
    pumpUntil([&] { return received.size() >= commands.size(); });
    EXPECT_EQ(received, commands);
}

TEST_F(InstanceChannelTest, HandlerRunsOnlyAfterTheSenderWasAnswered)
{
    InstanceChannel server(kService);
    ASSERT_TRUE(server.listen());
    std::atomic<bool> senderDone{false};
    bool senderDoneInHandler = false;
    int handled = 0;
    // The handler blocks the UI thread (as a message box would); the sender
    // must already have its answer by then.
    QObject::connect(&server, &InstanceChannel::requestReceived, &server, [&](const QString &) {
        ++handled;
        QDeadlineTimer deadline(3000);
        while (!senderDone && !deadline.hasExpired())
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        senderDoneInHandler = senderDone;
    });
    EXPECT_TRUE(whileServing([&] {
        const bool ok = InstanceChannel::send(kService, QStringLiteral("OpenNew"));
        senderDone = true;
        return ok;
    }));
    pumpUntil([&] { return handled == 1; });
    EXPECT_EQ(handled, 1);
    EXPECT_TRUE(senderDoneInHandler);
}

TEST_F(InstanceChannelTest, SendFailsWithoutRunningInstance)
{
    EXPECT_FALSE(DDESend(kService, QStringLiteral("OpenNew")));
    {
        InstanceChannel gone(kService);
        ASSERT_TRUE(gone.listen());
    }
    EXPECT_FALSE(DDESend(kService, QStringLiteral("OpenNew")));
    EXPECT_FALSE(QFile::exists(InstanceChannel::socketPath(kService)));
}

TEST_F(InstanceChannelTest, BadFramesAreRefusedAndServingGoesOn)
{
    InstanceChannel server(kService);
    ASSERT_TRUE(server.listen());
    QStringList received;
    QObject::connect(&server, &InstanceChannel::requestReceived, &server,
                     [&](const QString &c) { received << c; });

    const QByteArray nak(1, '\x15');
    // Frames that can never become whole are refused at once, before the
    // sender has finished.
    struct Case { const char *name; QByteArray bytes; End end; QByteArray answer; };
    const Case cases[] = {
        {"oversized length", header(InstanceChannel::kMaxCommandBytes + 1) + "abc", End::Wait, nak},
        {"huge length", header(0xFFFFFFFFu), End::Wait, nak},
        {"wrong magic", header(3, "XXXX") + "abc", End::Wait, nak},
        {"garbage first byte", QByteArray("GET / HTTP/1.0\r\n\r\n"), End::Wait, nak},
        {"invalid utf-8", header(3) + QByteArray("\xff\xfe\x80", 3), End::Wait, nak},
        {"more bytes than announced", header(3) + "abcdef", End::Wait, nak},
        {"truncated then closed", header(100) + "abc", End::Close, QByteArray()},
        {"header only then closed", QByteArray("TS"), End::Close, QByteArray()},
    };
    for (const Case &c : cases) {
        const QByteArray answer = whileServing([&] { return rawExchange(c.bytes, c.end); });
        EXPECT_EQ(answer, c.answer) << c.name;
    }
    // A sender that goes on writing a refused frame gets cut off; nothing breaks.
    EXPECT_EQ(whileServing([&] { return rawExchange(header(8u << 20) + QByteArray(8 << 20, 'x')); }), nak);
    EXPECT_FALSE(InstanceChannel::send(kService, QString(InstanceChannel::kMaxCommandBytes + 1, QLatin1Char('x'))));

    const QString big(InstanceChannel::kMaxCommandBytes / 3, QChar(0x4E2D)); // 3 UTF-8 bytes each
    EXPECT_TRUE(whileServing([&] { return DDESend(kService, QStringLiteral("after")) && DDESend(kService, big); }));
    pumpUntil([&] { return received.size() >= 2; });
    ASSERT_EQ(received.size(), 2);
    EXPECT_EQ(received.at(0), QStringLiteral("after"));
    EXPECT_EQ(received.at(1), big);
}

// A request counts only when what the sender wrote up to its end is exactly
// one frame of text; anything else opens nothing, and the sender is answered.
TEST_F(InstanceChannelTest, OnlyWholeRequestsAreServed)
{
    InstanceChannel server(kService);
    ASSERT_TRUE(server.listen());
    QStringList received;
    QObject::connect(&server, &InstanceChannel::requestReceived, &server,
                     [&](const QString &c) { received << c; });

    const QByteArray ack(1, '\x06');
    const QByteArray nak(1, '\x15');
    const QByteArray url = QByteArray("DDEOpen") + "http://127.0.0.1/a?b=1";
    const QByteArray chinese = QByteArray("DDEOpen") + QString::fromUtf8("http://例子.测试/新闻").toUtf8();
    struct Case { const char *name; QByteArray bytes; QByteArray answer; };
    const Case cases[] = {
        {"well formed", header(quint32(url.size())) + url, ack},
        {"nothing at all", QByteArray(), nak},
        {"header cut short", QByteArray("TSV1\0\0", 6), nak},
        {"magic cut short", QByteArray("TS"), nak},
        {"body cut short", header(quint32(url.size())) + url.left(10), nak},
        {"length one too long", header(quint32(url.size()) + 1) + url, nak},
        {"length one too short", header(quint32(url.size()) - 1) + url, nak},
        {"two frames in one", header(7) + "OpenNew" + header(7) + "OpenNew", nak},
        {"NUL inside", header(9) + QByteArray("Open\0New!", 9), nak},
        {"lone continuation byte", header(8) + QByteArray("DDEOpen\x80", 8), nak},
        {"overlong slash", header(9) + QByteArray("DDEOpen\xc0\xaf", 9), nak},
        {"encoded surrogate", header(10) + QByteArray("DDEOpen\xed\xa0\x80", 10), nak},
        {"character cut short", header(9) + QByteArray("DDEOpen\xe4\xb8", 9), nak},
        {"GBK bytes", header(11) + QByteArray("DDEOpen\xd6\xd0\xce\xc4", 11), nak},
        {"empty text", header(0), ack},
        {"chinese address", header(quint32(chinese.size())) + chinese, ack},
    };
    for (const Case &c : cases) {
        const QByteArray answer = whileServing([&] { return rawExchange(c.bytes, End::Finish); });
        EXPECT_EQ(answer, c.answer) << c.name;
    }
    pumpUntil([&] { return received.size() >= 3; });
    pumpPosted();
    EXPECT_EQ(received, QStringList({QString::fromUtf8(url), QString(), QString::fromUtf8(chinese)}));
}

// A sender that never finishes is answered when its time is up; the program
// serves everyone else meanwhile and never waits for it.
TEST_F(InstanceChannelTest, SlowSendersAreCutOffWhileOthersAreServed)
{
    InstanceChannel server(kService);
    server.setReadTimeout(400);
    ASSERT_TRUE(server.listen());
    QStringList received;
    QObject::connect(&server, &InstanceChannel::requestReceived, &server,
                     [&](const QString &c) { received << c; });

    const QByteArray nak(1, '\x15');
    // A whole frame whose sender never ends it, and one cut short.
    auto stalled = std::async(std::launch::async, [] { return rawExchange(header(7) + "OpenNew", End::Wait, 5000); });
    auto cut = std::async(std::launch::async, [] { return rawExchange(header(50) + "DDEOpen", End::Wait, 5000); });
    EXPECT_TRUE(whileServing([] { return DDESend(kService, QStringLiteral("OpenNew")); }));
    EXPECT_EQ(whileServing([&] { return stalled.get(); }), nak);
    EXPECT_EQ(whileServing([&] { return cut.get(); }), nak);

    // More idle connections than the program keeps open: the surplus is
    // refused at once, the rest when their time is up; then all is as before.
    std::vector<std::future<QByteArray>> idle;
    for (int i = 0; i < InstanceChannel::kMaxOpenConnections + 8; ++i)
        idle.push_back(std::async(std::launch::async, [] { return rawExchange("TSV1", End::Wait, 5000); }));
    int refused = 0;
    for (auto &f : idle)
        refused += whileServing([&] { return f.get(); }) == nak;
    EXPECT_EQ(refused, InstanceChannel::kMaxOpenConnections + 8);
    EXPECT_TRUE(whileServing([] { return DDESend(kService, QStringLiteral("after")); }));
    pumpUntil([&] { return received.size() >= 2; });
    EXPECT_EQ(received, QStringList({QStringLiteral("OpenNew"), QStringLiteral("after")}));
}

TEST_F(InstanceChannelTest, StaleSocketAndLockAreTakenOver)
{
    const QString socketFile = InstanceChannel::socketPath(kService);
    ASSERT_FALSE(socketFile.isEmpty());
    // A socket file with no server behind it, as a crash leaves it.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const QByteArray native = QFile::encodeName(socketFile);
    ASSERT_LT(size_t(native.size()), sizeof(addr.sun_path));
    memcpy(addr.sun_path, native.constData(), size_t(native.size()));
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr *>(&addr), sizeof(addr)), 0);
    ::close(fd);
    ASSERT_TRUE(QFile::exists(socketFile));
    // A lock file nobody holds.
    QFile lock(InstanceChannel::lockPath(kService));
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.write("12345");
    lock.close();

    EXPECT_FALSE(DDESend(kService, QStringLiteral("OpenNew")));

    InstanceChannel server(kService);
    ASSERT_TRUE(server.listen());
    QStringList received;
    QObject::connect(&server, &InstanceChannel::requestReceived, &server,
                     [&](const QString &c) { received << c; });
    EXPECT_TRUE(whileServing([&] { return DDESend(kService, QStringLiteral("OpenNew")); }));
    pumpUntil([&] { return !received.isEmpty(); });
    EXPECT_EQ(received, QStringList{QStringLiteral("OpenNew")});
}

TEST_F(InstanceChannelTest, OnlyTheUserCanReachTheSocket)
{
    InstanceChannel server(kService);
    ASSERT_TRUE(server.listen());
    struct stat st;
    ASSERT_EQ(::stat(QFile::encodeName(InstanceChannel::socketPath(kService)).constData(), &st), 0);
    EXPECT_TRUE(S_ISSOCK(st.st_mode));
    EXPECT_EQ(st.st_mode & 077, 0u);
    ASSERT_EQ(::stat(QFile::encodeName(InstanceChannel::lockPath(kService)).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 077, 0u);
}

TEST_F(InstanceChannelTest, WithoutRuntimeFolderAPrivateTemporaryFolderIsUsed)
{
    QTemporaryDir tmp;
    const QByteArray oldTmp = qgetenv("TMPDIR");
    qunsetenv("XDG_RUNTIME_DIR");
    qputenv("TMPDIR", QFile::encodeName(tmp.path()));
    const QString expectedFolder = tmp.path() + QStringLiteral("/tessivane-") + QString::number(::geteuid());
    {
        InstanceChannel server(kService);
        ASSERT_TRUE(server.listen());
        EXPECT_EQ(QFileInfo(InstanceChannel::socketPath(kService)).path(), expectedFolder);
        struct stat st;
        ASSERT_EQ(::lstat(QFile::encodeName(expectedFolder).constData(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0700u);
        EXPECT_TRUE(whileServing([&] { return DDESend(kService, QStringLiteral("OpenNew")); }));
    }
    // A folder opened to others is closed again before use.
    ASSERT_EQ(::chmod(QFile::encodeName(expectedFolder).constData(), 0777), 0);
    {
        InstanceChannel server(kService);
        EXPECT_TRUE(server.listen());
        struct stat st;
        ASSERT_EQ(::lstat(QFile::encodeName(expectedFolder).constData(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0700u);
    }
    // A runtime folder of another user is passed over for the private one.
    if (::geteuid() == 0) {
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
        ASSERT_EQ(::chown(QFile::encodeName(m_runtime.path()).constData(), 12345, 12345), 0);
        EXPECT_EQ(QFileInfo(InstanceChannel::socketPath(kService)).path(), expectedFolder);
        ASSERT_EQ(::chown(QFile::encodeName(m_runtime.path()).constData(), 0, 0), 0);
        qunsetenv("XDG_RUNTIME_DIR");
    }
    // A symbolic link in its place is not followed: the start runs alone,
    // unreachable, and creates nothing through the link.
    QDir(expectedFolder).removeRecursively();
    ASSERT_TRUE(QFile::link(m_runtime.path(), expectedFolder));
    {
        InstanceChannel server(kService);
        EXPECT_TRUE(server.listen());
        EXPECT_FALSE(server.isServer());
        EXPECT_FALSE(DDESend(kService, QStringLiteral("OpenNew")));
        EXPECT_TRUE(QDir(m_runtime.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
    }
    qputenv("TMPDIR", oldTmp);
    if (oldTmp.isEmpty())
        qunsetenv("TMPDIR");
}

// Real processes: a first start that records and later starts that forward.
TEST_F(InstanceChannelTest, SecondStartsDeliverTheirRequestsAndEnd)
{
    QTemporaryDir work;
    const QString records = work.path() + QStringLiteral("/records");
    ASSERT_TRUE(QDir().mkpath(records));
    const QStringList commands = {
        QStringLiteral("OpenNew"),
        QStringLiteral("DDEOpen") + QString::fromUtf8("http://www.example.com/新闻\r\n"),
        QStringLiteral("DDEOpen") + QStringLiteral("http://127.0.0.1:8080/?a=1&b=2"),
    };

    QProcess first;
    first.start(QStringLiteral(INSTANCE_PROBE),
                {QStringLiteral("first"), kService, records, QString::number(commands.size())});
    ASSERT_TRUE(first.waitForStarted(5000));
    ASSERT_TRUE(first.waitForReadyRead(10000));
    EXPECT_EQ(first.readAllStandardOutput().trimmed(), QByteArray("READY"));

    for (int i = 0; i < commands.size(); ++i) {
        const QString file = work.path() + QStringLiteral("/cmd") + QString::number(i);
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(commands.at(i).toUtf8());
        f.close();
        QProcess second;
        second.start(QStringLiteral(INSTANCE_PROBE), {QStringLiteral("second"), kService, file});
        ASSERT_TRUE(second.waitForFinished(10000));
        EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(second.exitCode(), 0) << i;
    }
    ASSERT_TRUE(first.waitForFinished(10000));
    EXPECT_EQ(first.exitCode(), 0);
    for (int i = 0; i < commands.size(); ++i) {
        QFile f(records + QLatin1Char('/') + QString::number(i) + QStringLiteral(".txt"));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << i;
        EXPECT_EQ(f.readAll(), commands.at(i).toUtf8()) << i;
    }

    // With the first start gone the next start becomes the first instance.
    QProcess late;
    late.start(QStringLiteral(INSTANCE_PROBE),
               {QStringLiteral("second"), kService, work.path() + QStringLiteral("/cmd0")});
    ASSERT_TRUE(late.waitForFinished(10000));
    EXPECT_EQ(late.exitCode(), 5);
}

TEST_F(InstanceChannelTest, SimultaneousFirstStartsMakeExactlyOneServer)
{
    for (int round = 0; round < 3; ++round) {
        std::vector<std::unique_ptr<QProcess>> starts;
        for (int i = 0; i < 5; ++i) {
            starts.push_back(std::make_unique<QProcess>());
            starts.back()->start(QStringLiteral(INSTANCE_PROBE),
                                 {QStringLiteral("race"), kService, QStringLiteral("1500")});
        }
        int servers = 0;
        int delivered = 0;
        int received = -1;
        for (auto &p : starts) {
            ASSERT_TRUE(p->waitForFinished(15000));
            const QByteArray out = p->readAllStandardOutput().trimmed();
            if (out.startsWith("SERVER ")) {
                ++servers;
                received = out.mid(7).toInt();
            }
            delivered += out == "CLIENT 1";
        }
        EXPECT_EQ(servers, 1) << round;
        EXPECT_EQ(delivered, 4) << round;
        EXPECT_EQ(received, 4) << round;
    }
}
} // namespace
