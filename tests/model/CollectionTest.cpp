#include "ChartFile.h"
#include "TMereni.h"
#include "TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace lumidrax;
using lumidrax::test::TempDir;

namespace {

// A chart record with the given settings and samples, not yet in a collection.
TJednoMereni Chart(int interval, long double velocity, int pozice0X, std::vector<long double> samples)
{
    TJednoMereni c;
    c.Interval = interval;
    c.Velocity = velocity;
    c.Pozice0X = pozice0X;
    c.Pozice0Y = 0;
    c.FilterPost = 1;
    c.VerzeVKR = "VKR103";
    c.DatumCas = "---";
    c.SetSamples(std::move(samples));
    return c;
}

std::string WriteChart(const TempDir& dir, const std::string& name, const TJednoMereni& c)
{
    return dir.Write(name, ChartFileText(c));
}

} // namespace

TEST(Collection, DistanceScaleFollowsTheSettings)
{
    TMereni m;
    m.AppendRecord(Chart(2000, 0.66L, 1, {1, 2, 3}));
    EXPECT_EQ(m.Rec(1).Step, 0.2L); // 2000 * 0.299793 * 0.66 / 2000 = 0.19786 -> 0.2
    EXPECT_EQ(m.Rec(1).XStart, 0);
    EXPECT_EQ(m.Rec(1).XEnd, 0.4L);

    m.AppendRecord(Chart(2000, 0.66L, 11, {}));
    const TJednoMereni& empty = m.Rec(2);
    EXPECT_EQ(empty.XStart, -2);
    EXPECT_EQ(empty.XEnd, empty.XStart - empty.Step);
    EXPECT_EQ(empty.YMin, 1000);
    EXPECT_EQ(empty.YMax, -1000);
}

TEST(Collection, LoadingTheSamePathTwiceIsRefusedButAnotherSpellingLoads)
{
    TempDir dir;
    TMereni m;
    const std::string path = WriteChart(dir, "line1.ndt", Chart(2000, 0.66L, 1, {1, 2}));
    EXPECT_EQ(m.LoadChart(path), 1);
    EXPECT_EQ(m.Rec(1).FileName, path);
    EXPECT_EQ(m.Rec(1).AutoFileName, path);
    EXPECT_EQ(m.Rec(1).DisplayName, path);
    EXPECT_TRUE(m.Rec(1).Saved);
    EXPECT_TRUE(m.Rec(1).IsNew);
    EXPECT_EQ(m.LoadChart(path), -3);
    EXPECT_EQ(m.LoadChart(dir.Path() + "/./line1.ndt"), 2);
    EXPECT_EQ(m.LoadChart(dir.File("missing.ndt")), -1);
    std::filesystem::create_directory(dir.File("folder.ndt"));
    EXPECT_EQ(m.LoadChart(dir.File("folder.ndt")), -2);
    EXPECT_EQ(m.Count, 2);
}

TEST(Collection, EleventhChartIsListedButNotDrawnAndSlotsAreReused)
{
    TMereni m;
    for (int i = 0; i < 11; ++i)
        m.AppendRecord(Chart(2000, 0.66L, 1, {static_cast<long double>(i)}));
    EXPECT_EQ(m.ShownCount, 10);
    EXPECT_EQ(m.Rec(1).Color, 0xFF0000u);
    EXPECT_EQ(m.Rec(2).Color, 0x4040FFu);
    EXPECT_EQ(m.Rec(10).Color, 0x000000u);
    EXPECT_FALSE(m.Rec(11).Shown);
    EXPECT_EQ(m.Rec(11).ColorSlot, 0);
    EXPECT_EQ(m.Rec(11).Color, kWhite);

    m.DeleteChart(3); // frees slot 3 (green); numbers above move down
    EXPECT_EQ(m.Count, 10);
    EXPECT_EQ(m.ShownCount, 9);
    EXPECT_EQ(m.Rec(3).Sample(1), 3);
    m.DeleteChart(6); // the chart in slot 7
    m.AppendRecord(Chart(2000, 0.66L, 1, {42}));
    EXPECT_EQ(m.Last().ColorSlot, 3); // the lowest free slot, not ShownCount + 1
    EXPECT_EQ(m.Last().Color, 0x00A000u);

    m.Scheme = ColourScheme::Dark;
    m.AppendRecord(Chart(2000, 0.66L, 1, {43}));
    EXPECT_EQ(m.Last().ColorSlot, 7);
    m.ClearAll();
    EXPECT_EQ(m.Count, 0);
    EXPECT_EQ(m.ShownCount, 0);
    EXPECT_EQ(m.FirstFreeSlot(), 1);
    EXPECT_EQ(m.RefIndex, 0);
}

