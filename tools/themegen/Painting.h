#pragma once

#include <QColor>
#include <QImage>
#include <QPen>
#include <QString>

class QPainter;

namespace Painting {
// A canvas of w x h pixels filled with bg (transparent when bg is invalid).
QImage canvas(int w, int h, const QColor &bg = QColor());
// Antialiased painting with smooth pixmap transforms.
void prepare(QPainter &p);
// A pen with round caps and joins.
QPen roundPen(const QColor &c, qreal width);
// The image flattened onto bg, without alpha (bitmaps and JPEG have none).
QImage flatten(const QImage &img, const QColor &bg);
// Saves img (format "BMP", "JPG" or "PNG"), creating the folder. Prints what
// was written; false on failure.
bool save(const QImage &img, const QString &path, const char *format, int quality = -1);
// A font of the given pixel size from the Chinese UI family, falling back to
// what the system has.
QFont uiFont(qreal pixelSize, int weight = 400);
} // namespace Painting
