#pragma once

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>

// While the browser is locked, keeps the keyboard and the mouse away from
// what the lock panel covers: the window's controls stacked below the panel
// (the pages, the address bar, the suggestion list, the preview) take no
// click, wheel or key, and the keyboard focus goes back into the password box
// whenever one of them would take it. What stands above the panel (the
// caption bar with its buttons, tabs and drag, the app panel, the bookmarks
// panel) and every other window (the tools menu, dialogs) work as usual.
class LockGuard : public QObject
{
    Q_OBJECT
public:
    // window: the main window; panel: the lock panel, a child of window;
    // focusTarget: the password box.
    LockGuard(QWidget *window, QWidget *panel, QWidget *focusTarget, std::function<bool()> locked);

    // Whether an event of this type for this receiver is kept from it while locked.
    bool blocks(QObject *receiver, QEvent::Type type) const;

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    void focusChanged(QWidget *old, QWidget *now);
    // Whether w lies in the window under the panel (the panel itself does not).
    bool covered(const QWidget *w) const;

    QPointer<QWidget> m_window;
    QPointer<QWidget> m_panel;
    QPointer<QWidget> m_focusTarget;
    std::function<bool()> m_locked;
};
