// The URL-to-file layer and the transfer object against the loopback server.
#include "CFileDownload.h"
#include "FileSink.h"
#include "TestServer.h"
#include "UrlDownload.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

#include <dirent.h>
#include <unistd.h>

#include <zlib.h>

namespace {

struct Event
{
    qint64 progress;
    qint64 max;
    int status;
    QString text;
};

// Records what the layer reports and lets a test act inside a notification.
class Recorder : public BindStatusCallback
{
public:
    std::shared_ptr<TransferBinding> binding;
    std::vector<Event> events;
    int starts = 0;
    int stops = 0;
    TransferResult stopResult = TransferResult::Failed;
    std::function<void(const Event &)> onEvent;

    void onStartBinding(const std::shared_ptr<TransferBinding> &b) override
    {
        binding = b;
        ++starts;
    }
    void onProgress(qint64 progress, qint64 max, int status, const QString &text) override
    {
        events.push_back({progress, max, status, text});
        if (onEvent)
            onEvent(events.back());
    }
    void onStopBinding(TransferBinding *, TransferResult result, const QString &) override
    {
        ++stops;
        stopResult = result;
    }
    bool has(int status) const
    {
        return std::any_of(events.begin(), events.end(), [status](const Event &e) { return e.status == status; });
    }
};

class TransferTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_server.start());
        ASSERT_TRUE(m_dir.isValid());
    }
    QString target(const QString &name = QStringLiteral("file.bin")) const { return m_dir.filePath(name); }
    int hits(const QString &path)
    {
        Recorder r;
        const QString out = target(QStringLiteral("hits.txt"));
        if (UrlDownloadToFile(m_server.url(QStringLiteral("/hits") + path), out, &r) != TransferResult::Ok)
            return -1;
        const int n = readAll(out).toInt();
        QFile::remove(out);
        return n;
    }

    TestServer m_server;
    QTemporaryDir m_dir;
};

struct BodyCase
{
    const char *path;
    qint64 size;
    bool sizeKnown;
};

class BodyTest : public TransferTest, public ::testing::WithParamInterface<BodyCase>
{
};

TEST_P(BodyTest, WritesTheBodyAndReportsInOrder)
{
    const BodyCase c = GetParam();
    Recorder r;
    const auto result = UrlDownloadToFile(m_server.url(QString::fromLatin1(c.path)), target(), &r);
    ASSERT_EQ(result, TransferResult::Ok);
    EXPECT_EQ(readAll(target()), TestServer::pattern(c.size));
    EXPECT_EQ(entriesOf(m_dir.path()), QStringList{QStringLiteral("file.bin")});
    EXPECT_EQ(r.starts, 1);
    EXPECT_EQ(r.stops, 1);
    EXPECT_EQ(r.stopResult, TransferResult::Ok);
    ASSERT_GE(r.events.size(), 4u);
    EXPECT_EQ(r.events.front().status, BindStatus::FindingResource);
    EXPECT_EQ(r.events.front().text, QStringLiteral("127.0.0.1"));
    EXPECT_TRUE(r.has(BindStatus::Connecting));
    EXPECT_TRUE(r.has(BindStatus::BeginDownloadData));
    const Event &last = r.events.back();
    EXPECT_EQ(last.status, BindStatus::EndDownloadData);
    EXPECT_EQ(last.max > 0, c.size > 0);
    EXPECT_EQ(last.progress, last.max);
    int ends = 0;
    for (const Event &e : r.events) {
        ends += e.status == BindStatus::EndDownloadData;
        if (!c.sizeKnown && e.status != BindStatus::EndDownloadData && &e != &r.events[r.events.size() - 2]) {
            EXPECT_EQ(e.max, 0) << "size reported for a body without one";
        }
        EXPECT_GE(e.progress, 0);
    }
    EXPECT_EQ(ends, 1);
}

INSTANTIATE_TEST_SUITE_P(Bodies, BodyTest,
                         ::testing::Values(BodyCase{"/bytes/300000", 300000, true},
                                           BodyCase{"/bytes/0", 0, true},
                                           BodyCase{"/chunked/123457", 123457, false},
                                           BodyCase{"/redirect?to=/bytes/5000", 5000, true}));

