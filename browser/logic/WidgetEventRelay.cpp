#include "WidgetEventRelay.h"

#include "VbWidgets.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

WidgetEventRelay::WidgetEventRelay(QWidget *watched)
    : QObject(watched)
{
    watched->installEventFilter(this);
}

int WidgetEventRelay::KeyCode(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: return 9;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Delete: return 46;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    default: break;
    }
    if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z))
        return qtKey;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return 112 + (qtKey - Qt::Key_F1);
    return 0;
}

int WidgetEventRelay::KeyAscii(const QKeyEvent *e)
{
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)
        return 13;
    const QString t = e->text();
    return t.isEmpty() ? 0 : t.at(0).unicode();
}

bool WidgetEventRelay::eventFilter(QObject *watched, QEvent *e)
{
    switch (e->type()) {
    case QEvent::KeyPress:
        if (m_keyPress) {
            auto *k = static_cast<QKeyEvent *>(e);
            int ascii = KeyAscii(k);
            if (ascii != 0) {
                m_keyPress(ascii);
                if (ascii == 0)
                    return true;
            }
        }
        break;
    case QEvent::KeyRelease:
        if (m_keyUp) {
            auto *k = static_cast<QKeyEvent *>(e);
            if (k->isAutoRepeat())
                return true;
            m_keyUp(KeyCode(k->key()), VbShift(k->modifiers()));
        }
        break;
    case QEvent::MouseButtonRelease:
        if (m_click) {
            auto *m = static_cast<QMouseEvent *>(e);
            auto *w = qobject_cast<QWidget *>(watched);
            if (m->button() == Qt::LeftButton && w && w->rect().contains(m->position().toPoint()))
                m_click();
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, e);
}
