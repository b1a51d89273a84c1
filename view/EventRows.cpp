#include "EventRows.h"

#include "NumberText.h"

namespace lumidrax {

namespace {

std::string Metres(long double v)
{
    return FormatFixed(v, 2);
}

std::string Signed(long double v)
{
    return (v >= 0 ? "+" : "") + FormatFixed(v, 2);
}

} // namespace

EventTable BuildEventTable(const TMereni& charts, int active, int reference, const EventParams& params)
{
    EventTable t;
    if (active < 1 || active > charts.Count)
        return t;
    const TJednoMereni& chart = charts.Rec(active);
    t.Events = DetectEvents(chart, params);
    for (std::size_t i = 0; i < t.Events.size(); ++i) {
        const ChartEvent& e = t.Events[i];
        EventRow row;
        row.Number = std::to_string(i + 1);
        row.Distance = Metres(e.Distance);
        row.Kind = std::string(EventKindName(e.Kind));
        row.Peak = FormatFixed(e.PeakLevel, 2);
        if (i > 0)
            row.FromPrevious = Metres(e.Distance - t.Events[i - 1].Distance);
        row.Sample = NearestSample(chart, e.Sample);
        row.Event = static_cast<int>(i);
        t.Rows.push_back(row);
    }
    if (reference < 1 || reference > charts.Count || reference == active)
        return t;
    t.Compared = true;
    const std::vector<ChartEvent> theirs = DetectEvents(charts.Rec(reference), params);
    for (const ComparedEvent& c : CompareEvents(t.Events, theirs, chart.Step)) {
        if (c.Change != EventChange::Gone) {
            EventRow& row = t.Rows[static_cast<std::size_t>(c.Index)];
            row.Change = std::string(EventChangeName(c.Change));
            if (c.Change == EventChange::Moved)
                row.Change += " " + Signed(c.Shift) + " m";
            continue;
        }
        const ChartEvent& e = theirs[static_cast<std::size_t>(c.RefIndex)];
        EventRow row;
        row.Number = "-";
        row.Distance = Metres(e.Distance);
        row.Kind = std::string(EventKindName(e.Kind));
        row.Peak = FormatFixed(e.PeakLevel, 2);
        row.Change = "gone";
        row.Sample = ClampToSamples(chart, DistanceToSample(chart, e.Distance));
        t.Rows.push_back(row);
    }
    return t;
}

std::vector<EventMark> EventMarksOf(const TMereni& charts, int chart, const std::vector<ChartEvent>& events)
{
    std::vector<EventMark> marks;
    if (chart < 1 || chart > charts.Count || !charts.Rec(chart).Shown)
        return marks;
    const RgbColor colour = charts.Rec(chart).Color;
    for (const ChartEvent& e : events)
        marks.push_back({e.Distance, colour});
    return marks;
}

int MarkedChart(const TMereni& charts)
{
    for (int i : {charts.ActiveIndex, charts.RefIndex})
        if (i >= 1 && i <= charts.Count && charts.Rec(i).Shown)
            return i;
    for (int i = 1; i <= charts.Count; ++i)
        if (charts.Rec(i).Shown)
            return i;
    return 0;
}

} // namespace lumidrax
