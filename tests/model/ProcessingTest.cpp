#include "ChartProcessing.h"
#include "CollectionRules.h"
#include "MessageCatalogue.h"
#include "TMereni.h"

#include <gtest/gtest.h>

using namespace lumidrax;

namespace {

TJednoMereni Chart(const std::string& path, std::vector<long double> samples, const std::string& date = "---")
{
    TJednoMereni c;
    c.FileName = c.AutoFileName = c.DisplayName = path;
    c.Saved = true;
    c.Interval = 2000;
    c.Velocity = 0.66L;
    c.Pozice0X = 1;
    c.FilterPost = 1;
    c.DatumCas = date;
    c.Description = "source";
    c.SetSamples(std::move(samples));
    return c;
}

} // namespace

TEST(Filter, TrailingMovingAverage)
{
    TMereni m;
    m.AppendRecord(Chart("/data/line7.ndt", {10, 20, 30}));
    m.SetReference(1);
    const CommandOutcome out = RunFilterCommand(m, 2);
    ASSERT_EQ(out.result, 2);
    const TJednoMereni& f = m.Rec(2);
    EXPECT_EQ(f.Samples, (std::vector<long double>{10, 15, 25}));
    EXPECT_EQ(f.DisplayName, "/data/line7_F2.ndt");
    EXPECT_EQ(f.FileName, "/data/line7_F2.ndt");
    EXPECT_EQ(f.AutoFileName, "");
    EXPECT_FALSE(f.Saved);
    EXPECT_EQ(f.FilterPost, 2);
    EXPECT_EQ(f.Description, "source");
    EXPECT_EQ(f.ColorSlot, 2);
    EXPECT_EQ(m.RefIndex, 2);
    // The level range is that of the smoothed samples.
    EXPECT_EQ(f.YMin, 10);
    EXPECT_EQ(f.YMax, 25);

    m.SetReference(1);
    ASSERT_EQ(RunFilterCommand(m, 5).result, 3);
    EXPECT_EQ(m.Rec(3).Samples, (std::vector<long double>{10, 15, 20})); // running means only
    // Window 1 or less makes nothing; above 100 is cut to 100.
    EXPECT_EQ(RunFilterCommand(m, 1).result, 0);
    EXPECT_EQ(RunFilterCommand(m, -4).result, 0);
    EXPECT_EQ(m.Count, 3);
    m.SetReference(1);
    ASSERT_EQ(RunFilterCommand(m, 250).result, 4);
    EXPECT_EQ(m.Rec(4).FilterPost, 100);
    EXPECT_EQ(m.Rec(4).DisplayName, "/data/line7_F100.ndt");
}

TEST(Filter, SumsAreTakenInExtendedPrecision)
{
    TMereni m;
    m.AppendRecord(Chart("/d/x.ndt", {0.1L, 0.2L, 0.3L}));
    m.SetReference(1);
    RunFilterCommand(m, 3);
    EXPECT_EQ(m.Rec(2).Sample(3), (0.1L + 0.2L + 0.3L) / 3);
}

TEST(Filter, UserWindowText)
{
    EXPECT_FALSE(ParseFilterWindow("abc").valid);
    EXPECT_FALSE(ParseFilterWindow("2,5").valid);
    EXPECT_EQ(ParseFilterWindow("250").window, 100);
    EXPECT_EQ(ParseFilterWindow(" 7 ").window, 7);
    EXPECT_EQ(ParseFilterWindow("0").window, 0);
}

TEST(Filter, SourceWithoutAFileGetsANameButNoPath)
{
    TMereni m;
    TJednoMereni c = Chart("", {1, 2, 3});
    c.AutoFileName = "/save/11-03-05/140209_007a.ndt";
    m.AppendRecord(c);
    m.SetReference(1);
    RunFilterCommand(m, 2);
    EXPECT_EQ(m.Rec(2).DisplayName, "/save/11-03-05/140209_007a_F2.ndt");

    TMereni bare;
    bare.AppendRecord(Chart("", {1, 2}));
    bare.SetReference(1);
    RunFilterCommand(bare, 5);
    EXPECT_EQ(bare.Rec(2).DisplayName, "Chart1_F5.ndt");
    EXPECT_EQ(bare.Rec(2).FileName, ""); // saving asks where
}

TEST(Filter, FullCollectionMakesNothing)
{
    TMereni m;
    for (int i = 0; i < 999; ++i)
        m.AppendRecord(Chart("/d/c" + std::to_string(i) + ".ndt", {1}));
    m.SetReference(1);
    const CommandOutcome out = RunFilterCommand(m, 2);
    EXPECT_EQ(out.result, 0);
    EXPECT_EQ(out.message, "You have opened maximum amount of charts.");
    EXPECT_EQ(m.Count, 999);
}

