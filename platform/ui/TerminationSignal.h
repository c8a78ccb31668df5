#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

// SIGTERM as an event of the user-interface thread: the signal handler only
// writes one byte into a pipe, and a socket notifier on the pipe's other end
// runs the reaction in the event loop, also inside a nested one (a modal
// dialog). A second SIGTERM while the first is handled ends the process at once.
class TerminationSignal : public QObject
{
    Q_OBJECT
public:
    // Installs the handler; onTerm runs on the thread that calls install.
    // False when the pipe or the handler cannot be set up (SIGTERM then keeps
    // its default action).
    static bool install(std::function<void()> onTerm);

private:
    explicit TerminationSignal(std::function<void()> onTerm, int readFd, QObject *parent);
    void readPipe();

    std::function<void()> m_onTerm;
    QSocketNotifier *m_notifier = nullptr;
    int m_readFd = -1;
    bool m_handled = false;
};
