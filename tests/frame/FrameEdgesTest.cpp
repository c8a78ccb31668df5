// Which presses on the frameless window start a resize, and which stay a
// click or a drag of the caption bar.
#include "FrameEdges.h"

#include <gtest/gtest.h>

namespace {

const QSize kWindow(900, 600);

Qt::Edges At(int x, int y, FrameSpot spot = FrameSpot::Client)
{
    return FrameResizeEdges(kWindow, QPoint(x, y), spot);
}

TEST(FrameEdges, EveryBorderAndCornerOfTheClientAreaResizes)
{
    EXPECT_EQ(At(0, 300), Qt::LeftEdge);
    EXPECT_EQ(At(4, 300), Qt::LeftEdge);
    EXPECT_EQ(At(899, 300), Qt::RightEdge);
    EXPECT_EQ(At(895, 300), Qt::RightEdge);
    EXPECT_EQ(At(450, 599), Qt::BottomEdge);
    EXPECT_EQ(At(0, 599), Qt::LeftEdge | Qt::BottomEdge);
    EXPECT_EQ(At(899, 599), Qt::RightEdge | Qt::BottomEdge);
    EXPECT_EQ(At(5, 300), Qt::Edges());
    EXPECT_EQ(At(450, 594), Qt::Edges());
    EXPECT_EQ(At(450, 300), Qt::Edges());
}

TEST(FrameEdges, ThePressOnACaptionControlIsAClickBarTheOutermostCorners)
{
    for (const QPoint p : {QPoint(5, 0), QPoint(450, 0), QPoint(894, 2), QPoint(0, 5), QPoint(0, 20), QPoint(899, 20)})
        EXPECT_EQ(FrameResizeEdges(kWindow, p, FrameSpot::CaptionControl), Qt::Edges()) << p.x() << "," << p.y();
    EXPECT_EQ(FrameResizeEdges(kWindow, QPoint(0, 0), FrameSpot::CaptionControl), Qt::TopEdge | Qt::LeftEdge);
    EXPECT_EQ(FrameResizeEdges(kWindow, QPoint(899, 4), FrameSpot::CaptionControl), Qt::TopEdge | Qt::RightEdge);
}

TEST(FrameEdges, TheCaptionBarsTopEdgeDragsExceptAtItsCorners)
{
    for (int x : {16, 100, 450, 883})
        for (int y : {0, 4})
            EXPECT_EQ(At(x, y, FrameSpot::CaptionBar), Qt::Edges()) << x << "," << y;
    EXPECT_EQ(At(0, 0, FrameSpot::CaptionBar), Qt::LeftEdge | Qt::TopEdge);
    EXPECT_EQ(At(15, 2, FrameSpot::CaptionBar), Qt::LeftEdge | Qt::TopEdge);
    EXPECT_EQ(At(884, 0, FrameSpot::CaptionBar), Qt::RightEdge | Qt::TopEdge);
    EXPECT_EQ(At(899, 4, FrameSpot::CaptionBar), Qt::RightEdge | Qt::TopEdge);
    // The caption bar's left and right edges still resize sideways.
    EXPECT_EQ(At(0, 20, FrameSpot::CaptionBar), Qt::LeftEdge);
    EXPECT_EQ(At(899, 20, FrameSpot::CaptionBar), Qt::RightEdge);
}

TEST(FrameEdges, TheTopOfAnUncoveredClientAreaResizes)
{
    // With the caption bar out of the way (nothing over the top), the top
    // border resizes along its whole length.
    EXPECT_EQ(At(450, 0), Qt::TopEdge);
    EXPECT_EQ(At(10, 0), Qt::TopEdge | Qt::LeftEdge);
}

} // namespace