QByteArray gunzip(const QByteArray &packed)
{
    z_stream zs{};
    if (inflateInit2(&zs, 16 + 15) != Z_OK)
        return {};
    QByteArray out;
    char buf[65536];
    zs.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(packed.constData()));
    zs.avail_in = uInt(packed.size());
    int rc = Z_OK;
    while (rc == Z_OK) {
        zs.next_out = reinterpret_cast<Bytef *>(buf);
        zs.avail_out = sizeof buf;
        rc = inflate(&zs, Z_NO_FLUSH);
        out.append(buf, int(sizeof buf - zs.avail_out));
    }
    inflateEnd(&zs);
    return rc == Z_STREAM_END ? out : QByteArray();
}

// Descriptors of this process that lead into dir (deleted files included).
int descriptorsInto(const QString &dir)
{
    const QByteArray prefix = QFile::encodeName(QFileInfo(dir).canonicalFilePath()) + '/';
    int n = 0;
    DIR *fds = ::opendir("/proc/self/fd");
    while (dirent *e = fds ? ::readdir(fds) : nullptr) {
        char target[4096];
        const ssize_t len = ::readlinkat(::dirfd(fds), e->d_name, target, sizeof target - 1);
        n += len > 0 && QByteArray(target, int(len)).startsWith(prefix);
    }
    if (fds)
        ::closedir(fds);
    return n;
}

// The file is saved as the server sent it: a body with a content encoding is
// neither asked for nor unpacked.
TEST_F(TransferTest, EncodedBodyIsKeptAsSent)
{
    Recorder r;
    const QString tgz = target(QStringLiteral("a.tar.gz"));
    ASSERT_EQ(UrlDownloadToFile(m_server.url(QStringLiteral("/gzip/200000")), tgz, &r), TransferResult::Ok);
    const QByteArray saved = readAll(tgz);
    ASSERT_GE(saved.size(), 2);
    EXPECT_EQ(saved.left(2), QByteArray("\x1f\x8b"));
    EXPECT_LT(saved.size(), 200000);
    EXPECT_EQ(gunzip(saved), TestServer::pattern(200000));
    EXPECT_EQ(r.events.back().progress, saved.size());
    EXPECT_EQ(r.events.back().max, saved.size());

    ASSERT_EQ(UrlDownloadToFile(m_server.url(QStringLiteral("/headers")), target(), &r), TransferResult::Ok);
    const QByteArray head = readAll(target()).toLower();
    EXPECT_TRUE(head.startsWith("get /headers ")) << head.toStdString();
    EXPECT_FALSE(head.contains("accept-encoding")) << head.toStdString();
}

// Any name the file system takes works, up to its limit of 255 bytes; the
// temporary file never makes a valid target fail.
TEST_F(TransferTest, LongestNamesDownload)
{
    const QString han = QString(81, QChar(0x4E2D)) + QStringLiteral(".pdf");
    const QString full = QString(83, QChar(0x6587)) + QStringLiteral("ab.pdf");
    ASSERT_EQ(QFile::encodeName(han).size(), 247);
    ASSERT_EQ(QFile::encodeName(full).size(), 255);
    for (const QString &name : {han, full}) {
        Recorder r;
        EXPECT_EQ(UrlDownloadToFile(m_server.url(QStringLiteral("/bytes/300000")), target(name), &r), TransferResult::Ok);
        EXPECT_EQ(readAll(target(name)), TestServer::pattern(300000));
        EXPECT_EQ(r.events.back().status, BindStatus::EndDownloadData);
        EXPECT_EQ(entriesOf(m_dir.path()), QStringList{name});
        EXPECT_TRUE(QFile::remove(target(name)));
    }
}

