#pragma once

#include <QObject>

class KeyStateImpl;

// The key state for the hotkey poll. Keys are named by the system's
// virtual-key numbers (17 Ctrl, 65-90 the letters, 112-123 F1-F12).
//
// A key counts when it is down now (read from the desktop, so it holds while
// another program has the keyboard) or when it was pressed in one of this
// program's windows since the previous query, so that a key tapped between two
// polls still counts once. Presses are seen by a filter on the whole
// application: they count whichever widget has the focus, the page included.
class AsyncKeyState : public QObject
{
    Q_OBJECT
public:
    // 0x8000 when vk is down now, | 1 when it was pressed since the previous
    // query of vk; 0 otherwise.
    static short query(int vk);

    // Ctrl together with vk: both are down now, or vk was pressed while Ctrl
    // was held since the previous query of this combination. A Ctrl tapped on
    // its own and a letter tapped after it do not make a combination.
    static bool queryCtrl(int vk);

    // One of this program's windows is the active window.
    static bool ownWindowActive();

    // The virtual-key number of a Qt key; 0 when it has none.
    static int vkFromQtKey(int qtKey);

    // nullptr restores the desktop's. The caller keeps ownership.
    static void setImpl(KeyStateImpl *impl);
    static KeyStateImpl *impl();

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    AsyncKeyState() = default;
    static AsyncKeyState *instance();
};
