#pragma once

#include <QString>

namespace ThemeArt {
// Writes <themes>/<name>.ini and the folder <themes>/<name>/ with the frame
// bitmaps and the navigation background. False when a file could not be written.
bool writeTheme(const QString &themesDir, const QString &name);
} // namespace ThemeArt
