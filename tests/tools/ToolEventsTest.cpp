// lumidrax-tool events: the events of each chart, the comparison with a
// reference chart and the velocity check.

#include "ToolTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace lumidrax::test {
namespace {

// Makes charts in dir with one chartgen run each and runs `events ARGS` on
// them; a failed chartgen run gives a run with status -1.
ToolRun EventsOfGenerated(const TempDir& dir, std::initializer_list<std::string> chartgenRuns,
                          const std::string& args)
{
    const int made = RunChartgen(dir.Path(), chartgenRuns);
    EXPECT_EQ(made, 0) << "chartgen";
    return made == 0 ? RunTool(dir.Path(), "events " + args) : ToolRun{};
}

TEST(ToolEvents, EventsComparisonAndVelocityCheck)
{
    TempDir dir;
    const ToolRun run = EventsOfGenerated(dir,
                                          {"--samples 2000 --length 150 --fault 60:-25 -o good.ndt",
                                           "--samples 2000 --length 140 --fault 60:-25 -o cut.ndt"},
                                          "--reference 1 --known-length 145,5 good.ndt cut.ndt");
    ASSERT_EQ(run.status, 0) << run.error;
    const Json& good = Chart(run, 1)["Events"];
    ASSERT_EQ(good.size(), 4u);
    std::vector<std::string> kinds;
    for (const Json& e : good)
        kinds.push_back(e["Kind"]);
    EXPECT_EQ(kinds, (std::vector<std::string>{"launch", "short", "end-open", "echo"}));
    EXPECT_NEAR(good[2]["Distance"].get<double>(), 150, 3);
    EXPECT_GT(good[2]["Snr"].get<double>(), 50);
    EXPECT_FALSE(good[2].contains("Change"));
    EXPECT_NEAR(Chart(run, 1)["VelocityCheck"]["Velocity"].get<double>(),
                0.66 * 145.5 / good[2]["Distance"].get<double>(), 1e-9);

    const Json& cut = Chart(run, 2)["Events"];
    ASSERT_EQ(cut.size(), 4u);
    EXPECT_EQ(cut[1]["Change"], "same");
    EXPECT_EQ(cut[2]["Change"], "moved");
    EXPECT_NEAR(cut[2]["Shift"].get<double>(), -10, 0.5);

    EXPECT_EQ(RunTool(dir.Path(), "events --sensitivity 12 good.ndt").status, 2);
    EXPECT_EQ(RunTool(dir.Path(), "events --reference 3 good.ndt").status, 1);
}

// Clean traces from chartgen (band-limited pulses, no sampling noise, ripple
// below 1 %): the matched line has no end, the open one its end; --floor
// moves the floor; a length no velocity factor reaches is refused.
TEST(ToolEvents, CleanTracesTheFloorAndNoEnd)
{
    TempDir dir;
    const ToolRun run = EventsOfGenerated(dir,
                                          {"--edges --clean --end matched --seed 3 -o matched.ndt",
                                           "--edges --clean --end open --seed 3 --truth -o open.ndt"},
                                          "matched.ndt open.ndt");
    ASSERT_EQ(run.status, 0) << run.error;
    EXPECT_FALSE(Chart(run, 1)["EndFound"].get<bool>());
    for (const Json& e : Chart(run, 1)["Events"]) {
        EXPECT_NE(e["Kind"], "end-open");
        EXPECT_GE(std::abs(e["PeakLevel"].get<double>()), 1);
    }
    EXPECT_TRUE(Chart(run, 2)["EndFound"].get<bool>());
    const std::string truth = ReadFile(dir.Path() + "/open.truth");
    const auto at = truth.find("end-open ");
    ASSERT_NE(at, std::string::npos) << truth;
    const double truthEnd = std::stod(truth.substr(at + 9, truth.find(' ', at + 9) - at - 9));
    bool found = false;
    for (const Json& e : Chart(run, 2)["Events"])
        if (e["Kind"] == "end-open") {
            found = true;
            EXPECT_NEAR(e["Sample"].get<double>(), truthEnd, 3);
        }
    EXPECT_TRUE(found);

    // The floor raised above every fault (25 % at most) and the echo leaves
    // the launch and the end.
    const ToolRun high = RunTool(dir.Path(), "events --floor 28 open.ndt");
    ASSERT_EQ(high.status, 0) << high.error;
    EXPECT_EQ(Chart(high, 1)["Events"].size(), 2u);
    for (const Json& e : Chart(high, 1)["Events"])
        EXPECT_GE(std::abs(e["PeakLevel"].get<double>()), 28);
    EXPECT_GT(Chart(run, 2)["Events"].size(), 2u);
    EXPECT_EQ(RunTool(dir.Path(), "events --floor 60 open.ndt").status, 2);
    EXPECT_EQ(RunTool(dir.Path(), "events --floor x open.ndt").status, 2);

    // The end at ten times its distance would need a factor above 1.
    const ToolRun far = RunTool(dir.Path(), "events --known-length 100000 open.ndt");
    EXPECT_EQ(far.status, 1);
    const Json& check = Chart(far, 1)["VelocityCheck"];
    EXPECT_TRUE(check["Velocity"].is_null());
    EXPECT_NE(check["Message"].get<std::string>().find("cannot be 100000 m"), std::string::npos)
        << check.dump();
    // The matched line has no end to check.
    const ToolRun none = RunTool(dir.Path(), "events --known-length 50 matched.ndt");
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(Chart(none, 1)["VelocityCheck"]["Message"], "No end was found.");
}

} // namespace
} // namespace lumidrax::test