// When the file cannot be put in place at the end, the transfer fails and
// nothing of it stays open or hidden in the folder.
TEST_F(TransferTest, FailedRenameLeavesNothing)
{
    const QString tooLong = QString(84, QChar(0x6587)) + QStringLiteral(".pdf");
    ASSERT_EQ(QFile::encodeName(tooLong).size(), 256);
    Recorder r;
    EXPECT_EQ(UrlDownloadToFile(m_server.url(QStringLiteral("/bytes/300000")), target(tooLong), &r), TransferResult::Failed);
    EXPECT_EQ(r.stops, 1);
    EXPECT_FALSE(r.has(BindStatus::EndDownloadData));
    EXPECT_TRUE(entriesOf(m_dir.path()).isEmpty());
    EXPECT_EQ(descriptorsInto(m_dir.path()), 0);

    // A folder put where the file was to go.
    const QString blocked = target(QStringLiteral("blocked.bin"));
    Recorder b;
    b.onEvent = [&](const Event &e) {
        if (e.status == BindStatus::BeginDownloadData) {
            QDir().mkpath(blocked + QStringLiteral("/inside"));
        }
    };
    EXPECT_EQ(UrlDownloadToFile(m_server.url(QStringLiteral("/slow/20000/2")), blocked, &b), TransferResult::Failed);
    EXPECT_EQ(entriesOf(m_dir.path()), QStringList());
    EXPECT_TRUE(QFileInfo(blocked).isDir());
    EXPECT_EQ(descriptorsInto(m_dir.path()), 0);
}

// A finished transfer keeps nothing of its file open, also while the object
// that ran it lives on: deleting the file frees it at once.
TEST_F(TransferTest, FinishedTransferHoldsNoDescriptor)
{
    CFileDownload small, large;
    ASSERT_TRUE(small.StartDownloading(m_server.url(QStringLiteral("/bytes/1000")), target(QStringLiteral("s"))));
    ASSERT_TRUE(large.StartDownloading(m_server.url(QStringLiteral("/bytes/20000000")), target(QStringLiteral("l"))));
    EXPECT_EQ(descriptorsInto(m_dir.path()), 0);
    ASSERT_TRUE(QFile::remove(target(QStringLiteral("l"))));
    EXPECT_EQ(descriptorsInto(m_dir.path()), 0);
    EXPECT_FALSE(small.StartDownloading(m_server.url(QStringLiteral("/status/404")), target(QStringLiteral("s"))));
    EXPECT_EQ(descriptorsInto(m_dir.path()), 0);
}

TEST_F(TransferTest, SuccessReplacesAnExistingTarget)
{
    {
        QFile f(target());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(500000, 'x'));
    }
    Recorder r;
    ASSERT_EQ(UrlDownloadToFile(m_server.url(QStringLiteral("/bytes/1000")), target(), &r), TransferResult::Ok);
    EXPECT_EQ(readAll(target()), TestServer::pattern(1000));
    EXPECT_EQ(entriesOf(m_dir.path()), QStringList{QStringLiteral("file.bin")});
    EXPECT_EQ(QFileInfo(target()).permissions() & QFileDevice::ReadOther, QFileDevice::ReadOther);
}

// With a tiny queue the transfer pauses whenever the file falls behind and
// reads on once it caught up; nothing is lost or doubled.
TEST_F(TransferTest, FileQueueBackPressure)
{
    FileSink::setQueueLimits(64 * 1024, 16 * 1024);
    Recorder r;
    const auto result = UrlDownloadToFile(m_server.url(QStringLiteral("/bytes/30000000")), target(), &r);
    FileSink::setQueueLimits(0, 0);
    ASSERT_EQ(result, TransferResult::Ok);
    EXPECT_EQ(readAll(target()), TestServer::pattern(30000000));
}

