#pragma once
// Texts and marker colours of the three read-out areas above the plot: the
// cursor panel (distance and level of both cursors and their difference)
// and the active and reference chart information panels. Pure functions of
// the chart collection; the read-out widgets only show what they return.

#include "TMereni.h"

#include <optional>
#include <string>

namespace lumidrax {

// The cursor panel "Cursors:". Empty texts for a cursor that is not there;
// a marker without fill colour looks empty (painted in the panel colour).
struct CursorReadoutTexts {
    std::string MainX, MainY; // "Act"
    std::string RefX, RefY;   // "Ref"
    std::string DiffX, DiffY; // "Diff"
    std::optional<RgbColor> MainFill;
    std::optional<RgbColor> RefFill;
    bool operator==(const CursorReadoutTexts&) const = default;
};

// One chart information panel ("Active" or "Reference").
struct ChartInfoTexts {
    std::string CurveNo, Impedance, Velocity, Noise, DC, Filter, Edge, Voltage, Resistance, DateTime;
    // Colour of the marker; none: the marker is hidden.
    std::optional<RgbColor> Marker;
    bool operator==(const ChartInfoTexts&) const = default;
};

// Distance text: fixed point with 2 decimals and " m" ("3333,33 m").
std::string DistanceText(long double metres);
// Level text: fixed point with 1 decimal and " %".
std::string LevelText(long double percent);

// The cursor panel: the active cursor while the active chart is displayed,
// the reference cursor while there is a reference chart, the difference
// (active - reference) when both are there.
CursorReadoutTexts CursorReadouts(const TMereni& charts);

// The information of chart i (1..Count); any other i gives the empty panel
// ("---" everywhere, "-" for the edge, no marker).
ChartInfoTexts ChartInfo(const TMereni& charts, int i);
// The active panel: the active chart while at least one chart is displayed.
ChartInfoTexts ActiveChartInfo(const TMereni& charts);
// The reference panel.
ChartInfoTexts RefChartInfo(const TMereni& charts);

// The reference chart's local filter command applies: there is a reference
// chart and it is not filtered yet (local filter below 2).
bool RefFilterAvailable(const TMereni& charts);

} // namespace lumidrax
