#include "Twips.h"

#include "VbCompat.h"

#include <QVariant>
#include <QWidget>

namespace {
const char *const kExact = "_twipsExact";
const char *const kPixels = "_twipsPixels";
} // namespace

int TwipsToPx(double twips)
{
    return static_cast<int>(RoundHalfEven(twips / kTwipsPerPixel));
}

double PxToTwips(int px)
{
    return px * kTwipsPerPixel;
}

TwipsRect GetTwips(const QWidget *w)
{
    if (!w)
        return {};
    const QRect g = w->geometry();
    const QVariant px = w->property(kPixels);
    if (px.isValid() && px.toRect() == g) {
        const QRectF r = w->property(kExact).toRectF();
        return {r.x(), r.y(), r.width(), r.height()};
    }
    return {PxToTwips(g.x()), PxToTwips(g.y()), PxToTwips(g.width()), PxToTwips(g.height())};
}

void SetTwips(QWidget *w, const TwipsRect &r)
{
    if (!w)
        return;
    const double width = r.width < 0 ? 0 : r.width;
    const double height = r.height < 0 ? 0 : r.height;
    const QRect g(TwipsToPx(r.left), TwipsToPx(r.top), TwipsToPx(width), TwipsToPx(height));
    // Stored before the move, so that the widget's own resize handler reads
    // the exact twips it is being given.
    w->setProperty(kExact, QRectF(r.left, r.top, width, height));
    w->setProperty(kPixels, g);
    w->setGeometry(g);
    // A widget may refuse a size (its minimum) or change it in its own resize
    // handler; unless that handler stored its own twips, read what it got.
    if (w->geometry() != g && w->property(kPixels).toRect() == g) {
        const QRect got = w->geometry();
        w->setProperty(kExact, QRectF(PxToTwips(got.x()), PxToTwips(got.y()), PxToTwips(got.width()),
                                      PxToTwips(got.height())));
        w->setProperty(kPixels, got);
    }
}

void TwipsMove(QWidget *w, double left, double top, double width, double height)
{
    TwipsRect r = GetTwips(w);
    r.left = left;
    r.top = top;
    if (width >= 0)
        r.width = width;
    if (height >= 0)
        r.height = height;
    SetTwips(w, r);
}

double TLeft(const QWidget *w) { return GetTwips(w).left; }
double TTop(const QWidget *w) { return GetTwips(w).top; }
double TWidth(const QWidget *w) { return GetTwips(w).width; }
double THeight(const QWidget *w) { return GetTwips(w).height; }

void SetTLeft(QWidget *w, double v) { TwipsRect r = GetTwips(w); r.left = v; SetTwips(w, r); }
void SetTTop(QWidget *w, double v) { TwipsRect r = GetTwips(w); r.top = v; SetTwips(w, r); }
void SetTWidth(QWidget *w, double v) { TwipsRect r = GetTwips(w); r.width = v; SetTwips(w, r); }
void SetTHeight(QWidget *w, double v) { TwipsRect r = GetTwips(w); r.height = v; SetTwips(w, r); }

double TScaleWidth(const QWidget *w) { return w ? PxToTwips(w->width()) : 0; }
double TScaleHeight(const QWidget *w) { return w ? PxToTwips(w->height()) : 0; }