// A TLS peer whose certificate nobody vouches for is refused.
TEST_F(TransferTest, UnverifiedTlsPeerFails)
{
    const QString openssl = QStandardPaths::findExecutable(QStringLiteral("openssl"));
    // The system's interpreter first: version-manager shims can stall when
    // several start at once.
    QString python = QStandardPaths::findExecutable(QStringLiteral("python3"), {QStringLiteral("/usr/bin")});
    if (python.isEmpty())
        python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (openssl.isEmpty() || python.isEmpty())
        GTEST_SKIP() << "openssl and python3 are needed for a TLS server";
    QTemporaryDir certs;
    const QString key = certs.filePath(QStringLiteral("k.pem")), cert = certs.filePath(QStringLiteral("c.pem"));
    QProcess gen;
    gen.start(openssl, {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"), QStringLiteral("rsa:2048"),
                        QStringLiteral("-nodes"), QStringLiteral("-keyout"), key, QStringLiteral("-out"), cert,
                        QStringLiteral("-days"), QStringLiteral("1"), QStringLiteral("-subj"), QStringLiteral("/CN=127.0.0.1")});
    ASSERT_TRUE(gen.waitForFinished(30000));
    ASSERT_EQ(gen.exitCode(), 0);
    // A plain TCP server: HTTPServer would look its own name up, which stalls
    // without a network.
    const QString script = QStringLiteral(
        "import http.server, socketserver, ssl, sys\n"
        "srv = socketserver.TCPServer(('127.0.0.1', 0), http.server.SimpleHTTPRequestHandler)\n"
        "ctx = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)\n"
        "ctx.load_cert_chain(sys.argv[1], sys.argv[2])\n"
        "srv.socket = ctx.wrap_socket(srv.socket, server_side=True)\n"
        "print('PORT', srv.server_address[1], flush=True)\n"
        "srv.serve_forever()\n");
    QProcess tls;
    tls.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    tls.setWorkingDirectory(certs.path());
    tls.start(python, {QStringLiteral("-c"), script, cert, key});
    int port = 0;
    QElapsedTimer waited;
    waited.start();
    while (port == 0 && waited.elapsed() < 20000 && tls.state() != QProcess::NotRunning) {
        if (!tls.canReadLine()) {
            tls.waitForReadyRead(500);
            continue;
        }
        const QByteArray line = tls.readLine().trimmed();
        if (line.startsWith("PORT "))
            port = line.mid(5).toInt();
    }
    ASSERT_GT(port, 0) << "state " << tls.state() << " out " << tls.readAllStandardOutput().toStdString();
    {
        QFile f(target());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("kept");
    }
    Recorder r;
    EXPECT_EQ(UrlDownloadToFile(QStringLiteral("https://127.0.0.1:%1/c.pem").arg(port), target(), &r), TransferResult::Failed);
    EXPECT_EQ(readAll(target()), QByteArray("kept"));
    tls.kill();
    tls.waitForFinished(3000);
}

TEST_F(TransferTest, RedirectIsReported)
{
    Recorder r;
    ASSERT_EQ(UrlDownloadToFile(m_server.url(QStringLiteral("/redirect?to=/bytes/10")), target(), &r), TransferResult::Ok);
    auto it = std::find_if(r.events.begin(), r.events.end(), [](const Event &e) { return e.status == BindStatus::Redirecting; });
    ASSERT_NE(it, r.events.end());
    EXPECT_TRUE(it->text.endsWith(QStringLiteral("/bytes/10"))) << it->text.toStdString();
}

struct FailCase
{
    const char *path;
};

class FailureTest : public TransferTest, public ::testing::WithParamInterface<FailCase>
{
};

// A failed transfer leaves an existing target as it was and no temporary file.
TEST_P(FailureTest, LeavesTheTargetAlone)
{
    const QString path = QString::fromLatin1(GetParam().path);
    const QString url = path.startsWith(QLatin1Char('/')) ? m_server.url(path) : path;
    {
        QFile f(target());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("precious");
    }
    Recorder r;
    EXPECT_EQ(UrlDownloadToFile(url, target(), &r), TransferResult::Failed);
    EXPECT_EQ(readAll(target()), QByteArray("precious"));
    EXPECT_EQ(entriesOf(m_dir.path()), QStringList{QStringLiteral("file.bin")});
    EXPECT_EQ(r.stops, 1);
    EXPECT_FALSE(r.has(BindStatus::EndDownloadData));
}

INSTANTIATE_TEST_SUITE_P(Failures, FailureTest,
                         ::testing::Values(FailCase{"/status/404"}, FailCase{"/status/500"},
                                           FailCase{"/truncated/100000"},
                                           FailCase{"/redirect?to=ftp://127.0.0.1/x"},
                                           FailCase{"/redirect?to=file:///etc/passwd"},
                                           FailCase{"file:///etc/passwd"},
                                           FailCase{"http://127.0.0.1:1/nothing"}));

