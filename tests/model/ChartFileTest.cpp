#include "ChartFile.h"
#include "ExpectedChart.h"
#include "TMereni.h"
#include "TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace lumidrax;
using lumidrax::test::ExpectChart;
using lumidrax::test::ReadFile;
using lumidrax::test::TempDir;

namespace {

TJednoMereni VKR104Chart()
{
    TJednoMereni c;
    c.Description = "Feeder 3";
    c.Interval = 2000;
    c.Velocity = 0.66L;
    c.Impedance = 100;
    c.Noise = 5;
    c.DC = -3;
    c.Filter = 1;
    c.Pozice0X = 11;
    c.FilterPost = 1;
    c.Pozice0Y = 120;
    c.NegEdge = 0;
    c.StatusIDX = 1;
    c.DatumCas = "12.05.2009 10:22:31";
    c.SeriePrvni = 4;
    c.SeriePosledni = 9;
    c.SerialNumber = 1234;
    c.DCResistanceSingle = 150000.0f;
    c.DCVoltageSingle = 0.1f;
    c.Pozice0YSingle = 2.5f;
    c.VerzeVKR = "VKR104";
    c.Index = 17;
    c.SetSamples({-12.5L, 0, 3.25L});
    return c;
}

// Adds the test chart to m under the given file name, not yet saved, and
// gives a copy of it.
TJednoMereni AddNamedChart(TMereni& m, const std::string& fileName)
{
    TJednoMereni c = VKR104Chart();
    c.FileName = fileName;
    m.AppendRecord(c);
    return c;
}

int LoadText(TMereni& m, const TempDir& dir, const std::string& name, const std::string& text)
{
    return m.LoadChart(dir.Write(name, text));
}

} // namespace

TEST(ChartFile, VKR104ChartIsWrittenWith23TokensAndReadsBackAsWritten)
{
    const TJednoMereni c = VKR104Chart();
    const std::string text = ChartFileText(c);
    EXPECT_EQ(text, "Feeder 3\r\n"
                    "2000     660     100     5     -3     1     11     1     120     0     1     0     0"
                    "     12.05.2009     10:22:31     4     9     1234     150000     0,100000001490116"
                    "     2,5     VKR104     17\r\n"
                    "-12,50\r\n0,00\r\n3,25\r\n");

    TempDir dir;
    TMereni m;
    ASSERT_EQ(LoadText(m, dir, "a.ndt", text), 1);
    const TJednoMereni& r = m.Rec(1);
    ExpectChart(r, {.VerzeVKR = "VKR104",
                    .Index = 17,
                    .SeriePrvni = 4,
                    .SeriePosledni = 9,
                    .Pozice0YSingle = 2.5f,
                    .DCVoltageSingle = 0.1f,
                    .DCVoltageStr = "0,10 V",
                    .DCResistStr = "150 kOhm",
                    .DatumCas = c.DatumCas,
                    .SerialNumber = 1234,
                    .Samples = c.Samples});
    EXPECT_EQ(ChartFileText(r), text);
}

TEST(ChartFile, VKR104DateWithoutOneBlankStillGives23Tokens)
{
    TempDir dir;
    for (const std::string date : {"---", "12.05.2009", "", "12.05.2009 10:22:31 extra"}) {
        TJednoMereni c = VKR104Chart();
        c.DatumCas = date;
        std::vector<std::string> tokens;
        SplitTokens(HeaderLine(c), tokens);
        EXPECT_EQ(tokens.size(), 23u) << date;
        TMereni m;
        ASSERT_EQ(LoadText(m, dir, "d" + std::to_string(date.size()) + ".ndt", ChartFileText(c)), 1);
        EXPECT_EQ(m.Rec(1).Index, 17) << date;
        if (date.find(' ') == std::string::npos && !date.empty()) {
            EXPECT_EQ(m.Rec(1).DatumCas, date);
        }
        EXPECT_EQ(ChartFileText(m.Rec(1)), ChartFileText(c)) << "written again unchanged";
    }
}

