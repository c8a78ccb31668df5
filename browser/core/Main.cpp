#include "Main.h"

#include "Twips.h"
#include "VbCompat.h"
#include "VbTimer.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {
// One property's step; returns the step taken.
float StepTowards(double &value, float target, int speed)
{
    if (speed == 0)
        return 0;
    if (value < target) {
        const float step = (target - float(value)) / speed;
        value = float(value) + step;
        return step;
    }
    if (value > target) {
        const float step = (float(value) - target) / speed;
        value = float(value) - step;
        return step;
    }
    return 0;
}
} // namespace

void SlideCtl(QWidget *ctl, float left, float top, float width, float height, int speed, VbTimer *tmr,
              const QString &tagText)
{
    if (!ctl)
        return;
    TwipsRect r = GetTwips(ctl);
    const float s1 = StepTowards(r.left, left, speed);
    const float s2 = StepTowards(r.top, top, speed);
    const float s3 = StepTowards(r.width, width, speed);
    const float s4 = StepTowards(r.height, height, speed);
    SetTwips(ctl, r);
    if (RoundHalfEven(s1) == 0 && RoundHalfEven(s2) == 0 && RoundHalfEven(s3) == 0 && RoundHalfEven(s4) == 0) {
        SetTwips(ctl, TwipsRect{left, top, width, height});
        if (tmr) {
            tmr->Tag = tagText;
            tmr->setEnabled(false);
        }
    }
}

bool IsInside(const QWidget *inner, const QWidget *outer)
{
    if (!inner || !outer)
        return false;
    const double ot = TTop(outer), oh = THeight(outer);
    const double it = TTop(inner);
    if (!(ot < it && it < ot + oh))
        return false;
    const double ib = it + THeight(inner);
    return ot < ib && ib < ot + oh;
}

int TaskBarHeight(int screenHeight, int workAreaBottom)
{
    return screenHeight - workAreaBottom;
}

int GetTaskBarH()
{
    const QScreen *s = QGuiApplication::primaryScreen();
    if (!s)
        return 0;
    const QRect full = s->geometry();
    const QRect avail = s->availableGeometry();
    // Work-area bottom relative to the screen, exclusive as the system gives it.
    const int bottom = avail.isValid() ? avail.y() - full.y() + avail.height() : 0;
    return TaskBarHeight(full.height(), bottom);
}