// A target that cannot be written fails, after the first notification has
// come (the row shows its percentage from it).
TEST_F(TransferTest, UnwritableTargetFails)
{
    Recorder r;
    EXPECT_EQ(UrlDownloadToFile(m_server.url(QStringLiteral("/bytes/10")), m_dir.filePath(QStringLiteral("no/such/dir/f")), &r),
              TransferResult::Failed);
    EXPECT_EQ(r.stops, 1);
    ASSERT_FALSE(r.events.empty());
    EXPECT_EQ(r.events.front().status, BindStatus::FindingResource);
    EXPECT_EQ(r.events.front().max, 0);
    EXPECT_EQ(UrlDownloadToFile(m_server.url(QStringLiteral("/bytes/10")), m_dir.path(), &r), TransferResult::Failed);
    EXPECT_TRUE(entriesOf(m_dir.path()).isEmpty());
}

TEST_F(TransferTest, AbortInsideProgressKeepsTheOldFile)
{
    {
        QFile f(target());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old");
    }
    Recorder r;
    r.onEvent = [&r](const Event &e) {
        if (e.status == BindStatus::DownloadingData || e.status == BindStatus::BeginDownloadData)
            r.binding->abort();
    };
    EXPECT_EQ(UrlDownloadToFile(m_server.url(QStringLiteral("/slow/200000/20")), target(), &r), TransferResult::Aborted);
    EXPECT_EQ(r.stops, 1);
    EXPECT_EQ(readAll(target()), QByteArray("old"));
    EXPECT_EQ(entriesOf(m_dir.path()), QStringList{QStringLiteral("file.bin")});
    r.binding->abort(); // an ended transfer ignores it
    EXPECT_EQ(r.stops, 1);
}

// A size beyond 2^31 - 1 reaches the notifications as it is.
TEST_F(TransferTest, HugeSizeStaysPositive)
{
    const qint64 huge = 5LL * 1024 * 1024 * 1024;
    Recorder r;
    qint64 seenMax = 0, seenProgress = 0;
    r.onEvent = [&](const Event &e) {
        if (e.status == BindStatus::DownloadingData && e.progress > 0) {
            seenMax = e.max;
            seenProgress = e.progress;
            r.binding->abort();
        }
    };
    EXPECT_EQ(UrlDownloadToFile(m_server.url(QStringLiteral("/huge/%1").arg(huge)), target(), &r), TransferResult::Aborted);
    EXPECT_EQ(seenMax, huge);
    EXPECT_GT(seenProgress, 0);
    EXPECT_TRUE(entriesOf(m_dir.path()).isEmpty());
}

// A transfer started inside another's notification runs nested; the outer one
// keeps moving meanwhile and returns only after the inner one.
TEST_F(TransferTest, NestedTransferKeepsTheOuterMoving)
{
    Recorder outer, inner;
    bool innerRunning = false, innerDone = false;
    int outerEventsDuringInner = 0;
    TransferResult innerResult = TransferResult::Failed;
    outer.onEvent = [&](const Event &e) {
        if (innerRunning) {
            ++outerEventsDuringInner;
            return;
        }
        if (!innerDone && e.status == BindStatus::BeginDownloadData) {
            innerRunning = true;
            innerResult = UrlDownloadToFile(m_server.url(QStringLiteral("/slow/40000/10")), target(QStringLiteral("inner.bin")), &inner);
            innerRunning = false;
            innerDone = true;
        }
    };
    const auto result = UrlDownloadToFile(m_server.url(QStringLiteral("/slow/30000/10")), target(QStringLiteral("outer.bin")), &outer);
    EXPECT_EQ(result, TransferResult::Ok);
    EXPECT_EQ(innerResult, TransferResult::Ok);
    EXPECT_TRUE(innerDone);
    EXPECT_GT(outerEventsDuringInner, 3);
    EXPECT_EQ(readAll(target(QStringLiteral("outer.bin"))), TestServer::pattern(30000));
    EXPECT_EQ(readAll(target(QStringLiteral("inner.bin"))), TestServer::pattern(40000));
    // The outer transfer finished inside the inner one's call.
    EXPECT_EQ(outer.events.back().status, BindStatus::EndDownloadData);
    EXPECT_EQ(entriesOf(m_dir.path()).size(), 2);
}

