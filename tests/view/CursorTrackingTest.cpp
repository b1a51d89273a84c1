// The cursor operations on hand-built collections: which chart and sample
// the mouse picks with samples close together and far apart, the margins,
// ties, the lower clamp, the reference click and the chart switching keys;
// and the read-out texts built from the result.
#include "CursorTracking.h"
#include "ReadoutTexts.h"
#include "ZoomShift.h"

#include <gtest/gtest.h>

namespace lumidrax {
namespace {

// Appends a displayed chart starting at `xStart` with the given step and
// samples; the full extent and the view follow.
int Add(TMereni& m, long double xStart, long double step, std::vector<long double> samples)
{
    TJednoMereni c;
    c.SetSamples(std::move(samples));
    m.AppendRecord(std::move(c));
    TJednoMereni& r = m.Last();
    r.XStart = xStart;
    r.Step = step;
    r.XEnd = xStart + (r.SampleCount - 1) * step;
    m.ComputeFullRange(true);
    m.ViewXMin = m.FullXMin;
    m.ViewXMax = m.FullXMax;
    m.ViewYMin = m.FullYMin;
    m.ViewYMax = m.FullYMax;
    return m.Count;
}

std::vector<long double> Level(int n, long double level)
{
    return std::vector<long double>(static_cast<std::size_t>(n), level);
}

// 0, 1, 2, ... so each sample's level names it.
std::vector<long double> Ramp(int n)
{
    std::vector<long double> v;
    for (int k = 0; k < n; ++k)
        v.push_back(k);
    return v;
}

ViewTransform ViewOf(const TMereni& m, int w, int h)
{
    ViewTransform v(m, w, h);
    v.UpdateScales(m.ShownCount);
    return v;
}

TEST(TrackCursorDense, PicksTheCoveringChartNearestToTheMouseLevelAndTheHigherOnTies)
{
    TMereni m;
    Add(m, 0, 1, Level(10, 10));
    Add(m, 0, 1, Level(10, 30));
    EXPECT_EQ(TrackCursorDense(m, 4.4L, 25), CursorListFollow{2});
    EXPECT_EQ(m.ActiveIndex, 2);
    EXPECT_EQ(m.ActiveCursor, 5);
    EXPECT_EQ(m.ActiveCursorX, 4);
    EXPECT_EQ(m.ActiveCursorY, 30);

    EXPECT_EQ(TrackCursorDense(m, 6.6L, 12), CursorListFollow{1});
    EXPECT_EQ(m.ActiveIndex, 1);
    EXPECT_EQ(m.ActiveCursor, 8);
    EXPECT_EQ(m.ActiveCursorY, 10);

    // Exactly between the two traces: the higher index.
    TrackCursorDense(m, 3, 20);
    EXPECT_EQ(m.ActiveIndex, 2);

    // Two charts at the same level: the higher index.
    TMereni same;
    Add(same, 0, 1, Level(10, 20));
    Add(same, 0, 1, Level(10, 20));
    Add(same, 50, 1, Level(10, 20)); // does not cover x = 3
    TrackCursorDense(same, 3, -70);
    EXPECT_EQ(same.ActiveIndex, 2);
}

TEST(TrackCursorDense, HiddenChartsDoNotCountAndNothingDisplayedOnlyFollowsTheList)
{
    TMereni m;
    Add(m, 0, 1, Level(10, 10));
    Add(m, 0, 1, Level(10, 30));
    m.Rec(2).Shown = false;
    TrackCursorDense(m, 4, 30);
    EXPECT_EQ(m.ActiveIndex, 1);

    TMereni none;
    Add(none, 0, 1, Level(10, 10));
    none.Rec(1).Shown = false;
    none.ShownCount = 0;
    none.ActiveIndex = 1;
    none.ActiveCursor = 3;
    EXPECT_EQ(TrackCursorDense(none, 4, 10), CursorListFollow{1});
    EXPECT_EQ(none.ActiveCursor, 3);
}

TEST(TrackCursorDense, OutsideTheFullExtentTakesTheNearestEndAndNeverSampleOne)
{
    TMereni m;
    Add(m, 5, 1, Ramp(10));  // 5..14
    Add(m, 0, 1, Ramp(12));  // 0..11, starts nearest to the left
    Add(m, 20, 1, Ramp(10)); // 20..29, ends nearest to the right
    ASSERT_LT(m.FullXMin, 0);
    ASSERT_GT(m.FullXMax, 29);

    // Left of the full extent: the chart starting nearest, on sample 2 (the
    // lower clamp), not sample 1.
    TrackCursorDense(m, m.FullXMin - 1, 0);
    EXPECT_EQ(m.ActiveIndex, 2);
    EXPECT_EQ(m.ActiveCursor, 2);
    EXPECT_EQ(m.ActiveCursorX, 1);
    EXPECT_EQ(m.ActiveCursorY, 1);

    // Over the first sample of a chart: also sample 2.
    TMereni one;
    Add(one, 0, 1, Ramp(10));
    TrackCursorDense(one, 0.2L, 0);
    EXPECT_EQ(one.ActiveCursor, 2);

    // Right of the full extent: the chart ending nearest, on its last sample.
    TrackCursorDense(m, m.FullXMax + 1, 0);
    EXPECT_EQ(m.ActiveIndex, 3);
    EXPECT_EQ(m.ActiveCursor, 10);
    EXPECT_EQ(m.ActiveCursorX, 29);
}

TEST(TrackCursorDense, MarginsAndGapsLeaveTheCursorWhereItWas)
{
    TMereni m;
    Add(m, 0, 1, Ramp(10));  // 0..9
    Add(m, 20, 1, Ramp(10)); // 20..29
    TrackCursorDense(m, 25, 0);
    ASSERT_EQ(m.ActiveIndex, 2);
    ASSERT_EQ(m.ActiveCursor, 6);

    // In the gap between the charts.
    EXPECT_EQ(TrackCursorDense(m, 15, 0), CursorListFollow{2});
    EXPECT_EQ(m.ActiveIndex, 2);
    EXPECT_EQ(m.ActiveCursor, 6);
    EXPECT_EQ(m.ActiveCursorX, 25);

    // In the margin between the full extent's start and the first chart.
    ASSERT_LT(m.FullXMin, -1);
    TrackCursorDense(m, -1, 0);
    EXPECT_EQ(m.ActiveIndex, 2);
    EXPECT_EQ(m.ActiveCursor, 6);

    // In the margin with no active chart (it was hidden): still none, and
    // no sample of a chart 0 is read.
    m.ActiveIndex = 0;
    m.ActiveCursor = 0;
    EXPECT_EQ(TrackCursorDense(m, -1, 0), CursorListFollow{0});
    EXPECT_EQ(m.ActiveIndex, 0);
    EXPECT_EQ(m.ActiveCursor, 0);
}

TEST(TrackCursorSparse, PicksTheNearestDotOnScreenEvenOutsideTheLevelRange)
{
    TMereni m;
    Add(m, 0, 1, Level(20, -40));
    Add(m, 0, 1, Level(20, 30));
    SetView(m, {0, -10, 10, 10});
    const ViewTransform v = ViewOf(m, 200, 100);
    ASSERT_TRUE(UsesSparseTracking(m, v)); // 20 pixels per sample

    // Neither trace is in the level range; the mouse at the top is nearer
    // chart 2's dots.
    EXPECT_EQ(TrackCursorSparse(m, v, 3.3L, 10), CursorListFollow{2});
    EXPECT_EQ(m.ActiveIndex, 2);
    EXPECT_EQ(m.ActiveCursor, 4);
    EXPECT_EQ(m.ActiveCursorX, 3);
    EXPECT_EQ(m.ActiveCursorY, 30);
    // At the bottom, chart 1's.
    TrackCursorSparse(m, v, 7.8L, -10);
    EXPECT_EQ(m.ActiveIndex, 1);
    EXPECT_EQ(m.ActiveCursor, 9);

    // Only dots in the distance range count: far right of the view the
    // last visible dot (distance 10, sample 11) is nearest.
    TrackCursorSparse(m, v, 40, 30);
    EXPECT_EQ(m.ActiveCursor, 11);

    // No dot in the visible distance range: no active chart.
    m.ViewXMin = 100;
    m.ViewXMax = 110;
    const ViewTransform away = ViewOf(m, 200, 100);
    EXPECT_EQ(TrackCursorSparse(m, away, 105, 0), CursorListFollow{0});
    EXPECT_EQ(m.ActiveIndex, 0);
    EXPECT_EQ(m.ActiveCursor, 0);
}

TEST(TrackCursorSparse, TiesGoToTheReferenceChartThenToTheHigherIndex)
{
    TMereni m;
    Add(m, 0, 1, Level(20, 5));
    Add(m, 0, 1, Level(20, 5));
    Add(m, 0, 1, Level(20, 5));
    SetView(m, {0, -10, 10, 10});
    const ViewTransform v = ViewOf(m, 200, 100);
    m.RefIndex = 0;
    TrackCursorSparse(m, v, 2, 5);
    EXPECT_EQ(m.ActiveIndex, 3);
    m.RefIndex = 1;
    m.RefCursor = 1;
    TrackCursorSparse(m, v, 2, 5);
    EXPECT_EQ(m.ActiveIndex, 1);
    // A hidden reference chart has no dots to pick.
    m.Rec(1).Shown = false;
    TrackCursorSparse(m, v, 2, 5);
    EXPECT_EQ(m.ActiveIndex, 3);
}

TEST(TrackMouse, ChoosesSparseAboveTenPixelsPerSampleAndIgnoresAnEmptyView)
{
    TMereni m;
    Add(m, 0, 1, Ramp(101)); // 0..100
    SetView(m, {0, -200, 100, 200});
    // Exactly 10 pixels per sample: dense, which ignores the level.
    const ViewTransform ten = ViewOf(m, 1000, 400);
    EXPECT_EQ(LargestSampleSpacing(m, ten), 10);
    EXPECT_FALSE(UsesSparseTracking(m, ten));
    TrackMouse(m, ten, 505, 0);
    EXPECT_EQ(m.ActiveCursor, 51);
    // 20 pixels: sparse; the mouse at the top-left corner is nearest the
    // first dot, which dense tracking never gives.
    const ViewTransform twenty = ViewOf(m, 2000, 400);
    EXPECT_TRUE(UsesSparseTracking(m, twenty));
    TrackMouse(m, twenty, 0, 200);
    EXPECT_EQ(m.ActiveCursor, 1);

    TMereni empty;
    EXPECT_EQ(TrackMouse(empty, ViewOf(empty, 100, 100), 5, 5), CursorListFollow{});
}

TEST(SetReferenceFromActive, CopiesTheActiveCursorOrClearsTheReference)
{
    TMereni m;
    Add(m, 0, 1, Ramp(10));
    Add(m, 0, 1, Level(10, 30));
    TrackCursorDense(m, 4, 30);
    SetReferenceFromActive(m);
    EXPECT_EQ(m.RefIndex, 2);
    EXPECT_EQ(m.RefCursor, 5);
    EXPECT_EQ(m.RefCursorX, 4);
    EXPECT_EQ(m.RefCursorY, 30);
    m.ActiveIndex = 0;
    m.ActiveCursor = 0;
    SetReferenceFromActive(m);
    EXPECT_EQ(m.RefIndex, 0);
    EXPECT_EQ(m.RefCursor, 0);

    // The active chart hidden (made active through the list): no reference.
    m.ActiveIndex = 1;
    m.ActiveCursor = 3;
    m.RefIndex = 2;
    m.RefCursor = 5;
    m.Rec(1).Shown = false;
    SetReferenceFromActive(m);
    EXPECT_EQ(m.RefIndex, 0);
}

TEST(ChartSwitching, DisplayedChartsKeepTheCursorDistance)
{
    TMereni m;
    Add(m, 0, 1, Ramp(20));  // 1: 0..19
    Add(m, 0, 1, Ramp(20));  // 2: hidden
    Add(m, 10, 1, Ramp(20)); // 3: 10..29
    m.Rec(2).Shown = false;
    m.ActiveIndex = 1;
    m.ActiveCursor = 16; // distance 15
    EXPECT_EQ(SelectNextDisplayed(m), CursorListFollow{3});
    EXPECT_EQ(m.ActiveIndex, 3);
    EXPECT_EQ(m.ActiveCursor, 6);
    EXPECT_EQ(m.ActiveCursorX, 15);
    EXPECT_EQ(m.ActiveCursorY, 5);
    // No displayed chart after 3.
    EXPECT_EQ(SelectNextDisplayed(m), CursorListFollow{});
    EXPECT_EQ(m.ActiveIndex, 3);

    // Back to 1 from a distance chart 1 does not reach: its last sample.
    m.ActiveCursor = 20; // distance 29
    EXPECT_EQ(SelectPreviousDisplayed(m), CursorListFollow{1});
    EXPECT_EQ(m.ActiveCursor, 20);
    EXPECT_EQ(m.ActiveCursorX, 19);
    EXPECT_EQ(SelectPreviousDisplayed(m), CursorListFollow{});

    // From a distance before chart 3's start: its first sample, never a
    // sample 0.
    m.ActiveCursor = 3; // distance 2
    SelectNextDisplayed(m);
    EXPECT_EQ(m.ActiveIndex, 3);
    EXPECT_EQ(m.ActiveCursor, 1);
    EXPECT_EQ(m.ActiveCursorX, 10);
}

TEST(ChartSwitching, ListedChartsFollowTheRowsAsTheListShowsThem)
{
    TMereni m;
    Add(m, 0, 1, Ramp(20));
    Add(m, 0, 1, Ramp(20));
    Add(m, 0, 2, Ramp(20));
    m.ActiveIndex = 1;
    m.ActiveCursor = 9; // distance 8
    // All charts listed: row r shows chart r + 1.
    const std::vector<int> all = {1, 2, 3};
    EXPECT_EQ(SelectNextListed(m, all, 0), 1);
    EXPECT_EQ(m.ActiveIndex, 2);
    EXPECT_EQ(m.ActiveCursor, 9);
    EXPECT_EQ(SelectNextListed(m, all, 2), 2);
    EXPECT_EQ(m.ActiveIndex, 2);
    // Only displayed charts listed (chart 2 hidden): the row after chart 1's
    // shows chart 3.
    const std::vector<int> shown = {1, 3};
    m.ActiveIndex = 1;
    EXPECT_EQ(SelectNextListed(m, shown, 0), 1);
    EXPECT_EQ(m.ActiveIndex, 3);
    EXPECT_EQ(m.ActiveCursor, 5);
    EXPECT_EQ(m.ActiveCursorX, 8);
    EXPECT_EQ(SelectPreviousListed(m, shown, 1), 0);
    EXPECT_EQ(m.ActiveIndex, 1);
    EXPECT_EQ(m.ActiveCursor, 9);
    EXPECT_EQ(SelectPreviousListed(m, shown, 0), 0);
    EXPECT_EQ(m.ActiveIndex, 1);
}

TEST(ReadoutTexts, CursorPanelShowsEachCursorAndTheDifferenceOnlyWhenBothAreThere)
{
    TMereni m;
    Add(m, 0, 0.25L, Level(100, 33.25L));
    Add(m, 0, 0.25L, Level(100, -4.25L));
    m.ActiveIndex = 1;
    m.ActiveCursor = 51;
    m.ActiveCursorX = 12.5L;
    m.ActiveCursorY = 33.25L;
    m.RefIndex = 0;
    CursorReadoutTexts t = CursorReadouts(m);
    EXPECT_EQ(t.MainX, "12,50 m");
    EXPECT_EQ(t.MainY, "33,3 %");
    EXPECT_EQ(t.MainFill, m.Rec(1).Color);
    EXPECT_EQ(t.RefX, "");
    EXPECT_EQ(t.DiffX, "");
    EXPECT_EQ(t.DiffY, "");
    EXPECT_FALSE(t.RefFill);

    m.RefIndex = 2;
    m.RefCursor = 10;
    m.RefCursorX = 2.25L;
    m.RefCursorY = -4.25L;
    t = CursorReadouts(m);
    EXPECT_EQ(t.RefX, "2,25 m");
    EXPECT_EQ(t.RefY, "-4,3 %");
    EXPECT_EQ(t.DiffX, "10,25 m");
    EXPECT_EQ(t.DiffY, "37,5 %");
    EXPECT_EQ(t.RefFill, m.Rec(2).Color);

    // A hidden active chart: only the reference.
    m.Rec(1).Shown = false;
    t = CursorReadouts(m);
    EXPECT_EQ(t.MainX, "");
    EXPECT_EQ(t.DiffY, "");
    EXPECT_EQ(t.RefX, "2,25 m");
    EXPECT_FALSE(t.MainFill);
}

TEST(ReadoutTexts, ChartInfoFields)
{
    TMereni m;
    Add(m, 0, 1, Level(10, 1));
    TJednoMereni& c = m.Rec(1);
    c.Impedance = 75;
    c.Velocity = 0.667L;
    c.Noise = 3;
    c.DC = -2;
    c.Filter = 1;
    c.FilterPost = 5;
    c.NegEdge = 0;
    c.StatusIDX = -1;
    c.DCVoltageStr = "12,5 V";
    c.DCResistStr = "3,2 kOhm";
    c.DatumCas = "01.02.2024 10:11:12";
    ChartInfoTexts t = ChartInfo(m, 1);
    EXPECT_EQ(t.CurveNo, "1");
    EXPECT_EQ(t.Impedance, "75 Ohm");
    EXPECT_EQ(t.Velocity, "66,7%");
    EXPECT_EQ(t.Noise, "3%");
    EXPECT_EQ(t.DC, "-2%");
    EXPECT_EQ(t.Filter, "Off + 5");
    EXPECT_EQ(t.Edge, "N");
    EXPECT_EQ(t.Voltage, "---");
    EXPECT_EQ(t.Resistance, "---");
    EXPECT_EQ(t.DateTime, "01.02.2024 10:11:12");
    EXPECT_EQ(t.Marker, c.Color);

    c.Filter = 4;
    c.FilterPost = 1;
    c.NegEdge = 1;
    c.StatusIDX = 0;
    t = ChartInfo(m, 1);
    EXPECT_EQ(t.Filter, "4");
    EXPECT_EQ(t.Edge, "P");
    EXPECT_EQ(t.Voltage, "12,5 V");
    EXPECT_EQ(t.Resistance, "3,2 kOhm");
    c.NegEdge = -1;
    EXPECT_EQ(ChartInfo(m, 1).Edge, "-");

    const ChartInfoTexts none = ChartInfo(m, 0);
    EXPECT_EQ(none.CurveNo, "---");
    EXPECT_EQ(none.Voltage, "---");
    EXPECT_EQ(none.DateTime, "---");
    EXPECT_EQ(none.Edge, "-");
    EXPECT_FALSE(none.Marker);
    EXPECT_EQ(ChartInfo(m, 2), none);

    // The active panel needs a displayed chart; the reference panel does not.
    m.ActiveIndex = 1;
    m.RefIndex = 1;
    EXPECT_EQ(ActiveChartInfo(m).CurveNo, "1");
    m.Rec(1).Shown = false;
    m.ShownCount = 0;
    EXPECT_EQ(ActiveChartInfo(m), none);
    EXPECT_EQ(RefChartInfo(m).CurveNo, "1");

    EXPECT_TRUE(RefFilterAvailable(m));
    c.FilterPost = 2;
    EXPECT_FALSE(RefFilterAvailable(m));
    m.RefIndex = 0;
    EXPECT_FALSE(RefFilterAvailable(m));
}

} // namespace
} // namespace lumidrax
