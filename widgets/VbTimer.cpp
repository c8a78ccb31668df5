#include "VbTimer.h"

#include <algorithm>

VbTimer::VbTimer(QObject *parent, int intervalMs, bool enabled)
    : QTimer(parent)
{
    setIntervalMs(intervalMs);
    setEnabled(enabled);
}

void VbTimer::setIntervalMs(int ms)
{
    setInterval(std::max(ms, kMinInterval));
}

void VbTimer::setEnabled(bool on)
{
    if (on) {
        if (!isActive())
            start();
    } else {
        stop();
    }
}
