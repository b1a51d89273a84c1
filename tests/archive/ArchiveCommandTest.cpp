// lumidrax-tool archive on the command line: import, search, export and
// check, with their JSON and exit statuses.

#include "ArchiveContent.h"
#include "ArchiveTestCharts.h"
#include "TestSupport.h"

#include "ChartFile.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

namespace lumidrax::test {

namespace {

using Json = nlohmann::json;

// Runs lumidrax-tool archive ARGS on the archive file; standard error away.
int Archive(const std::string& args, const std::string& file, Json& out)
{
    std::string text;
    const int status = RunCommand(
        "'" + BinPath("lumidrax-tool") + "' archive " + args + " --archive '" + file + "' 2>/dev/null", text);
    out = Json::parse(text, nullptr, false);
    return status;
}

TEST(ArchiveCommand, ImportSearchExportCheck)
{
    TempDir dir;
    const std::string file = dir.File("archive.sqlite");
    for (int k = 0; k < 4; ++k)
        dir.Write("charts/c" + std::to_string(k) + ".ndt",
                  ChartFileText(ArchiveChart(200 + k, k % 2 ? "riser north" : "trunk south",
                                             "0" + std::to_string(k + 1) + ".03.2022 10:00:00", 500 + k)));
    dir.Write("charts/bad.ndt", "\r\n1 2\r\n");
    Json out;
    EXPECT_EQ(Archive("import '" + dir.File("charts") + "' --cable K7", file, out), 1) << "one file failed";
    EXPECT_EQ(out["added"], 4);
    ASSERT_EQ(out["failed"].size(), 1u);
    EXPECT_EQ(out["failed"][0]["file"], dir.File("charts/bad.ndt"));
    EXPECT_EQ(Archive("import '" + dir.File("charts") + "/c0.ndt'", file, out), 1) << "not a folder";

    ASSERT_EQ(Archive("search --text RISER --to 2022-03-02", file, out), 0);
    ASSERT_TRUE(out.is_array());
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0]["Description"], "riser north");
    EXPECT_EQ(out[0]["SerialNumber"], 501);
    EXPECT_EQ(out[0]["Cable"], "K7");
    EXPECT_EQ(out[0]["Origin"], "import");

    ASSERT_EQ(Archive("search --sort serial --ascending --limit 2", file, out), 0);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0]["SerialNumber"], 500);
    EXPECT_EQ(out[1]["SerialNumber"], 501);
    const int id = out[1]["Id"];
    const std::string hash = out[1]["Hash"];
    EXPECT_EQ(Archive("search --from 2022-3-1", file, out), 2) << "a date is YYYY-MM-DD";

    ASSERT_EQ(Archive("export " + std::to_string(id) + " 999 -o '" + dir.File("out") + "'", file, out), 1);
    ASSERT_EQ(out["results"].size(), 2u);
    EXPECT_EQ(out["results"][0]["file"], dir.File("out/c1.ndt"));
    EXPECT_EQ(ContentHash(ReadFile(dir.File("out/c1.ndt"))), hash) << "the chart as it was recorded";
    EXPECT_TRUE(out["results"][1].contains("error")) << "no entry 999";

    EXPECT_EQ(Archive("check", file, out), 0);
    EXPECT_EQ(out["entries"], 4);
    EXPECT_TRUE(out["problems"].empty());
    dir.Write("archive.sqlite", "garbage");
    EXPECT_EQ(Archive("check", file, out), 1);
    EXPECT_NE(out["error"].get<std::string>().find("left untouched"), std::string::npos);
}

} // namespace

} // namespace lumidrax::test
