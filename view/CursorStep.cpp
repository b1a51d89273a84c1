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

// The active chart when it is displayed, else null.
const TJednoMereni* ShownActiveChart(const TMereni& charts)
{
    const int i = charts.ActiveIndex;
    if (charts.ShownCount < 1 || i < 1 || i > charts.Count || !charts.Rec(i).Shown)
        return nullptr;
    return &charts.Rec(i);
}

// Shifts the view down / up while the active cursor's level is at or below /
// above its edge; says whether the view differs from `before` afterwards.
bool FollowCursorLevel(TMereni& charts, const ViewWindow& before)
{
    ShiftWhile(charts, ShiftDirection::Down, [&] { return charts.ActiveCursorY <= charts.ViewYMin; });
    ShiftWhile(charts, ShiftDirection::Up, [&] { return charts.ActiveCursorY >= charts.ViewYMax; });
    return !(ViewOf(charts) == before);
}

} // namespace

CursorStepResult StepActiveCursor(TMereni& charts, int delta)
{
    const TJednoMereni* active = ShownActiveChart(charts);
    const int n = active ? static_cast<int>(active->Samples.size()) : 0;
    if (n < 1)
        return {};
    const TJednoMereni& c = *active;
    CursorStepResult result;
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
    result.ViewChanged = FollowCursorLevel(charts, before);
    return result;
}

CursorStepResult PlaceActiveCursor(TMereni& charts, int k)
{
    const TJednoMereni* active = ShownActiveChart(charts);
    if (!active || active->SampleCount < 1)
        return {};
    const TJednoMereni& c = *active;
    CursorStepResult result;
    k = ClampToSamples(c, k);
    result.Moved = k != charts.ActiveCursor;
    charts.ActiveCursor = k;
    charts.ActiveCursorX = SampleDistance(c, k);
    charts.ActiveCursorY = c.Sample(k);
    const ViewWindow before = ViewOf(charts);
    const long double x = charts.ActiveCursorX;
    if (x < charts.ViewXMin || x > charts.ViewXMax) {
        const long double width = charts.ViewXMax - charts.ViewXMin;
        long double from = x - width / 2;
        if (width <= charts.FullXMax - charts.FullXMin)
            from = std::clamp(from, charts.FullXMin, charts.FullXMax - width);
        charts.ViewXMin = from;
        charts.ViewXMax = from + width;
    }
    result.ViewChanged = FollowCursorLevel(charts, before);
    return result;
}

} // namespace lumidrax
