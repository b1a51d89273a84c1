// lumidrax-tool decode on transfer files made by the simulator: the JSON
// contract, the exit status, automatic names and the messages a decoder
// shows itself.

#include "SimBlocks.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>

namespace lumidrax {
namespace {

using nlohmann::json;

int Decode(const std::string& args, json& out)
{
    std::string text;
    const int status =
        test::RunCommand(test::BinPath("lumidrax-tool") + " decode " + args + " 2>/dev/null", text);
    out = json::parse(text, nullptr, false);
    return status;
}

std::string Example(const std::string& name)
{
    return test::SourcePath("examples/" + name);
}

std::string Bytes(const vkrsim::ByteVec& v)
{
    return std::string(v.begin(), v.end());
}

TEST(DecodeCommand, RS232TransfersOfEveryKind)
{
    test::TempDir dir;
    json out;
    const std::string files = Example("vkr102-chart.bin") + " " + Example("vkr103-chart.bin") + " " +
                              Example("vkr103ram-charts.bin") + " " + Example("vkr102-report.bin") + " " +
                              Example("vkr103-report.bin") + " " + Example("vkr103ram-report.bin");
    ASSERT_EQ(Decode("--saveroot " + dir.Path() + " --now \"2011-03-05 14:02:09\" " + files, out), 0);
    ASSERT_TRUE(out.is_object());
    std::vector<int> results;
    for (const json& r : out["results"]) {
        results.push_back(r["result"].get<int>());
        EXPECT_TRUE(r["message"].is_null());
    }
    EXPECT_EQ(results, (std::vector<int>{1, 3, 5, 2, 4, 6}));
    EXPECT_EQ(out["results"][0]["file"], Example("vkr102-chart.bin"));
    ASSERT_EQ(out["collection"]["Count"], 5);
    const json& charts = out["charts"];
    EXPECT_EQ(charts[0]["VerzeVKR"], "VKR102");
    EXPECT_EQ(charts[0]["DCVoltageStr"], "---");
    EXPECT_EQ(charts[0]["DatumCas"], "---");
    EXPECT_EQ(charts[0]["AutoFileName"], dir.Path() + "/11-03-05/140209.ndt");
    EXPECT_EQ(charts[1]["VerzeVKR"], "VKR103");
    EXPECT_EQ(charts[2]["VerzeVKR"], "VKR103RAM");
    EXPECT_EQ(charts[2]["Description"], "Chart No. 01");
    EXPECT_EQ(charts[4]["DisplayName"], dir.Path() + "/11-03-05/14020903.ndt");
    EXPECT_FALSE(charts[0].contains("Samples"));
    ASSERT_EQ(out["reports"].size(), 3u);
    const json& report = out["reports"][0];
    EXPECT_EQ(report["DisplayName"], dir.Path() + "/11-03-05/140209.txt");
    EXPECT_EQ(report["AutoFileName"], report["DisplayName"]);
    EXPECT_EQ(report["FileName"], "");
    EXPECT_EQ(report["Saved"], false);
    EXPECT_EQ(report["Lines"][0], "Record No:                 # 01");

    // Without automatic names: UNNAMED charts and numbered reports.
    ASSERT_EQ(Decode("--no-autoname --samples " + Example("vkr103-chart.bin") + " " +
                         Example("vkr102-report.bin") + " " + Example("vkr103-report.bin"),
                     out),
              0);
    EXPECT_EQ(out["charts"][0]["DisplayName"], "UNNAMED");
    EXPECT_EQ(out["charts"][0]["AutoFileName"], "");
    EXPECT_EQ(out["charts"][0]["Samples"].size(), out["charts"][0]["SampleCount"].get<std::size_t>());
    EXPECT_EQ(out["reports"][0]["DisplayName"], "UNNAMED 1");
    EXPECT_EQ(out["reports"][1]["DisplayName"], "UNNAMED 2");
}

TEST(DecodeCommand, FailuresGiveCatalogueMessagesAndExitStatusOne)
{
    json out;
    ASSERT_EQ(Decode(Example("vkr103-chart-bad-checksum.bin") + " " + Example("vkr102-chart-noise.bin") +
                         " /nonexistent/x.bin " + Example("vkr103-chart.bin"),
                     out),
              1);
    const json& r = out["results"];
    EXPECT_EQ(r[0]["result"], -6);
    EXPECT_EQ(r[0]["message"], "Error: data read error.");
    EXPECT_EQ(r[1]["result"], -4);
    EXPECT_EQ(r[1]["message"], "Error: noise on line.");
    EXPECT_EQ(r[2]["error"], "Error: file /nonexistent/x.bin does not exists.");
    EXPECT_EQ(r[3]["result"], 3);
    EXPECT_EQ(out["collection"]["Count"], 1);

    std::string text;
    EXPECT_EQ(test::RunCommand(test::BinPath("lumidrax-tool") + " decode --mode XY a.bin 2>/dev/null", text),
              2);
    EXPECT_EQ(
        test::RunCommand(test::BinPath("lumidrax-tool") + " decode --now 2011-03-05 a.bin 2>/dev/null", text),
        2);
}

TEST(DecodeCommand, BluetoothFramesOneFilePerFrame)
{
    test::TempDir dir;
    // Chart 7 of a series starting at 7, measured at 14:02:09 on 5 March 2011.
    TJednoMereni chart;
    chart.Interval = 2000;
    chart.Velocity = 0.66L;
    chart.Pozice0X = 11;
    chart.DatumCas = "05.03.2011 14:02:09";
    chart.Index = 7;
    chart.SeriePrvni = 7;
    chart.SeriePosledni = 8;
    chart.StatusIDX = 0;
    chart.SetSamples({-100, 0, 50.5L});
    const std::string frame = dir.Write("frame.bin", Bytes(vkrsim::VKR104Frame(chart, "")));
    const std::string end = dir.Write("end.bin", Bytes(vkrsim::VKR104EndFrame()));
    vkrsim::ByteVec shortFrame = vkrsim::VKR104Frame(chart, "");
    shortFrame.resize(shortFrame.size() - 1);
    const std::string cut = dir.Write("cut.bin", Bytes(shortFrame));
    json out;
    ASSERT_EQ(
        Decode("--mode BT --saveroot " + dir.Path() + "/ " + frame + " " + frame + " " + cut + " " + end,
               out),
        1);
    std::vector<int> results;
    for (const json& r : out["results"])
        results.push_back(r["result"].get<int>());
    EXPECT_EQ(results, (std::vector<int>{7, 8, -12, 90}));
    EXPECT_EQ(out["results"][2]["message"], "Error: Incorrect byte count (chart was not transfered).");
    ASSERT_EQ(out["charts"].size(), 1u);
    EXPECT_EQ(out["charts"][0]["DisplayName"], dir.Path() + "/11-03-05/140209_007a.ndt");
    EXPECT_EQ(out["charts"][0]["IsNew"], true);
    EXPECT_EQ(out["charts"][0]["DatumCas"], "05.03.2011 14:02:09");

    // The example series.
    ASSERT_EQ(Decode("--mode BT " + Example("vkr104-series-frame-01.bin") + " " +
                         Example("vkr104-series-frame-02.bin") + " " + Example("vkr104-series-frame-03.bin") +
                         " " + Example("vkr104-series-frame-end.bin"),
                     out),
              0);
    EXPECT_EQ(out["collection"]["Count"], 3);
    EXPECT_EQ(out["results"][3]["result"], 90);
}

TEST(DecodeCommand, MemoryReadOutBeyond999ChartsSaysSoInItsMessage)
{
    test::TempDir dir;
    TJednoMereni empty;
    empty.Interval = 1000;
    empty.Velocity = 0.66L;
    vkrsim::ByteVec transfer;
    for (int k = 1; k <= 1001; ++k)
        vkrsim::AppendVKR103RAMBlock(transfer, empty, k % 256);
    const std::string file = dir.Write("ram.bin", Bytes(transfer));
    json out;
    ASSERT_EQ(Decode("--no-autoname " + file, out), 0);
    EXPECT_EQ(out["results"][0]["result"], 5);
    EXPECT_EQ(out["results"][0]["message"], "Error: too many charts opened.");
    EXPECT_EQ(out["collection"]["Count"], 999);
}

} // namespace
} // namespace lumidrax

