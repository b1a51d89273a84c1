#pragma once
// Tick algorithm of the two axis strips: round step sizes for the labelled
// (major) and unlabelled (minor) ticks, the label texts, and where each tick
// and label of a strip goes. Pure functions; the strips and the renderer
// only draw what these return.

#include "ViewTransform.h"

#include <functional>
#include <string>
#include <vector>

namespace lumidrax {

// Tick record of one axis, rewritten on every axis paint.
struct TAxisTicks {
    int Decimals = 0;
    long double FirstMajor = 0;
    long double FirstMinor = 0;
    long double MajorStep = 0;
    long double MinorStep = 0;
};

// Fills `ticks` for one axis. `charWidth`/`charHeight` are the size of the
// text "0" in the strip's font; `pixelLength` is PlotWidth (X) or PlotHeight
// (Y); `max`/`min` are the view window's limits on that axis. A range that is
// not above 0 (or not finite) gives steps of 0, which draw no ticks.
void ComputeAxisTicks(int charWidth, int charHeight, int pixelLength, TAxisTicks& ticks, Axis axis,
                      long double max, long double min);

// Label text of a tick: fixed point with `decimals` digits after the decimal
// comma, exponent form beyond 10 integer digits.
std::string FormatAxisLabel(long double value, int decimals);

// Tick values from `first`, stepping by `step` while <= `max`. Empty for a
// step that is not above 0; stops when adding the step no longer moves the
// value (and after at most 100000 values), so no input loops for ever.
std::vector<long double> TickValues(long double first, long double step, long double max);

// A line of a strip, drawn the classic way: the end point is not painted.
struct StripLine {
    int X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
};

struct StripLabel {
    int X = 0, Y = 0; // top left of the text box
    std::string Text;
};

struct StripLayout {
    std::vector<StripLine> Ticks;
    std::vector<StripLabel> Labels;
};

using TextWidthFn = std::function<int(const std::string&)>;

// Ticks and labels of the Y strip (`stripWidth` wide, as high as the plot).
// `textHeight` is the label height of the strip's font.
StripLayout LayoutAxisY(const ViewTransform& view, const TAxisTicks& ticks, int stripWidth, int textHeight,
                        const TextWidthFn& textWidth);

// Ticks and labels of the X strip (`stripWidth` wide, starting at the page's
// left edge, so x = plot pixel + `plotLeft`).
StripLayout LayoutAxisX(const ViewTransform& view, const TAxisTicks& ticks, int plotLeft, int stripWidth,
                        const TextWidthFn& textWidth);

} // namespace lumidrax
