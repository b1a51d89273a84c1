// The event detection measured on generated charts with a known answer.

#include "EdgeChart.h"
#include "EventDetection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

namespace lumidrax {
namespace {

using chartgen::EdgeChartOptions;
using chartgen::GenerateEdgeChart;

struct Figures {
    int strong = 0;    // truth events with peak >= 5 noise sd
    int found = 0;     // ... found
    int onEdge = 0;    // ... with the leading edge within 1 sample
    int kindRight = 0; // ... with the right kind
    int falseEvents = 0;
};

// Scores one chart: each truth event against the nearest detected event
// within half its width of the leading edge; detected events without a
// truth partner are false.
void Score(const chartgen::EdgeChart& g, const std::vector<ChartEvent>& found, Figures& f)
{
    std::vector<bool> used(found.size(), false);
    for (const chartgen::EdgePulse& t : g.truth.events) {
        int best = -1;
        for (std::size_t i = 0; i < found.size(); ++i) {
            const long double gap = std::fabs(found[i].Sample - t.start);
            if (!used[i] && gap <= std::max(3.0L, t.width / 2) &&
                (best < 0 || gap < std::fabs(found[static_cast<std::size_t>(best)].Sample - t.start)))
                best = static_cast<int>(i);
        }
        if (best >= 0)
            used[static_cast<std::size_t>(best)] = true;
        if (std::fabs(t.amplitude) < 5 * g.truth.noiseSd)
            continue;
        ++f.strong;
        if (best < 0)
            continue;
        const ChartEvent& e = found[static_cast<std::size_t>(best)];
        ++f.found;
        f.onEdge += std::fabs(e.Sample - t.start) <= 1;
        f.kindRight += e.Kind == t.kind;
    }
    for (bool u : used)
        f.falseEvents += !u;
}

Figures Measure(int charts, std::uint64_t firstSeed, long double maxSnr)
{
    Figures f;
    for (int c = 0; c < charts; ++c) {
        EdgeChartOptions o;
        o.seed = firstSeed + static_cast<std::uint64_t>(c);
        o.reflectionCount = 5;
        o.maxSnr = maxSnr;
        const auto g = GenerateEdgeChart(o);
        Score(g, DetectEvents(g.chart), f);
    }
    return f;
}

void Report(const char* name, const Figures& f)
{
    std::printf("%s: events %d, found %.2f %%, leading edge within 1 sample %.2f %%, kind right %.2f %%, "
                "false events %d\n",
                name, f.strong, 100.0 * f.found / std::max(1, f.strong),
                100.0 * f.onEdge / std::max(1, f.found), 100.0 * f.kindRight / std::max(1, f.found),
                f.falseEvents);
}

TEST(EventAccuracy, GeneratedChartsMeetTheFigures)
{
    // Charts of 10000 samples, noise sd 0.2..1 %, each with the launch, five
    // faults of 6..24 samples width at random places, the end and its echo.
    // Faults of 5..60 noise sd on 200 charts, and of 5..10 (the weak ones
    // alone) on 60 more: there a wide pulse's rise is too shallow against
    // the noise for 95 % within 1 sample even with the pulse fitted whole;
    // the weak set is held at 89 % (it reaches 89,8 %).
    const Figures all = Measure(200, 1000, 60);
    const Figures weak = Measure(60, 3000, 10);
    Report("faults 5..60 sd", all);
    Report("faults 5..10 sd", weak);
    // 100 charts of pure noise, 10000 samples each.
    constexpr int kNoiseCharts = 100;
    int noiseEvents = 0;
    for (int c = 0; c < kNoiseCharts; ++c) {
        EdgeChartOptions o;
        o.seed = 5000 + static_cast<std::uint64_t>(c);
        o.pureNoise = true;
        noiseEvents += static_cast<int>(DetectEvents(GenerateEdgeChart(o).chart).size());
    }
    std::printf("pure noise: %d charts, %d false events\n", kNoiseCharts, noiseEvents);
    ASSERT_GE(all.strong, 1500);
    ASSERT_GE(weak.strong, 400);
    EXPECT_GE(100.0 * all.found / all.strong, 99.0);
    EXPECT_GE(100.0 * all.onEdge / all.found, 95.0);
    EXPECT_GE(100.0 * weak.found / weak.strong, 99.0);
    EXPECT_GE(100.0 * weak.onEdge / weak.found, 89.0);
    EXPECT_LE(noiseEvents * 10, kNoiseCharts);
}

// The leading edge of a band-limited pulse as one reads it off a smooth
// trace: where the tangent at its steepest rise (half the lobe's rise, a
// quarter of its width in) meets the baseline.
long double TangentEdge(const chartgen::EdgePulse& p)
{
    constexpr long double kPi = 3.141592653589793238L;
    return p.start + p.width * (0.25L - 0.5L / kPi);
}

struct CleanFigures {
    int charts = 0;
    int events = 0;        // truth events (launch, faults, end, echo)
    int foundWithKind = 0; // ... found, with the right kind
    int onEdge = 0;        // ... found with the leading edge within 1 sample
    int ripples = 0;       // reflections below the floor in the charts
    int belowFloor = 0;    // events reported with a peak below the level floor
    int falseEvents = 0;   // events reported without a truth partner
    int endRight = 0;      // charts whose end (or none) is what the line has
};

// Clean traces: band-limited pulses, no sampling noise, ripple of 0.04..0.7 %
// at default settings.
CleanFigures MeasureClean(chartgen::LineEnd end, int charts, std::uint64_t firstSeed)
{
    CleanFigures f;
    const EventParams params;
    for (int c = 0; c < charts; ++c) {
        EdgeChartOptions o;
        o.seed = firstSeed + static_cast<std::uint64_t>(c);
        o.clean = true;
        o.end = end;
        o.reflectionCount = 4;
        const auto g = GenerateEdgeChart(o);
        const auto found = DetectEvents(g.chart, params);
        ++f.charts;
        f.ripples += static_cast<int>(g.truth.ripples.size());
        std::vector<bool> used(found.size(), false);
        const chartgen::EdgePulse* truthEnd = nullptr;
        for (const chartgen::EdgePulse& t : g.truth.events) {
            ++f.events;
            if (t.kind == EventKind::EndOpen || t.kind == EventKind::EndShort)
                truthEnd = &t;
            const long double edge = TangentEdge(t);
            int best = -1;
            for (std::size_t i = 0; i < found.size(); ++i)
                if (!used[i] && std::fabs(found[i].Sample - edge) <= t.width / 2 &&
                    (best < 0 || std::fabs(found[i].Sample - edge) <
                                     std::fabs(found[static_cast<std::size_t>(best)].Sample - edge)))
                    best = static_cast<int>(i);
            if (best < 0)
                continue;
            used[static_cast<std::size_t>(best)] = true;
            const ChartEvent& e = found[static_cast<std::size_t>(best)];
            f.foundWithKind += e.Kind == t.kind;
            f.onEdge += std::fabs(e.Sample - edge) <= 1;
        }
        for (std::size_t i = 0; i < found.size(); ++i) {
            f.falseEvents += !used[i];
            f.belowFloor += std::fabs(found[i].PeakLevel) < params.Floor();
        }
        const int e = EndEventIndex(found);
        if (truthEnd == nullptr)
            f.endRight += e < 0;
        else
            f.endRight += e >= 0 && found[static_cast<std::size_t>(e)].Kind == truthEnd->kind &&
                          std::fabs(found[static_cast<std::size_t>(e)].Sample - TangentEdge(*truthEnd)) <= 1;
    }
    return f;
}

TEST(EventAccuracy, CleanBandLimitedTracesAtDefaultSettings)
{
    // 60 charts of 10000 samples for each end: the launch, four faults of
    // 2..25 % (1,25..1,75 % on the matched line), 12 ripple reflections of
    // 0,04..0,7 %, and the end with its echo (none on the matched line),
    // every pulse a raised-cosine lobe of 6..24 samples with 2..6 % ringing.
    const struct {
        const char* name;
        chartgen::LineEnd end;
        std::uint64_t seed;
    } sets[] = {{"open line", chartgen::LineEnd::Open, 7000},
                {"shorted line", chartgen::LineEnd::Short, 7100},
                {"matched line", chartgen::LineEnd::Matched, 7200}};
    for (const auto& set : sets) {
        SCOPED_TRACE(set.name);
        const CleanFigures f = MeasureClean(set.end, 60, set.seed);
        std::printf("clean %s: %d charts, events %d, found with their kind %.2f %%, leading edge within 1 "
                    "sample %.2f %%, ripples %d, false events %d, below the floor %d, end right %d of %d\n",
                    set.name, f.charts, f.events, 100.0 * f.foundWithKind / std::max(1, f.events),
                    100.0 * f.onEdge / std::max(1, f.events), f.ripples, f.falseEvents, f.belowFloor,
                    f.endRight, f.charts);
        ASSERT_GE(f.ripples, 10 * f.charts);
        EXPECT_EQ(f.foundWithKind, f.events);
        EXPECT_GE(100.0 * f.onEdge / f.events, 95.0);
        EXPECT_EQ(f.falseEvents, 0);
        EXPECT_EQ(f.belowFloor, 0);
        EXPECT_EQ(f.endRight, f.charts);
    }
}

} // namespace
} // namespace lumidrax
