#include "XKeyState.h"

#include <QGuiApplication>
#include <QTimer>
#include <QWindow>

#include <cstring>

bool XKeyState::ownWindowActive()
{
    return QGuiApplication::focusWindow() != nullptr;
}

// The X headers define names such as KeyPress and None: they come last.
#ifdef TESSIVANE_HAVE_X11
#include <X11/Xlib.h>
#include <X11/keysym.h>
#endif

bool XKeyState::downNow(int vk)
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
    // One poll asks for several keys in a row: the keymap is read from the
    // server once and serves every question until the event loop comes round.
    static char keys[32];
    static bool fresh = false;
    if (!fresh) {
        std::memset(keys, 0, sizeof keys);
        XQueryKeymap(dpy, keys);
        fresh = true;
        QTimer::singleShot(0, qGuiApp, [] { fresh = false; });
    }
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
