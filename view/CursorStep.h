#pragma once
// The Left and Right keys of the chart page: the active cursor moves one
// sample and the view follows it. A plain function over the collection.

#include "TMereni.h"

namespace lumidrax {

struct CursorStepResult {
    bool Moved = false;       // the cursor index changed
    bool ViewChanged = false; // the view shifted to keep the cursor in sight
    bool operator==(const CursorStepResult&) const = default;
};

// Moves the active cursor by `delta` samples (-1 Left, +1 Right), held
// within 1..the sample count, and keeps it in view: one shift left or right
// when its distance left the view on that side, then shifts down / up while
// its level is at or below / above the view's edge and a shift still moves
// the view. Nothing happens unless the active chart is displayed.
CursorStepResult StepActiveCursor(TMereni& charts, int delta);

// Puts the active cursor on sample k (held within the chart's samples) and
// brings it into view: a distance outside the view centres the view on it
// (same width, kept within the full extent where it fits), then the view
// shifts down / up as for a step. Nothing happens unless the active chart
// is displayed.
CursorStepResult PlaceActiveCursor(TMereni& charts, int k);

} // namespace lumidrax
