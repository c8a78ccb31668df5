#pragma once

#include <QPoint>
#include <QString>

// Direction codes of a gesture stroke: 0 right, 1 up, 2 left, 3 down.
enum GestureDir { DirRight = 0, DirUp = 1, DirLeft = 2, DirDown = 3 };

// The word of a direction code ("右", "上", "左", "下"; "无" for any other code).
QString DirName(int d);

// The direction of a move by dx to the right and up upwards (screen pixels);
// -1 for a move of at most 5 pixels. Exact diagonals go right when they point
// right, up when they point up-left, left when they point down-left.
int GestureDirection(int dx, int up);

// Turns pointer positions into the gesture string, one direction word per
// change of direction.
class GestureTracker
{
public:
    // A new gesture measured from pt: empty string, no direction yet.
    void start(const QPoint &pt);
    // Quantises the move from the last point to pt. Returns the direction or
    // -1 (too short; nothing changes). *extended tells whether a word was
    // appended to the string.
    int track(const QPoint &pt, bool *extended = nullptr);

    QPoint LastPt;
    int LastDir = -1;
    QString MouseSS;
};

// What a finished gesture string does.
enum class GestureAction { None, Back, Forward, CloseTab, NewTab, Refresh };

// The whole string is compared exactly; the first match of "左", "右", "下左",
// "下右", "下上", "上下" wins.
GestureAction GestureActionFor(const QString &ss);

// The name the trail window shows for a gesture string: the action's name,
// "无动作" for any other non-empty string, and an empty text for the empty
// string (the name box then keeps what it shows).
QString GestureName(const QString &ss);
