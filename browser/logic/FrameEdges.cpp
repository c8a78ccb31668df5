#include "FrameEdges.h"

Qt::Edges FrameResizeEdges(const QSize &window, const QPoint &p, FrameSpot spot)
{
    const bool left = p.x() < kFrameBorderPx;
    const bool right = p.x() >= window.width() - kFrameBorderPx;
    const bool top = p.y() < kFrameBorderPx;
    // The window's two top corners lie on caption buttons; their outermost
    // square still resizes, as a corner of a sizing border does.
    if (top && (left || right))
        return Qt::TopEdge | (left ? Qt::LeftEdge : Qt::RightEdge);
    if (spot == FrameSpot::CaptionControl)
        return {};
    Qt::Edges edges;
    if (left)
        edges |= Qt::LeftEdge;
    if (right)
        edges |= Qt::RightEdge;
    if (p.y() >= window.height() - kFrameBorderPx)
        edges |= Qt::BottomEdge;
    if (top) {
        const bool corner = p.x() < kFrameCornerPx || p.x() >= window.width() - kFrameCornerPx;
        if (spot != FrameSpot::CaptionBar || corner) {
            edges |= Qt::TopEdge;
            // A corner of the top edge resizes both ways.
            if (p.x() < kFrameCornerPx)
                edges |= Qt::LeftEdge;
            else if (p.x() >= window.width() - kFrameCornerPx)
                edges |= Qt::RightEdge;
        }
    }
    return edges;
}
