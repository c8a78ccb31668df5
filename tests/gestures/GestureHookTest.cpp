// The gesture hook on plain windows: which mouse events it takes, the string
// it hands on, the trail window's life and what it shows.
#include "Mouse.h"
#include "frmMouse.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <QVBoxLayout>

using tessivane::frmMouse;

namespace {

// Counts the mouse events that reach it past the hook.
class Target : public QWidget
{
public:
    using QWidget::QWidget;
    int presses = 0, releases = 0;

protected:
    void mousePressEvent(QMouseEvent *) override { ++presses; }
    void mouseReleaseEvent(QMouseEvent *) override { ++releases; }
};

frmMouse *TrailWindow()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *m = qobject_cast<frmMouse *>(w); m && m->isVisible())
            return m;
    }
    return nullptr;
}

class GestureHook : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window.resize(400, 300);
        window.move(0, 0);
        auto *layout = new QVBoxLayout(&window);
        target = new Target(&window);
        bar = new QScrollBar(Qt::Horizontal, &window);
        layout->addWidget(target, 1);
        layout->addWidget(bar);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        SetMouseGestureHandler([this](const QString &ss) { done.append(ss); });
        HookMouse();
    }
    void TearDown() override
    {
        UnhookMouse();
        SetMouseGestureHandler(nullptr);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // Sends one mouse event to w at the local point; true when the hook took it.
    bool send(QWidget *w, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons, QPoint local)
    {
        QMouseEvent e(type, QPointF(local), QPointF(w->mapToGlobal(local)), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
        return e.isAccepted() && type != QEvent::MouseMove;
    }
    void press(QWidget *w, QPoint p) { send(w, QEvent::MouseButtonPress, Qt::MiddleButton, Qt::MiddleButton, p); }
    void move(QWidget *w, QPoint p) { send(w, QEvent::MouseMove, Qt::NoButton, Qt::MiddleButton, p); }
    void release(QWidget *w, QPoint p) { send(w, QEvent::MouseButtonRelease, Qt::MiddleButton, Qt::NoButton, p); }

    QWidget window;
    Target *target = nullptr;
    QScrollBar *bar = nullptr;
    QStringList done;
};

} // namespace

TEST_F(GestureHook, MiddleDragGivesItsStringAndTheWindowNeverSeesTheButton)
{
    press(target, {100, 50});
    EXPECT_TRUE(MouseOn());
    frmMouse *trail = TrailWindow();
    ASSERT_NE(trail, nullptr);
    EXPECT_EQ(trail->lblTxt->text(), QStringLiteral("Txt"));
    move(target, {100, 90});
    EXPECT_EQ(trail->lblTxt->text(), QStringLiteral("无动作"));
    move(target, {150, 92});
    EXPECT_EQ(trail->lblTxt->text(), QStringLiteral("新建标签"));
    release(target, {150, 92});
    EXPECT_EQ(done, QStringList{QStringLiteral("下右")});
    EXPECT_FALSE(MouseOn());
    EXPECT_EQ(target->presses, 0);
    EXPECT_EQ(target->releases, 0);
    EXPECT_EQ(TrailWindow(), nullptr);
}

TEST_F(GestureHook, AClickWithoutAStrokeGivesTheEmptyString)
{
    press(target, {100, 50});
    move(target, {103, 54});
    EXPECT_EQ(TrailWindow()->lblTxt->text(), QStringLiteral("Txt"));
    release(target, {103, 54});
    EXPECT_EQ(done, QStringList{QString()});
}

TEST_F(GestureHook, OtherButtonsAndMovesWithoutTheMiddleButtonPassThrough)
{
    send(target, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {10, 10});
    send(target, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, {10, 10});
    EXPECT_EQ(target->presses, 1);
    EXPECT_EQ(target->releases, 1);
    press(target, {100, 50});
    send(target, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, {10, 50}); // not the middle button
    release(target, {10, 50});
    EXPECT_EQ(done, QStringList{QString()});
}

TEST_F(GestureHook, AScrollBarStartsNoGesture)
{
    press(bar, {5, 5});
    EXPECT_FALSE(MouseOn());
    EXPECT_EQ(TrailWindow(), nullptr);
    release(bar, {5, 5});
    EXPECT_TRUE(done.isEmpty());
}

TEST_F(GestureHook, AReleaseWithoutItsPressRepeatsTheLastString)
{
    press(target, {100, 100});
    move(target, {60, 100});
    release(target, {60, 100});
    release(target, {60, 100}); // the second click of a double click
    EXPECT_EQ(done, (QStringList{QStringLiteral("左"), QStringLiteral("左")}));
    EXPECT_FALSE(MouseOn());
}

TEST_F(GestureHook, InstallingTwiceKeepsOneHookAndUnhookingEndsTheGesture)
{
    HookMouse();
    EXPECT_TRUE(MouseHooked());
    press(target, {100, 100});
    move(target, {100, 50});
    release(target, {100, 50});
    EXPECT_EQ(done.size(), 1); // one hook: the release is handed on once

    press(target, {100, 100});
    ASSERT_NE(TrailWindow(), nullptr);
    UnhookMouse();
    EXPECT_FALSE(MouseHooked());
    EXPECT_FALSE(MouseOn());
    EXPECT_EQ(TrailWindow(), nullptr); // no trail left on the screen
    release(target, {100, 100});
    EXPECT_EQ(done.size(), 1);
    EXPECT_EQ(target->releases, 1);
}

TEST_F(GestureHook, AWindowClosedDuringTheGestureDoesNotStopIt)
{
    auto *other = new Target;
    other->resize(200, 200);
    other->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(other));
    press(other, {100, 100});
    move(other, {40, 100});
    other->close();
    delete other;
    release(target, {40, 100});
    EXPECT_EQ(done, QStringList{QStringLiteral("左")});
    EXPECT_EQ(TrailWindow(), nullptr);
}

TEST(GestureTrail, FollowsThePointerWithTheNameBelowIt)
{
    frmMouse trail;
    trail.Form_Load();
    trail.ClearTrail();
    trail.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&trail));
    EXPECT_TRUE(trail.testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_TRUE(trail.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(trail.windowFlags() & Qt::WindowTransparentForInput);
    EXPECT_EQ(trail.picTxt->size(), QSize(81, 41));
    QCursor::setPos(200, 150);
    trail.tmrMouse_Timer();
    QCursor::setPos(260, 150);
    trail.tmrMouse_Timer();
    const QPoint at = QCursor::pos() - trail.geometry().topLeft();
    EXPECT_EQ(trail.picTxt->pos(), at + QPoint(0, 24));
    ASSERT_FALSE(trail.Trail().isEmpty());
    EXPECT_EQ(trail.Trail().last().p2(), at);
    // Only the trail and the name box belong to the window's shape.
    EXPECT_TRUE(trail.mask().contains(at));
    EXPECT_TRUE(trail.mask().contains(trail.picTxt->geometry().center()));
    EXPECT_FALSE(trail.mask().contains(at + QPoint(0, -100)));
    trail.ClearTrail();
    EXPECT_TRUE(trail.Trail().isEmpty());
    trail.GetMouse(QString());
    EXPECT_EQ(trail.lblTxt->text(), QStringLiteral("Txt"));
    trail.GetMouse(QStringLiteral("上下"));
    EXPECT_EQ(trail.lblTxt->text(), QStringLiteral("刷新"));
}
