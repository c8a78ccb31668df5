#include "AsyncKeyState.h"

#include "XKeyState.h"

#include <QCoreApplication>
#include <QKeyEvent>

#include <set>

namespace {
constexpr int kCtrl = 17;

// Keys pressed in this program's windows since their last query.
std::set<int> &pressedSinceQuery()
{
    static std::set<int> s;
    return s;
}

// Keys pressed with Ctrl held since the last query of their combination.
std::set<int> &pressedWithCtrl()
{
    static std::set<int> s;
    return s;
}

KeyStateImpl *&current()
{
    static KeyStateImpl *impl = nullptr;
    return impl;
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

void AsyncKeyState::setImpl(KeyStateImpl *impl)
{
    current() = impl;
}

KeyStateImpl *AsyncKeyState::impl()
{
    static XKeyState real;
    return current() ? current() : &real;
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
        return kCtrl;
    if (qtKey == Qt::Key_Shift)
        return 16;
    if (qtKey == Qt::Key_Alt)
        return 18;
    return 0;
}

bool AsyncKeyState::eventFilter(QObject *watched, QEvent *e)
{
    // One key press reaches the filter several times (as a shortcut override,
    // and once for each widget it is passed on to): the marks are sets. The
    // presses that a held key repeats are not marked: the key state reports a
    // held key, and a repeat just before the release would count once more.
    if (e->type() == QEvent::KeyPress || e->type() == QEvent::ShortcutOverride) {
        const auto *k = static_cast<QKeyEvent *>(e);
        if (k->isAutoRepeat())
            return QObject::eventFilter(watched, e);
        const int vk = vkFromQtKey(k->key());
        if (vk)
            pressedSinceQuery().insert(vk);
        if (k->modifiers() & Qt::ControlModifier) {
            pressedSinceQuery().insert(kCtrl);
            if (vk && vk != kCtrl)
                pressedWithCtrl().insert(vk);
        }
    }
    return QObject::eventFilter(watched, e);
}

short AsyncKeyState::query(int vk)
{
    instance();
    short v = impl()->downNow(vk) ? short(0x8000) : short(0);
    if (pressedSinceQuery().erase(vk))
        v |= 1;
    return v;
}

bool AsyncKeyState::queryCtrl(int vk)
{
    instance();
    const bool tapped = pressedWithCtrl().erase(vk) > 0;
    return tapped || (impl()->downNow(kCtrl) && impl()->downNow(vk));
}

bool AsyncKeyState::ownWindowActive()
{
    instance();
    return impl()->ownWindowActive();
}
