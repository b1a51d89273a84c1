// lumidrax-tool render as a batch: one picture per chart named by its place
// and file name, the print layout on request, and a quiet run in a bare
// shell.

#include "ToolTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace lumidrax::test {
namespace {

// Width and height from a PNG file's header (0 x 0 when it is no PNG).
std::pair<int, int> PngSize(const std::string& path)
{
    const std::string b = ReadFile(path);
    if (b.size() < 24 || b.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0)
        return {0, 0};
    auto u32 = [&b](std::size_t at) {
        int v = 0;
        for (std::size_t k = 0; k < 4; ++k)
            v = v * 256 + static_cast<unsigned char>(b[at + k]);
        return v;
    };
    return {u32(16), u32(20)};
}

TEST(ToolRender, EachWritesOnePictureAChartAndEqualNamesDoNotCollide)
{
    TempDir dir;
    const std::vector<std::string> samples(200, "12,5");
    dir.Write("site1/cable.ndt", NdtText("first", Header13(), samples));
    dir.Write("site2/cable.ndt", NdtText("second", Header13(), samples));
    const ToolRun run = RunTool(
        dir.Path(), "render --width 640 --height 400 --with-info --each out site1/cable.ndt site2/cable.ndt");
    ASSERT_EQ(run.status, 0) << run.error;
    EXPECT_EQ(run.error, "");
    EXPECT_EQ(PngSize(dir.File("out/001-cable.png")), std::make_pair(640, 400));
    EXPECT_EQ(PngSize(dir.File("out/002-cable.png")), std::make_pair(640, 400));
    int pictures = 0;
    for (const Json& entry : run.json["results"])
        if (entry.value("command", "") == "render") {
            EXPECT_EQ(entry["result"], 0);
            EXPECT_TRUE(entry["withInfo"].get<bool>());
            ++pictures;
        }
    EXPECT_EQ(pictures, 2);
    // The print layout is another picture than the plain page.
    ASSERT_EQ(RunTool(dir.Path(), "render --width 640 --height 400 -o plain.png site1/cable.ndt").status, 0);
    EXPECT_NE(ReadFile(dir.File("plain.png")), ReadFile(dir.File("out/001-cable.png")));
    EXPECT_EQ(RunTool(dir.Path(), "render -o x.png --each out site1/cable.ndt").status, 2);
}

TEST(ToolRender, ABareShellGetsNothingOnStandardError)
{
    TempDir dir;
    dir.Write("a.ndt", NdtText("", Header13(), {"1", "2", "3"}));
    std::string out;
    const int status = RunCommand("cd '" + dir.Path() + "' && env -i PATH=/usr/bin:/bin '" +
                                      BinPath("lumidrax-tool") + "' render -o a.pdf a.ndt 2>err.txt",
                                  out);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadFile(dir.File("err.txt")), "");
    EXPECT_EQ(ReadFile(dir.File("a.pdf")).substr(0, 5), "%PDF-");
}

} // namespace
} // namespace lumidrax::test
