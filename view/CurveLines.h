#pragma once
// Samples joined by straight lines, the other way of drawing a chart (the
// plain way is one dot per sample). The line runs from the last sample
// before the view to the first one after it, so that it leaves the plot at
// the edges instead of stopping at the last visible dot; samples above or
// below the level range are joined too, and the segments are cut at a
// rectangle a little larger than the plot, so that no painter sees the huge
// coordinates of a deep zoom.

#include "TMereni.h"
#include "ViewTransform.h"

#include <QLineF>

#include <vector>

namespace lumidrax {

// The segments of chart `c` in plot pixels (the dots' pixel positions as
// their end points), cut at the plot rectangle grown by `margin` pixels on
// each side. Segments wholly outside are left out, and so are those of
// zero length.
std::vector<QLineF> CurveLineSegments(const ViewTransform& view, const TJednoMereni& c, int margin);

// Cuts the segment from a to b at the rectangle [left, right] x [top, bottom]
// (Liang-Barsky); false when nothing of it lies inside.
bool ClipSegment(QPointF& a, QPointF& b, double left, double top, double right, double bottom);

} // namespace lumidrax
