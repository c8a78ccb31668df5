#pragma once

#include <QColor>

// The colours of the shipped theme "Default": a light, soft blue chrome with
// dark glyphs and dark texts (WhiteFont 0).
namespace Palette {
// Caption bar, tab strip, address bar, status bar, navigation tiles.
inline const QColor toolBar(221, 233, 248);
// The current tab; also the colour of the gesture trail, so it must show on pages.
inline const QColor tabAct(136, 182, 240);
// The other tabs: a shade below the strip, so that they read as blocks.
inline const QColor tabNrm(199, 217, 241);
// Address box, suggestion list, lock panel, navigation page; also the tabs'
// progress strip, so it must show on both tab colours.
inline const QColor main(250, 252, 255);

// Glyphs of the toolbar and window buttons.
inline const QColor glyph(37, 56, 84);
// Accent for highlights (the forward arrow while the back button is dragged).
inline const QColor accent(32, 112, 214);
// Secondary grey used by the small built-in icons.
inline const QColor muted(104, 118, 138);
} // namespace Palette
