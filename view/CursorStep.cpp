#include "CursorStep.h"

#include "ZoomShift.h"

#include <algorithm>

namespace lumidrax {

namespace {

// Shifts while `outside` holds and the shift still moves the view.
template <typename Outside> bool ShiftWhile(TMereni& charts, ShiftDirection direction, Outside outside)
{
    bool changed = false;
    while (outside() && CanShift(charts, direction)) {
        const ViewWindow before = ViewOf(charts);
        ShiftView(charts, direction);
        if (ViewOf(charts) == before)
            break;
        changed = true;
    }
    return changed;
}

} // namespace

CursorStepResult StepActiveCursor(TMereni& charts, int delta)
{
    CursorStepResult result;
    const int i = charts.ActiveIndex;
    if (charts.ShownCount < 1 || i < 1 || i > charts.Count || !charts.Rec(i).Shown)
        return result;
    const TJednoMereni& c = charts.Rec(i);
    const int n = static_cast<int>(c.Samples.size());
    if (n < 1)
        return result;
    int k = charts.ActiveCursor;
    if (delta < 0 && k > 1)
        k = std::max(k + delta, 1);
    else if (delta > 0 && k < n)
        k = std::min(k + delta, n);
    result.Moved = k != charts.ActiveCursor;
    charts.ActiveCursor = k;
    if (k >= 1 && k <= n) {
        charts.ActiveCursorX = SampleDistance(c, k);
        charts.ActiveCursorY = c.Sample(k);
    }
    const ViewWindow before = ViewOf(charts);
    if (delta < 0 && charts.ActiveCursorX < charts.ViewXMin)
        ShiftView(charts, ShiftDirection::Left);
    if (delta > 0 && charts.ActiveCursorX > charts.ViewXMax)
        ShiftView(charts, ShiftDirection::Right);
    ShiftWhile(charts, ShiftDirection::Down, [&] { return charts.ActiveCursorY <= charts.ViewYMin; });
    ShiftWhile(charts, ShiftDirection::Up, [&] { return charts.ActiveCursorY >= charts.ViewYMax; });
    result.ViewChanged = !(ViewOf(charts) == before);
    return result;
}

} // namespace lumidrax
