#pragma once
// The view window of the chart page and its mapping to the pixels of the
// plot area. A plain value: the plot widget, the axis strips, printing and
// the command-line renderer all work on a copy of it.

#include "TMereni.h"

namespace lumidrax {

enum class Axis { X, Y };

class ViewTransform {
  public:
    // Visible distance range (metres) and level range (percent). The initial
    // values are the empty, inverted window of a collection without charts.
    long double ViewXMin = 1e11L;
    long double ViewXMax = -1e11L;
    long double ViewYMin = -1000;
    long double ViewYMax = 1000;
    // Client size of the plot area in pixels.
    int PlotWidth = 0;
    int PlotHeight = 0;
    // Derived by UpdateScales: pixels per metre / percent, metres / percent
    // per pixel. All 0 while nothing is displayed or the window is minimised.
    long double PixPerX = 0;
    long double PixPerY = 0;
    long double XPerPix = 0;
    long double YPerPix = 0;

    ViewTransform() = default;
    // The collection's view window on a plot of the given size (scales not
    // yet computed).
    ViewTransform(const TMereni& charts, int plotWidth, int plotHeight);

    // Recomputes the four scale factors; all 0 when `shownCount` < 1 or the
    // window is minimised.
    void UpdateScales(int shownCount, bool minimised = false);

    // Pixel of a value, truncated toward zero. X counts from the plot's left
    // edge, Y from its top (PlotHeight at ViewYMin). A degenerate scale (0,
    // infinite, not a number) gives pixel 0 on X and PlotHeight on Y; results
    // are held within +-2^30 so far-off values never overflow an int.
    int ValueToPixel(Axis axis, long double value) const;

    // Value at a pixel (X from ViewXMin, Y from ViewYMax downwards).
    long double PixelToValue(int pixel, Axis axis) const;

    // True when the scale factors are usable (both per-pixel steps finite
    // and above 0).
    bool HasScales() const;
};

} // namespace lumidrax
