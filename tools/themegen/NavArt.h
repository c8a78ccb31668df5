#pragma once

#include <QString>

namespace NavArt {
// Writes <data>/OrvNav.ini with the nine shipped tiles and their thumbnails
// <data>/NavPic/n1.bmp ... n9.bmp. False when a file could not be written.
bool writeNavigation(const QString &dataDir);
} // namespace NavArt