namespace lumidrax {
namespace {

TEST(SimCommand, ExampleTransfersAreWhatTheSimulatorMakes)
{
    test::TempDir dir;
    std::string text;
    ASSERT_EQ(test::RunCommand(test::SourcePath("tools/vkr-sim/make-examples.sh") + " " + dir.Path() + " " +
                                   test::BinPath("vkr-sim"),
                               text),
              0);
    int compared = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.Path())) {
        const std::string name = e.path().filename().string();
        EXPECT_EQ(test::ReadFile(e.path().string()), test::ReadFile(test::SourcePath("examples/" + name)))
            << name;
        ++compared;
    }
    EXPECT_EQ(compared, 12);
}

TEST(SimCommand, UsageErrorsAndWrittenFiles)
{
    const std::string sim = test::BinPath("vkr-sim");
    std::string text;
    EXPECT_EQ(test::RunCommand(sim + " --help", text), 0);
    EXPECT_NE(text.find("--fault"), std::string::npos);
    EXPECT_NE(text.find("--pty"), std::string::npos);
    EXPECT_EQ(test::RunCommand(sim + " --generate 2 2>/dev/null", text), 2);            // nowhere to go
    EXPECT_EQ(test::RunCommand(sim + " -m VKR105 --write x.bin 2>/dev/null", text), 2); // no such model
    EXPECT_EQ(test::RunCommand(sim + " -m VKR104 --fault noise --write x.bin 2>/dev/null", text),
              2); // not a BT fault
    EXPECT_EQ(test::RunCommand(sim + " -m VKR104 --report --write x.bin 2>/dev/null", text), 2);
    test::TempDir dir;
    ASSERT_EQ(
        test::RunCommand(sim + " -m VKR104 --generate 2 --samples 10 --write " + dir.File("f.bin"), text), 0);
    EXPECT_EQ(text, dir.File("f-01.bin") + "\n" + dir.File("f-02.bin") + "\n" + dir.File("f-end.bin") + "\n");
    EXPECT_EQ(test::ReadFile(dir.File("f-end.bin")).size(), 5u);
    ASSERT_EQ(
        test::RunCommand(sim + " -m VKR103RAM --generate 3 --samples 10 --write " + dir.File("r.bin"), text),
        0);
    EXPECT_EQ(test::ReadFile(dir.File("r.bin")).size(), 3u * (24 + 10 + 5));
}

} // namespace
} // namespace lumidrax
