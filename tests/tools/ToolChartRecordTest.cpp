// Loading charts into the collection through `lumidrax-tool info`: numbering,
// duplicates, colour slots, the distance scale and the baseline correction.

#include "ToolTestSupport.h"

#include <gtest/gtest.h>

namespace lumidrax::test {
namespace {

const std::string kPlain = NdtText("Feeder 3, pair 2", Header13(), {"0,00", "12,50", "-3,25"});

TEST(ToolChartRecord, SamePathLoadsOnceButAnotherSpellingLoadsAgain)
{
    TempDir dir;
    dir.Write("a.ndt", kPlain);
    const ToolRun run = RunTool(dir.Path(), "info a.ndt a.ndt ./a.ndt missing.ndt .");
    EXPECT_EQ(run.status, 1);
    const Json& r = run.json["results"];
    ASSERT_EQ(r.size(), 5u);
    EXPECT_EQ(r[0], Json({{"file", "a.ndt"}, {"result", 1}, {"message", nullptr}}));
    EXPECT_EQ(r[1],
              Json({{"file", "a.ndt"}, {"result", -3}, {"message", "Error: chart a.ndt already loaded."}}));
    EXPECT_EQ(r[2]["result"], 2);
    EXPECT_EQ(r[3]["result"], -1);
    EXPECT_EQ(r[3]["message"], "Error: file missing.ndt does not exists.");
    EXPECT_EQ(r[4]["result"], -2);
    EXPECT_EQ(r[4]["message"], "Error: could not open file ..");
    EXPECT_EQ(run.json["collection"]["Count"], 2);
    ASSERT_EQ(run.json["charts"].size(), 2u);
    const Json& c = Chart(run, 2);
    EXPECT_EQ(c["FileName"], "./a.ndt");
    EXPECT_EQ(c["AutoFileName"], "./a.ndt");
    EXPECT_EQ(c["DisplayName"], "./a.ndt");
    EXPECT_EQ(c["Saved"], true);
    EXPECT_EQ(c["IsNew"], true);
    EXPECT_EQ(c["Description"], "Feeder 3, pair 2");
    EXPECT_TRUE(run.json["reports"].is_array() && run.json["reports"].empty());
}

TEST(ToolChartRecord, EleventhChartIsListedButNotDrawn)
{
    TempDir dir;
    std::string args = "info";
    for (int k = 1; k <= 11; ++k) {
        dir.Write("c" + std::to_string(k) + ".ndt", kPlain);
        args += " c" + std::to_string(k) + ".ndt";
    }
    const ToolRun run = RunTool(dir.Path(), args);
    ASSERT_EQ(run.status, 0);
    const char* colours[] = {"#FF0000", "#4040FF", "#00A000", "#FF00FF", "#00FFFF",
                             "#00FF00", "#FF8000", "#D0D000", "#808080", "#000000"};
    for (int k = 1; k <= 10; ++k) {
        EXPECT_EQ(Chart(run, k)["ColorSlot"], k);
        EXPECT_EQ(Chart(run, k)["Color"], colours[k - 1]);
        EXPECT_EQ(Chart(run, k)["Shown"], true);
    }
    EXPECT_EQ(Chart(run, 11)["Shown"], false);
    EXPECT_EQ(Chart(run, 11)["ColorSlot"], 0);
    EXPECT_EQ(Chart(run, 11)["Color"], "#FFFFFF");
    EXPECT_EQ(run.json["collection"]["ShownCount"], 10);
    EXPECT_EQ(run.json["collection"]["Count"], 11);
}

TEST(ToolChartRecord, DistanceScaleFollowsIntervalVelocityAndCableStart)
{
    TempDir dir;
    // 2000 ps at 0.66 gives 0.19786 m, rounded to 0.2 m.
    dir.Write("start1.ndt", NdtText("", Header13(1), {"1,00", "2,00", "3,00", "4,00"}));
    dir.Write("start11.ndt", NdtText("", Header13(11), {"1,00", "2,00", "3,00", "4,00"}));
    const ToolRun run = RunTool(dir.Path(), "info start1.ndt start11.ndt");
    ASSERT_EQ(run.status, 0);
    EXPECT_DOUBLE_EQ(Chart(run, 1)["Step"].get<double>(), 0.2);
    EXPECT_DOUBLE_EQ(Chart(run, 1)["Velocity"].get<double>(), 0.66);
    EXPECT_DOUBLE_EQ(Chart(run, 1)["XStart"].get<double>(), 0.0);
    EXPECT_DOUBLE_EQ(Chart(run, 1)["XEnd"].get<double>(), 0.6);
    EXPECT_DOUBLE_EQ(Chart(run, 2)["XStart"].get<double>(), -2.0);
    EXPECT_DOUBLE_EQ(Chart(run, 2)["XEnd"].get<double>(), -1.4);
    EXPECT_DOUBLE_EQ(Chart(run, 2)["YMin"].get<double>(), 1.0);
    EXPECT_DOUBLE_EQ(Chart(run, 2)["YMax"].get<double>(), 4.0);
    // Two drawn charts: X from -2 to 0.6 with 1/20 margins, Y symmetric with 10 %.
    const Json& m = run.json["collection"];
    EXPECT_DOUBLE_EQ(m["FullXMin"].get<double>(), -2.0 - 0.13);
    EXPECT_DOUBLE_EQ(m["FullXMax"].get<double>(), 0.6 + 0.13);
    EXPECT_DOUBLE_EQ(m["FullYMin"].get<double>(), -4.4);
    EXPECT_DOUBLE_EQ(m["FullYMax"].get<double>(), 4.4);
    EXPECT_EQ(m["RefIndex"], 2);
}

TEST(ToolChartRecord, BaselineOfRawSamplesAveragesUpToSixteenSamplesDownFromTheCableStart)
{
    TempDir dir;
    // Oldest form, Pozice0X 5: samples 5, 4, 3, 2, 1 average to 30 (ties to
    // even: 152,5 / 5 = 30,5 gives 30); every sample then loses 30 + 100.
    dir.Write("old7.ndt", NdtText("", "2000     660     100     5     0     1     5",
                                  {"10", "20", "30", "40", "52,5", "60"}));
    // 8 tokens, Pozice0X 20: samples 20 down to 5 (sixteen of them) count.
    std::vector<std::string> raw;
    for (int k = 1; k <= 20; ++k)
        raw.push_back(k <= 4 ? "1000" : "128");
    dir.Write("old8.ndt", NdtText("", "2000     660     100     5     0     1     20     3", raw));
    // 13 tokens with Pozice0Y -1 are corrected too; with a baseline given they are not.
    dir.Write("raw13.ndt", NdtText("", Header13(2, -1), {"27", "29", "129"}));
    dir.Write("given13.ndt", NdtText("", Header13(2, 128), {"27", "29", "129"}));
    const ToolRun run = RunTool(dir.Path(), "info --samples old7.ndt old8.ndt raw13.ndt given13.ndt");
    ASSERT_EQ(run.status, 0) << run.json.dump();
    EXPECT_EQ(Chart(run, 1)["Pozice0Y"], 30);
    EXPECT_EQ(Samples(run, 1), (std::vector<double>{-120, -110, -100, -90, -77.5, -70}));
    EXPECT_EQ(Chart(run, 1)["FilterPost"], 1);
    EXPECT_EQ(Chart(run, 2)["Pozice0Y"], 128);
    EXPECT_EQ(Chart(run, 2)["FilterPost"], 3);
    EXPECT_EQ(Samples(run, 2)[0], 1000 - 228);
    EXPECT_EQ(Samples(run, 2)[19], -100);
    EXPECT_EQ(Chart(run, 3)["Pozice0Y"], 28);
    EXPECT_EQ(Samples(run, 3), (std::vector<double>{-101, -99, 1}));
    EXPECT_EQ(Chart(run, 4)["Pozice0Y"], 128);
    EXPECT_EQ(Samples(run, 4), (std::vector<double>{27, 29, 129}));
}

TEST(ToolChartRecord, EmptyChartHasNoSamplesAndAnEmptyRange)
{
    TempDir dir;
    dir.Write("empty.ndt", "Nothing measured\r\n" + Header13(11) + "\r\n\r\n\r\n");
    dir.Write("blank-lines.ndt", "\r\n" + Header13(11) + "\r\n\r\n  1,5  \r\n\r\n\t-2\r\n");
    const ToolRun run = RunTool(dir.Path(), "info --samples empty.ndt blank-lines.ndt");
    ASSERT_EQ(run.status, 0);
    const Json& c = Chart(run, 1);
    EXPECT_EQ(c["SampleCount"], 0);
    EXPECT_DOUBLE_EQ(c["XStart"].get<double>(), -2.0);
    EXPECT_DOUBLE_EQ(c["XEnd"].get<double>(), -2.2);
    EXPECT_DOUBLE_EQ(c["YMin"].get<double>(), 1000);
    EXPECT_DOUBLE_EQ(c["YMax"].get<double>(), -1000);
    EXPECT_TRUE(c["Samples"].empty());
    EXPECT_EQ(Samples(run, 2), (std::vector<double>{1.5, -2}));
    EXPECT_EQ(Chart(run, 2)["Description"], "");
}

// A level beyond the range of a double is refused like any malformed
// level, by every command that loads charts; nothing of it is shown.
TEST(ToolChartRecord, LevelsBeyondTheRangeOfADoubleAreRefused)
{
    TempDir dir;
    dir.Write("good.ndt", kPlain);
    dir.Write("beyond.ndt", NdtText("", Header13(), {"1,00", "1E4000", "3,00"}));
    dir.Write("below.ndt", NdtText("", Header13(), {"-1E4000"}));
    for (const char* command : {"info", "events"}) {
        SCOPED_TRACE(command);
        const ToolRun run = RunTool(dir.Path(), std::string(command) + " beyond.ndt good.ndt below.ndt");
        EXPECT_EQ(run.status, 1);
        const Json& r = run.json["results"];
        ASSERT_EQ(r.size(), 3u) << run.json.dump();
        EXPECT_EQ(r[0], Json({{"file", "beyond.ndt"},
                              {"error",
                               "Error: beyond.ndt, line 4: '1E4000' is not a valid floating point value."}}));
        EXPECT_EQ(r[2]["error"], "Error: below.ndt, line 3: '-1E4000' is not a valid floating point value.");
        EXPECT_EQ(run.json["collection"]["Count"], 1);
        // Every number of the chart and the extents is a number.
        for (const char* part : {"collection", "charts"})
            EXPECT_EQ(run.json[part].dump().find("null"), std::string::npos) << run.json[part].dump();
    }
}

TEST(ToolChartRecord, UnreadableContentDropsTheChartAndKeepsTheOthersNumbered)
{
    TempDir dir;
    dir.Write("good.ndt", kPlain);
    dir.Write("bad-sample.ndt", NdtText("", Header13(), {"1,00", "", "2,x5", "3,00"}));
    dir.Write("bad-header.ndt", NdtText("", "2000     660     100     five     0     1     11", {"1,00"}));
    dir.Write("short-header.ndt", NdtText("", "2000     660     100", {"1,00"}));
    dir.Write("point.ndt", NdtText("", Header13(), {"1.5"}));
    dir.Write("zero-start.ndt", NdtText("", "2000     660     100     5     0     1     0", {"128"}));
    dir.Write("zero-start13.ndt", NdtText("", Header13(0, 128), {"1,00"}));
    // Raw samples whose baseline no integer holds (found by fuzzing).
    dir.Write("huge.ndt", NdtText("", "2000     660     100     5     0     1     1", {"1E40", "1"}));
    // A float token beyond the single-precision range (found by fuzzing).
    dir.Write("huge-float.ndt", NdtText("", Header23("12.05.2009 10:22:31", 0, "1E39", "0"), {"1"}));
    const ToolRun run = RunTool(dir.Path(), "info good.ndt bad-sample.ndt bad-header.ndt short-header.ndt "
                                            "point.ndt zero-start.ndt zero-start13.ndt good.ndt huge.ndt "
                                            "huge-float.ndt");
    EXPECT_EQ(run.status, 1);
    const Json& r = run.json["results"];
    ASSERT_EQ(r.size(), 10u);
    EXPECT_EQ(r[9]["error"], "Error: huge-float.ndt, line 2: '1E39' is not a valid floating point value.");
    EXPECT_EQ(r[8]["error"], "Error: huge.ndt: the baseline of the raw samples (1E40) is out of range.");
    EXPECT_EQ(r[1], Json({{"file", "bad-sample.ndt"},
                          {"error",
                           "Error: bad-sample.ndt, line 5: '2,x5' is not a valid floating point value."}}));
    EXPECT_EQ(r[2]["error"], "Error: bad-header.ndt, line 2: 'five' is not a valid integer.");
    EXPECT_EQ(
        r[3]["error"],
        "Error: short-header.ndt, line 2: the settings line holds 3 values where at least 7 are needed.");
    EXPECT_EQ(r[4]["error"], "Error: point.ndt, line 3: '1.5' is not a valid floating point value.");
    EXPECT_EQ(r[5]["error"],
              "Error: zero-start.ndt, line 2: the cable start sample 0 is below 1, so the baseline cannot be "
              "computed.");
    // With a baseline given, a cable start of 0 needs no correction.
    EXPECT_EQ(r[6]["result"], 2);
    EXPECT_EQ(r[7]["result"], -3);
    EXPECT_EQ(run.json["collection"]["Count"], 2);
    EXPECT_EQ(run.json["collection"]["ShownCount"], 2);
    EXPECT_EQ(Chart(run, 2)["FileName"], "zero-start13.ndt");
    EXPECT_EQ(Chart(run, 2)["ColorSlot"], 2);
}

} // namespace
} // namespace lumidrax::test
