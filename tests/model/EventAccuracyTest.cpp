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

} // namespace
} // namespace lumidrax
