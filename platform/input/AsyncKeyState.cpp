#include "AsyncKeyState.h"

#include <QGuiApplication>
#include <QKeyEvent>

#include <set>

namespace {
std::set<int> &pressedSinceQuery()
{
    static std::set<int> s;
    return s;
}
} // namespace

AsyncKeyState *AsyncKeyState::instance()
{
    static AsyncKeyState *self = [] {
        auto *s = new AsyncKeyState;
        if (QCoreApplication::instance()) {
            s->setParent(QCoreApplication::instance());
            QCoreApplication::instance()->installEventFilter(s);
        }
        return s;
    }();
    return self;
}

int AsyncKeyState::vkFromQtKey(int qtKey)
{
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return 65 + (qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return 48 + (qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12)
        return 112 + (qtKey - Qt::Key_F1);
    if (qtKey == Qt::Key_Control)
        return 17;
    if (qtKey == Qt::Key_Shift)
        return 16;
    if (qtKey == Qt::Key_Alt)
        return 18;
    return 0;
}

void AsyncKeyState::notePressed(int vk)
{
    instance();
    pressedSinceQuery().insert(vk);
}

bool AsyncKeyState::eventFilter(QObject *watched, QEvent *e)
{
    if (e->type() == QEvent::KeyPress || e->type() == QEvent::ShortcutOverride) {
        const auto *k = static_cast<QKeyEvent *>(e);
        if (const int vk = vkFromQtKey(k->key()))
            pressedSinceQuery().insert(vk);
        if (k->modifiers() & Qt::ControlModifier)
            pressedSinceQuery().insert(17);
    }
    return QObject::eventFilter(watched, e);
}

short AsyncKeyState::query(int vk)
{
    instance();
    short v = downNow(vk) ? short(0x8000) : short(0);
    if (pressedSinceQuery().erase(vk))
        v |= 1;
    return v;
}

// The X headers define names such as KeyPress and None: they come last.
#ifdef TESSIVANE_HAVE_X11
#include <X11/Xlib.h>
#include <X11/keysym.h>
#endif

bool AsyncKeyState::downNow(int vk)
{
#ifdef TESSIVANE_HAVE_X11
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display *dpy = x11 ? x11->display() : nullptr;
    if (!dpy)
        return false;
    KeySym syms[2] = {NoSymbol, NoSymbol};
    if (vk >= 65 && vk <= 90) {
        syms[0] = XK_a + (vk - 65);
    } else if (vk >= 48 && vk <= 57) {
        syms[0] = XK_0 + (vk - 48);
    } else if (vk >= 112 && vk <= 123) {
        syms[0] = XK_F1 + (vk - 112);
    } else if (vk == 17) {
        syms[0] = XK_Control_L;
        syms[1] = XK_Control_R;
    } else if (vk == 16) {
        syms[0] = XK_Shift_L;
        syms[1] = XK_Shift_R;
    } else if (vk == 18) {
        syms[0] = XK_Alt_L;
        syms[1] = XK_Alt_R;
    }
    char keys[32] = {};
    XQueryKeymap(dpy, keys);
    for (KeySym sym : syms) {
        if (sym == NoSymbol)
            continue;
        const KeyCode kc = XKeysymToKeycode(dpy, sym);
        if (kc != 0 && (keys[kc / 8] & (1 << (kc % 8))))
            return true;
    }
    return false;
#else
    Q_UNUSED(vk);
    return false;
#endif
}
