#include "ZoomShift.h"

#include <algorithm>
#include <cstdlib>

namespace lumidrax {

ViewWindow ViewOf(const TMereni& charts)
{
    return {charts.ViewXMin, charts.ViewYMin, charts.ViewXMax, charts.ViewYMax};
}

void SetView(TMereni& charts, const ViewWindow& view)
{
    charts.ViewXMin = view.XMin;
    charts.ViewYMin = view.YMin;
    charts.ViewXMax = view.XMax;
    charts.ViewYMax = view.YMax;
}

bool ZoomAtPoint(TMereni& charts, const ViewTransform& view, int px, int py, int direction)
{
    if (direction == 0 || !view.HasScales())
        return false;
    if (px < 0 || py < 0 || px >= view.PlotWidth || py >= view.PlotHeight)
        return false;
    const long double x0 = view.PixelToValue(px, Axis::X);
    const long double y0 = view.PixelToValue(py, Axis::Y);
    const long double f = direction > 0 ? kZoomInFactor : kZoomOutFactor;
    const long double left = (x0 - view.ViewXMin) * f;
    const long double right = (view.ViewXMax - x0) * f;
    const long double bottom = (y0 - view.ViewYMin) * f;
    const long double top = (view.ViewYMax - y0) * f;
    SetView(charts, {x0 - left, y0 - bottom, x0 + right, y0 + top});
    return true;
}

void ZoomToBand(TMereni& charts, const ViewTransform& view, QPoint anchor, QPoint corner)
{
    const long double x1 = view.PixelToValue(anchor.x(), Axis::X);
    const long double x2 = view.PixelToValue(corner.x(), Axis::X);
    const long double y1 = view.PixelToValue(anchor.y(), Axis::Y);
    const long double y2 = view.PixelToValue(corner.y(), Axis::Y);
    SetView(charts, {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)});
}

bool IsClickZoom(QPoint anchor, QPoint corner)
{
    return std::abs(anchor.x() - corner.x()) < kClickZoomLimit &&
           std::abs(anchor.y() - corner.y()) < kClickZoomLimit;
}

void PanView(TMereni& charts, const ViewTransform& view, long double startX, long double startY, int px,
             int py)
{
    const long double dx = startX - view.PixelToValue(px, Axis::X);
    const long double dy = startY - view.PixelToValue(py, Axis::Y);
    SetView(charts, {view.ViewXMin + dx, view.ViewYMin + dy, view.ViewXMax + dx, view.ViewYMax + dy});
}

namespace {

// Moves the range [low, high] by a third of its width towards its low end
// (or its high end), kept within [fullLow, fullHigh] on that side; the width
// stays the same.
void ShiftRange(long double& low, long double& high, long double fullLow, long double fullHigh,
                bool towardsLow)
{
    const long double width = high - low;
    if (towardsLow) {
        low = std::max(low - width / 3, fullLow);
        high = low + width;
    } else {
        high = std::min(high + width / 3, fullHigh);
        low = high - width;
    }
}

} // namespace

void ShiftView(TMereni& charts, ShiftDirection direction)
{
    switch (direction) {
    case ShiftDirection::Left:
    case ShiftDirection::Right:
        ShiftRange(charts.ViewXMin, charts.ViewXMax, charts.FullXMin, charts.FullXMax,
                   direction == ShiftDirection::Left);
        break;
    case ShiftDirection::Up:
    case ShiftDirection::Down:
        ShiftRange(charts.ViewYMin, charts.ViewYMax, charts.FullYMin, charts.FullYMax,
                   direction == ShiftDirection::Down);
        break;
    }
}

bool CanShift(const TMereni& charts, ShiftDirection direction)
{
    if (charts.ShownCount < 1)
        return false;
    switch (direction) {
    case ShiftDirection::Left:
        return charts.FullXMin < charts.ViewXMin;
    case ShiftDirection::Up:
        return charts.FullYMax > charts.ViewYMax;
    case ShiftDirection::Down:
        return charts.FullYMin < charts.ViewYMin;
    case ShiftDirection::Right:
        return charts.FullXMax > charts.ViewXMax;
    }
    return false;
}

std::array<bool, 4> ShiftStates(const TMereni& charts)
{
    return {CanShift(charts, ShiftDirection::Left), CanShift(charts, ShiftDirection::Up),
            CanShift(charts, ShiftDirection::Down), CanShift(charts, ShiftDirection::Right)};
}

void ZoomAll(TMereni& charts)
{
    charts.SetViewToFull();
}

} // namespace lumidrax
