// lumidrax-tool report as a script uses it: the exit status says PASS (0)
// or not (1), the JSON carries the verdict of the document and of each
// chart with its criteria, and a template or header that cannot be used is
// a usage error (2) whose message names the line.

#include "ReportTestCharts.h"
#include "ToolTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace lumidrax::test {
namespace {

struct ReportRun : ::testing::Test {
    TempDir dir;
    void SetUp() override
    {
        ASSERT_TRUE(WriteReportCharts(dir.Path()));
        dir.Write("mixed.json", kMixedTemplate);
        dir.Write("passing.json", kPassingTemplate);
    }
};

TEST_F(ReportRun, ExitStatusFollowsTheVerdict)
{
    const struct {
        const char* Args;
        int Status;
        const char* Verdict;
    } rows[] = {
        {"--template passing.json -o a.pdf after.ndt", 0, "PASS"},
        {"--template mixed.json --baseline base.ndt -o b.pdf after.ndt", 1, "FAIL"},
        // Without a baseline the comparison criteria cannot be evaluated.
        {"--template mixed.json -o c.pdf base.ndt", 1, "INCOMPLETE"},
        {"--template passing.json --reference 1 -o d.pdf base.ndt after.ndt", 0, "PASS"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Args);
        const ToolRun run = RunTool(dir.Path(), std::string("report --header job=J-7 ") + row.Args);
        EXPECT_EQ(run.status, row.Status) << run.error;
        ASSERT_TRUE(run.json.is_object()) << run.error;
        EXPECT_EQ(run.json["verdict"], row.Verdict);
        const Json& entry = run.json["results"].back();
        EXPECT_EQ(entry["command"], "report");
        EXPECT_EQ(entry["verdict"], row.Verdict);
        EXPECT_TRUE(std::filesystem::exists(dir.File(entry["output"].get<std::string>())));
    }
}

TEST_F(ReportRun, EachChartCarriesItsCriteria)
{
    const ToolRun run =
        RunTool(dir.Path(), "report --template mixed.json --reference 1 -o r.pdf base.ndt after.ndt");
    ASSERT_EQ(run.status, 1) << run.error;
    // The reference chart is the baseline, not reported itself.
    EXPECT_FALSE(Chart(run, 1).contains("Verdict"));
    const Json& after = Chart(run, 2);
    EXPECT_EQ(after["Verdict"], "FAIL");
    ASSERT_EQ(after["Criteria"].size(), 6u);
    std::map<std::string, std::string> outcome;
    for (const Json& c : after["Criteria"])
        outcome[c["Type"].get<std::string>()] = c["Outcome"].get<std::string>();
    EXPECT_EQ(outcome["end-length"], "pass");
    EXPECT_EQ(outcome["new-events"], "fail");
    EXPECT_EQ(outcome["dc-resistance-min"], "fail");
    EXPECT_NE(after["Criteria"][1]["Value"].get<std::string>().find("(short) at 1"), std::string::npos)
        << after["Criteria"][1]["Value"];
}

TEST_F(ReportRun, UnusableTemplateOrHeaderIsAUsageError)
{
    dir.Write("broken.json", "{\n  \"criteria\": [\n    {\"type\": \"end-length\", \"length\": 1}\n  ]\n}\n");
    ToolRun run = RunTool(dir.Path(), "report --template broken.json -o x.pdf after.ndt");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.error.find("broken.json, line 3: criterion 1 (end-length) has no \"tolerance\""),
              std::string::npos)
        << run.error;
    EXPECT_FALSE(std::filesystem::exists(dir.File("x.pdf")));
    run = RunTool(dir.Path(), "report --template passing.json --header colour=red -o x.pdf after.ndt");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.error.find("unknown header field \"colour\""), std::string::npos) << run.error;
    EXPECT_EQ(RunTool(dir.Path(), "report --template passing.json -o x.png after.ndt").status, 2);
    // A chart that cannot be read fails the run whatever the others give.
    run = RunTool(dir.Path(), "report --template passing.json -o y.pdf after.ndt missing.ndt");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.json["verdict"], "PASS");
}

} // namespace
} // namespace lumidrax::test
