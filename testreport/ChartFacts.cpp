#include "ChartFacts.h"

namespace lumidrax {

ChartFacts FactsOfChart(const TJednoMereni& chart, std::vector<ChartEvent> events,
                        const std::vector<ChartEvent>* baselineEvents)
{
    ChartFacts f;
    f.Events = std::move(events);
    if (baselineEvents != nullptr)
        f.Comparison = CompareEvents(f.Events, *baselineEvents, chart.Step);
    f.HasDC = chart.StatusIDX != -1;
    f.DCResistanceText = chart.DCResistStr;
    f.DCVoltageText = chart.DCVoltageStr;
    f.RangeStart = chart.XStart;
    f.RangeEnd = chart.SampleCount > 0 ? SampleDistance(chart, chart.SampleCount) : chart.XStart;
    return f;
}

ChartFacts FactsOfChart(const TJednoMereni& chart, const TJednoMereni* baseline, const EventParams& params)
{
    std::vector<ChartEvent> baselineEvents;
    if (baseline != nullptr)
        baselineEvents = DetectEvents(*baseline, params);
    return FactsOfChart(chart, DetectEvents(chart, params), baseline != nullptr ? &baselineEvents : nullptr);
}

} // namespace lumidrax
