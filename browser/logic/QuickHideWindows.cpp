#include "QuickHideWindows.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QToolTip>

#include <algorithm>

QuickHideWindows::QuickHideWindows(QObject *parent)
    : QObject(parent)
{
}

QuickHideWindows *QuickHideWindows::instance()
{
    static QPointer<QuickHideWindows> self;
    if (!self && qApp)
        self = new QuickHideWindows(qApp);
    return self;
}

bool QuickHideWindows::Active()
{
    QuickHideWindows *q = instance();
    return q && q->m_active;
}

bool QuickHideWindows::keeps(const QWidget *w) const
{
    switch (w->windowType()) {
    case Qt::Popup:
    case Qt::ToolTip:
    case Qt::Desktop:
    case Qt::Tool:
    case Qt::SplashScreen:
        return false;
    default:
        return true;
    }
}

void QuickHideWindows::remember(QWidget *w)
{
    if (!keeps(w) || m_hidden.contains(w))
        return;
    m_hidden.append(w);
    // A question answered while hidden is not brought back.
    if (auto *d = qobject_cast<QDialog *>(w))
        connect(d, &QDialog::finished, this, [this, d] { forget(d); });
}

void QuickHideWindows::hideWindow(QWidget *w)
{
    remember(w);
    w->hide();
}

void QuickHideWindows::forget(const QWidget *w)
{
    m_hidden.removeIf([w](const QPointer<QWidget> &p) { return !p || p == w; });
}

void QuickHideWindows::Enter(QWidget *stand)
{
    QuickHideWindows *q = instance();
    if (!q || q->m_active)
        return;
    q->m_active = true;
    q->m_stand = stand;
    q->m_hidden.clear();
    QToolTip::hideText();
    const QWidgetList tops = QApplication::topLevelWidgets();
    for (QWidget *w : tops) {
        if (w != stand && w->isVisible())
            q->hideWindow(w);
    }
    qApp->installEventFilter(q);
}

void QuickHideWindows::Leave()
{
    QuickHideWindows *q = instance();
    if (!q || !q->m_active)
        return;
    q->m_active = false;
    qApp->removeEventFilter(q);
    QList<QPointer<QWidget>> windows = q->m_hidden;
    q->m_hidden.clear();
    // Dialogs (questions, the About window) come back above the windows they belong to.
    std::stable_partition(windows.begin(), windows.end(),
                          [](const QPointer<QWidget> &w) { return w && !qobject_cast<QDialog *>(w.data()); });
    for (const QPointer<QWidget> &w : windows) {
        if (!w)
            continue;
        w->show();
        if (w)
            w->raise();
    }
}

bool QuickHideWindows::eventFilter(QObject *watched, QEvent *e)
{
    if (!m_active || !watched->isWidgetType())
        return QObject::eventFilter(watched, e);
    auto *w = static_cast<QWidget *>(watched);
    if (!w->isWindow() || w == m_stand)
        return QObject::eventFilter(watched, e);
    if (e->type() == QEvent::Show) {
        // The window maps right after this event: hidden again at once.
        QPointer<QWidget> shown(w);
        QMetaObject::invokeMethod(
            this,
            [this, shown] {
                if (shown && m_active && shown->isVisible())
                    hideWindow(shown);
            },
            Qt::QueuedConnection);
        remember(w);
    } else if (e->type() == QEvent::Close) {
        // Closed while hidden: it stays closed.
        forget(w);
    }
    return QObject::eventFilter(watched, e);
}