TEST(Collection, FullExtentHasMarginsAndTheViewFollowsUnlessZoomed)
{
    TMereni m;
    m.AppendRecord(Chart(2000, 0.66L, 1, {-10, 20, 5})); // 0..0.4 m
    m.ComputeFullRange(true);
    EXPECT_NEAR(static_cast<double>(m.FullXMin), -0.02, 1e-15);
    EXPECT_NEAR(static_cast<double>(m.FullXMax), 0.42, 1e-15);
    EXPECT_EQ(m.FullYMin, -22);
    EXPECT_EQ(m.FullYMax, 22);
    EXPECT_TRUE(m.ViewIsFull());

    m.AppendRecord(Chart(2000, 0.66L, 11, {-50, 1})); // -2 .. -1.8 m
    m.ComputeFullRange(false);
    EXPECT_NEAR(static_cast<double>(m.FullXMin), -2 - 2.4 / 20, 1e-15);
    EXPECT_EQ(m.FullYMax, 55);
    EXPECT_TRUE(m.ViewIsFull()); // the view was not zoomed, so it follows

    m.ViewXMin = -1; // the user zoomed
    m.AppendRecord(Chart(2000, 0.66L, 1, {90}));
    m.ComputeFullRange(true);
    EXPECT_EQ(m.FullYMax, 99);
    EXPECT_EQ(m.ViewXMin, -1);
    EXPECT_NE(m.ViewYMax, 99);

    m.ClearAll(); // nothing drawn: the margins work on the start values
    EXPECT_EQ(m.FullXMin, 1.1e11L);
    EXPECT_EQ(m.FullXMax, -1.1e11L);
    EXPECT_EQ(m.FullYMin, -1100);
    EXPECT_EQ(m.FullYMax, 1100);
}

TEST(Collection, ReferenceCursorKeepsItsDistanceAcrossCharts)
{
    TempDir dir;
    TMereni m;
    ASSERT_EQ(m.LoadChart(WriteChart(dir, "a.ndt", Chart(2000, 0.66L, 3, {1, 2, 3, 4, 5, 6}))), 1);
    EXPECT_EQ(m.RefIndex, 1);
    EXPECT_EQ(m.RefCursor, 4); // Pozice0X + 1
    m.RefCursor = 5;           // 0.4 m
    // Chart b has 0.4 m steps and starts at 0: 0.4 m is its sample 2.
    ASSERT_EQ(m.LoadChart(WriteChart(dir, "b.ndt", Chart(4000, 0.66L, 1, {10, 20, 30}))), 2);
    EXPECT_EQ(m.RefIndex, 2);
    EXPECT_EQ(m.RefCursor, 2);
    EXPECT_EQ(m.RefCursorX, 0.4L);
    EXPECT_EQ(m.RefCursorY, 20);
    m.RefCursor = 3; // 0.8 m, beyond chart c's end: its last sample
    ASSERT_EQ(m.LoadChart(WriteChart(dir, "c.ndt", Chart(2000, 0.66L, 1, {7, 8}))), 3);
    EXPECT_EQ(m.RefCursor, 2);
    EXPECT_EQ(m.RefCursorY, 8);
    m.RefCursor = 1; // 0 m, before chart d's start: sample 1
    ASSERT_EQ(m.LoadChart(WriteChart(dir, "d.ndt", Chart(2000, 0.66L, 1, {9}))), 4);
    EXPECT_EQ(m.RefCursor, 1);
}

TEST(Collection, DistanceToSampleBounds)
{
    TJednoMereni c = Chart(2000, 0.66L, 1, {1, 2, 3, 4});
    TMereni m;
    const TJednoMereni& r = m.AppendRecord(c);
    EXPECT_EQ(DistanceToSample(r, -0.01L), 0);
    EXPECT_EQ(DistanceToSample(r, 0), 1);
    EXPECT_EQ(DistanceToSample(r, 0.1L), 1); // 0.5 rounds to even 0
    EXPECT_EQ(DistanceToSample(r, 0.3L), 3); // 1.5 rounds to even 2
    EXPECT_EQ(DistanceToSample(r, 0.6L), 4);
    EXPECT_EQ(DistanceToSample(r, 0.61L), 4); // beyond the last sample
    // A chart whose settings give no distance step never divides by zero.
    const TJednoMereni& flat = m.AppendRecord(Chart(0, 0.66L, 1, {1, 2}));
    EXPECT_EQ(DistanceToSample(flat, 0), 1);
}

TEST(Collection, BaselineNeverReadsBeyondTheSamples)
{
    TMereni m;
    TJednoMereni c = Chart(2000, 0.66L, 20, {116, 116});
    c.Pozice0Y = -1;
    m.AppendRecord(c);
    m.ApplyBaseline(); // samples 20..5 summed; 3..20 do not exist and count as 0
    EXPECT_EQ(m.Last().Pozice0Y, 0);
    EXPECT_EQ(m.Last().Sample(1), 16);

    TJednoMereni bad = Chart(2000, 0.66L, 0, {1});
    bad.Pozice0Y = -1;
    m.AppendRecord(bad);
    EXPECT_THROW(m.ApplyBaseline(), ChartFileError);
    EXPECT_EQ(m.Last().Sample(1), 1);
}
