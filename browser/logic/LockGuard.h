#pragma once

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>

// While the browser is locked, keeps the keyboard and the mouse away from
// everything in the main window but the lock panel: a click on a page, the
// address bar, a tab or a window button does nothing, and the keyboard focus
// goes back into the password box whenever something else would take it.
// The caption bar's own surface still takes the mouse, so that the window can
// be dragged.
class LockGuard : public QObject
{
    Q_OBJECT
public:
    // window: the main window; panel: the lock panel; focusTarget: the
    // password box; dragSurface: a widget whose own surface stays usable.
    LockGuard(QWidget *window, QWidget *panel, QWidget *focusTarget, QWidget *dragSurface,
              std::function<bool()> locked);

    // Whether an event of this type for this receiver is kept from it while locked.
    bool blocks(QObject *receiver, QEvent::Type type) const;

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    void focusChanged(QWidget *old, QWidget *now);
    bool insidePanel(const QWidget *w) const;

    QPointer<QWidget> m_window;
    QPointer<QWidget> m_panel;
    QPointer<QWidget> m_focusTarget;
    QPointer<QWidget> m_dragSurface;
    std::function<bool()> m_locked;
};