TEST(ChartFile, OlderModelsAreWrittenWith13Tokens)
{
    TJednoMereni c = VKR104Chart();
    c.VerzeVKR = "VKR103";
    c.Velocity = 0.6549L;
    c.StatusIDX = 66;
    c.DCVoltage = 250;
    c.DCResistance = 205;
    std::vector<std::string> tokens;
    SplitTokens(HeaderLine(c), tokens);
    ASSERT_EQ(tokens.size(), 13u);
    EXPECT_EQ(tokens[1], "655");

    TempDir dir;
    TMereni m;
    ASSERT_EQ(LoadText(m, dir, "b.ndt", ChartFileText(c)), 1);
    const TJednoMereni& r = m.Rec(1);
    EXPECT_EQ(r.Velocity, 0.655L);
    EXPECT_EQ(r.VerzeVKR, "VKR103/VKR103RAM");
    EXPECT_EQ(r.DatumCas, "---");
    EXPECT_EQ(r.DCVoltageStr, "-0,60 V");
    EXPECT_EQ(r.DCResistStr, "Non-measurable"); // 66 mod 16 = 2
    EXPECT_EQ(r.Index, 0);
}

TEST(ChartFile, HeaderFormsOfTheOldestModelAndOddCounts)
{
    TempDir dir;
    TMereni m;
    // 7 tokens: raw samples, baseline from samples 5..1.
    ASSERT_EQ(LoadText(m, dir, "seven.ndt",
                       "old\r\n2000 660 50 5 0 1 5\r\n100\r\n102\r\n\r\n104\r\n106\r\n108\r\n150\r\n"),
              1);
    const TJednoMereni& a = m.Rec(1);
    EXPECT_EQ(a.FilterPost, 1);
    EXPECT_EQ(a.Pozice0Y, 104);
    EXPECT_EQ(a.NegEdge, -1);
    EXPECT_EQ(a.StatusIDX, -1);
    EXPECT_EQ(a.VerzeVKR, "VKR102");
    EXPECT_EQ(a.DCVoltageStr, "---");
    EXPECT_EQ(a.DCResistStr, "---");
    EXPECT_EQ(a.DatumCas, "---");
    ASSERT_EQ(a.SampleCount, 6);
    EXPECT_EQ(a.Sample(1), 100 - 104 - 100);
    EXPECT_EQ(a.Sample(6), 150 - 104 - 100);

    // 8 tokens: FilterPost is read, the rest as for 7.
    ASSERT_EQ(LoadText(m, dir, "eight.ndt", "\r\n2000 660 50 5 0 1 1 5\r\n10\r\n"), 2);
    EXPECT_EQ(m.Rec(2).FilterPost, 5);
    EXPECT_EQ(m.Rec(2).Pozice0Y, 10);

    // 13 tokens with Pozice0Y -1 get the correction too.
    ASSERT_EQ(LoadText(m, dir, "thirteen.ndt", "\r\n2000 660 50 5 0 1 1 1 -1 0 0 0 0\r\n10\r\n20\r\n"), 3);
    EXPECT_EQ(m.Rec(3).Sample(2), 20 - 10 - 100);

    // 22 tokens: no Index.
    ASSERT_EQ(
        LoadText(m, dir, "twentytwo.ndt",
                 "\r\n2000 660 50 5 0 1 1 1 0 0 0 0 0 01.02.2010 11:12:13 1 3 77 60 0,5 0 VKR104\r\n1\r\n"),
        4);
    EXPECT_EQ(m.Rec(4).Index, 0);
    EXPECT_EQ(m.Rec(4).DatumCas, "01.02.2010 11:12:13");
    EXPECT_EQ(m.Rec(4).DCResistStr, "0,1 kOhm");

    // 10 tokens: only the first seven count; tokens 7.. are not even looked at.
    ASSERT_EQ(LoadText(m, dir, "ten.ndt", "\r\n2000 660 50 5 0 1 1 x y z\r\n10\r\n"), 5);
    EXPECT_EQ(m.Rec(5).FilterPost, 1);
    EXPECT_EQ(m.Rec(5).VerzeVKR, "VKR102");
}

