// Event detection at its edges, the echo of chartgen's charts, the
// comparison with a reference and the velocity check.

#include "EventDetection.h"
#include "ChartGenerator.h"
#include "EdgeChart.h"
#include "EventComparison.h"
#include "TMereni.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace lumidrax {
namespace {

using chartgen::EdgePulse;

TJednoMereni Chart(std::vector<EdgePulse> pulses, int samples = 1000, int start = 11)
{
    chartgen::EdgeChartOptions o;
    o.sampleCount = samples;
    o.pozice0X = start;
    o.noiseSd = 0.3L;
    o.pulses = std::move(pulses);
    return chartgen::GenerateEdgeChart(o).chart;
}

EdgePulse Pulse(EventKind kind, long double start, long double amplitude, long double width = 10)
{
    return {kind, start, width, amplitude, 0.2L};
}

TEST(EventDetection, TooShortAndFlatChartsHaveNoEvents)
{
    TJednoMereni c = test::RampChart();
    for (int n : {0, 1, 2}) {
        c.SetSamples(std::vector<long double>(static_cast<std::size_t>(n), 5));
        EXPECT_TRUE(DetectEvents(c).empty()) << n;
    }
    c.SetSamples(std::vector<long double>(1000, 12.5L));
    EXPECT_TRUE(DetectEvents(c).empty());
    // Absurd levels from a file give events with finite figures.
    c.Sample(500) = std::numeric_limits<long double>::infinity();
    c.Sample(501) = std::numeric_limits<long double>::quiet_NaN();
    c.Sample(700) = -1e4000L;
    const auto events = DetectEvents(c);
    ASSERT_EQ(events.size(), 2u);
    for (const ChartEvent& e : events)
        EXPECT_TRUE(std::isfinite(static_cast<double>(e.Sample)) &&
                    std::isfinite(static_cast<double>(e.Snr)));
}

TEST(EventDetection, EventsInTheFirstAndLastTenSamples)
{
    const TJednoMereni c =
        Chart({Pulse(EventKind::Launch, 3.4L, 60, 6), Pulse(EventKind::EndOpen, 992.5L, 30, 6)}, 1000, 1);
    const auto events = DetectEvents(c);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].Kind, EventKind::Launch);
    EXPECT_NEAR(static_cast<double>(events[0].Sample), 3.4, 1);
    EXPECT_EQ(events[1].Kind, EventKind::EndOpen);
    EXPECT_NEAR(static_cast<double>(events[1].Sample), 992.5, 1);
    EXPECT_EQ(events[1].Distance, EventDistance(c, events[1].Sample));
    EXPECT_GT(events[1].Snr, 50);
}

TEST(EventDetection, EventsCloserThanThePulseWidthAreOne)
{
    const TJednoMereni c = Chart({Pulse(EventKind::Launch, 11, 80), Pulse(EventKind::Short, 400, -20, 12),
                                  Pulse(EventKind::Short, 405, -25, 12), Pulse(EventKind::EndOpen, 700, 40)});
    const auto events = DetectEvents(c);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[1].Kind, EventKind::Short);
    EXPECT_NEAR(static_cast<double>(events[1].Sample), 400, 1);
}

TEST(EventDetection, ClippedReflectionKeepsItsLeadingEdge)
{
    const TJednoMereni c =
        Chart({Pulse(EventKind::Launch, 11, 80), Pulse(EventKind::EndOpen, 600.3L, 180, 20)});
    const auto events = DetectEvents(c);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[1].Kind, EventKind::EndOpen);
    EXPECT_NEAR(static_cast<double>(events[1].Sample), 600.3, 1);
    EXPECT_EQ(events[1].PeakLevel, 100);
}

// chartgen's own charts: the VKR102 form read back with its baseline gives
// the events of the same cable in the 13-token form, and the end's echo is
// an echo.
TEST(EventDetection, ChartgenChartsInBothFormsWithTheEndEcho)
{
    chartgen::ChartOptions o;
    o.sampleCount = 2000;
    o.cableLength = 150;
    o.faults = {{60, -25}};
    test::TempDir dir;
    std::vector<std::vector<ChartEvent>> results;
    for (chartgen::HeaderForm form : {chartgen::HeaderForm::Tokens13, chartgen::HeaderForm::Tokens7}) {
        o.form = form;
        TMereni charts;
        const std::string name = "c" + std::to_string(chartgen::TokenCount(form)) + ".ndt";
        ASSERT_EQ(charts.LoadChart(dir.Write(name, chartgen::ChartText(chartgen::GenerateChart(o), form))),
                  1);
        results.push_back(DetectEvents(charts.Rec(1)));
    }
    const auto& events = results[0];
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].Kind, EventKind::Launch);
    EXPECT_EQ(events[1].Kind, EventKind::Short);
    EXPECT_NEAR(static_cast<double>(events[1].Distance), 60, 3);
    EXPECT_EQ(events[2].Kind, EventKind::EndOpen);
    EXPECT_NEAR(static_cast<double>(events[2].Distance), 150, 3);
    EXPECT_EQ(events[3].Kind, EventKind::Echo);
    ASSERT_EQ(results[1].size(), events.size());
    for (std::size_t i = 0; i < events.size(); ++i) {
        EXPECT_EQ(results[1][i].Kind, events[i].Kind);
        EXPECT_NEAR(static_cast<double>(results[1][i].Sample), static_cast<double>(events[i].Sample), 0.5);
    }
}

