#include "PageGuard.h"

void PageGuard::browserNavigates()
{
    m_dialogs = 0;
    m_dialogsStopped = false;
    m_windowsLeft = kWindowsWithoutGesture;
}

bool PageGuard::countDialog()
{
    if (m_dialogs < 2)
        ++m_dialogs;
    return m_dialogs >= 2;
}

bool PageGuard::allowWindow(bool userGesture)
{
    if (userGesture)
        return true;
    if (m_windowsLeft <= 0)
        return false;
    --m_windowsLeft;
    return true;
}
