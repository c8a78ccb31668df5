#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>

// The quick-hide mode leaves nothing of the browser on the screen or on the
// task bar but the quick-hide picture. Enter hides every window that is shown
// (the main window, app windows, the task manager, open questions, the About
// window) and keeps hiding each one that shows up while the mode is on; Leave
// shows again those that are still open, and open questions go on waiting for
// their answer (they are shown through ExecModal, which hiding does not end).
// Windows closed meanwhile stay closed. Menus and tooltips are closed, not
// brought back; small tool windows (the gesture trail) are hidden and not
// brought back either, as they belong to the moment they were shown in.
class QuickHideWindows : public QObject
{
    Q_OBJECT
public:
    // stand: the quick-hide window, the one window that stays. Nothing
    // changes when the mode is already on.
    static void Enter(QWidget *stand);
    // Shows again the windows that are still open, in the order they were
    // hidden, dialogs above the others. Nothing happens when the mode is off.
    static void Leave();
    static bool Active();

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    explicit QuickHideWindows(QObject *parent);
    static QuickHideWindows *instance();
    // Whether w is a window that the mode hides and brings back.
    bool keeps(const QWidget *w) const;
    void remember(QWidget *w);
    void hideWindow(QWidget *w);
    void forget(const QWidget *w);

    bool m_active = false;
    QPointer<QWidget> m_stand;
    QList<QPointer<QWidget>> m_hidden;
};
