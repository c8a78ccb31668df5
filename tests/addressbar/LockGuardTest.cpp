#include "LockGuard.h"

#include <QLineEdit>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

// A window with a lock panel (holding the password box), a caption bar with a
// button, and a page.
struct Window
{
    Window()
    {
        panel = new QWidget(&window);
        box = new QLineEdit(panel);
        caption = new QWidget(&window);
        button = new QWidget(caption);
        page = new QWidget(&window);
        guard = new LockGuard(&window, panel, box, caption, [this] { return locked; });
    }
    QWidget window;
    QWidget *panel, *caption, *button, *page;
    QLineEdit *box;
    QWidget other; // another top-level window (a menu, a dialog)
    LockGuard *guard;
    bool locked = true;
};

TEST(LockGuard, OnlyTheLockPanelTakesInputWhileLocked)
{
    Window w;
    const struct
    {
        QWidget *Window::*receiver;
        QEvent::Type type;
        bool blocked;
    } cases[] = {
        {&Window::page, QEvent::MouseButtonPress, true},
        {&Window::page, QEvent::MouseButtonRelease, true},
        {&Window::page, QEvent::Wheel, true},
        {&Window::page, QEvent::KeyPress, true},
        {&Window::page, QEvent::ShortcutOverride, true},
        {&Window::button, QEvent::MouseButtonRelease, true}, // caption buttons
        {&Window::button, QEvent::MouseButtonDblClick, true},
        {&Window::caption, QEvent::MouseButtonPress, false}, // dragging the window by its caption
        {&Window::caption, QEvent::MouseMove, false},
        {&Window::caption, QEvent::KeyPress, true},
        {&Window::panel, QEvent::MouseButtonPress, false},
        {&Window::panel, QEvent::KeyPress, false},
        {&Window::page, QEvent::Paint, false}, // only input is kept away
        {&Window::page, QEvent::Resize, false},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(w.guard->blocks(w.*c.receiver, c.type), c.blocked) << int(c.type);
    }
    EXPECT_FALSE(w.guard->blocks(w.box, QEvent::KeyPress));
    EXPECT_FALSE(w.guard->blocks(&w.other, QEvent::MouseButtonPress));
    EXPECT_FALSE(w.guard->blocks(&w.window, QEvent::MouseButtonPress)); // the window's own border

    w.locked = false;
    for (const auto &c : cases) {
        EXPECT_FALSE(w.guard->blocks(w.*c.receiver, c.type)) << int(c.type);
    }
}

} // namespace
