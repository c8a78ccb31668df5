#include "Mouse.h"

#include "GestureLogic.h"
#include "frmMain.h"
#include "frmMouse.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QScrollBar>

using tessivane::frmMain;
using tessivane::frmMouse;

namespace {

// The hook sees every mouse event of the program's own windows before they
// do: an application-wide event filter on the one UI thread.
class MouseHook : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    bool MouseProc(QWidget *target, QMouseEvent *me);
};

QPointer<MouseHook> g_hook;
GestureTracker g_tracker;
bool g_mouseOn = false;
QPointer<frmMouse> g_trail;
std::function<void(const QString &)> g_handler;

// Only the client area of a window starts or ends a gesture: a scroll bar
// counts as part of the frame, as do the trail window itself.
bool IsClientArea(QWidget *w)
{
    return !qobject_cast<QScrollBar *>(w) && !qobject_cast<frmMouse *>(w->window());
}

void DoMouse(const QString &ss)
{
    if (g_handler) {
        g_handler(ss);
        return;
    }
    const QWidgetList tops = QApplication::topLevelWidgets();
    for (QWidget *w : tops) {
        if (auto *main = qobject_cast<frmMain *>(w)) {
            main->DoMouse(ss);
            return;
        }
    }
}

void UnloadTrail()
{
    if (g_trail) {
        g_trail->hide();
        g_trail->deleteLater();
        g_trail = nullptr;
    }
}

bool MouseHook::eventFilter(QObject *watched, QEvent *e)
{
    const QEvent::Type t = e->type();
    if (t != QEvent::MouseMove && t != QEvent::MouseButtonPress && t != QEvent::MouseButtonRelease)
        return false;
    // Window-level copies of the same event (the native window, a page's
    // scene) come through here too: only the widget that receives it counts,
    // so that a button is seen once.
    if (!watched->isWidgetType())
        return false;
    try {
        return MouseProc(static_cast<QWidget *>(watched), static_cast<QMouseEvent *>(e));
    } catch (...) {
        // A failing step ends the hook's work; the event goes on to its window.
        return false;
    }
}

bool MouseHook::MouseProc(QWidget *target, QMouseEvent *me)
{
    if (!IsClientArea(target))
        return false;
    const QPoint pt = me->globalPosition().toPoint();
    switch (me->type()) {
    case QEvent::MouseMove:
        if (me->buttons() & Qt::MiddleButton)
            TrackGesture(pt);
        return false;
    case QEvent::MouseButtonPress:
        if (me->button() != Qt::MiddleButton)
            return false;
        g_tracker.start(pt);
        if (!g_trail)
            g_trail = new frmMouse;
        g_trail->Form_Load();
        g_trail->ClearTrail();
        g_trail->show();
        g_mouseOn = true;
        return true;
    case QEvent::MouseButtonRelease: {
        if (me->button() != Qt::MiddleButton)
            return false;
        // The action may close the very page under the pointer: it is only
        // hidden and deleted later, so the event stays safe to swallow.
        DoMouse(g_tracker.MouseSS);
        UnloadTrail();
        g_mouseOn = false;
        return true;
    }
    default:
        return false;
    }
}

} // namespace

void HookMouse()
{
    if (g_hook || !qApp)
        return;
    g_hook = new MouseHook;
    g_hook->setParent(qApp);
    qApp->installEventFilter(g_hook);
}

void UnhookMouse()
{
    if (g_hook) {
        if (qApp)
            qApp->removeEventFilter(g_hook);
        g_hook->deleteLater();
    }
    g_hook = nullptr;
    // A gesture cut short by switching gestures off would leave its trail
    // window on the screen until some later gesture ended.
    UnloadTrail();
    g_mouseOn = false;
}

bool MouseHooked()
{
    return !g_hook.isNull();
}

QString MouseGesture()
{
    return g_tracker.MouseSS;
}

bool MouseOn()
{
    return g_mouseOn;
}

void SetMouseOn(bool on)
{
    g_mouseOn = on;
}

int TrackGesture(const QPoint &pt)
{
    bool extended = false;
    const int d = g_tracker.track(pt, &extended);
    if (extended && g_trail)
        g_trail->GetMouse(g_tracker.MouseSS);
    return d;
}

void SetMouseGestureHandler(std::function<void(const QString &)> handler)
{
    g_handler = std::move(handler);
}
