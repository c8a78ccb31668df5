#pragma once

#include <QPoint>
#include <QSize>
#include <Qt>

// The window has no frame of its own: its outermost pixels act as the sizing
// border. What lies under a press decides whether it may start a resize.
enum class FrameSpot {
    Client,         // the page, panels, the status bar
    CaptionBar,     // the bare caption bar, which drags the window
    CaptionControl, // a button or tab on the caption bar, which is clicked
};

// Width in pixels of the sizing border, and the length of each corner along
// the top edge, the only part of the caption bar's top that resizes.
constexpr int kFrameBorderPx = 5;
constexpr int kFrameCornerPx = 16;

// The edges that a press at p (window coordinates) resizes. A press on a
// caption control is a click, except in the window's outermost corner
// squares; along the caption bar's top only the two corners resize, so that
// a press there still drags the window.
Qt::Edges FrameResizeEdges(const QSize &window, const QPoint &p, FrameSpot spot);
