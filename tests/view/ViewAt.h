#pragma once

// A view of the given extents on a plot of the given size, its scales set as
// for one displayed chart.

#include "ViewTransform.h"

namespace lumidrax::test {

inline ViewTransform ViewAt(long double x0, long double x1, long double y0, long double y1, int w, int h)
{
    ViewTransform v;
    v.ViewXMin = x0;
    v.ViewXMax = x1;
    v.ViewYMin = y0;
    v.ViewYMax = y1;
    v.PlotWidth = w;
    v.PlotHeight = h;
    v.UpdateScales(1);
    return v;
}

} // namespace lumidrax::test
