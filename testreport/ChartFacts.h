#pragma once
// What the criteria of a limit template look at in one chart: its events,
// their comparison with the baseline (when there is one), its DC texts and
// the distances it covers. No Qt.

#include "EventComparison.h"
#include "EventDetection.h"
#include "TJednoMereni.h"

#include <optional>
#include <string>
#include <vector>

namespace lumidrax {

struct ChartFacts {
    std::vector<ChartEvent> Events;
    // The events compared with the baseline's; nothing without a baseline.
    std::optional<std::vector<ComparedEvent>> Comparison;
    // The chart carries a DC measurement (StatusIDX is not -1), and its texts.
    bool HasDC = false;
    std::string DCResistanceText;
    std::string DCVoltageText;
    // The distances the chart's samples cover, metres.
    long double RangeStart = 0;
    long double RangeEnd = 0;
};

// The facts of `chart`, compared with `baseline` when one is given; the
// events found with `params`.
ChartFacts FactsOfChart(const TJednoMereni& chart, const TJednoMereni* baseline, const EventParams& params);

// The same with the events found already (the baseline's too, when given).
ChartFacts FactsOfChart(const TJednoMereni& chart, std::vector<ChartEvent> events,
                        const std::vector<ChartEvent>* baselineEvents);

} // namespace lumidrax
