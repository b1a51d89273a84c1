// Events of filtered charts: every example chart smoothed by the local filter
// (trailing moving average of 2, 5, 10 and 20 samples) and written to its
// file and read back has the events of the chart it came from, the same
// kinds in the same order, the leading edges within one sample once the
// filter's lag is allowed for.

#include "ChartFile.h"
#include "ChartProcessing.h"
#include "EventDetection.h"
#include "TMereni.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace lumidrax {
namespace {

std::string Kinds(const std::vector<ChartEvent>& events)
{
    std::string text;
    for (const ChartEvent& e : events)
        text += std::string(EventKindName(e.Kind)) + " ";
    return text;
}

TEST(FilteredEvents, ExampleChartsKeepTheirEventsThroughTheFilter)
{
    const std::vector<std::string> files = test::ExampleChartFiles();
    ASSERT_GE(files.size(), 8u);
    test::TempDir dir;
    for (const std::string& file : files) {
        TMereni charts;
        ASSERT_EQ(charts.LoadChart(file), 1) << file;
        const std::vector<ChartEvent> original = DetectEvents(charts.Rec(1));
        ASSERT_GE(original.size(), 3u) << file;
        ASSERT_GE(EndEventIndex(original), 0) << file;
        for (int window : {2, 5, 10, 20}) {
            SCOPED_TRACE(file + ", window " + std::to_string(window));
            charts.SetReference(1);
            const CommandOutcome made = RunFilterCommand(charts, window);
            ASSERT_GE(made.result, 2);
            // As saved and opened again: two decimals, FilterPost in the file.
            TMereni opened;
            ASSERT_EQ(opened.LoadChart(dir.Write("filtered" + std::to_string(window) + ".ndt",
                                                 ChartFileText(charts.Rec(made.result)))),
                      1);
            const TJednoMereni& filtered = opened.Rec(1);
            ASSERT_EQ(filtered.FilterPost, window);
            EXPECT_EQ(FilterLag(filtered), (window - 1) / 2.0L);
            const std::vector<ChartEvent> events = DetectEvents(filtered);
            ASSERT_EQ(Kinds(events), Kinds(original));
            // As the viewer holds it before saving (not rounded): the same
            // kinds and edges too.
            const std::vector<ChartEvent> held = DetectEvents(charts.Rec(made.result));
            EXPECT_EQ(Kinds(held), Kinds(original));
            for (std::size_t i = 0; i < held.size() && i < original.size(); ++i)
                EXPECT_NEAR(static_cast<double>(held[i].Sample), static_cast<double>(original[i].Sample), 1)
                    << "held " << i << " " << EventKindName(held[i].Kind);
            for (std::size_t i = 0; i < events.size(); ++i) {
                EXPECT_NEAR(static_cast<double>(events[i].Sample), static_cast<double>(original[i].Sample), 1)
                    << i << " " << EventKindName(events[i].Kind);
                EXPECT_NEAR(static_cast<double>(events[i].Distance),
                            static_cast<double>(original[i].Distance), static_cast<double>(filtered.Step))
                    << i;
            }
        }
    }
}

// Without the lag correction the same charts would not agree: the filtered
// chart's peaks lie about the lag behind the unfiltered ones.
TEST(FilteredEvents, PeaksOfAFilteredChartLieTheLagBehind)
{
    TMereni charts;
    ASSERT_EQ(charts.LoadChart(test::SourcePath("examples/vkr104-substation2-core4.ndt")), 1);
    charts.SetReference(1);
    const CommandOutcome made = RunFilterCommand(charts, 20);
    ASSERT_EQ(made.result, 2);
    const auto original = DetectEvents(charts.Rec(1));
    const auto events = DetectEvents(charts.Rec(2));
    ASSERT_EQ(events.size(), original.size());
    const int end = EndEventIndex(events);
    ASSERT_GE(end, 0);
    const auto e = static_cast<std::size_t>(end);
    EXPECT_NEAR(events[e].PeakSample - original[e].PeakSample, 9.5, 3);
    EXPECT_NEAR(static_cast<double>(events[e].Sample), static_cast<double>(original[e].Sample), 1);
}

} // namespace
} // namespace lumidrax
