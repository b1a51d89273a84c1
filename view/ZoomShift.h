#pragma once
// The operations that move the view window of the chart page: zoom around a
// point, zoom to a rubber band, pan, shift by a third and zoom to all, with
// the rules for when a shift can still move. Plain functions over the
// collection's view window (ViewXMin..ViewYMax) and the plot's transform;
// the zoom commands and the plot's mouse handling call them, tests too.

#include "TMereni.h"
#include "ViewTransform.h"

#include <QPoint>

#include <array>

namespace lumidrax {

// One saved view window (the zoom memory holds these).
struct ViewWindow {
    long double XMin = 0;
    long double YMin = 0;
    long double XMax = 0;
    long double YMax = 0;
    bool operator==(const ViewWindow&) const = default;
};

ViewWindow ViewOf(const TMereni& charts);
void SetView(TMereni& charts, const ViewWindow& view);

// The shift directions, in the order of the Shift menu (its items' data
// minus kShiftTagBase).
enum class ShiftDirection { Left = 0, Up = 1, Down = 2, Right = 3 };

// Wheel and click zoom factors: zoom in multiplies the distances from the
// point to the four edges by 0.6, zoom out by 1.66666 (not exactly 1/0.6).
inline constexpr long double kZoomInFactor = 0.6L;
inline constexpr long double kZoomOutFactor = 1.66666L;
// A zoom-mode click whose band is smaller than this in both directions
// zooms in at the point instead of zooming to the band.
inline constexpr int kClickZoomLimit = 6;

// Zooms around plot pixel (px, py): direction > 0 in, < 0 out, 0 neither.
// The value under the point stays where it is. Returns false (nothing
// changed) when the point is outside the plot, the direction is 0 or the
// view has no scales. Not limited to the full extent.
bool ZoomAtPoint(TMereni& charts, const ViewTransform& view, int px, int py, int direction);

// The view becomes the rectangle between two plot pixels.
void ZoomToBand(TMereni& charts, const ViewTransform& view, QPoint anchor, QPoint corner);

// True when a zoom-mode click from `anchor` to `corner` counts as a click
// (zoom at the point) rather than a band.
bool IsClickZoom(QPoint anchor, QPoint corner);

// Pan: moves the view so that the data point (startX, startY) comes under
// plot pixel (px, py). Not limited to the full extent.
void PanView(TMereni& charts, const ViewTransform& view, long double startX, long double startY, int px,
             int py);

// Shifts the view by a third of its size, never past the full extent on
// the side it moves to (an edge already past it is set to the limit). The
// size of the view stays.
void ShiftView(TMereni& charts, ShiftDirection direction);

// Whether a shift can still move the view that way (at least one chart
// displayed and the full extent reaches further).
bool CanShift(const TMereni& charts, ShiftDirection direction);
// The four, in ShiftDirection order.
std::array<bool, 4> ShiftStates(const TMereni& charts);

// "Zoom to All": the view becomes the full extent.
void ZoomAll(TMereni& charts);

} // namespace lumidrax
