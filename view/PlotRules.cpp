#include "PlotRules.h"

#include <cmath>

namespace lumidrax {

bool IsLineWidth(int width)
{
    return width == 1 || width == 3 || width == 5;
}

int CurvePenWidth(const TMereni& charts, long double pixPerX)
{
    long double maxStep = 0;
    for (int i = 1; i <= charts.Count; ++i)
        maxStep = std::fmax(maxStep, charts.Rec(i).Step);
    int width = charts.LineWidth;
    if (maxStep * pixPerX > 10)
        width += 4;
    return width;
}

int DotHalf(int penWidth)
{
    return static_cast<int>(std::nearbyint((penWidth - 1) / 2.0L));
}

int FirstVisibleSample(const TJednoMereni& chart, long double viewXMin)
{
    if (!(chart.Step > 0))
        return 1;
    const long double k = std::nearbyint((viewXMin - chart.XStart) / chart.Step) + 1;
    if (!(k > 1))
        return 1;
    if (k > 1e9L)
        return 1000000000;
    return static_cast<int>(k);
}

bool SetLineWidth(TMereni& charts, int width)
{
    if (!IsLineWidth(width))
        return false;
    charts.LineWidth = width;
    return true;
}

bool SetReferenceColor(TMereni& charts, RgbColor colour)
{
    if (charts.RefIndex < 1 || charts.RefIndex > charts.Count)
        return false;
    TJednoMereni& ref = charts.Rec(charts.RefIndex);
    ref.Color = colour & 0xFFFFFF;
    ref.ColorChosen = true;
    return true;
}

std::optional<std::string> CursorStatusText(const TMereni& charts)
{
    if (charts.ActiveIndex < 1 || charts.ActiveIndex > charts.Count)
        return std::string("neni");
    const TJednoMereni& c = charts.Rec(charts.ActiveIndex);
    if (!c.Shown)
        return std::nullopt;
    return c.Description;
}

} // namespace lumidrax
