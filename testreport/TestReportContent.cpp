#include "TestReportContent.h"

#include "ChartFacts.h"
#include "Palette.h"

#include <filesystem>

namespace lumidrax {

namespace {

// The active cursor (or the reference cursor) on sample k of its chart.
void PutCursor(TMereni& charts, bool active, int k)
{
    const int i = active ? charts.ActiveIndex : charts.RefIndex;
    const TJednoMereni& c = charts.Rec(i);
    k = ClampToSamples(c, k);
    const long double x = k >= 1 ? SampleDistance(c, k) : 0;
    const long double y = k >= 1 ? c.Sample(k) : 0;
    if (active) {
        charts.ActiveCursor = k;
        charts.ActiveCursorX = x;
        charts.ActiveCursorY = y;
    } else {
        charts.RefCursor = k;
        charts.RefCursorX = x;
        charts.RefCursorY = y;
    }
}

// Where a cursor goes on a chart: its end, else just after the cable start.
int CursorSample(const TJednoMereni& chart, const std::vector<ChartEvent>& events)
{
    const int end = EndEventIndex(events);
    if (end >= 0)
        return NearestSample(chart, events[static_cast<std::size_t>(end)].Sample);
    return chart.Pozice0X + 1;
}

ReportChartSection BuildSection(const ReportRequest& q, int number, const LimitTemplate& limits)
{
    const TMereni& all = *q.Charts;
    const TJednoMereni& chart = all.Rec(number);
    const bool compared = q.Baseline >= 1 && q.Baseline <= all.Count && q.Baseline != number;

    ReportChartSection s;
    s.Number = number;
    s.Name = ReportChartName(chart);
    s.Description = chart.Description;
    s.Model = chart.VerzeVKR;
    s.Serial = chart.SerialNumber > 0 ? std::to_string(chart.SerialNumber) : std::string("-");

    // The chart and its baseline alone, drawn as a fresh page shows them.
    auto drawn = std::make_shared<TMereni>();
    TMereni& scratch = *drawn;
    s.Drawn = drawn;
    scratch.AppendRecord(chart);
    if (compared)
        scratch.AppendRecord(all.Rec(q.Baseline));
    // The legend names the files as the report does, wherever they lie.
    for (int k = 1; k <= scratch.Count; ++k)
        scratch.Rec(k).DisplayName = ReportChartName(scratch.Rec(k));
    scratch.ComputeFullRange(true);
    scratch.SetViewToFull();
    scratch.ActiveIndex = 1;
    scratch.RefIndex = compared ? 2 : 1;

    s.Events = BuildEventTable(scratch, 1, scratch.RefIndex, q.Params);
    s.EndFound = EndEventIndex(s.Events.Events) >= 0;
    std::vector<ChartEvent> baselineEvents;
    if (compared) {
        const TJednoMereni& base = scratch.Rec(2);
        s.BaselineName = ReportChartName(base);
        baselineEvents = DetectEvents(base, q.Params);
        s.BaselineModel = base.VerzeVKR;
        s.BaselineSerial = base.SerialNumber > 0 ? std::to_string(base.SerialNumber) : std::string("-");
    }
    PutCursor(scratch, true, CursorSample(scratch.Rec(1), s.Events.Events));
    PutCursor(scratch, false,
              compared ? CursorSample(scratch.Rec(2), baselineEvents)
                       : CursorSample(scratch.Rec(1), s.Events.Events));
    s.Cursors = CursorReadouts(scratch);
    s.Info = ChartInfo(scratch, 1);
    if (compared)
        s.BaselineInfo = ChartInfo(scratch, 2);

    Palette colours;
    ApplyColorScheme(colours, scratch, false);
    s.Picture = PrintPageLayout(scratch, colours, QSize(kReportPictureWidth, kReportPictureHeight), true);
    // The report names the page itself: no title band.
    s.Picture.Title.clear();
    s.Picture.TitleHeight = 0;
    s.Picture.View.EventMarks = EventMarksOf(scratch, 1, s.Events.Events);

    const ChartFacts facts =
        FactsOfChart(scratch.Rec(1), s.Events.Events, compared ? &baselineEvents : nullptr);
    s.Results = CheckCriteria(limits, facts);
    s.ChartVerdict = VerdictOfResults(s.Results);
    return s;
}

} // namespace

std::string ReportChartName(const TJednoMereni& chart)
{
    const std::string& path = !chart.FileName.empty() ? chart.FileName : chart.DisplayName;
    const std::string name = std::filesystem::path(path).filename().string();
    return name.empty() ? chart.AutoFileName : name;
}

TestReportContent BuildTestReport(const ReportRequest& q)
{
    TestReportContent r;
    r.TemplateName = q.Limits.Name;
    r.TemplateFile = q.TemplateFile;
    r.Header = q.Header;
    if (q.Charts == nullptr)
        return r;
    std::vector<Verdict> verdicts;
    for (int number : q.Reported) {
        if (number < 1 || number > q.Charts->Count)
            continue;
        if (r.Sections.empty())
            r.Header = CompleteReportHeader(q.Header, q.Charts->Rec(number));
        r.Sections.push_back(BuildSection(q, number, q.Limits));
        verdicts.push_back(r.Sections.back().ChartVerdict);
    }
    r.Overall = CombineVerdicts(verdicts);
    return r;
}

} // namespace lumidrax
