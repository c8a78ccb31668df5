#pragma once

#include <QObject>

#include <functional>

class QKeyEvent;
class QWidget;

// Hands a text box's key and click events to the window's handlers in the
// form they are written for: KeyPress with the character code (13 for Enter),
// which the handler may set to 0 to swallow the key; KeyUp with the key code
// (13 Enter, 38 up, 40 down, letters and digits as their upper-case
// character); Click after a left-button release inside the box.
// Releases that X11 repeats while a key is held are not passed on: a held key
// is released once, as the handlers expect.
class WidgetEventRelay : public QObject
{
    Q_OBJECT
public:
    using KeyPressFn = std::function<void(int &keyAscii)>;
    using KeyUpFn = std::function<void(int keyCode, int shift)>;
    using ClickFn = std::function<void()>;

    explicit WidgetEventRelay(QWidget *watched);

    void setKeyPress(KeyPressFn f) { m_keyPress = std::move(f); }
    void setKeyUp(KeyUpFn f) { m_keyUp = std::move(f); }
    void setClick(ClickFn f) { m_click = std::move(f); }

    // The key code of a Qt key (0 for keys the handlers do not know).
    static int KeyCode(int qtKey);
    // The character code of a key press (13 for Enter, 0 when it types nothing).
    static int KeyAscii(const QKeyEvent *e);

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    KeyPressFn m_keyPress;
    KeyUpFn m_keyUp;
    ClickFn m_click;
};
