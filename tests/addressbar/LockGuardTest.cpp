#include "LockGuard.h"

#include <QLineEdit>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

// A window stacked as the main window is: a page at the bottom, the lock
// panel (holding the password box) above it, and the caption bar with a
// button above the panel.
struct Window
{
    Window()
    {
        page = new QWidget(&window);
        field = new QLineEdit(page);
        panel = new QWidget(&window);
        box = new QLineEdit(panel);
        caption = new QWidget(&window);
        button = new QWidget(caption);
        guard = new LockGuard(&window, panel, box, [this] { return locked; });
    }
    QWidget window;
    QWidget *panel, *caption, *button, *page;
    QLineEdit *box, *field;
    QWidget other; // another top-level window (a menu, a dialog)
    LockGuard *guard;
    bool locked = true;
};

TEST(LockGuard, OnlyWhatThePanelCoversIsKeptFromInput)
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
        // the caption bar above the panel: its buttons, its drag, its keys
        {&Window::button, QEvent::MouseButtonPress, false},
        {&Window::button, QEvent::MouseButtonRelease, false},
        {&Window::button, QEvent::MouseButtonDblClick, false},
        {&Window::caption, QEvent::MouseButtonPress, false},
        {&Window::caption, QEvent::MouseMove, false},
        {&Window::caption, QEvent::KeyPress, false},
        {&Window::panel, QEvent::MouseButtonPress, false},
        {&Window::panel, QEvent::KeyPress, false},
        {&Window::page, QEvent::Paint, false}, // only input is kept away
        {&Window::page, QEvent::Resize, false},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(w.guard->blocks(w.*c.receiver, c.type), c.blocked) << int(c.type);
    }
    EXPECT_TRUE(w.guard->blocks(w.field, QEvent::KeyPress)); // inside a covered control
    EXPECT_FALSE(w.guard->blocks(w.box, QEvent::KeyPress));
    EXPECT_FALSE(w.guard->blocks(&w.other, QEvent::MouseButtonPress));
    EXPECT_FALSE(w.guard->blocks(&w.window, QEvent::MouseButtonPress)); // the window's own border

    // the stacking decides: a control raised above the panel is not covered
    // by it, one lowered under it is
    w.page->raise();
    EXPECT_FALSE(w.guard->blocks(w.field, QEvent::MouseButtonPress));
    w.caption->lower();
    EXPECT_TRUE(w.guard->blocks(w.button, QEvent::MouseButtonPress));

    w.locked = false;
    for (const auto &c : cases) {
        EXPECT_FALSE(w.guard->blocks(w.*c.receiver, c.type)) << int(c.type);
    }
}

} // namespace
