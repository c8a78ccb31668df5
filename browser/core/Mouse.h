#pragma once

#include <QString>

#include <functional>

class QPoint;

// The mouse-gesture hook: follows drags with the middle button over the
// browser's own windows (pages included), shows the trail window and hands
// the finished string of direction words to frmMain::DoMouse. Installing
// twice keeps one hook.
void HookMouse();
void UnhookMouse();
bool MouseHooked();

// The gesture state: the string drawn so far and whether the middle button
// is held since a gesture start.
QString MouseGesture();
bool MouseOn();
void SetMouseOn(bool on);

// Quantises the move to pt (screen pixels) and extends the gesture; returns
// the direction code or -1.
int TrackGesture(const QPoint &pt);

// Where finished gestures go; empty (the default) hands them to the main window.
void SetMouseGestureHandler(std::function<void(const QString &)> handler);
