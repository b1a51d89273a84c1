#include "CursorTracking.h"

#include <cmath>
#include <limits>

namespace lumidrax {
namespace {

bool IsChart(const TMereni& charts, int i)
{
    return i >= 1 && i <= charts.Count;
}

bool IsDisplayed(const TMereni& charts, int i)
{
    return IsChart(charts, i) && charts.Rec(i).Shown;
}

int SampleCount(const TJednoMereni& c)
{
    // The vector and the count are kept in step; the smaller one is the
    // safe one to index with.
    const int held = static_cast<int>(c.Samples.size());
    return c.SampleCount < held ? c.SampleCount : held;
}

// Active chart i with cursor index k; the cursor X/Y follow the index. A
// chart without samples gets no cursor (index 0, X/Y kept).
void SetActive(TMereni& charts, int i, int k)
{
    charts.ActiveIndex = i;
    charts.ActiveCursor = k;
    if (!IsChart(charts, i) || k < 1 || k > SampleCount(charts.Rec(i))) {
        charts.ActiveCursor = 0;
        return;
    }
    const TJednoMereni& c = charts.Rec(i);
    charts.ActiveCursorX = SampleDistance(c, k);
    charts.ActiveCursorY = c.Sample(k);
}

// Distance of the active cursor for the chart switching commands: the
// active sample's distance, or the last cursor distance when there is no
// active sample.
long double KeptDistance(const TMereni& charts)
{
    const int a = charts.ActiveIndex;
    if (IsChart(charts, a) && charts.ActiveCursor >= 1)
        return SampleDistance(charts.Rec(a), charts.ActiveCursor);
    return charts.ActiveCursorX;
}

// Chart i becomes active at the sample nearest `distance`, held within the
// chart's samples (left of its start: sample 1, right of its end: the last).
void ActivateAtDistance(TMereni& charts, int i, long double distance)
{
    const TJednoMereni& c = charts.Rec(i);
    const int n = SampleCount(c);
    int k = DistanceToSample(c, distance);
    if (k < 1)
        k = 1;
    if (k > n)
        k = n;
    SetActive(charts, i, k);
}

// First and last sample worth testing for a distance range (a little wider
// than the range; the caller tests each sample exactly).
void SampleRange(const TJednoMereni& c, long double xMin, long double xMax, int& first, int& last)
{
    const int n = SampleCount(c);
    first = 1;
    last = n;
    if (!(c.Step > 0) || !std::isfinite(c.Step))
        return;
    const long double lo = std::floor((xMin - c.XStart) / c.Step);
    const long double hi = std::ceil((xMax - c.XStart) / c.Step) + 2;
    if (lo > 1 && lo < n)
        first = static_cast<int>(lo);
    else if (lo >= n)
        first = n;
    if (hi < 1)
        last = 0;
    else if (hi < n)
        last = static_cast<int>(hi);
}

} // namespace

long double LargestSampleSpacing(const TMereni& charts, const ViewTransform& view)
{
    long double maxStep = 0;
    for (int i = 1; i <= charts.Count; ++i)
        maxStep = std::fmax(maxStep, charts.Rec(i).Step);
    return maxStep * view.PixPerX;
}

bool UsesSparseTracking(const TMereni& charts, const ViewTransform& view)
{
    return LargestSampleSpacing(charts, view) > 10;
}

CursorListFollow TrackCursorDense(TMereni& charts, long double x, long double y)
{
    if (charts.ShownCount < 1)
        return {charts.ActiveIndex};

    int nearestFirst = 0, nearestLast = 0;
    long double bestFirst = 0, bestLast = 0;
    int cand = 0, candK = 0;
    long double candY = 0;
    for (int i = 1; i <= charts.Count; ++i) {
        const TJednoMereni& c = charts.Rec(i);
        const int n = SampleCount(c);
        if (!c.Shown || n < 1)
            continue;
        const long double first = SampleDistance(c, 1);
        const long double last = SampleDistance(c, n);
        const long double dFirst = std::fabs(first - x);
        const long double dLast = std::fabs(last - x);
        if (nearestFirst == 0 || dFirst < bestFirst) {
            nearestFirst = i;
            bestFirst = dFirst;
        }
        if (nearestLast == 0 || dLast < bestLast) {
            nearestLast = i;
            bestLast = dLast;
        }
        if (!(first <= x && x <= last))
            continue;
        const int k = DistanceToSample(c, x);
        if (k < 1 || k > n)
            continue;
        const long double yk = c.Sample(k);
        // The first covering chart is taken; a later one replaces it when
        // its trace is at least as close to the mouse level.
        if (cand == 0 || std::fabs(yk - y) <= std::fabs(candY - y)) {
            cand = i;
            candK = k;
            candY = yk;
        }
    }

    int active = charts.ActiveIndex;
    int k = charts.ActiveCursor;
    if (cand != 0) {
        active = cand;
        k = candK;
    } else if (x < charts.FullXMin && nearestFirst != 0) {
        active = nearestFirst;
        k = 1;
    } else if (x > charts.FullXMax && nearestLast != 0) {
        active = nearestLast;
        k = SampleCount(charts.Rec(nearestLast));
    }
    if (!IsChart(charts, active)) {
        // In a margin or gap with no active chart: nothing to move.
        charts.ActiveIndex = 0;
        charts.ActiveCursor = 0;
        return {0};
    }
    const int n = SampleCount(charts.Rec(active));
    if (k < 2)
        k = 2;
    if (k > n)
        k = n;
    SetActive(charts, active, k);
    return {active};
}

CursorListFollow TrackCursorSparse(TMereni& charts, const ViewTransform& view, long double x, long double y)
{
    const long double px = view.ValueToPixel(Axis::X, x);
    const long double py = view.ValueToPixel(Axis::Y, y);
    // Squared pixel distances: the comparison is the same as on distances.
    long double best = 1e22L;
    int cand = 0, candK = 0;
    auto visit = [&](int i, bool winsTies) {
        const TJednoMereni& c = charts.Rec(i);
        int first = 0, last = 0;
        SampleRange(c, view.ViewXMin, view.ViewXMax, first, last);
        for (int k = first; k <= last; ++k) {
            const long double dist = SampleDistance(c, k);
            if (!(dist >= view.ViewXMin && dist <= view.ViewXMax))
                continue;
            const long double dx = view.ValueToPixel(Axis::X, dist) - px;
            // Too far sideways already: the level cannot bring it nearer.
            if (dx * dx > best)
                continue;
            const long double dy = view.ValueToPixel(Axis::Y, c.Sample(k)) - py;
            const long double d = dx * dx + dy * dy;
            if (d < best || (winsTies && d == best)) {
                best = d;
                cand = i;
                candK = k;
            }
        }
    };
    for (int i = charts.Count; i >= 1; --i)
        if (i != charts.RefIndex && charts.Rec(i).Shown)
            visit(i, false);
    if (IsDisplayed(charts, charts.RefIndex))
        visit(charts.RefIndex, true);

    if (cand == 0) {
        charts.ActiveIndex = 0;
        charts.ActiveCursor = 0;
        return {0};
    }
    SetActive(charts, cand, candK);
    return {cand};
}

CursorListFollow TrackMouse(TMereni& charts, const ViewTransform& view, int px, int py)
{
    if (charts.ShownCount < 1 || !view.HasScales())
        return {};
    const long double x = view.PixelToValue(px, Axis::X);
    const long double y = view.PixelToValue(py, Axis::Y);
    if (UsesSparseTracking(charts, view))
        return TrackCursorSparse(charts, view, x, y);
    return TrackCursorDense(charts, x, y);
}

void SetReferenceFromActive(TMereni& charts)
{
    // A hidden chart (active through the list) never becomes the reference:
    // hidden charts have none.
    if (!IsDisplayed(charts, charts.ActiveIndex) || charts.ActiveCursor < 1) {
        charts.RefIndex = 0;
        charts.RefCursor = 0;
        return;
    }
    charts.RefIndex = charts.ActiveIndex;
    charts.RefCursor = charts.ActiveCursor;
    charts.RefCursorX = charts.ActiveCursorX;
    charts.RefCursorY = charts.ActiveCursorY;
}

CursorListFollow SelectNextDisplayed(TMereni& charts)
{
    const int from = charts.ActiveIndex < 0 ? 0 : charts.ActiveIndex;
    for (int i = from + 1; i <= charts.Count; ++i)
        if (charts.Rec(i).Shown) {
            ActivateAtDistance(charts, i, KeptDistance(charts));
            return {i};
        }
    return {};
}

CursorListFollow SelectPreviousDisplayed(TMereni& charts)
{
    const int from = charts.ActiveIndex > charts.Count ? charts.Count + 1 : charts.ActiveIndex;
    for (int i = from - 1; i >= 1; --i)
        if (charts.Rec(i).Shown) {
            ActivateAtDistance(charts, i, KeptDistance(charts));
            return {i};
        }
    return {};
}

int SelectNextListed(TMereni& charts, const std::vector<int>& listCharts, int selectedRow)
{
    const int row = selectedRow + 1;
    if (selectedRow < 0 || row >= static_cast<int>(listCharts.size()) ||
        !IsChart(charts, listCharts[static_cast<std::size_t>(row)]))
        return selectedRow;
    ActivateAtDistance(charts, listCharts[static_cast<std::size_t>(row)], KeptDistance(charts));
    return row;
}

int SelectPreviousListed(TMereni& charts, const std::vector<int>& listCharts, int selectedRow)
{
    const int row = selectedRow - 1;
    if (row < 0 || row >= static_cast<int>(listCharts.size()) ||
        !IsChart(charts, listCharts[static_cast<std::size_t>(row)]))
        return selectedRow;
    ActivateAtDistance(charts, listCharts[static_cast<std::size_t>(row)], KeptDistance(charts));
    return row;
}

} // namespace lumidrax
