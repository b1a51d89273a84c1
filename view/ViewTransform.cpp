#include "ViewTransform.h"

#include <cmath>

namespace lumidrax {

namespace {

constexpr long double kPixelLimit = 1073741824.0L; // 2^30

int TruncPixel(long double v)
{
    if (std::isnan(v))
        return 0;
    if (v > kPixelLimit)
        return static_cast<int>(kPixelLimit);
    if (v < -kPixelLimit)
        return -static_cast<int>(kPixelLimit);
    return static_cast<int>(std::trunc(v));
}

} // namespace

ViewTransform::ViewTransform(const TMereni& charts, int plotWidth, int plotHeight)
    : ViewXMin(charts.ViewXMin), ViewXMax(charts.ViewXMax), ViewYMin(charts.ViewYMin),
      ViewYMax(charts.ViewYMax), PlotWidth(plotWidth), PlotHeight(plotHeight)
{
}

void ViewTransform::UpdateScales(int shownCount, bool minimised)
{
    if (minimised || shownCount < 1) {
        PixPerX = PixPerY = XPerPix = YPerPix = 0;
        return;
    }
    PixPerX = PlotWidth / (ViewXMax - ViewXMin);
    PixPerY = PlotHeight / (ViewYMax - ViewYMin);
    XPerPix = (ViewXMax - ViewXMin) / PlotWidth;
    YPerPix = (ViewYMax - ViewYMin) / PlotHeight;
}

bool ViewTransform::HasScales() const
{
    return std::isfinite(XPerPix) && std::isfinite(YPerPix) && XPerPix > 0 && YPerPix > 0;
}

int ViewTransform::ValueToPixel(Axis axis, long double value) const
{
    if (axis == Axis::X) {
        if (!(XPerPix > 0) || !std::isfinite(XPerPix))
            return 0;
        return TruncPixel((value - ViewXMin) / XPerPix);
    }
    if (!(YPerPix > 0) || !std::isfinite(YPerPix))
        return PlotHeight;
    const int t = TruncPixel((value - ViewYMin) / YPerPix);
    // PlotHeight - t, kept inside the int range.
    const long long p = static_cast<long long>(PlotHeight) - t;
    return static_cast<int>(std::fmax(std::fmin(static_cast<long double>(p), kPixelLimit), -kPixelLimit));
}

long double ViewTransform::PixelToValue(int pixel, Axis axis) const
{
    if (axis == Axis::X)
        return ViewXMin + pixel * XPerPix;
    return ViewYMax - pixel * YPerPix;
}

} // namespace lumidrax
