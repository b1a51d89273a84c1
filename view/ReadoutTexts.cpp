#include "ReadoutTexts.h"

#include "NumberText.h"

namespace lumidrax {
namespace {

bool IsChart(const TMereni& charts, int i)
{
    return i >= 1 && i <= charts.Count;
}

std::string EdgeText(int negEdge)
{
    switch (negEdge) {
    case -1:
        return "-";
    case 0:
        return "N";
    case 1:
        return "P";
    default:
        // Any other value is not an edge the instrument knows.
        return "?";
    }
}

} // namespace

std::string DistanceText(long double metres)
{
    return FormatFixed(metres, 2) + " m";
}

std::string LevelText(long double percent)
{
    return FormatFixed(percent, 1) + " %";
}

CursorReadoutTexts CursorReadouts(const TMereni& charts)
{
    CursorReadoutTexts t;
    const bool active = IsChart(charts, charts.ActiveIndex) && charts.Rec(charts.ActiveIndex).Shown &&
                        charts.ActiveCursor >= 1;
    const bool ref = IsChart(charts, charts.RefIndex) && charts.RefCursor >= 1;
    if (active) {
        t.MainX = DistanceText(charts.ActiveCursorX);
        t.MainY = LevelText(charts.ActiveCursorY);
        t.MainFill = charts.Rec(charts.ActiveIndex).Color;
    }
    if (ref) {
        t.RefX = DistanceText(charts.RefCursorX);
        t.RefY = LevelText(charts.RefCursorY);
        t.RefFill = charts.Rec(charts.RefIndex).Color;
    }
    if (active && ref) {
        t.DiffX = DistanceText(charts.ActiveCursorX - charts.RefCursorX);
        t.DiffY = LevelText(charts.ActiveCursorY - charts.RefCursorY);
    }
    return t;
}

ChartInfoTexts ChartInfo(const TMereni& charts, int i)
{
    ChartInfoTexts t;
    if (!IsChart(charts, i)) {
        t.CurveNo = t.Impedance = t.Velocity = t.Noise = t.DC = t.Filter = t.Voltage = t.Resistance =
            t.DateTime = "---";
        t.Edge = "-";
        return t;
    }
    const TJednoMereni& c = charts.Rec(i);
    t.CurveNo = std::to_string(i);
    t.Impedance = std::to_string(c.Impedance) + " Ohm";
    t.Velocity = FormatFixed(c.Velocity * 100, 1) + "%";
    t.Noise = std::to_string(c.Noise) + "%";
    t.DC = std::to_string(c.DC) + "%";
    t.Filter = c.Filter == 1 ? std::string("Off") : std::to_string(c.Filter);
    if (c.FilterPost > 1)
        t.Filter += " + " + std::to_string(c.FilterPost);
    t.Edge = EdgeText(c.NegEdge);
    if (c.StatusIDX == -1) {
        t.Voltage = "---";
        t.Resistance = "---";
    } else {
        t.Voltage = c.DCVoltageStr;
        t.Resistance = c.DCResistStr;
    }
    t.DateTime = c.DatumCas;
    t.Marker = c.Color;
    return t;
}

ChartInfoTexts ActiveChartInfo(const TMereni& charts)
{
    return ChartInfo(charts, charts.ShownCount >= 1 ? charts.ActiveIndex : 0);
}

ChartInfoTexts RefChartInfo(const TMereni& charts)
{
    return ChartInfo(charts, charts.RefIndex);
}

bool RefFilterAvailable(const TMereni& charts)
{
    return IsChart(charts, charts.RefIndex) && charts.Rec(charts.RefIndex).FilterPost < 2;
}

} // namespace lumidrax
