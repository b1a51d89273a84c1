#pragma once
// The leading edge of a pulse, refined by fitting the pulse's shape to the
// samples: a straight rise from the edge to the peak, a straight fall as
// long and an undershoot of the opposite sign, the edge and the rise time
// searched on grids near the edge a line fit gave (EventDetection.h, step 3).
// A filtered chart fits the pulse as the filter's trailing average spreads
// it. No Qt.

#include <vector>

namespace lumidrax {

// The leading edge (a 0-based fractional sample) of the pulse that peaks at
// sample `peak` (0-based) with the sign `sign` (+1 above the baseline, -1
// below) and whose excursion (EventDetection.h, step 2) spans `length`
// samples, in `y` (the trace less its baseline, unsmoothed), from the line fit's
// `lineEdge`, on a chart filtered over `window` samples (1: unfiltered). A
// pulse whose top is cut off flat, one with too few samples round it, or one
// longer than any pulse fitted keeps `lineEdge`.
double FittedEdge(const std::vector<double>& y, int peak, int sign, int length, double lineEdge, int window);

} // namespace lumidrax
