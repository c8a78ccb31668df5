#include "TerminationSignal.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace {
int g_writeFd = -1;
volatile sig_atomic_t g_terms = 0;

extern "C" void onSigTerm(int)
{
    const int saved = errno;
    if (++g_terms > 1)
        _exit(128 + SIGTERM);
    const char byte = 1;
    (void)!::write(g_writeFd, &byte, 1);
    errno = saved;
}
} // namespace

TerminationSignal::TerminationSignal(std::function<void()> onTerm, int readFd, QObject *parent)
    : QObject(parent), m_onTerm(std::move(onTerm)), m_readFd(readFd)
{
    m_notifier = new QSocketNotifier(qintptr(readFd), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignal::readPipe);
}

bool TerminationSignal::install(std::function<void()> onTerm)
{
    if (g_writeFd >= 0)
        return false;
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    g_writeFd = fds[1];
    new TerminationSignal(std::move(onTerm), fds[0], QCoreApplication::instance());

    struct sigaction sa = {};
    sa.sa_handler = onSigTerm;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    return ::sigaction(SIGTERM, &sa, nullptr) == 0;
}

void TerminationSignal::readPipe()
{
    char buf[16];
    while (::read(m_readFd, buf, sizeof buf) > 0) {
    }
    if (m_handled)
        return;
    m_handled = true;
    if (m_onTerm)
        m_onTerm();
}
