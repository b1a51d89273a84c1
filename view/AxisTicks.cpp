#include "AxisTicks.h"

#include "NumberText.h"

#include <algorithm>
#include <cmath>

namespace lumidrax {

namespace {

long double Pow10(int e)
{
    return std::pow(10.0L, static_cast<long double>(e));
}

// First tick for a step: min itself when it is a whole multiple of the step,
// otherwise the multiple next to min toward zero.
long double FirstTick(long double min, long double step)
{
    const long double q = min / step;
    if (q == std::trunc(q))
        return min;
    return std::trunc(q) * step;
}

int TruncToInt(long double v)
{
    if (!(v == v))
        return 0;
    if (v > 1e9L)
        return 1000000000;
    if (v < -1e9L)
        return -1000000000;
    return static_cast<int>(std::trunc(v));
}

} // namespace

void ComputeAxisTicks(int charWidth, int charHeight, int pixelLength, TAxisTicks& ticks, Axis axis,
                      long double max, long double min)
{
    const long double range = max - min;
    if (!(range > 0) || !std::isfinite(range)) {
        ticks = TAxisTicks{};
        ticks.FirstMajor = ticks.FirstMinor = min;
        return;
    }
    const int e = TruncToInt(std::log10(range));
    ticks.Decimals = std::max(2 - e, 0);

    int labelSize = 0;
    if (axis == Axis::Y) {
        labelSize = charHeight + 2;
    } else {
        const long double biggest = std::fmax(std::fabs(max), std::fabs(min));
        labelSize = (TruncToInt(std::log10(biggest)) + ticks.Decimals + 1) * charWidth;
    }
    if (labelSize < 1)
        labelSize = 1;
    const int n = TruncToInt(static_cast<long double>(pixelLength) / labelSize);

    if (n == 2) {
        ticks.FirstMajor = ticks.FirstMinor = min;
        ticks.MajorStep = ticks.MinorStep = range;
        return;
    }

    const long double m = range / Pow10(e);
    if (n < 5) {
        if (m < 5) {
            ticks.MajorStep = Pow10(e);
            ticks.MinorStep = 5 * Pow10(e - 1);
        } else if (m < 7) {
            ticks.MajorStep = 2 * Pow10(e);
            ticks.MinorStep = Pow10(e);
        } else {
            ticks.MajorStep = 5 * Pow10(e);
            ticks.MinorStep = Pow10(e);
        }
    } else if (n < 20) {
        if (m < 3) {
            ticks.MajorStep = 5 * Pow10(e - 1);
            ticks.MinorStep = Pow10(e - 1);
        } else if (m < 6) {
            ticks.MajorStep = Pow10(e);
            ticks.MinorStep = 5 * Pow10(e - 1);
        } else {
            ticks.MajorStep = 2 * Pow10(e);
            ticks.MinorStep = Pow10(e);
        }
    } else {
        if (m < 3) {
            ticks.MajorStep = Pow10(e - 1);
            ticks.MinorStep = 5 * Pow10(e - 2);
        } else if (m < 6) {
            ticks.MajorStep = 5 * Pow10(e - 1);
            ticks.MinorStep = Pow10(e - 1);
        } else {
            ticks.MajorStep = Pow10(e);
            ticks.MinorStep = 5 * Pow10(e - 1);
        }
    }
    ticks.FirstMajor = FirstTick(min, ticks.MajorStep);
    ticks.FirstMinor = FirstTick(min, ticks.MinorStep);
}

std::string FormatAxisLabel(long double value, int decimals)
{
    if (std::isfinite(value) && std::fabs(value) >= 1e10L)
        return FormatGeneral(value, 10);
    return FormatFixed(value, decimals);
}

std::vector<long double> TickValues(long double first, long double step, long double max)
{
    std::vector<long double> values;
    if (!(step > 0) || !std::isfinite(step) || !std::isfinite(first))
        return values;
    for (long double v = first; v <= max && values.size() < 100000; v += step) {
        if (!values.empty() && !(v > values.back()))
            break;
        values.push_back(v);
    }
    return values;
}

StripLayout LayoutAxisY(const ViewTransform& view, const TAxisTicks& ticks, int stripWidth, int textHeight,
                        const TextWidthFn& textWidth)
{
    StripLayout out;
    for (long double v : TickValues(ticks.FirstMinor, ticks.MinorStep, view.ViewYMax)) {
        const int py = view.ValueToPixel(Axis::Y, v);
        out.Ticks.push_back({stripWidth - 1, py, stripWidth - 6, py});
    }
    for (long double v : TickValues(ticks.FirstMajor, ticks.MajorStep, view.ViewYMax)) {
        const int py = view.ValueToPixel(Axis::Y, v);
        out.Ticks.push_back({stripWidth - 1, py, stripWidth - 9, py});
        std::string text = FormatAxisLabel(v, ticks.Decimals);
        const int x = stripWidth - 10 - textWidth(text);
        const int y = py - textHeight / 2;
        if (y > 0 && y + textHeight <= view.PlotHeight)
            out.Labels.push_back({x, y, std::move(text)});
    }
    return out;
}

StripLayout LayoutAxisX(const ViewTransform& view, const TAxisTicks& ticks, int plotLeft, int stripWidth,
                        const TextWidthFn& textWidth)
{
    StripLayout out;
    for (long double v : TickValues(ticks.FirstMinor, ticks.MinorStep, view.ViewXMax)) {
        const int px = view.ValueToPixel(Axis::X, v) + plotLeft;
        if (px >= plotLeft)
            out.Ticks.push_back({px, 0, px, 5});
    }
    for (long double v : TickValues(ticks.FirstMajor, ticks.MajorStep, view.ViewXMax)) {
        const int px = view.ValueToPixel(Axis::X, v) + plotLeft;
        if (px < plotLeft)
            continue;
        out.Ticks.push_back({px, 0, px, 8});
        std::string text = FormatAxisLabel(v, ticks.Decimals);
        const int w = textWidth(text);
        const int x = static_cast<int>(std::trunc(px - w / 2.0));
        if (x + w < stripWidth)
            out.Labels.push_back({x, 10, std::move(text)});
    }
    return out;
}

} // namespace lumidrax
