#pragma once

#include <QRectF>

class QWidget;

// The window layout is written in twips, 15 to a pixel, so that the numbers
// read like the design. A widget placed through these helpers remembers its
// exact rectangle in twips (as floats), so that a glide whose positions the
// screen rounds to pixels still arrives; when the widget was moved by other
// means, its pixel geometry is read instead.
constexpr double kTwipsPerPixel = 15.0;

int TwipsToPx(double twips);
double PxToTwips(int px);

struct TwipsRect
{
    double left = 0, top = 0, width = 0, height = 0;
};

TwipsRect GetTwips(const QWidget *w);
void SetTwips(QWidget *w, const TwipsRect &r);

// Move with the optional parts of the system's Move: a negative width or
// height keeps the current one.
void TwipsMove(QWidget *w, double left, double top, double width = -1, double height = -1);

double TLeft(const QWidget *w);
double TTop(const QWidget *w);
double TWidth(const QWidget *w);
double THeight(const QWidget *w);
void SetTLeft(QWidget *w, double v);
void SetTTop(QWidget *w, double v);
void SetTWidth(QWidget *w, double v);
void SetTHeight(QWidget *w, double v);

// Client size of a window in twips (the layout's ScaleWidth and ScaleHeight).
double TScaleWidth(const QWidget *w);
double TScaleHeight(const QWidget *w);
