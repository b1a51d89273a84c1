// The chart file through `lumidrax-tool info` and `convert`: the five header
// forms, and the bytes the writer produces.

#include "ToolTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace lumidrax::test {
namespace {

namespace fs = std::filesystem;

// Runs `convert IN OUT` in dir and gives the file it wrote ("" when the run
// failed).
std::string Converted(const TempDir& dir, const std::string& in, const std::string& out)
{
    const ToolRun run = RunTool(dir.Path(), "convert " + in + " " + out);
    EXPECT_EQ(run.status, 0) << run.json.dump() << run.error;
    return run.status == 0 ? ReadFile(dir.File(out)) : std::string();
}

TEST(ToolChartFile, EachHeaderFormFillsItsFieldsAndDefaults)
{
    TempDir dir;
    const std::vector<std::string> raw(11, "128");
    dir.Write("t7.ndt", NdtText("seven", "  2000 655\t100  5 0 1 11  ", raw));
    dir.Write("t8.ndt", NdtText("eight", "2000     660     100     5     0     1     11     4", raw));
    dir.Write("t13.ndt", NdtText("thirteen", Header13(11, 120, 4, 850, 12), {"1,00"}));
    dir.Write("t22.ndt", NdtText("twenty-two",
                                 Header23("03.11.2011 14:05:52", 0, "2400000", "0,03", 7, false), {"1,00"}));
    dir.Write("t23.ndt",
              NdtText("twenty-three", Header23("12.05.2009 10:22:31", 0, "150000", "-0,12", 9), {"1,00"}));
    dir.Write("t10.ndt",
              NdtText("ten", "2000     660     100     5     0     1     11     4     128     0", raw));
    const ToolRun run = RunTool(dir.Path(), "info t7.ndt t8.ndt t13.ndt t22.ndt t23.ndt t10.ndt");
    ASSERT_EQ(run.status, 0) << run.json.dump();

    const Json& c7 = Chart(run, 1);
    EXPECT_DOUBLE_EQ(c7["Velocity"].get<double>(), 0.655);
    EXPECT_EQ(c7["Interval"], 2000);
    EXPECT_EQ(c7["Impedance"], 100);
    EXPECT_EQ(c7["Noise"], 5);
    EXPECT_EQ(c7["Filter"], 1);
    EXPECT_EQ(c7["FilterPost"], 1);
    EXPECT_EQ(c7["Pozice0Y"], 128);
    EXPECT_EQ(c7["NegEdge"], -1);
    EXPECT_EQ(c7["StatusIDX"], -1);
    EXPECT_EQ(c7["DCVoltageStr"], "---");
    EXPECT_EQ(c7["DCResistStr"], "---");
    EXPECT_EQ(c7["VerzeVKR"], "VKR102");
    EXPECT_EQ(c7["DatumCas"], "---");
    EXPECT_EQ(c7["Index"], 0);

    const Json& c8 = Chart(run, 2);
    EXPECT_EQ(c8["FilterPost"], 4);
    EXPECT_EQ(c8["NegEdge"], -1);
    EXPECT_EQ(c8["VerzeVKR"], "VKR102");

    const Json& c13 = Chart(run, 3);
    EXPECT_EQ(c13["Pozice0Y"], 120);
    EXPECT_EQ(c13["NegEdge"], 0);
    EXPECT_EQ(c13["StatusIDX"], 4);
    EXPECT_EQ(c13["DCResistance"], 850);
    EXPECT_EQ(c13["DCVoltage"], 12);
    EXPECT_EQ(c13["DCVoltageStr"], "0,12 V");
    EXPECT_EQ(c13["DCResistStr"], "850 kOhm");
    EXPECT_EQ(c13["VerzeVKR"], "VKR103/VKR103RAM");
    EXPECT_EQ(c13["DatumCas"], "---");

    const Json& c22 = Chart(run, 4);
    EXPECT_EQ(c22["VerzeVKR"], "VKR104");
    EXPECT_EQ(c22["DatumCas"], "03.11.2011 14:05:52");
    EXPECT_EQ(c22["Index"], 0);
    EXPECT_EQ(c22["SeriePrvni"], 1);
    EXPECT_EQ(c22["SeriePosledni"], 3);
    EXPECT_EQ(c22["SerialNumber"], 40117);
    EXPECT_EQ(c22["DCResistanceSingle"].get<double>(), 2400000.0);
    EXPECT_EQ(c22["DCVoltageSingle"].get<double>(), static_cast<double>(0.03f));
    EXPECT_EQ(c22["Pozice0YSingle"].get<double>(), 128.0);
    EXPECT_EQ(c22["DCVoltageStr"], "0,03 V");
    EXPECT_EQ(c22["DCResistStr"], "2,4 MOhm");

    const Json& c23 = Chart(run, 5);
    EXPECT_EQ(c23["Index"], 9);
    EXPECT_EQ(c23["DatumCas"], "12.05.2009 10:22:31");
    EXPECT_EQ(c23["DCVoltageStr"], "-0,12 V");
    EXPECT_EQ(c23["DCResistStr"], "150 kOhm");

    // A count no writer produces: tokens 0..6 only, the rest as the oldest files.
    const Json& c10 = Chart(run, 6);
    EXPECT_EQ(c10["FilterPost"], 1);
    EXPECT_EQ(c10["Pozice0Y"], 128);
    EXPECT_EQ(c10["VerzeVKR"], "VKR102");
}

TEST(ToolChartFile, ConvertWritesThirteenTokensFiveBlanksApartWithCrLfAndTwoDecimalCommas)
{
    TempDir dir;
    // Untidy input: LF line ends, runs of blanks, samples with blanks around.
    dir.Write("in.ndt", "Street 5 trunk, pair 14\n 2000  655 100 5 0 1 11 1 128 0 4 850 12 \n"
                        "-12,5\n  7 \n0,125\n1,005E1\n-0\n");
    const ToolRun run = RunTool(dir.Path(), "convert in.ndt out.ndt");
    ASSERT_EQ(run.status, 0) << run.json.dump();
    EXPECT_EQ(ReadFile(dir.File("out.ndt")),
              "Street 5 trunk, pair 14\r\n"
              "2000     655     100     5     0     1     11     1     128     0     4     850     12\r\n"
              "-12,50\r\n7,00\r\n0,13\r\n10,05\r\n0,00\r\n");
    const Json& entry = run.json["results"][1];
    EXPECT_EQ(entry,
              Json({{"command", "convert"}, {"result", 0}, {"message", nullptr}, {"output", "out.ndt"}}));
    // The chart now carries the name it was saved under.
    EXPECT_EQ(Chart(run, 1)["FileName"], "out.ndt");
    EXPECT_EQ(Chart(run, 1)["DisplayName"], "out.ndt");
    EXPECT_EQ(Chart(run, 1)["AutoFileName"], "");
    EXPECT_EQ(Chart(run, 1)["Saved"], true);
    // Nothing but the target is left in the folder.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 2);
}

TEST(ToolChartFile, RawChartsAreWrittenCorrectedWithThirteenTokens)
{
    TempDir dir;
    dir.Write("old.ndt", NdtText("Feeder 3, pair 2", "2000     660     100     5     0     1     2",
                                 {"27", "29", "129,5"}));
    const std::string expected =
        "Feeder 3, pair 2\r\n"
        "2000     660     100     5     0     1     2     1     28     -1     -1     0     0\r\n"
        "-101,00\r\n-99,00\r\n1,50\r\n";
    EXPECT_EQ(Converted(dir, "old.ndt", "new.ndt"), expected);
    // Read back, the baseline is not taken off a second time.
    EXPECT_EQ(Converted(dir, "new.ndt", "again.ndt"), expected);
}

TEST(ToolChartFile, VKR104ChartsAreAlwaysWrittenWithTwentyThreeTokensAndReadBackAsWritten)
{
    TempDir dir;
    dir.Write("early.ndt", NdtText("Exchange B, cable 20, pair 3",
                                   Header23("12.05.2009 10:22:31", 0, "0,1", "2,5", 0, false), {"-1,5"}));
    // Stored single-precision floats are widened before formatting: 0.1 as
    // 0,100000001490116, 2.5 as 2,5.
    const std::string expected =
        "Exchange B, cable 20, pair 3\r\n"
        "2000     660     100     5     0     1     11     1     128     0     0     0     "
        "0     12.05.2009     10:22:31     1     3     40117     0,100000001490116     "
        "2,5     128     VKR104     0\r\n"
        "-1,50\r\n";
    EXPECT_EQ(Converted(dir, "early.ndt", "late.ndt"), expected);

    const ToolRun back = RunTool(dir.Path(), "info late.ndt");
    ASSERT_EQ(back.status, 0);
    EXPECT_EQ(Chart(back, 1)["DatumCas"], "12.05.2009 10:22:31");
    EXPECT_EQ(Chart(back, 1)["Index"], 0);
    EXPECT_EQ(Chart(back, 1)["DCResistanceSingle"].get<double>(), static_cast<double>(0.1f));
    EXPECT_EQ(Chart(back, 1)["DCVoltageSingle"].get<double>(), 2.5);
    EXPECT_EQ(Converted(dir, "late.ndt", "twice.ndt"), expected);
}

TEST(ToolChartFile, TextOutsideAsciiIsReadAndWrittenAsWindows1250)
{
    TempDir dir;
    // "Rozvaděč 3, pár 2" in Windows-1250.
    const std::string cp1250 = "Rozvad\xEC\xE8 3, p\xE1r 2";
    dir.Write("cz.ndt", NdtText(cp1250, Header13(), {"1,00"}));
    const ToolRun run = RunTool(dir.Path(), "convert cz.ndt out.ndt");
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(Chart(run, 1)["Description"], "Rozvad\u011B\u010D 3, p\u00E1r 2");
    EXPECT_EQ(ReadFile(dir.File("out.ndt")).substr(0, cp1250.size() + 2), cp1250 + "\r\n");
}

TEST(ToolChartFile, ConvertOverwritesWithoutAskingAndCreatesOnlyTheLastFolder)
{
    TempDir dir;
    dir.Write("in.ndt", NdtText("new", Header13(), {"1,00"}));
    dir.Write("existing.ndt", "old content\r\n");
    const ToolRun over = RunTool(dir.Path(), "convert in.ndt existing.ndt");
    EXPECT_EQ(over.status, 0);
    EXPECT_EQ(ReadFile(dir.File("existing.ndt")).substr(0, 5), "new\r\n");

    const ToolRun made = RunTool(dir.Path(), "convert in.ndt day/out.ndt");
    EXPECT_EQ(made.status, 0);
    EXPECT_TRUE(fs::is_regular_file(dir.File("day/out.ndt")));

    const ToolRun deep = RunTool(dir.Path(), "convert in.ndt year/day/out.ndt");
    EXPECT_EQ(deep.status, 1);
    EXPECT_EQ(deep.json["results"][1]["error"], "Error: unable to create directory year/day/out.ndt.");
    EXPECT_FALSE(fs::exists(dir.File("year")));
    // The chart keeps the name it had.
    EXPECT_EQ(Chart(deep, 1)["FileName"], "in.ndt");
}

TEST(ToolChartFile, ConvertToCsvWritesDistanceAndLevelColumns)
{
    TempDir dir;
    dir.Write("in.ndt", NdtText("x", Header13(11), {"-12,5", "0", "3,25"}));
    const ToolRun run = RunTool(dir.Path(), "convert in.ndt out.CSV");
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(ReadFile(dir.File("out.CSV")),
              "Distance (m),Level (%)\r\n-2.00,-12.50\r\n-1.80,0.00\r\n-1.60,3.25\r\n");
    // The chart itself is not renamed by an export.
    EXPECT_EQ(Chart(run, 1)["FileName"], "in.ndt");
}

TEST(ToolChartFile, ExampleChartsCoverEveryHeaderForm)
{
    std::vector<std::string> tokenCounts;
    std::string args = "info";
    for (const auto& entry : fs::directory_iterator(SourcePath("examples"))) {
        if (entry.path().extension() != ".ndt")
            continue;
        args += " '" + entry.path().string() + "'";
        std::string text = ReadFile(entry.path().string());
        const auto line2 = text.find("\r\n") + 2;
        const std::string header = text.substr(line2, text.find("\r\n", line2) - line2);
        std::istringstream words(header);
        std::size_t tokens = 0;
        for (std::string word; words >> word;)
            ++tokens;
        tokenCounts.push_back(std::to_string(tokens));
    }
    for (const char* form : {"7", "8", "13", "22", "23"})
        EXPECT_NE(std::find(tokenCounts.begin(), tokenCounts.end(), form), tokenCounts.end()) << form;
    const ToolRun run = RunTool(SourcePath("."), args);
    EXPECT_EQ(run.status, 0) << run.json.dump();
    for (const Json& c : run.json["charts"]) {
        EXPECT_GE(c["YMin"].get<double>(), -110) << c["FileName"];
        EXPECT_LE(c["YMax"].get<double>(), 100) << c["FileName"];
        EXPECT_NE(c["Description"], "") << c["FileName"];
    }
}

} // namespace
} // namespace lumidrax::test