TEST_F(TransferTest, FileDownloadEventsAndResult)
{
    CFileDownload d;
    std::vector<Event> events;
    QObject::connect(&d, &CFileDownload::OnProgress, [&](qint64 p, qint64 m, int s, const QString &t) {
        events.push_back({p, m, s, t});
        EXPECT_TRUE(d.Busy());
        EXPECT_EQ(d.Held(), 1);
    });
    EXPECT_FALSE(d.Busy());
    EXPECT_EQ(d.Held(), 0);
    EXPECT_TRUE(d.StartDownloading(m_server.url(QStringLiteral("/bytes/70000")), target()));
    EXPECT_FALSE(d.Busy());
    EXPECT_EQ(d.Held(), 0);
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back().status, BindStatus::EndDownloadData);
    EXPECT_EQ(events.back().progress, 70000);
    EXPECT_FALSE(d.StartDownloading(m_server.url(QStringLiteral("/status/404")), target()));
    EXPECT_EQ(readAll(target()), TestServer::pattern(70000));
}

TEST_F(TransferTest, FileDownloadRefusesASecondStartWhileBusy)
{
    CFileDownload d;
    int refused = 0;
    QObject::connect(&d, &CFileDownload::OnProgress, [&](qint64, qint64, int s, const QString &) {
        if (s == BindStatus::BeginDownloadData && !d.StartDownloading(m_server.url(QStringLiteral("/bytes/10")), target(QStringLiteral("x"))))
            ++refused;
    });
    EXPECT_TRUE(d.StartDownloading(m_server.url(QStringLiteral("/slow/5000/5")), target()));
    EXPECT_EQ(refused, 1);
    EXPECT_FALSE(QFile::exists(target(QStringLiteral("x"))));
}

TEST_F(TransferTest, AbortNeverStartedOnlyClearsBusy)
{
    CFileDownload d;
    d.AbortDownloading();
    EXPECT_FALSE(d.Busy());
    EXPECT_EQ(d.Held(), 0);
    // ...and does not keep a later start from running.
    EXPECT_TRUE(d.StartDownloading(m_server.url(QStringLiteral("/bytes/100")), target()));
}

// An abort asked for in the pump that precedes the transfer keeps it from starting.
TEST_F(TransferTest, AbortBeforeStartIsHonoured)
{
    CFileDownload d;
    QTimer::singleShot(0, &d, [&d] { d.AbortDownloading(); });
    EXPECT_FALSE(d.StartDownloading(m_server.url(QStringLiteral("/bytes/99")), target()));
    EXPECT_FALSE(QFile::exists(target()));
    EXPECT_EQ(hits(QStringLiteral("/bytes/99")), 0);
}

// Aborting and starting again requests the whole file again.
TEST_F(TransferTest, RestartRequestsTheWholeFileAgain)
{
    CFileDownload d;
    bool abortedOnce = false;
    QObject::connect(&d, &CFileDownload::OnProgress, [&](qint64 p, qint64, int s, const QString &) {
        if (!abortedOnce && s == BindStatus::DownloadingData && p > 0) {
            abortedOnce = true;
            d.AbortDownloading();
            EXPECT_FALSE(d.Busy());
            EXPECT_EQ(d.Held(), 0);
        }
    });
    EXPECT_FALSE(d.StartDownloading(m_server.url(QStringLiteral("/slow/60000/5")), target()));
    EXPECT_FALSE(QFile::exists(target()));
    EXPECT_TRUE(d.StartDownloading(m_server.url(QStringLiteral("/slow/60000/5")), target()));
    EXPECT_EQ(readAll(target()), TestServer::pattern(60000));
    EXPECT_EQ(hits(QStringLiteral("/slow/60000/5")), 2);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