TEST(Average, NamesDescriptionAndValues)
{
    TMereni m;
    m.AppendRecord(Chart("/data/line1.ndt", {1, 2, 3}));
    m.AppendRecord(Chart("/data/line2.ndt", {3, 4, 8}));
    const CommandOutcome out = RunAverageCommand(m, {1, 2});
    ASSERT_EQ(out.result, 3);
    const TJednoMereni& a = m.Rec(3);
    EXPECT_EQ(a.AutoFileName, "/data/line_av.ndt");
    EXPECT_EQ(a.FileName, "/data/line_av.ndt");
    EXPECT_EQ(a.DisplayName, "/data/line_av.ndt");
    EXPECT_EQ(a.Description, "Average of charts 12");
    EXPECT_FALSE(a.Saved);
    EXPECT_EQ(a.Samples, (std::vector<long double>{2, 3, 5.5L}));
    EXPECT_EQ(a.YMin, 2);
    EXPECT_EQ(a.YMax, 5.5L);
    EXPECT_EQ(m.RefIndex, 3);
}

TEST(Average, ChartsOfDifferentLengthsAverageOnlyTheSamplesTheyHave)
{
    TMereni m;
    std::vector<long double> longer(500, 10.0L);
    m.AppendRecord(Chart("/d/line1.ndt", longer));
    m.AppendRecord(Chart("/d/line2.ndt", std::vector<long double>(300, 20.0L)));
    m.AppendRecord(Chart("/d/line3.ndt", std::vector<long double>(600, 30.0L)));
    ASSERT_EQ(RunAverageCommand(m, {1, 2, 3}).result, 4);
    const TJednoMereni& a = m.Rec(4);
    ASSERT_EQ(a.SampleCount, 500); // the template's length
    EXPECT_EQ(a.Sample(300), 20);
    EXPECT_EQ(a.Sample(301), 20); // (10 + 30) / 2: chart 2 has no sample 301
    EXPECT_EQ(a.Description, "Average of charts 123");
}

TEST(Average, OnlyChartsOfOneSeries)
{
    TMereni m;
    m.AppendRecord(Chart("/d/a1.ndt", {1}, "12.05.2009 10:22:31"));
    m.AppendRecord(Chart("/d/a2.ndt", {1}, "12.05.2009 10:22:31"));
    m.AppendRecord(Chart("/d/a3.ndt", {1}, "12.05.2009 10:22:32"));
    const CommandOutcome out = RunAverageCommand(m, {1, 2, 3});
    EXPECT_EQ(out.result, -11);
    EXPECT_EQ(out.message, "Error: Selected charts were not measured in batch mode.");
    EXPECT_EQ(m.Count, 3);
    EXPECT_EQ(RunAverageCommand(m, {1, 2}).result, 4);
}

TEST(Average, TheFullExtentTakesInTheNewChart)
{
    // Two hidden charts averaged while nothing is drawn: the view shows the
    // new chart instead of staying empty.
    TMereni m;
    m.AddChart(Chart("/d/s1.ndt", {10, 20, 30}), {.Baseline = RawBaseline::AlreadyApplied});
    m.AddChart(Chart("/d/s2.ndt", {30, 40, 50}), {.Baseline = RawBaseline::AlreadyApplied});
    HideSelectedCharts(m, {1, 2});
    ASSERT_EQ(m.ShownCount, 0);
    ASSERT_EQ(RunAverageCommand(m, {1, 2}).result, 3);
    EXPECT_EQ(m.ShownCount, 1);
    EXPECT_EQ(m.FullYMax, 44); // 40 and a tenth of margin
    EXPECT_EQ(m.ViewYMax, m.FullYMax);
    EXPECT_EQ(m.ViewXMin, m.FullXMin);

    // A zoomed view stays where it is while the extent grows.
    TMereni z;
    z.AddChart(Chart("/d/t1.ndt", {1, 2, 3}), {.Baseline = RawBaseline::AlreadyApplied});
    z.AddChart(Chart("/d/t2.ndt", {50, 60, 70}), {.Baseline = RawBaseline::AlreadyApplied});
    z.AddChart(Chart("/d/t3.ndt", {70, 80, 90}), {.Baseline = RawBaseline::AlreadyApplied});
    HideSelectedCharts(z, {2, 3});
    z.ViewYMax = 2;
    ASSERT_EQ(RunAverageCommand(z, {2, 3}).result, 4);
    EXPECT_EQ(z.FullYMax, 88);
    EXPECT_EQ(z.ViewYMax, 2);
}

TEST(Processing, ShortChartName)
{
    EXPECT_EQ(ShortChartName("/home/u/data/09-05-12/102233_001.ndt"), "09-05-12/102233_001.ndt");
    EXPECT_EQ(ShortChartName("chart.ndt"), "chart.ndt");
    EXPECT_EQ(ShortChartName("/chart.ndt"), "/chart.ndt");
    EXPECT_EQ(ShortChartName(std::string(150, 'x')).size(), 100u);
}
