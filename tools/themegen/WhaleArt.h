#pragma once

#include <QImage>

namespace WhaleArt {
// The friendly whale of the page's error panel, 234 x 197, transparent around.
QImage whale();
} // namespace WhaleArt
