#include "PageGuard.h"

bool PageGuard::documentCreated()
{
    if (!m_renewPending)
        return false;
    m_renewPending = false;
    m_dialogs = 0;
    m_dialogsStopped = false;
    m_windowsLeft = kWindowsWithoutGesture;
    return true;
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
