#pragma once
// Where a cursor goes on the plot: the segments of its vertical line with
// the arrow head at the foot, the marker round the sample pixel (the active
// cursor's ring, the reference cursor's square), the active cursor's level
// arrow at the left edge, and the rectangles all of these cover. The
// renderer paints from it and the plot widget computes its repaint region
// from it, so the two always agree.
//
//   active cursor                 reference cursor
//        |                              :
//   <----o  (x, y)                      #  (x, y)
//        |                              :
//       \|/  foot at the bottom row    \:/

#include "PixelLines.h"
#include "ViewTransform.h"

#include <QRect>

#include <array>
#include <vector>

namespace lumidrax {

// The arrow heads at the foot of the cursor line and at the left edge: two
// barbs reaching this far sideways ...
inline constexpr int kCursorArrowHalfWidth = 4;
// ... from this far back along the line.
inline constexpr int kCursorArrowLength = 7;
// The active cursor's level line runs from the left edge this far in.
inline constexpr int kCursorLevelLineLength = 12;
// The active cursor's ring reaches this far from the sample pixel.
inline constexpr int kCursorRingRadius = 3;
// The reference cursor's square frame reaches this far from the sample
// pixel; its filling this far.
inline constexpr int kCursorSquareHalf = 4;
inline constexpr int kCursorSquareFillHalf = 1;
// The repaint region of a cursor reaches this far beyond its pixels.
inline constexpr int kCursorRepaintMargin = 1;

// A straight one-pixel line from (X1, Y1) to (X2, Y2), end point not
// painted (as AppendLinePixels draws it).
struct CursorSegment {
    int X1 = 0;
    int Y1 = 0;
    int X2 = 0;
    int Y2 = 0;
};

struct CursorGeometry {
    enum class Kind { Active, Reference };

    Kind Type = Kind::Active;
    // The sample pixel the cursor points at, in plot pixels.
    int X = 0;
    int Y = 0;
    // Height of the plot: the line runs from row 0 down to the bottom row.
    int PlotHeight = 0;

    // The cursors `charts` shows in view `v`: the active cursor when the
    // active chart is displayed, then the reference cursor; a cursor whose
    // chart or sample does not exist is left out.
    static std::vector<CursorGeometry> OnPlot(const TMereni& charts, const ViewTransform& v);

    // The vertical line through X (painted solid for the active cursor,
    // dotted for the reference cursor) and the two barbs of its arrow head,
    // whose tip is on the bottom row.
    std::array<CursorSegment, 3> LineSegments() const;
    // The active cursor's level line at Y from the left edge and its two
    // barbs; nothing for the reference cursor.
    std::vector<CursorSegment> LevelSegments() const;
    // The marker's outline (ring or square frame) and its filling (the
    // centre pixel or the 3 x 3 square inside the frame).
    std::vector<Pixel> MarkerPixels() const;
    std::vector<Pixel> MarkerFill() const;

    // Rectangles holding every pixel of the line with its arrow head, of the
    // marker with its filling, and of the level arrow (empty for the
    // reference cursor). They may reach outside the plot.
    QRect LineBounds() const;
    QRect MarkerBounds() const;
    QRect LevelBounds() const;
    // The three rectangles grown by kCursorRepaintMargin and clipped to
    // `plot`: what must be repainted where the cursor is or was.
    std::vector<QRect> RepaintRects(const QRect& plot) const;
};

} // namespace lumidrax
