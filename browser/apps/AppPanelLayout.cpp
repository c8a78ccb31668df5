#include "AppPanelLayout.h"

#include "VbCompat.h"

AppIconGrid AppGridFor(double panelWidth, double panelHeight, double twipsPerPixel)
{
    AppIconGrid g;
    g.s = RoundHalfEven(48 * twipsPerPixel);
    g.h = RoundHalfEven((panelWidth - 5 * g.s) / 6);
    g.v = RoundHalfEven((panelHeight - 3 * g.s) / 4);
    return g;
}

namespace {
int Column(int k)
{
    const int c = k % 5;
    return c == 0 ? 5 : c;
}
int Row(int k)
{
    return k / 5 + 1 - (k % 5 == 0 ? 1 : 0);
}
} // namespace

double AppIconLeft(int k, const AppIconGrid &g)
{
    const int c = Column(k);
    return c * g.h + (c - 1) * g.s;
}

double AppIconTop(int k, const AppIconGrid &g)
{
    const int r = Row(k);
    return r * g.v + (r - 1) * g.s;
}
