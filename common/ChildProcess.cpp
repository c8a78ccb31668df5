#include "ChildProcess.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <vector>

#include <cerrno>
#include <climits>
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The highest descriptor number in use can have (a guess when unlimited).
unsigned descriptorLimit()
{
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY && limit.rlim_cur > 0)
        return limit.rlim_cur > UINT_MAX ? UINT_MAX : unsigned(limit.rlim_cur - 1);
    return 65535;
}

// Closes every descriptor from `from` up to `to` (both included). Runs in the
// forked child: system calls only.
void closeRange(unsigned from, unsigned to)
{
    if (from > to)
        return;
#ifdef SYS_close_range
    if (::syscall(SYS_close_range, from, to, 0) == 0)
        return;
#endif
    // Kernels before 5.9: close one by one up to the descriptor limit.
    const unsigned last = descriptorLimit();
    if (to > last)
        to = last;
    for (unsigned fd = from; fd <= to && fd != UINT_MAX; ++fd)
        ::close(int(fd));
}

// Marks every descriptor from `from` on close-on-exec. Runs in the forked
// child: system calls only.
void closeOnExecFrom(unsigned from)
{
#if defined(SYS_close_range)
    constexpr unsigned kCloseRangeCloexec = 1u << 2;
    if (::syscall(SYS_close_range, from, ~0U, kCloseRangeCloexec) == 0)
        return;
#endif
    // Kernels before 5.11.
    const unsigned last = descriptorLimit();
    for (unsigned fd = from; fd <= last && fd != UINT_MAX; ++fd)
        ::fcntl(int(fd), F_SETFD, FD_CLOEXEC);
}

void defaultSignals()
{
    struct sigaction dfl {};
    dfl.sa_handler = SIG_DFL;
    for (int sig = 1; sig < NSIG; ++sig) {
        if (sig != SIGKILL && sig != SIGSTOP)
            ::sigaction(sig, &dfl, nullptr);
    }
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
}

// The program's side between fork and exec: async-signal-safe calls only, as
// the starter may have other threads.
[[noreturn]] void execChild(const char *path, char *const argv[], ChildProcess::Streams streams, int reportFd)
{
    if (streams == ChildProcess::Streams::Null) {
        const int null = ::open("/dev/null", O_RDWR);
        if (null >= 0) {
            ::dup2(null, STDIN_FILENO);
            ::dup2(null, STDOUT_FILENO);
            ::dup2(null, STDERR_FILENO);
            if (null > STDERR_FILENO)
                ::close(null);
        }
    }
    // Everything above standard error goes, but the report pipe, which closes
    // itself at exec (close-on-exec) and carries the error of a failed exec.
    closeRange(STDERR_FILENO + 1, unsigned(reportFd) - 1);
    closeRange(unsigned(reportFd) + 1, ~0U);

    defaultSignals();
    ::execv(path, argv);
    const int error = errno;
    ssize_t ignored = ::write(reportFd, &error, sizeof error);
    (void)ignored;
    ::_exit(127);
}

} // namespace

namespace ChildProcess {

bool startDetached(const QString &program, const QStringList &arguments, Streams streams)
{
    if (program.isEmpty())
        return false;
    const QString resolved = program.contains(QLatin1Char('/')) ? program : QStandardPaths::findExecutable(program);
    if (resolved.isEmpty())
        return false;

    // Everything the child needs is built before the fork.
    const QByteArray path = QFile::encodeName(resolved);
    std::vector<QByteArray> args;
    args.reserve(size_t(arguments.size()) + 1);
    args.push_back(QFile::encodeName(program));
    for (const QString &a : arguments)
        args.push_back(a.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0)
        return false;
    if (report[1] <= STDERR_FILENO) {
        // Standard streams were closed: keep the report pipe out of their way.
        const int moved = ::fcntl(report[1], F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
        ::close(report[1]);
        if (moved < 0) {
            ::close(report[0]);
            return false;
        }
        report[1] = moved;
    }

    const pid_t child = ::fork();
    if (child < 0) {
        ::close(report[0]);
        ::close(report[1]);
        return false;
    }
    if (child == 0) {
        // The middle process: a new session, then the program as its child,
        // so that init, not the starter, reaps the program.
        ::close(report[0]);
        ::setsid();
        const pid_t program = ::fork();
        if (program < 0) {
            const int error = errno;
            ssize_t ignored = ::write(report[1], &error, sizeof error);
            (void)ignored;
            ::_exit(1);
        }
        if (program == 0)
            execChild(path.constData(), argv.data(), streams, report[1]);
        ::_exit(0);
    }

    ::close(report[1]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    // End of file without an error number: the program was executed.
    int error = 0;
    ssize_t got;
    do {
        got = ::read(report[0], &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    ::close(report[0]);
    return got == 0;
}

void isolate(QProcess &process)
{
    process.setChildProcessModifier([] {
        closeOnExecFrom(STDERR_FILENO + 1);
        defaultSignals();
    });
}

bool openDocument(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty())
        return false;
    return startDetached(opener, {path}, Streams::Null);
}

} // namespace ChildProcess
