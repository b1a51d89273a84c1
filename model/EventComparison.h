#pragma once
// What changed since the good measurement: the events of a chart against
// those of a reference chart. Each event of the chart is new, moved (with
// its shift in metres) or the same; each reference event without a partner
// is gone. Pure, no Qt.
//
// Partners: the launch pairs with the launch and the end with the end, the
// other events with the nearest unpaired reference event of the same sign
// (open with open, short with short, echo with echo) within the match
// radius.

#include "EventDetection.h"

#include <string_view>
#include <vector>

namespace lumidrax {

enum class EventChange { New, Moved, Same, Gone };

// "new", "moved", "same", "gone".
std::string_view EventChangeName(EventChange change);

struct ComparisonParams {
    // Shifts up to this many metres count as the same place; 0 takes two
    // samples of the chart's distance step.
    long double Tolerance = 0;
    // Partners lie at most this fraction of the distance apart, and at least
    // ten times the tolerance.
    long double MatchFraction = 0.1L;
};

struct ComparedEvent {
    EventChange Change = EventChange::New;
    // Index into the chart's events (-1 for a gone event) and into the
    // reference's events (-1 for a new one).
    int Index = -1;
    int RefIndex = -1;
    // Distance in the chart less distance in the reference (metres).
    long double Shift = 0;
};

// One entry for each event of `events` (in their order, Index 0, 1, ...),
// then one for each gone reference event. `step` is the chart's distance
// step for the default tolerance.
std::vector<ComparedEvent> CompareEvents(const std::vector<ChartEvent>& events,
                                         const std::vector<ChartEvent>& reference, long double step,
                                         const ComparisonParams& params = {});

} // namespace lumidrax
