// AddChart, the one way a chart joins the collection: a refused raw chart
// leaves no trace, and each caller's baseline and full-extent steps.

#include "ChartFile.h"
#include "TMereni.h"

#include <gtest/gtest.h>

#include <tuple>

namespace lumidrax {
namespace {

TJednoMereni Chart(int pozice0X, int pozice0Y, std::vector<long double> samples)
{
    TJednoMereni c;
    c.Interval = 2000;
    c.Velocity = 0.66L;
    c.Pozice0X = pozice0X;
    c.Pozice0Y = pozice0Y;
    c.SetSamples(std::move(samples));
    return c;
}

// Everything of the collection besides the records.
auto State(const TMereni& m)
{
    return std::tuple(m.Count, m.ShownCount, m.SlotFree, m.ActiveIndex, m.RefIndex, m.RefCursor, m.RefCursorX,
                      m.RefCursorY, m.FullXMin, m.FullXMax, m.FullYMin, m.FullYMax, m.ViewXMin, m.ViewXMax,
                      m.ViewYMin, m.ViewYMax);
}

TEST(AddChart, ARefusedRawChartLeavesTheCollectionAsItWas)
{
    TMereni m;
    m.AddChart(Chart(3, 0, {1, 2, 3, 4, 5}));
    m.AddChart(Chart(1, 0, {-7, 9}));
    m.ViewXMin += 0.1L; // zoomed in
    const auto before = State(m);
    const TJednoMereni raw = Chart(0, -1, {130, 140, 150});

    EXPECT_THROW(m.AddChart(raw), ChartFileError);
    EXPECT_EQ(State(m), before);
    EXPECT_EQ(m.FirstFreeSlot(), 3);

    // A received chart of the oldest model starting before its first sample
    // takes that sample as the baseline instead.
    EXPECT_EQ(m.AddChart(raw, {.Baseline = RawBaseline::FirstSampleBelowStart}), 3);
    EXPECT_EQ(m.Rec(3).Pozice0Y, 130);
    EXPECT_EQ(m.Rec(3).Samples, (std::vector<long double>{-100, -90, -80}));
    EXPECT_EQ(m.Rec(3).ColorSlot, 3);
    EXPECT_EQ(m.RefIndex, 3);
}

TEST(AddChart, FilteredAndAveragedChartsKeepTheirSamplesAndTheFullExtent)
{
    TMereni m;
    m.AddChart(Chart(1, 0, {1, 2, 3}));
    const auto extent = std::tuple(m.FullXMin, m.FullXMax, m.FullYMin, m.FullYMax, m.ViewXMin, m.ViewYMax);

    // A copy whose baseline came out as -1 is not set on it a second time.
    TJednoMereni copy = Chart(1, -1, {10, 20, 30, 40});
    EXPECT_EQ(m.AddChart(copy, {.Baseline = RawBaseline::AlreadyApplied, .FullRange = false}), 2);
    EXPECT_EQ(m.Rec(2).Samples, copy.Samples);
    EXPECT_EQ(m.Rec(2).XEnd, 0.6L);
    EXPECT_EQ(std::tuple(m.FullXMin, m.FullXMax, m.FullYMin, m.FullYMax, m.ViewXMin, m.ViewYMax), extent);
    EXPECT_EQ(m.Rec(2).ColorSlot, 2);
    EXPECT_EQ(m.RefIndex, 2);

    // The same record from a file: set on its baseline, the extent follows.
    m.AddChart(copy);
    EXPECT_EQ(m.Rec(3).Pozice0Y, 10);
    EXPECT_GT(m.FullXMax, std::get<1>(extent));
    EXPECT_TRUE(m.ViewIsFull());
}

} // namespace
} // namespace lumidrax
