// The filter and average commands through `lumidrax-tool filter` and
// `average`.

#include "ToolTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace lumidrax::test {
namespace {

Json CommandEntry(const ToolRun& run)
{
    if (!run.json.is_object() || run.json["results"].empty())
        return nullptr;
    return run.json["results"].back();
}

TEST(ToolFilter, TrailingMovingAverageMakesANewUnsavedChartBesideTheSource)
{
    TempDir dir;
    const std::string source = dir.Write("line7.ndt", NdtText("Feeder 3, pair 2", Header13(), {"10", "20", "30"}));
    const ToolRun run = RunTool(dir.Path(), "filter --window 2 --samples '" + source + "'");
    ASSERT_EQ(run.status, 0) << run.error;
    EXPECT_EQ(CommandEntry(run), Json({{"command", "filter"}, {"result", 2}, {"message", nullptr}}));
    ASSERT_EQ(run.json["charts"].size(), 2u);
    const Json& f = Chart(run, 2);
    EXPECT_EQ(Samples(run, 2), (std::vector<double>{10, 15, 25}));
    EXPECT_EQ(f["DisplayName"], dir.File("line7_F2.ndt"));
    EXPECT_EQ(f["FileName"], dir.File("line7_F2.ndt"));
    EXPECT_EQ(f["AutoFileName"], "");
    EXPECT_EQ(f["Saved"], false);
    EXPECT_EQ(f["Description"], "Feeder 3, pair 2");
    EXPECT_EQ(f["FilterPost"], 2);
    EXPECT_EQ(f["ColorSlot"], 2);
    // The level range is that of the smoothed samples.
    EXPECT_DOUBLE_EQ(f["YMin"].get<double>(), 10);
    EXPECT_DOUBLE_EQ(f["YMax"].get<double>(), 25);
    EXPECT_EQ(run.json["collection"]["RefIndex"], 2);
}

TEST(ToolFilter, WindowIsCutToTheChartAndToOneHundred)
{
    TempDir dir;
    dir.Write("a.ndt", NdtText("", Header13(), {"10", "20", "30"}));
    const ToolRun five = RunTool(dir.Path(), "filter --window 5 --samples a.ndt");
    ASSERT_EQ(five.status, 0);
    EXPECT_EQ(Samples(five, 2), (std::vector<double>{10, 15, 20}));

    const ToolRun big = RunTool(dir.Path(), "filter --window 250 --samples a.ndt");
    ASSERT_EQ(big.status, 0);
    EXPECT_EQ(Chart(big, 2)["FilterPost"], 100);
    EXPECT_EQ(Chart(big, 2)["DisplayName"], "a_F100.ndt");
}

TEST(ToolFilter, WindowOfOneOrLessMakesNothingAndSucceeds)
{
    TempDir dir;
    dir.Write("a.ndt", NdtText("", Header13(), {"10", "20", "30"}));
    for (const char* w : {"1", "0", "-3"}) {
        const ToolRun run = RunTool(dir.Path(), std::string("filter --window=") + w + " -o f.ndt a.ndt");
        EXPECT_EQ(run.status, 0) << w;
        EXPECT_EQ(CommandEntry(run)["result"], 0) << w;
        EXPECT_EQ(run.json["charts"].size(), 1u) << w;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("f.ndt")));

    const ToolRun missing = RunTool(dir.Path(), "filter --window 2 nothing.ndt");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.json["results"][0]["result"], -1);
    EXPECT_EQ(CommandEntry(missing)["result"], 0);
}

TEST(ToolFilter, OutputOptionSavesTheNewChart)
{
    TempDir dir;
    dir.Write("a.ndt", NdtText("Cabinet 12", Header13(), {"10", "20", "30", "40"}));
    const ToolRun run = RunTool(dir.Path(), "filter --window 3 -o smooth.ndt a.ndt");
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(CommandEntry(run)["output"], "smooth.ndt");
    EXPECT_EQ(Chart(run, 2)["FileName"], "smooth.ndt");
    EXPECT_EQ(Chart(run, 2)["Saved"], true);
    EXPECT_EQ(ReadFile(dir.File("smooth.ndt")),
              "Cabinet 12\r\n2000     660     100     5     0     1     11     3     128     0     -1     0     0\r\n"
              "10,00\r\n15,00\r\n20,00\r\n30,00\r\n");

    const ToolRun fails = RunTool(dir.Path(), "filter --window 3 -o no/such/f.ndt a.ndt");
    EXPECT_EQ(fails.status, 1);
    EXPECT_EQ(CommandEntry(fails)["result"], 2);
    EXPECT_EQ(CommandEntry(fails)["error"], "Error: unable to create directory no/such/f.ndt.");
    EXPECT_EQ(Chart(fails, 2)["Saved"], false);
}

