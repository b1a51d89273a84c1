// The command line itself: usage errors, the JSON shape and number forms.

#include "ToolTestSupport.h"

#include <gtest/gtest.h>

namespace lumidrax::test {
namespace {

TEST(ToolUsage, UsageErrorsExitWithTwoAndAMessage)
{
    TempDir dir;
    dir.Write("a.ndt", NdtText("", Header13(), {"1"}));
    for (const char* args : {"", "frobnicate a.ndt", "info", "filter a.ndt", "filter --window two a.ndt",
                             "convert a.ndt", "convert a.ndt out.txt", "average --bogus a.ndt"}) {
        const ToolRun run = RunTool(dir.Path(), args);
        EXPECT_EQ(run.status, 2) << args;
        EXPECT_FALSE(run.error.empty()) << args;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("out.txt")));
}

TEST(ToolUsage, EveryCommandPrintsTheSameShapeWithEveryChartField)
{
    TempDir dir;
    dir.Write("a.ndt", NdtText("", Header13(), {"0,1", "-12,34", "99,99"}));
    dir.Write("b.ndt", NdtText("", Header13(), {"1", "2", "3"}));
    const char* keys[] = {"AutoFileName", "FileName", "DisplayName", "Saved", "Description", "Color", "ColorSlot",
                          "SampleCount", "Interval", "Velocity", "Impedance", "Noise", "DC", "Filter", "Pozice0X",
                          "FilterPost", "Pozice0Y", "NegEdge", "StatusIDX", "DCResistance", "DCVoltage",
                          "DCVoltageStr", "DCResistStr", "XStart", "XEnd", "YMin", "YMax", "Step", "Shown",
                          "DatumCas", "SeriePrvni", "SeriePosledni", "SerialNumber", "DCResistanceSingle",
                          "DCVoltageSingle", "Pozice0YSingle", "VerzeVKR", "IsNew", "Index", "Samples"};
    const char* collectionKeys[] = {"Count", "ShownCount", "ActiveIndex", "ActiveCursor", "RefIndex",
                                    "RefCursor", "RefCursorX", "RefCursorY", "LineWidth", "FullXMin",
                                    "FullXMax", "FullYMin", "FullYMax", "ViewXMin", "ViewXMax", "ViewYMin",
                                    "ViewYMax"};
    for (const char* args : {"info --samples a.ndt b.ndt", "convert --samples a.ndt c.ndt",
                             "filter --samples --window 2 a.ndt", "average --samples a.ndt b.ndt"}) {
        const ToolRun run = RunTool(dir.Path(), args);
        ASSERT_EQ(run.status, 0) << args;
        ASSERT_TRUE(run.json.is_object()) << args;
        for (const char* part : {"results", "collection", "charts", "reports"})
            EXPECT_TRUE(run.json.contains(part)) << args << " " << part;
        for (const Json& chart : run.json["charts"]) {
            std::vector<std::string> got;
            for (const auto& item : chart.items())
                got.push_back(item.key());
            EXPECT_EQ(got, std::vector<std::string>(std::begin(keys), std::end(keys))) << args;
            EXPECT_TRUE(chart["SampleCount"].is_number_integer());
            EXPECT_TRUE(chart["Step"].is_number_float());
        }
        std::vector<std::string> got;
        for (const auto& item : run.json["collection"].items())
            got.push_back(item.key());
        EXPECT_EQ(got, std::vector<std::string>(std::begin(collectionKeys), std::end(collectionKeys))) << args;
    }
    // Samples are printed as the doubles they read as, without --samples not at all.
    const ToolRun run = RunTool(dir.Path(), "info --samples a.ndt");
    EXPECT_EQ(Samples(run, 1), (std::vector<double>{0.1, -12.34, 99.99}));
    EXPECT_FALSE(Chart(RunTool(dir.Path(), "info a.ndt"), 1).contains("Samples"));
}

} // namespace
} // namespace lumidrax::test

namespace lumidrax::test {
namespace {

// Inputs that once crashed the chart file fuzzer: each is now read or
// refused with an error entry, and whatever is written reads back.
TEST(ToolUsage, FuzzFindingsAreReadOrRefusedCleanly)
{
    TempDir dir;
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(SourcePath("tests/tools/fuzz-regressions"))) {
        ++files;
        const std::string name = entry.path().filename().string();
        const ToolRun run = RunTool(dir.Path(), "convert '" + entry.path().string() + "' out.ndt");
        ASSERT_TRUE(run.json.is_object()) << name;
        const Json& first = run.json["results"][0];
        if (first.contains("error")) {
            EXPECT_EQ(run.status, 1) << name;
            EXPECT_EQ(run.json["collection"]["Count"], 0) << name;
            continue;
        }
        EXPECT_EQ(run.status, 0) << name;
        EXPECT_EQ(RunTool(dir.Path(), "info out.ndt").status, 0) << name;
    }
    EXPECT_GT(files, 0);
}

} // namespace
} // namespace lumidrax::test
