#include "LockGuard.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

LockGuard::LockGuard(QWidget *window, QWidget *panel, QWidget *focusTarget, QWidget *dragSurface,
                     std::function<bool()> locked)
    : QObject(window)
    , m_window(window)
    , m_panel(panel)
    , m_focusTarget(focusTarget)
    , m_dragSurface(dragSurface)
    , m_locked(std::move(locked))
{
    qApp->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, &LockGuard::focusChanged);
}

bool LockGuard::insidePanel(const QWidget *w) const
{
    for (const QWidget *p = w; p; p = p->parentWidget()) {
        if (p == m_panel)
            return true;
    }
    return false;
}

bool LockGuard::blocks(QObject *receiver, QEvent::Type type) const
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        break;
    default:
        return false;
    }
    if (!receiver->isWidgetType() || !m_window || !m_locked || !m_locked())
        return false;
    auto *w = static_cast<QWidget *>(receiver);
    if (w == m_window || w->window() != m_window)
        return false; // the window's own frame and every other window (menus, dialogs)
    if (insidePanel(w))
        return false;
    if (w == m_dragSurface) {
        const bool key = type == QEvent::KeyPress || type == QEvent::KeyRelease || type == QEvent::ShortcutOverride;
        return key;
    }
    return true;
}

bool LockGuard::eventFilter(QObject *watched, QEvent *e)
{
    if (blocks(watched, e->type()))
        return true;
    return QObject::eventFilter(watched, e);
}

void LockGuard::focusChanged(QWidget *, QWidget *now)
{
    if (!now || !m_window || !m_locked || !m_locked())
        return;
    if (now->window() != m_window || insidePanel(now))
        return;
    // Not from inside the focus change itself.
    QTimer::singleShot(0, this, [this] {
        if (m_focusTarget && m_locked && m_locked() && !insidePanel(QApplication::focusWidget()))
            m_focusTarget->setFocus(Qt::OtherFocusReason);
    });
}