TEST(ChartFile, UnreadableContentIsRefusedWithFileAndLineAndNothingIsKept)
{
    TempDir dir;
    TMereni m;
    ASSERT_EQ(LoadText(m, dir, "good.ndt", "\r\n2000 660 50 5 0 1 1 1 0 0 0 0 0\r\n1,5\r\n"), 1);
    struct Case {
        std::string text;
        std::string expected;
    } cases[] = {
        {"\r\n2000 660 50 5 0 1 1 1 0 0 0 0 0\r\n1,5\r\nabc\r\n",
         "line 4: 'abc' is not a valid floating point value"},
        {"\r\n2000 660 50 5 0 1 1 1 0 0 0 0 0\r\n1.5\r\n",
         "line 3: '1.5' is not a valid floating point value"},
        // Numbers beyond the range of a double are no levels.
        {"\r\n2000 660 50 5 0 1 1 1 0 0 0 0 0\r\n1,5\r\n1E4000\r\n",
         "line 4: '1E4000' is not a valid floating point value"},
        {"\r\n2000 660 50 5 0 1 1 1 0 0 0 0 0\r\n-1E4000\r\n",
         "line 3: '-1E4000' is not a valid floating point value"},
        {"\r\n2000 660 50 5 0 1 1 1 0 0 0 0 0\r\n1,8E308\r\n",
         "line 3: '1,8E308' is not a valid floating point value"},
        {"\r\n2000 660 50 5 0 1\r\n1\r\n",
         "line 2: the settings line holds 6 values where at least 7 are needed"},
        {"", "line 2: the settings line holds 0 values"},
        {"\r\n2000 0,66 50 5 0 1 1 1 0 0 0 0 0\r\n1\r\n", "line 2: '0,66' is not a valid integer"},
        {"\r\n2000 660 50 5 0 1 0\r\n1\r\n", "the cable start sample 0 is below 1"},
    };
    int k = 0;
    for (const Case& c : cases) {
        const std::string path = dir.Write("bad" + std::to_string(k++) + ".ndt", c.text);
        try {
            m.LoadChart(path);
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const ChartFileError& e) {
            EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find(c.expected), std::string::npos) << e.what();
        }
        EXPECT_EQ(m.Count, 1);
        EXPECT_EQ(m.ShownCount, 1);
        EXPECT_EQ(m.FirstFreeSlot(), 2);
    }
    // More samples than a chart holds.
    std::string big = "\r\n2000 660 50 5 0 1 1 1 0 0 0 0 0\r\n";
    for (int i = 0; i <= 10000; ++i)
        big += "1\r\n";
    EXPECT_THROW(m.LoadChart(dir.Write("big.ndt", big)), ChartFileError);
    EXPECT_EQ(m.Count, 1);
}

// The largest levels a double holds still load.
TEST(ChartFile, LevelsUpToTheRangeOfADoubleLoad)
{
    TempDir dir;
    TMereni m;
    ASSERT_EQ(LoadText(m, dir, "edge.ndt", "\r\n2000 660 50 5 0 1 1 1 0 0 0 0 0\r\n1,7E308\r\n-1,7E308\r\n"),
              1);
    EXPECT_EQ(m.Rec(1).Samples, (std::vector<long double>{1.7E308L, -1.7E308L}));
}

TEST(ChartFile, ReaderAcceptsBlanksLfAndCrLineEnds)
{
    TempDir dir;
    TMereni m;
    ASSERT_EQ(
        LoadText(m, dir, "lf.ndt", "desc \n  2000   660 50\t5 0 1 1 1 0 0 0 0 0  \n  1,5 \n\n-2\r3\r\n"), 1);
    EXPECT_EQ(m.Rec(1).Description, "desc ");
    EXPECT_EQ(m.Rec(1).Samples, (std::vector<long double>{1.5L, -2, 3}));
    EXPECT_EQ(m.Rec(1).Samples.capacity(), 3u);
}