TEST(ToolAverage, ChartsOfOlderModelsAverageSampleBySample)
{
    TempDir dir;
    dir.Write("line1.ndt", NdtText("a", Header13(), {"10", "20", "30"}));
    dir.Write("line2.ndt", NdtText("b", Header13(), {"20", "40", "60"}));
    dir.Write("line3.ndt", NdtText("c", Header13(), {"30", "0", "-30"}));
    const ToolRun run = RunTool(dir.Path(), "average --samples line1.ndt line2.ndt line3.ndt");
    ASSERT_EQ(run.status, 0) << run.json.dump();
    EXPECT_EQ(CommandEntry(run), Json({{"command", "average"}, {"result", 4}, {"message", nullptr}}));
    const Json& avg = Chart(run, 4);
    EXPECT_EQ(avg["DisplayName"], "line_av.ndt");
    EXPECT_EQ(avg["FileName"], "line_av.ndt");
    EXPECT_EQ(avg["AutoFileName"], "line_av.ndt");
    EXPECT_EQ(avg["Description"], "Average of charts 123");
    EXPECT_EQ(avg["Saved"], false);
    EXPECT_EQ(Samples(run, 4), (std::vector<double>{20, 20, 20}));
    EXPECT_DOUBLE_EQ(avg["YMin"].get<double>(), 20);
    EXPECT_DOUBLE_EQ(avg["YMax"].get<double>(), 20);
    EXPECT_EQ(run.json["collection"]["RefIndex"], 4);
}

TEST(ToolAverage, ChartsOfDifferentSeriesAreRefused)
{
    TempDir dir;
    dir.Write("s1.ndt", NdtText("", Header23("14.03.2024 09:41:07", 0, "3100000", "0,05"), {"1"}));
    dir.Write("s2.ndt", NdtText("", Header23("14.03.2024 09:41:07", 0, "3100000", "0,05"), {"3"}));
    dir.Write("other.ndt", NdtText("", Header23("14.03.2024 09:42:10", 0, "3100000", "0,05"), {"5"}));
    const ToolRun refused = RunTool(dir.Path(), "average -o av.ndt s1.ndt s2.ndt other.ndt");
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(CommandEntry(refused), Json({{"command", "average"},
                                           {"result", -11},
                                           {"message", "Error: Selected charts were not measured in batch mode."},
                                           {"output", "av.ndt"}}));
    EXPECT_EQ(refused.json["charts"].size(), 3u);
    EXPECT_FALSE(std::filesystem::exists(dir.File("av.ndt")));

    const ToolRun batch = RunTool(dir.Path(), "average --samples -o av.ndt s1.ndt s2.ndt");
    EXPECT_EQ(batch.status, 0);
    EXPECT_EQ(Samples(batch, 3), std::vector<double>{2});
    EXPECT_EQ(Chart(batch, 3)["VerzeVKR"], "VKR104");
    EXPECT_EQ(Chart(batch, 3)["Saved"], true);
    EXPECT_NE(ReadFile(dir.File("av.ndt")).find("     VKR104     1\r\n2,00\r\n"), std::string::npos);
}

TEST(ToolAverage, ChartsOfUnequalLengthAverageOnlyTheSamplesEachHas)
{
    TempDir dir;
    dir.Write("long1.ndt", NdtText("", Header13(), {"10", "20", "30", "40", "50"}));
    dir.Write("short2.ndt", NdtText("", Header13(), {"30", "40", "50"}));
    const ToolRun longFirst = RunTool(dir.Path(), "average --samples long1.ndt short2.ndt");
    ASSERT_EQ(longFirst.status, 0);
    // Samples 4 and 5 exist in the template only.
    EXPECT_EQ(Samples(longFirst, 3), (std::vector<double>{20, 30, 40, 40, 50}));
    EXPECT_DOUBLE_EQ(Chart(longFirst, 3)["YMax"].get<double>(), 50);

    const ToolRun shortFirst = RunTool(dir.Path(), "average --samples short2.ndt long1.ndt");
    ASSERT_EQ(shortFirst.status, 0);
    EXPECT_EQ(Samples(shortFirst, 3), (std::vector<double>{20, 30, 40}));
    EXPECT_EQ(Chart(shortFirst, 3)["DisplayName"], "short_av.ndt");
    EXPECT_EQ(Chart(shortFirst, 3)["Description"], "Average of charts 21");
}

TEST(ToolAverage, ExampleSeriesAverages)
{
    const ToolRun run = RunTool(SourcePath("examples"), "average series1.ndt series2.ndt series3.ndt");
    ASSERT_EQ(run.status, 0) << run.json.dump();
    const Json& avg = Chart(run, 4);
    EXPECT_EQ(avg["DisplayName"], "series_av.ndt");
    EXPECT_EQ(avg["Description"], "Average of charts 123");
    EXPECT_EQ(avg["DatumCas"], "14.03.2024 09:41:07");
    EXPECT_EQ(avg["SampleCount"], Chart(run, 1)["SampleCount"]);
    // Averaging reduces the noise: the averaged chart stays inside the extremes of its sources.
    double lowest = 1000, highest = -1000;
    for (int k = 1; k <= 3; ++k) {
        lowest = std::min(lowest, Chart(run, k)["YMin"].get<double>());
        highest = std::max(highest, Chart(run, k)["YMax"].get<double>());
    }
    EXPECT_GE(avg["YMin"].get<double>(), lowest);
    EXPECT_LE(avg["YMax"].get<double>(), highest);
}

} // namespace
} // namespace lumidrax::test
