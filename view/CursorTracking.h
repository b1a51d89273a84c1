#pragma once
// The active and reference cursors of the chart view: how the mouse picks
// the active chart and sample, how a click freezes the reference cursor and
// how the keys switch the active chart with the cursor distance kept. Pure
// functions over the chart collection and the view transform; the plot
// widget and the key handling only call them and repaint.
//
// Every operation leaves the collection's cursor fields consistent: an
// active or reference cursor index is either 0 (no cursor) or a sample of
// its chart, and the cursor X/Y are that sample's distance and level.

#include "TMereni.h"
#include "ViewTransform.h"

#include <vector>

namespace lumidrax {

// What the chart list has to do after a cursor operation: make the row of
// `ListChart` its current row (0: leave the list alone).
struct CursorListFollow {
    int ListChart = 0;
    bool operator==(const CursorListFollow&) const = default;
};

// Largest sample spacing on screen: the largest X step of all loaded charts
// (displayed or not) times the view's pixels per metre.
long double LargestSampleSpacing(const TMereni& charts, const ViewTransform& view);
// Above 10 pixels the mouse picks the nearest dot (sparse tracking).
bool UsesSparseTracking(const TMereni& charts, const ViewTransform& view);

// Picks the active chart and sample for a mouse position in data values
// when samples lie close together: the displayed chart covering x whose
// trace is vertically nearest to y (the higher index on equal distances);
// left of the full extent the chart starting nearest, right of it the chart
// ending nearest; in the margins and gaps nothing changes. The cursor never
// lands on sample 1.
CursorListFollow TrackCursorDense(TMereni& charts, long double x, long double y);

// The same by the nearest dot on screen (samples far apart): every sample
// whose distance is in the view's distance range counts, whatever its level;
// the reference chart wins ties, then the higher index. No dot in range: no
// active chart.
CursorListFollow TrackCursorSparse(TMereni& charts, const ViewTransform& view, long double x, long double y);

// A mouse move to plot pixel (px, py): converts it to values and runs the
// dense or the sparse tracking as the sample spacing says. Nothing happens
// while no chart is displayed or the view has no scales.
CursorListFollow TrackMouse(TMereni& charts, const ViewTransform& view, int px, int py);

// Left click: the reference cursor becomes a copy of the active cursor (no
// active chart, or a hidden one: no reference).
void SetReferenceFromActive(TMereni& charts);

// Keys: the next / previous displayed chart after / before the active one
// becomes active, the cursor at the sample nearest the old cursor distance.
// Nothing changes when there is no such chart.
CursorListFollow SelectNextDisplayed(TMereni& charts);
CursorListFollow SelectPreviousDisplayed(TMereni& charts);

// Keys: the chart of the list row after / before the selected row
// (`selectedRow`, 0-based, in the rows `listCharts` as the list shows them)
// becomes active with the cursor distance kept. Returns the new selected row,
// or `selectedRow` when there is no such row.
int SelectNextListed(TMereni& charts, const std::vector<int>& listCharts, int selectedRow);
int SelectPreviousListed(TMereni& charts, const std::vector<int>& listCharts, int selectedRow);

} // namespace lumidrax
