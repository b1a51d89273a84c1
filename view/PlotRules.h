#pragma once
// Rules of the plot painting and of the commands that change its look: the
// pen width of the sample dots, the first sample worth drawing, the line
// width and reference colour commands, and the status text that goes with
// the active cursor. Pure functions over the chart collection.

#include "TMereni.h"

#include <optional>
#include <string>

namespace lumidrax {

// The three line widths of the "Line Width" command.
bool IsLineWidth(int width);

// Pen width of the curves: the collection's line width, raised by 4 when the
// largest X step of all loaded charts (drawn or not) spans more than 10
// pixels at `pixPerX`.
int CurvePenWidth(const TMereni& charts, long double pixPerX);

// Half size of a sample dot: round((penWidth - 1) / 2), ties to even. Below 1
// a dot is one pixel; otherwise a square 2 * half pixels wide.
int DotHalf(int penWidth);

// First sample of a chart at or just left of the view's left edge: the
// larger of round((viewXMin - XStart) / Step) + 1 and 1.
int FirstVisibleSample(const TJednoMereni& chart, long double viewXMin);

// The line width commands (Tag 1, 3 or 5). Returns false and changes nothing
// for any other width.
bool SetLineWidth(TMereni& charts, int width);

// The reference colour command after the colour dialog: the reference
// chart's colour becomes `colour`, its colour slot stays. Returns false when
// there is no reference chart (the command is disabled then).
bool SetReferenceColor(TMereni& charts, RgbColor colour);

// What the plot paint leaves in the status bar's open-ended panel: "neni"
// without an active chart, the active chart's description while it is
// displayed, nothing (no change) otherwise.
std::optional<std::string> CursorStatusText(const TMereni& charts);

} // namespace lumidrax
