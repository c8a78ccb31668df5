#pragma once

#include <QRect>
#include <QSize>
#include <QString>

// Which of the quick-hide pictures 0..3 the setting SuperHide chooses: its
// leading numeric part rounded to a whole number (halves to even); -1 when
// that lies outside 0..3.
int QuickHidePictureIndex(const QString &superHide);

// Whether the character typed on the quick-hide window ends the mode: it must
// equal the whole of SHKey, exactly. An empty SHKey or one of two or more
// characters never matches.
bool QuickHideKeyMatches(const QString &typed, const QString &shKey);

// Whether some typed character can ever end the mode with this SHKey.
bool QuickHideKeyUsable(const QString &shKey);

// Where the quick-hide window stands (pixels): in the bottom-right corner of
// the screen, directly above a taskbar of taskBarH pixels at the bottom.
QRect QuickHidePlacement(const QSize &screen, int taskBarH, const QSize &picture);

// The size a user's picture is shown at: unchanged when it fits the area
// above the taskbar, else scaled down, keeping its proportions, to fit it, so
// that the always-on-top window never covers the whole screen.
QSize QuickHidePictureSize(const QSize &picture, const QSize &screen, int taskBarH);
