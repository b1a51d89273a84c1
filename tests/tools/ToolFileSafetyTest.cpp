// What `lumidrax-tool convert` says when the text or the target does not
// allow a faithful save.

#include "ToolTestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace lumidrax::test {
namespace {

TEST(ToolFileSafety, ConvertNamesReplacedCharactersAndFailsWithoutAResultCode)
{
    TempDir dir;
    // UTF-8 text with characters Windows-1250 has no byte for.
    dir.Write("in.ndt", NdtText("\xCE\xA9 cable \xE2\x98\x83", Header13(), {"1,00"}));
    const ToolRun run = RunTool(dir.Path(), "convert in.ndt out.ndt");
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(run.json["results"][1]["result"], 0);
    EXPECT_EQ(run.json["results"][1]["message"],
              "The characters \xCE\xA9 \xE2\x98\x83 cannot be stored in a chart file (Windows-1250) and were "
              "written as ?.");
    EXPECT_EQ(ReadFile(dir.File("out.ndt")).substr(0, 11), "? cable ?\r\n");
    // Plain text gives no message.
    EXPECT_EQ(RunTool(dir.Path(), "convert out.ndt again.ndt").json["results"][1]["message"], nullptr);

    // A write-protected target: an error entry, no success code beside it.
    const std::string locked = dir.Write("locked.ndt", "old");
    ::chmod(locked.c_str(), 0444);
    const ToolRun refused = RunTool(dir.Path(), "convert in.ndt locked.ndt");
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.json["results"][1],
              Json({{"command", "convert"},
                    {"output", "locked.ndt"},
                    {"error", "Error: could not write file locked.ndt (the file is write-protected)."}}));
    EXPECT_EQ(ReadFile(locked), "old");
}

} // namespace
} // namespace lumidrax::test
