#pragma once

#include <QPixmap>

// The pictures that Dunmora's window and controls carry, drawn once on first
// use (a QGuiApplication must exist).
namespace DwnPictures {
QPixmap minimise();     // 32 x 32, light glyph on a transparent ground
QPixmap close();        // 32 x 32
QPixmap pause();        // 25 x 25
QPixmap resume();       // 25 x 25 (continue)
QPixmap remove();       // 25 x 25
QPixmap header();       // 80 x 71, the list's download picture
QPixmap fileFallback(); // 32 x 32, a file's icon when the desktop has none
} // namespace DwnPictures