TEST(EventComparison, NewMovedSameAndGone)
{
    const TJednoMereni ref = Chart({Pulse(EventKind::Launch, 11, 80), Pulse(EventKind::Short, 300, -20),
                                    Pulse(EventKind::Open, 500, 15), Pulse(EventKind::EndOpen, 800, 40)});
    const TJednoMereni now = Chart({Pulse(EventKind::Launch, 11, 80), Pulse(EventKind::Short, 300, -20),
                                    Pulse(EventKind::Short, 600, -18), Pulse(EventKind::EndOpen, 760, 40)});
    const auto compared = CompareEvents(DetectEvents(now), DetectEvents(ref), now.Step);
    std::vector<std::string> changes;
    for (const ComparedEvent& c : compared)
        changes.emplace_back(EventChangeName(c.Change));
    EXPECT_EQ(changes, (std::vector<std::string>{"same", "same", "new", "moved", "gone"}));
    EXPECT_NEAR(static_cast<double>(compared[3].Shift), -40 * static_cast<double>(now.Step), 0.5);
    EXPECT_EQ(compared[4].RefIndex, 2);
}

TEST(EventDetection, VelocityThatPutsAnEventAtItsTrueLength)
{
    TJednoMereni c = Chart({Pulse(EventKind::Launch, 11, 80), Pulse(EventKind::EndOpen, 511, 40)});
    const long double atEnd = EventDistance(c, 511);
    EXPECT_NEAR(static_cast<double>(*VelocityForLength(c, 511, atEnd * 1.1L)), 0.66 * 1.1, 1e-9);
    EXPECT_FALSE(VelocityForLength(c, 11, 10));
    EXPECT_FALSE(VelocityForLength(c, 511, 0));
    // No cable has a velocity factor above 1 or below 0,1: the event cannot
    // be that far.
    EXPECT_TRUE(VelocityForLength(c, 511, atEnd / 0.66L * 0.999L));
    EXPECT_FALSE(VelocityForLength(c, 511, atEnd / 0.66L * 1.01L));
    EXPECT_FALSE(VelocityForLength(c, 511, atEnd / 0.66L * 0.09L));
}

// A clean trace (no sampling noise) with reflections of 0,6, 1,5 and 1,8 %
// after the launch: the level floor decides which are events, and the end
// must clear twice the floor.
TEST(EventDetection, LevelFloorAndTheEndsFloor)
{
    chartgen::EdgeChartOptions o;
    o.sampleCount = 1000;
    o.noiseSd = 0;
    o.pulses = {Pulse(EventKind::Launch, 11, 80), Pulse(EventKind::Open, 300, 0.6L),
                Pulse(EventKind::Short, 500, -1.5L), Pulse(EventKind::Open, 700, 1.8L)};
    const TJednoMereni c = chartgen::GenerateEdgeChart(o).chart;
    const struct {
        long double floor;
        std::vector<EventKind> kinds;
    } cases[] = {
        {1, {EventKind::Launch, EventKind::Short, EventKind::Open}},
        {0.5L, {EventKind::Launch, EventKind::Open, EventKind::Short, EventKind::EndOpen}},
        {0.85L, {EventKind::Launch, EventKind::Short, EventKind::EndOpen}},
        {2, {EventKind::Launch}},
    };
    for (const auto& t : cases) {
        SCOPED_TRACE(static_cast<double>(t.floor));
        EventParams params;
        params.LevelFloor = t.floor;
        const auto events = DetectEvents(c, params);
        std::vector<EventKind> kinds;
        for (const ChartEvent& e : events)
            kinds.push_back(e.Kind);
        EXPECT_EQ(kinds, t.kinds);
        EXPECT_EQ(EndEventIndex(events) >= 0, t.floor * 2 <= 1.8L);
    }
}

// Noise from a trailing moving average is correlated from sample to sample:
// its first differences shrink with the window, its spread less. The
// estimate follows the spread.
TEST(EventDetection, NoiseOfSmoothAndFilteredTraces)
{
    chartgen::EdgeChartOptions o;
    o.sampleCount = 10000;
    o.noiseSd = 0.5L;
    o.pureNoise = true;
    const TJednoMereni raw = chartgen::GenerateEdgeChart(o).chart;
    EXPECT_NEAR(static_cast<double>(EstimateNoise(raw.Samples).Sd), 0.5, 0.03);
    for (int w : {5, 20}) {
        SCOPED_TRACE(w);
        std::vector<long double> filtered(raw.Samples.size());
        long double sum = 0;
        for (std::size_t k = 0; k < filtered.size(); ++k) {
            sum += raw.Samples[k];
            if (k >= static_cast<std::size_t>(w))
                sum -= raw.Samples[k - static_cast<std::size_t>(w)];
            filtered[k] = sum / static_cast<long double>(std::min<std::size_t>(k + 1, w));
        }
        // The spread of a mean of w independent samples.
        const double expected = 0.5 / std::sqrt(static_cast<double>(w));
        EXPECT_NEAR(static_cast<double>(EstimateNoise(filtered, w).Sd), expected, 0.15 * expected);
    }
    // A smooth ripple of 0,5 % amplitude: its spread, not the quantisation.
    std::vector<long double> ripple(10000);
    for (std::size_t k = 0; k < ripple.size(); ++k)
        ripple[k] = std::nearbyint(50 * std::sin(static_cast<double>(k) / 6)) / 100;
    EXPECT_GT(EstimateNoise(ripple).Sd, 0.25L);
}

} // namespace
} // namespace lumidrax