TEST(ChartFile, SaveCreatesOneFolderLevelAndAsksBeforeOverwriting)
{
    TempDir dir;
    TMereni m;
    const TJednoMereni c = AddNamedChart(m, dir.File("day/chart.ndt"));

    EXPECT_EQ(SaveChart(m, 1, true), kSaveDone);
    EXPECT_EQ(ReadFile(c.FileName), ChartFileText(m.Rec(1)));

    // An existing file: only a Yes overwrites it.
    m.Rec(1).Description = "changed";
    int asked = 0;
    std::string question;
    auto no = [&](const std::string& caption, const std::string& text) {
        ++asked;
        question = caption + "|" + text;
        return false;
    };
    EXPECT_EQ(SaveChart(m, 1, true, no), kSaveDeclined);
    EXPECT_EQ(question, "Save|File " + c.FileName + " already exists. Overwrite ?");
    EXPECT_EQ(ReadFile(c.FileName).substr(0, 8), "Feeder 3");
    EXPECT_EQ(SaveChart(m, 1, true, [](auto&, auto&) { return true; }), kSaveDone);
    EXPECT_EQ(ReadFile(c.FileName).substr(0, 7), "changed");
    m.Rec(1).Description = "again";
    EXPECT_EQ(SaveChart(m, 1, false, no), kSaveDone); // no question without ask
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(ReadFile(c.FileName).substr(0, 5), "again");

    // Two missing levels: -8 and nothing written.
    m.Rec(1).FileName = dir.File("a/b/chart.ndt");
    EXPECT_EQ(SaveChart(m, 1, false), -8);
    EXPECT_FALSE(std::filesystem::exists(dir.File("a")));

    // An empty FileName takes the automatic one.
    m.Rec(1).FileName.clear();
    m.Rec(1).AutoFileName = dir.File("auto.ndt");
    EXPECT_EQ(SaveChart(m, 1, false), kSaveDone);
    EXPECT_EQ(m.Rec(1).FileName, dir.File("auto.ndt"));
    // Nothing but the charts is left in the folders (no temporary files).
    int files = 0;
    for (const auto& e : std::filesystem::recursive_directory_iterator(dir.Path()))
        files += e.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 2);
}

TEST(ChartFile, FailedSaveKeepsThePreviousFile)
{
    TempDir dir;
    TMereni m;
    const TJednoMereni c = AddNamedChart(m, dir.File("keep/chart.ndt"));
    ASSERT_EQ(SaveChart(m, 1, false), kSaveDone);
    const std::string before = ReadFile(c.FileName);
    // A folder that takes no new files: the temporary file cannot be made.
    // (Skipped where permissions are not enforced, as for root.)
    ::chmod(dir.File("keep").c_str(), 0555);
    m.Rec(1).Description = "changed";
    if (::access(dir.File("keep").c_str(), W_OK) != 0) {
        EXPECT_THROW(SaveChart(m, 1, false), ChartFileError);
        EXPECT_EQ(ReadFile(c.FileName), before);
    }
    ::chmod(dir.File("keep").c_str(), 0755);
    // The target is a folder: the rename fails, the error names the path.
    m.Rec(1).FileName = dir.File("keep");
    try {
        SaveChart(m, 1, false);
        ADD_FAILURE() << "saved over a folder";
    } catch (const ChartFileError& e) {
        EXPECT_NE(std::string(e.what()).find("could not write file " + dir.File("keep")), std::string::npos);
    }
    EXPECT_EQ(ReadFile(c.FileName), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.File("keep")), {}), 1);
}

TEST(ChartFile, DescriptionIsWrittenInWindows1250OnOneLine)
{
    TJednoMereni c = VKR104Chart();
    c.VerzeVKR = "VKR103";
    c.Description = "P\xC5\x99\xC3\xADpojka\r\nB"; // Přípojka, a line break
    const std::string text = ChartFileText(c);
    EXPECT_EQ(text.substr(0, 13), "P\xF8\xEDpojka  B\r\n");
    TempDir dir;
    TMereni m;
    ASSERT_EQ(m.LoadChart(dir.Write("cz.ndt", text)), 1);
    EXPECT_EQ(m.Rec(1).Description, "P\xC5\x99\xC3\xADpojka  B");
}
