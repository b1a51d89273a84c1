// lumidrax-tool events: the events of each chart, the comparison with a
// reference chart and the velocity check.

#include "ToolTestSupport.h"

#include <gtest/gtest.h>

namespace lumidrax::test {
namespace {

TEST(ToolEvents, EventsComparisonAndVelocityCheck)
{
    TempDir dir;
    std::string out;
    ASSERT_EQ(RunCommand("cd " + dir.Path() + " && " + BinPath("chartgen") +
                             " --samples 2000 --length 150 --fault 60:-25 -o good.ndt && " +
                             BinPath("chartgen") + " --samples 2000 --length 140 --fault 60:-25 -o cut.ndt",
                         out),
              0);
    const ToolRun run = RunTool(dir.Path(), "events --reference 1 --known-length 145,5 good.ndt cut.ndt");
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

} // namespace
} // namespace lumidrax::test
