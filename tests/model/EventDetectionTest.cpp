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
}

} // namespace
} // namespace lumidrax
