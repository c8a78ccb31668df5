// Dunmora as a program: an empty command line, a first start, and later
// starts that hand their request to the running instance.
#include "InstanceChannel.h"
#include "TestServer.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class InstanceTest : public QObject
{
    Q_OBJECT

private:
    TestServer m_server;
    QTemporaryDir m_files;
    std::unique_ptr<QTemporaryDir> m_runtime;
    std::vector<std::unique_ptr<QProcess>> m_running;

    QProcessEnvironment env() const
    {
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime->path());
        e.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        return e;
    }
    QProcess *start(const QStringList &args)
    {
        m_running.push_back(std::make_unique<QProcess>());
        QProcess *p = m_running.back().get();
        p->setProcessEnvironment(env());
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p->start(QStringLiteral(DUNMORA), args);
        return p;
    }
    // Runs a start to its end; its duration in ms, or -1 when it did not end in time.
    qint64 runToEnd(const QStringList &args, int *exitCode = nullptr)
    {
        QElapsedTimer t;
        t.start();
        QProcess *p = start(args);
        if (!p->waitForFinished(5000))
            return -1;
        if (exitCode)
            *exitCode = p->exitCode();
        return t.elapsed();
    }
    QString socketPath() const { return InstanceChannel::socketPath(QStringLiteral("Dunmora|Dwn")); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_server.start());
        QVERIFY(m_files.isValid());
    }
    void init()
    {
        m_runtime = std::make_unique<QTemporaryDir>();
        QVERIFY(m_runtime->isValid());
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime->path()));
    }
    void cleanup()
    {
        for (auto &p : m_running) {
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished(3000);
            }
        }
        m_running.clear();
    }

    void emptyCommandLineEndsAtOnce_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("no arguments") << QStringList();
        QTest::newRow("one empty argument") << QStringList{QString()};
    }
    void emptyCommandLineEndsAtOnce()
    {
        QFETCH(QStringList, args);
        int code = -1;
        const qint64 ms = runToEnd(args, &code);
        QVERIFY(ms >= 0);
        QVERIFY2(ms < 1000, qPrintable(QString::number(ms)));
        QCOMPARE(code, 0);
        QVERIFY(!QFile::exists(socketPath()));
    }

    void firstStartWithoutRequestEnds()
    {
        int code = -1;
        QVERIFY(runToEnd({QStringLiteral("nothing to do")}, &code) >= 0);
        QCOMPARE(code, 0);
    }

    void firstStartDownloads()
    {
        const QString target = m_files.filePath(QStringLiteral("first.bin"));
        QProcess *first = start({m_server.url(QStringLiteral("/bytes/4321")) + QStringLiteral("@@") + target});
        QTRY_COMPARE_WITH_TIMEOUT(readAll(target), TestServer::pattern(4321), 10000);
        QCOMPARE(first->state(), QProcess::Running); // the window stays
    }

    void laterStartsForwardAndEnd()
    {
        QProcess *first = start({QStringLiteral("Show")});
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(socketPath()), 10000);

        // A request for a slow transfer: the later start ends at once all the same.
        const QString slow = m_files.filePath(QStringLiteral("slow.bin"));
        int code = -1;
        qint64 ms = runToEnd({m_server.url(QStringLiteral("/slow/60000/40")) + QStringLiteral("@@") + slow}, &code);
        QVERIFY(ms >= 0);
        QVERIFY2(ms < 1000, qPrintable(QString::number(ms)));
        QCOMPARE(code, 0);

        // A second request while the first transfer runs: a second row, nested.
        const QString quick = m_files.filePath(QStringLiteral("quick.bin"));
        ms = runToEnd({m_server.url(QStringLiteral("/bytes/2000")) + QStringLiteral("@@") + quick});
        QVERIFY(ms >= 0 && ms < 1000);
        QTRY_COMPARE_WITH_TIMEOUT(readAll(quick), TestServer::pattern(2000), 10000);
        QVERIFY(!QFile::exists(slow)); // still running
        QTRY_COMPARE_WITH_TIMEOUT(readAll(slow), TestServer::pattern(60000), 15000);

        ms = runToEnd({QStringLiteral("SHOW")});
        QVERIFY(ms >= 0 && ms < 1000);
        QCOMPARE(first->state(), QProcess::Running);
    }
};

QTEST_GUILESS_MAIN(InstanceTest)
#include "InstanceTest.moc"
