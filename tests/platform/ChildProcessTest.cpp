// Programs that the browser and Dunmora start keep nothing of their starter:
// no descriptor beyond the standard streams, no blocked or ignored signals.
#include "ChildProcess.h"
#include "DwnShell.h"
#include "Processes.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <map>
#include <string>
#include <vector>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// What a starter of this process holds open without close-on-exec, as the web
// engine and libraries do: files, sockets, pipes, a held lock. Signals:
// SIGTERM blocked, SIGINT ignored.
class LeakyStarter : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_fds.push_back(::open("/dev/null", O_RDONLY));
        int pair[2];
        ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, pair), 0);
        m_fds.insert(m_fds.end(), {pair[0], pair[1]});
        int pipeFds[2];
        ASSERT_EQ(::pipe(pipeFds), 0);
        m_fds.insert(m_fds.end(), {pipeFds[0], pipeFds[1]});
        const int lock = ::open(QFile::encodeName(m_dir.filePath(QStringLiteral("held.lock"))).constData(),
                                O_RDWR | O_CREAT, 0600);
        ASSERT_GE(lock, 0);
        ASSERT_EQ(::flock(lock, LOCK_EX), 0);
        m_fds.push_back(lock);
        for (const int fd : m_fds)
            ASSERT_GE(fd, 0);

        sigset_t term;
        sigemptyset(&term);
        sigaddset(&term, SIGTERM);
        ASSERT_EQ(::pthread_sigmask(SIG_BLOCK, &term, &m_oldMask), 0);
        struct sigaction ign {};
        ign.sa_handler = SIG_IGN;
        ASSERT_EQ(::sigaction(SIGINT, &ign, &m_oldInt), 0);
    }
    void TearDown() override
    {
        ::sigaction(SIGINT, &m_oldInt, nullptr);
        ::pthread_sigmask(SIG_SETMASK, &m_oldMask, nullptr);
        for (const int fd : m_fds)
            ::close(fd);
    }

    // Runs start(probe, record) and returns the probe's report, line by line.
    std::map<std::string, std::string> report(const std::function<bool(const QString &, const QStringList &)> &start)
    {
        const QString record = m_dir.filePath(QStringLiteral("record%1").arg(++m_runs));
        EXPECT_TRUE(start(QStringLiteral(FD_PROBE), {record}));
        EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(record); }, 10000));
        QFile f(record);
        std::map<std::string, std::string> lines;
        if (!f.open(QIODevice::ReadOnly))
            return lines;
        for (const QByteArray &line : f.readAll().split('\n')) {
            const qsizetype space = line.indexOf(' ');
            if (space > 0)
                lines[line.left(space).toStdString()] = line.mid(space + 1).toStdString();
        }
        return lines;
    }

    static std::string field(const std::map<std::string, std::string> &r, const char *name)
    {
        const auto it = r.find(name);
        return it == r.end() ? std::string("<none>") : it->second;
    }

    QTemporaryDir m_dir;
    std::vector<int> m_fds;
    sigset_t m_oldMask;
    struct sigaction m_oldInt {};
    int m_runs = 0;
};

TEST_F(LeakyStarter, BrowserChildrenGetOnlyTheStandardStreams)
{
    for (const bool hidden : {false, true}) {
        const auto r = report([hidden](const QString &program, const QStringList &args) {
            return Processes::startDetached(program, args, hidden);
        });
        EXPECT_EQ(field(r, "fds"), "0 1 2") << "hidden " << hidden;
        EXPECT_EQ(field(r, "sigblk"), "0000000000000000") << "hidden " << hidden;
        EXPECT_EQ(field(r, "sigign"), "0000000000000000") << "hidden " << hidden;
        if (hidden) {
            EXPECT_EQ(field(r, "std"), "/dev/null /dev/null /dev/null");
        }
    }
}

TEST_F(LeakyStarter, DunmoraChildrenGetOnlyTheStandardStreams)
{
    const auto r = report([](const QString &program, const QStringList &args) {
        return DwnShell::instance()->startDetached(program, args);
    });
    EXPECT_EQ(field(r, "fds"), "0 1 2");
    EXPECT_EQ(field(r, "sigblk"), "0000000000000000");
    EXPECT_EQ(field(r, "sigign"), "0000000000000000");
}

TEST_F(LeakyStarter, WatchedStartsGetOnlyTheStandardStreams)
{
    // The archive tool of an install is started this way and waited for.
    QObject context;
    int exitCode = -1;
    const auto r = report([&](const QString &program, const QStringList &args) {
        Processes::startWatched(program, args, true, &context, [&](int code) { exitCode = code; });
        return true;
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return exitCode != -1; }, 10000));
    EXPECT_EQ(field(r, "fds"), "0 1 2");
    EXPECT_EQ(field(r, "sigblk"), "0000000000000000");
    EXPECT_EQ(field(r, "sigign"), "0000000000000000");
}

TEST_F(LeakyStarter, WaitedForProgramsGetOnlyTheirPipes)
{
    QProcess process;
    ChildProcess::isolate(process);
    const auto r = report([&process](const QString &program, const QStringList &args) {
        process.start(program, args);
        return process.waitForFinished(10000) && process.exitCode() == 0;
    });
    EXPECT_EQ(field(r, "fds"), "0 1 2");
    EXPECT_EQ(field(r, "sigblk"), "0000000000000000");
    EXPECT_EQ(field(r, "sigign"), "0000000000000000");
    process.start(m_dir.filePath(QStringLiteral("missing")), {});
    EXPECT_FALSE(process.waitForStarted(10000));
}

TEST_F(LeakyStarter, StartsThatCannotRunReportFailure)
{
    EXPECT_FALSE(Processes::startDetached(m_dir.filePath(QStringLiteral("missing")), {}, true));
    QFile plain(m_dir.filePath(QStringLiteral("not-executable")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.write("#!/bin/sh\n");
    plain.close();
    EXPECT_FALSE(Processes::startDetached(plain.fileName(), {}, false));
    EXPECT_FALSE(DwnShell::instance()->startDetached(m_dir.filePath(QStringLiteral("missing")), {}));
    // The starter's descriptors are all still there.
    for (const int fd : m_fds)
        EXPECT_NE(::fcntl(fd, F_GETFD), -1) << fd;
}

} // namespace
