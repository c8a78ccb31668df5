#include "LockGuard.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

LockGuard::LockGuard(QWidget *window, QWidget *panel, QWidget *focusTarget, std::function<bool()> locked)
    : QObject(window)
    , m_window(window)
    , m_panel(panel)
    , m_focusTarget(focusTarget)
    , m_locked(std::move(locked))
{
    qApp->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, &LockGuard::focusChanged);
}

bool LockGuard::covered(const QWidget *w) const
{
    if (!w || !m_window || !m_panel || w == m_window || w->window() != m_window)
        return false; // the window's own frame and every other window (menus, dialogs)
    // The window's child that holds w, and where it stands in the stacking
    // order against the panel (later children stand above earlier ones).
    const QWidget *top = w;
    while (top->parentWidget() && top->parentWidget() != m_window)
        top = top->parentWidget();
    if (top == m_panel)
        return false;
    const QObjectList &children = m_window->children();
    return children.indexOf(top) < children.indexOf(m_panel);
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
    if (!receiver->isWidgetType() || !m_locked || !m_locked())
        return false;
    return covered(static_cast<QWidget *>(receiver));
}

bool LockGuard::eventFilter(QObject *watched, QEvent *e)
{
    if (blocks(watched, e->type()))
        return true;
    return QObject::eventFilter(watched, e);
}

void LockGuard::focusChanged(QWidget *, QWidget *now)
{
    if (!now || !m_locked || !m_locked() || !covered(now))
        return;
    // Not from inside the focus change itself.
    QTimer::singleShot(0, this, [this] {
        if (m_focusTarget && m_locked && m_locked() && covered(QApplication::focusWidget()))
            m_focusTarget->setFocus(Qt::OtherFocusReason);
    });
}
