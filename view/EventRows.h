#pragma once
// The rows of the chart page's event table: the active chart's events, and
// with a reference chart (another one) the comparison with its events, gone
// reference events last. Texts with the decimal comma. No widgets.

#include "ChartViewState.h"
#include "EventComparison.h"
#include "EventDetection.h"
#include "TMereni.h"

#include <string>
#include <vector>

namespace lumidrax {

struct EventRow {
    std::string Number;   // "1", "2", ...; "-" for a gone event
    std::string Distance; // metres, two decimals
    std::string Kind;
    std::string Peak;         // percent, two decimals
    std::string FromPrevious; // metres from the previous event, empty for the first
    std::string Change;       // "same", "moved +1,20 m", "new", "gone"; empty without reference
    // Where the active cursor goes: the sample nearest the leading edge (for
    // a gone event, the active chart's sample nearest its distance).
    int Sample = 0;
    // Index into the active chart's events, -1 for a gone event.
    int Event = -1;
};

struct EventTable {
    std::vector<ChartEvent> Events;
    std::vector<EventRow> Rows;
    bool Compared = false;
};

// The table of chart `active` (no rows for 0 or a chart out of range),
// compared with chart `reference` when that is another chart.
EventTable BuildEventTable(const TMereni& charts, int active, int reference, const EventParams& params);

// The marks of chart `chart`'s events at the top of the X strip, in its
// colour; none when it is not displayed (or no chart).
std::vector<EventMark> EventMarksOf(const TMereni& charts, int chart, const std::vector<ChartEvent>& events);

// The chart whose events a page marks: the active chart, else the
// reference chart, else the first displayed one (0: none).
int MarkedChart(const TMereni& charts);

} // namespace lumidrax
