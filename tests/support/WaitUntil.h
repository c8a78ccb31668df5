#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>

// Runs the event loop until pred holds or ms have passed; true when it held.
// Unlike QTest::qWaitFor it never sleeps between turns of the loop: the web
// engine's work hops through the loop many times for every page, and a pause
// at each hop makes a page take seconds instead of milliseconds. A timer
// wakes the loop now and then, so that a condition no event announces is
// seen too.
template<typename Pred>
bool WaitUntil(Pred pred, int ms = 5000)
{
    QDeadlineTimer deadline(ms);
    QTimer wake;
    wake.start(10);
    while (!pred()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return true;
}
