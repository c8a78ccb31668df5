#pragma once

#include <QString>
#include <QStringList>

namespace ResourceArt {
// Writes the built-in pictures of the browser's windows as PNG files into dir
// and resources.qrc beside them. The names of the written files are appended to
// written. False when a file could not be written.
bool writeResources(const QString &dir, QStringList *written);
} // namespace ResourceArt
