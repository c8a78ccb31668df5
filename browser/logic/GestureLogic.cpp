#include "GestureLogic.h"

#include <cstdlib>

QString DirName(int d)
{
    switch (d) {
    case DirRight:
        return QStringLiteral("右");
    case DirUp:
        return QStringLiteral("上");
    case DirLeft:
        return QStringLiteral("左");
    case DirDown:
        return QStringLiteral("下");
    default:
        return QStringLiteral("无");
    }
}

int GestureDirection(int dx, int up)
{
    // 64-bit squares: a pointer jump across several screens cannot overflow.
    const long long x = dx;
    const long long y = up;
    if (x * x + y * y <= 25)
        return -1;
    const long long ax = std::llabs(x);
    const long long ay = std::llabs(y);
    if (x >= ay && x > 0)
        return DirRight;
    if (y >= ax && y > 0)
        return DirUp;
    if (ax >= ay && x < 0)
        return DirLeft;
    if (ay >= ax && y < 0)
        return DirDown;
    return -1;
}

void GestureTracker::start(const QPoint &pt)
{
    LastPt = pt;
    LastDir = -1;
    MouseSS.clear();
}

int GestureTracker::track(const QPoint &pt, bool *extended)
{
    if (extended)
        *extended = false;
    const int d = GestureDirection(pt.x() - LastPt.x(), LastPt.y() - pt.y());
    if (d < 0)
        return -1;
    LastPt = pt;
    if (d != LastDir) {
        MouseSS += DirName(d);
        LastDir = d;
        if (extended)
            *extended = true;
    }
    return d;
}

GestureAction GestureActionFor(const QString &ss)
{
    if (ss == QStringLiteral("左"))
        return GestureAction::Back;
    if (ss == QStringLiteral("右"))
        return GestureAction::Forward;
    if (ss == QStringLiteral("下左"))
        return GestureAction::CloseTab;
    if (ss == QStringLiteral("下右"))
        return GestureAction::NewTab;
    if (ss == QStringLiteral("下上") || ss == QStringLiteral("上下"))
        return GestureAction::Refresh;
    return GestureAction::None;
}

QString GestureName(const QString &ss)
{
    if (ss.isEmpty())
        return QString();
    switch (GestureActionFor(ss)) {
    case GestureAction::Back:
        return QStringLiteral("网页后退");
    case GestureAction::Forward:
        return QStringLiteral("网页前进");
    case GestureAction::CloseTab:
        return QStringLiteral("关闭标签");
    case GestureAction::NewTab:
        return QStringLiteral("新建标签");
    case GestureAction::Refresh:
        return QStringLiteral("刷新");
    case GestureAction::None:
        break;
    }
    return QStringLiteral("无动作");
}
