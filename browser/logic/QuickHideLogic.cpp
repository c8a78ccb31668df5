#include "QuickHideLogic.h"

#include "VbCompat.h"

#include <algorithm>

int QuickHidePictureIndex(const QString &superHide)
{
    const double v = LeadingNumber(superHide);
    if (!(v > -1.0 && v < 4.0)) // also keeps huge values away from the rounding
        return -1;
    const long long k = RoundHalfEven(v);
    return (k >= 0 && k <= 3) ? static_cast<int>(k) : -1;
}

bool QuickHideKeyMatches(const QString &typed, const QString &shKey)
{
    return typed.size() == 1 && typed == shKey;
}

bool QuickHideKeyUsable(const QString &shKey)
{
    return shKey.size() == 1;
}

QRect QuickHidePlacement(const QSize &screen, int taskBarH, const QSize &picture)
{
    return QRect(screen.width() - picture.width(), screen.height() - taskBarH - picture.height(),
                 picture.width(), picture.height());
}

QSize QuickHidePictureSize(const QSize &picture, const QSize &screen, int taskBarH)
{
    const QSize area(std::max(1, screen.width()), std::max(1, screen.height() - std::max(0, taskBarH)));
    if (picture.isEmpty() || (picture.width() <= area.width() && picture.height() <= area.height()))
        return picture;
    return picture.scaled(area, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}
