#pragma once

#include <QObject>

// The state of a key for a poll that runs whatever window has the focus.
// Keys are named by the system's virtual-key numbers (17 Ctrl, 65-90 the
// letters, 112-123 F1-F12). The value is non-zero when the key is down now
// (0x8000; read from the X server's keymap, so it holds while another
// program has the keyboard) or when it was pressed in one of this program's
// windows since the previous query of that key (1), so that a key tapped
// between two polls still counts once.
class AsyncKeyState : public QObject
{
    Q_OBJECT
public:
    static short query(int vk);

    // The virtual-key number of a Qt key; 0 when it has none.
    static int vkFromQtKey(int qtKey);

    // For tests: marks vk as pressed since the last query.
    static void notePressed(int vk);

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    AsyncKeyState() = default;
    static AsyncKeyState *instance();
    static bool downNow(int vk);
};
