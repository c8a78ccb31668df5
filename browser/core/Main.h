#pragma once

#include <QString>

class QWidget;
class VbTimer;

// One glide step: moves ctl a Speed-th of the remaining distance towards the
// target rectangle (twips). When every step rounds to 0 the control is set
// exactly to the target, tmr's Tag becomes tagText and tmr stops, in this order.
void SlideCtl(QWidget *ctl, float left, float top, float width, float height, int speed, VbTimer *tmr,
              const QString &tagText);

// Whether the vertical extent of inner lies strictly inside that of outer.
bool IsInside(const QWidget *inner, const QWidget *outer);

// Height in pixels of the strip of the primary screen below its work area.
int GetTaskBarH();
// The same rule for given screen and work-area heights in pixels.
int TaskBarHeight(int screenHeight, int workAreaBottom);
