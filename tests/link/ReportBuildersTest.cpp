// Report transfers of the older models laid out byte by byte, and the text
// lines they give.

#include "DecodeTransfer.h"
#include "LinkTestBytes.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace lumidrax {
namespace {

using test::AppendChecksum;
using test::ByteVec;
using test::Put16;
using test::Span;

using Lines = std::vector<std::string>;

struct PointBytes {
    int a, b, distance;
    bool marked = false;
    int rangeCode = 0;
};

struct RecordBytes {
    int recordNo = 3;
    bool skipped = false;
    int sensitivity = 1;
    bool negative = false;
    int velocity = 660;
    int impedance = 75;
    int minLevel = 70, maxLevel = 90;
    int filter = 1;
    int minPos = 300, maxPos = 500;
    int attenuation = 0;
    bool dc = false;
    int dcStatus = 0, dcVoltage = 0, dcResistance = 0;
    int noise = 2;
    std::vector<PointBytes> points;
};

void AppendRecord(ByteVec& v, const RecordBytes& r)
{
    const int vel = r.velocity - 500;
    v.push_back(static_cast<std::uint8_t>(r.points.size() | (r.sensitivity << 5) | (r.negative ? 128 : 0)));
    v.push_back(static_cast<std::uint8_t>(r.skipped ? 255 : (r.recordNo | ((vel >> 8) << 7))));
    v.push_back(static_cast<std::uint8_t>(vel & 0xFF));
    v.push_back(static_cast<std::uint8_t>(r.impedance));
    v.push_back(static_cast<std::uint8_t>(r.minLevel));
    v.push_back(static_cast<std::uint8_t>(r.maxLevel));
    v.push_back(static_cast<std::uint8_t>((r.filter << 4) | (r.minPos >> 8)));
    v.push_back(static_cast<std::uint8_t>(r.minPos & 0xFF));
    v.push_back(static_cast<std::uint8_t>((r.attenuation << 6) | (r.dc ? 32 : 0) | (r.maxPos >> 8)));
    v.push_back(static_cast<std::uint8_t>(r.maxPos & 0xFF));
    v.push_back(static_cast<std::uint8_t>(r.noise));
    for (const PointBytes& p : r.points) {
        v.push_back(static_cast<std::uint8_t>(p.a));
        v.push_back(static_cast<std::uint8_t>(p.b));
        v.push_back(static_cast<std::uint8_t>((p.marked ? 128 : 0) | (p.rangeCode << 4) | (p.distance >> 8)));
        v.push_back(static_cast<std::uint8_t>(p.distance & 0xFF));
    }
    if (r.dc) {
        v.push_back(static_cast<std::uint8_t>(r.dcStatus));
        v.push_back(static_cast<std::uint8_t>(r.dcVoltage));
        v.push_back(static_cast<std::uint8_t>(r.dcResistance));
    }
}

ByteVec ReportTransfer(int type, const std::vector<RecordBytes>& records, bool endMark = true)
{
    ByteVec v = {static_cast<std::uint8_t>(type), 0, 0};
    for (const RecordBytes& r : records)
        AppendRecord(v, r);
    if (endMark)
        v.push_back(255);
    test::Set16(v, 1, static_cast<int>(v.size()) - 1);
    AppendChecksum(v);
    return v;
}

// The record of the worked example: record 3, 20 %, V = 660, 75 ohms,
// noise 2, filter off, attenuation code 0, first point at 120 m.
RecordBytes WorkedExample()
{
    RecordBytes r;
    r.points = {{80, 85, 120}, {83, 78, 250, true}};
    return r;
}

const Lines kWorkedExampleLines = {
    "Record No:                 # 03",
    "Sensitivity:               20 %",
    "Distance:                 120 m",
    "Impedance:               75 Ohm",
    "Velocity:                66,0 %",
    "Attenuation:         <6 dB/100m",
    "Noise:                      2 %",
    "Filter:                     off",
    "00.      0 m   0 =>    5    5 %",
    "01.?   250 m   3 =>   -2   -5 %",
    "Min.:  300 m              -10 %",
    "Max.:  500 m               10 %",
    "",
    "",
};

RecordBytes VKR103Record()
{
    RecordBytes r;
    r.recordNo = 12;
    r.sensitivity = 3;
    r.negative = true;
    r.velocity = 766;
    r.impedance = 40;
    r.filter = 4;
    r.attenuation = 2;
    r.noise = 10;
    r.minLevel = 20;
    r.maxLevel = 250;
    r.minPos = 100;
    r.maxPos = 4000;
    r.dc = true;
    r.dcStatus = 5;
    r.dcVoltage = 250;
    r.dcResistance = 123;
    r.points = {{100, 100, 77, false, 2}, {104, 100, 1234}, {101, 101, 10, true}};
    return r;
}

const Lines kVKR103Lines = {
    "Record No:                 # 12",
    "Sensitivity:              N 5 %",
    "Distance:                 500 m",
    "Impedance:              296 Ohm",
    "Velocity:                76,6 %",
    "Attenuation:         16 db/100m",
    "Noise:                     10 %",
    "Filter:                       4",
    "DC Voltage:              2,50 V",
    "DC Resistance:        1,23 MOhm",
    "00.        0,0 m     0      0 %",
    "01.      617,0 m     4     -4 %",
    "02.?       5,0 m     1      0 %",
    "Min.:     50,0 m   -80 %",
    "Max.:   2000,0 m  -106 %",
    "",
    "",
};

Lines Build(ReportModel model, const ByteVec& v, int expected = 0)
{
    Lines lines;
    EXPECT_EQ(BuildReportLines(model, Span(v), lines), expected);
    return lines;
}

TEST(ReportText, WorkedExampleGivesItsExactLines)
{
    EXPECT_EQ(Build(ReportModel::VKR102, ReportTransfer(4, {WorkedExample()})), kWorkedExampleLines);
}

TEST(ReportText, VKR103RecordWithRangeFactorSignsAndDCValues)
{
    EXPECT_EQ(Build(ReportModel::VKR103, ReportTransfer(6, {VKR103Record()})), kVKR103Lines);
}

TEST(ReportText, SensitivityAttenuationAndFilterTexts)
{
    const char* const sens102[] = {"Sensitivity:               50 %", "Sensitivity:               20 %",
                                   "Sensitivity:               10 %", "Sensitivity:                5 %"};
    const char* const sens103[] = {"Sensitivity:             P 50 %", "Sensitivity:             P 20 %",
                                   "Sensitivity:             P 10 %", "Sensitivity:              P 5 %"};
    const char* const att102[] = {"Attenuation:         <6 dB/100m", "Attenuation:       6-10 dB/100m",
                                  "Attenuation:        >10 db/100m", "Attenuation:            error"};
    const char* const att103[] = {"Attenuation:          4 dB/100m", "Attenuation:          8 dB/100m",
                                  "Attenuation:         16 db/100m", "Attenuation:         32 dB/100m"};
    for (int code = 0; code < 4; ++code) {
        RecordBytes r = WorkedExample();
        r.sensitivity = code;
        r.attenuation = code;
        r.filter = code == 0 ? 15 : code;
        r.negative = true; // ignored by the VKR102
        const Lines a = Build(ReportModel::VKR102, ReportTransfer(4, {r}));
        ASSERT_GE(a.size(), 8u);
        EXPECT_EQ(a[1], sens102[code]);
        EXPECT_EQ(a[5], att102[code]);
        r.negative = false;
        const Lines b = Build(ReportModel::VKR103, ReportTransfer(6, {r}));
        ASSERT_GE(b.size(), 10u);
        EXPECT_EQ(b[1], sens103[code]);
        EXPECT_EQ(b[5], att103[code]);
        EXPECT_EQ(b[8], "DC voltage             not used");
        EXPECT_EQ(b[9], "DC resistance          not used");
        if (code == 0) {
            EXPECT_EQ(a[7], "Filter:                      15");
        }
        if (code == 1) {
            EXPECT_EQ(a[7], "Filter:                     off");
        }
    }
}

TEST(ReportText, SkippedRecordsEmptyRecordsAndEmptyReports)
{
    // A skipped record shows nothing but its bytes (points and DC values)
    // are consumed: the next record reads as usual.
    RecordBytes skipped = VKR103Record();
    skipped.skipped = true;
    EXPECT_EQ(Build(ReportModel::VKR103, ReportTransfer(6, {skipped, VKR103Record()})), kVKR103Lines);
    RecordBytes skipped102 = WorkedExample();
    skipped102.skipped = true;
    EXPECT_EQ(Build(ReportModel::VKR102, ReportTransfer(4, {skipped102, WorkedExample()})),
              kWorkedExampleLines);

    // N = 0: only the Min./Max. lines with unshifted levels (and no DC
    // lines, there is no header to hold them).
    RecordBytes empty = VKR103Record();
    empty.points.clear();
    empty.minLevel = 20;
    empty.maxLevel = 200;
    const Lines e = Build(ReportModel::VKR103, ReportTransfer(6, {empty}));
    EXPECT_EQ(e, (Lines{"Min.:    100,0 m    20 %", "Max.:   4000,0 m   -56 %", "", ""}));
    RecordBytes empty102 = WorkedExample();
    empty102.points.clear();
    EXPECT_EQ(Build(ReportModel::VKR102, ReportTransfer(4, {empty102})),
              (Lines{"Min.:  300 m               70 %", "Max.:  500 m               90 %", "", ""}));

    // The first record byte is the end mark: a report without lines.
    EXPECT_EQ(Build(ReportModel::VKR102, ReportTransfer(4, {})), Lines{});
}

TEST(ReportText, RangeCodesSixAndSevenKeepTheFactorBefore)
{
    RecordBytes first = VKR103Record(); // range code 2: factor 0.5
    RecordBytes keep = VKR103Record();
    keep.dc = false;
    keep.points = {{50, 60, 0, false, 7}, {50, 40, 100}};
    const Lines lines = Build(ReportModel::VKR103, ReportTransfer(6, {first, keep}));
    ASSERT_EQ(lines.size(), kVKR103Lines.size() + 16);
    EXPECT_EQ(lines[kVKR103Lines.size() + 2], "Distance:                 500 m");
    EXPECT_EQ(lines[kVKR103Lines.size() + 11], "01.       50,0 m     0    -10 %");
    // At the start of a transfer codes 6 and 7 mean factor 1.
    keep.points[0].rangeCode = 6;
    const Lines alone = Build(ReportModel::VKR103, ReportTransfer(6, {keep}));
    EXPECT_EQ(alone[2], "Distance:                1000 m");
    EXPECT_EQ(alone[11], "01.      100,0 m     0    -10 %");
}

TEST(ReportText, RangeCodesGiveTheirFactors)
{
    const char* const distance[] = {"  100", "  200", "  500", " 1000", " 2000", " 5000"};
    const char* const point[] = {"   10,0", "   20,0", "   50,0", "  100,0", "  200,0", "  500,0"};
    for (int code = 0; code <= 5; ++code) {
        RecordBytes r = VKR103Record();
        r.dc = false;
        r.points = {{50, 50, 0, false, code}, {50, 50, 100}};
        const Lines lines = Build(ReportModel::VKR103, ReportTransfer(6, {r}));
        ASSERT_EQ(lines.size(), 16u);
        EXPECT_EQ(lines[2], std::string("Distance:               ") + distance[code] + " m");
        EXPECT_EQ(lines[11], std::string("01.    ") + point[code] + " m     0      0 %");
    }
}

TEST(ReportText, LongNumbersAreCutOnTheLeft)
{
    RecordBytes r = WorkedExample();
    r.recordNo = 105;       // (127 with velocity bit 8 would be the skip mark 255)
    r.velocity = 500 + 511; // 101,1 %
    r.impedance = 255;
    r.noise = 255;
    r.points = {{0, 255, 4095}, {255, 0, 4095}};
    const Lines lines = Build(ReportModel::VKR102, ReportTransfer(4, {r}));
    ASSERT_EQ(lines.size(), kWorkedExampleLines.size());
    EXPECT_EQ(lines[0], "Record No:                 # 05");
    EXPECT_EQ(lines[2], "Distance:                4095 m");
    EXPECT_EQ(lines[4], "Velocity:               101,1 %");
    EXPECT_EQ(lines[6], "Noise:                    255 %");
    EXPECT_EQ(lines[8], "00.      0 m   0 =>  255  255 %");
    EXPECT_EQ(lines[9], "01.   4095 m 255 =>    0 -255 %");
}

TEST(ReportText, ChecksumAndMissingEndMark)
{
    ByteVec v = ReportTransfer(4, {WorkedExample()});
    v[5] ^= 1;
    EXPECT_EQ(Build(ReportModel::VKR102, v, kDecodeChecksum), Lines{});
    // Records that run into the checksum without an end mark.
    EXPECT_EQ(Build(ReportModel::VKR102, ReportTransfer(4, {WorkedExample()}, false), kDecodeByteCount),
              Lines{});
    ByteVec cut = {4, 0, 0, 2, 3};
    AppendChecksum(cut);
    EXPECT_EQ(Build(ReportModel::VKR102, cut, kDecodeByteCount), Lines{});
    // A record whose points would reach past the received bytes.
    RecordBytes many = WorkedExample();
    ByteVec big = {4, 0, 0};
    AppendRecord(big, many);
    big[3] = 31; // 31 points announced, 2 present
    big.push_back(255);
    AppendChecksum(big);
    EXPECT_EQ(Build(ReportModel::VKR102, big, kDecodeByteCount), Lines{});
    EXPECT_EQ(Build(ReportModel::VKR102, ByteVec{4, 0}, kDecodeChecksum), Lines{});
}

class ReportDecodeTest : public ::testing::Test {
  protected:
    ReportDecodeTest()
    {
        ctx.Reports = &reports;
        ctx.SaveRoot = dir.Path();
        ctx.Now = FixedClock({2011, 3, 5, 14, 2, 9});
        ctx.ShowMessage = [this](const std::string& caption, const std::string& text) {
            messages.push_back(caption + "|" + text);
        };
        ctx.ReportAdded = [this](int index) { added.push_back(index); };
        ctx.SaveReport = [this](int index) { saved.push_back(index); };
    }
    int Decode(const ByteVec& v) { return DecodeTransfer(charts, ctx, Span(v)); }

    test::TempDir dir;
    TMereni charts;
    TReportList reports;
    DecoderContext ctx;
    std::vector<std::string> messages;
    std::vector<int> added, saved;
};

TEST_F(ReportDecodeTest, EachModelRegistersOneUnsavedReport)
{
    EXPECT_EQ(Decode(ReportTransfer(4, {WorkedExample(), WorkedExample()})), kVKR102ReportBuilt);
    EXPECT_EQ(Decode(ReportTransfer(6, {VKR103Record()})), kVKR103ReportBuilt);
    EXPECT_EQ(Decode(ReportTransfer(8, {VKR103Record()})), kVKR103RAMReportBuilt);
    ASSERT_EQ(reports.Count(), 3);
    EXPECT_EQ(reports.At(0).Lines.size(), 2 * kWorkedExampleLines.size());
    EXPECT_EQ(reports.At(1).Lines, kVKR103Lines);
    EXPECT_EQ(reports.At(2).Lines, kVKR103Lines);
    EXPECT_EQ(reports.At(0).DisplayName, "UNNAMED 1");
    EXPECT_EQ(reports.At(1).DisplayName, "UNNAMED 2");
    EXPECT_EQ(reports.At(2).DisplayName, "UNNAMED 3");
    EXPECT_FALSE(reports.At(0).Saved);
    EXPECT_EQ(reports.At(0).FileName, "");
    EXPECT_EQ(reports.At(0).AutoFileName, "");
    EXPECT_EQ(added, (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(saved.empty());
    EXPECT_EQ(charts.Count, 0);

    // A bad checksum creates nothing.
    ByteVec bad = ReportTransfer(6, {VKR103Record()});
    bad.back() ^= 2;
    EXPECT_EQ(Decode(bad), kDecodeChecksum);
    EXPECT_EQ(reports.Count(), 3);
}

TEST_F(ReportDecodeTest, AutomaticNameAndAutomaticSaving)
{
    ctx.AutoName = true;
    ctx.AutoSave = true;
    EXPECT_EQ(Decode(ReportTransfer(4, {WorkedExample()})), kVKR102ReportBuilt);
    ASSERT_EQ(reports.Count(), 1);
    const std::string name = dir.Path() + "/11-03-05/140209.txt";
    EXPECT_EQ(reports.At(0).AutoFileName, name);
    EXPECT_EQ(reports.At(0).DisplayName, name);
    EXPECT_EQ(reports.At(0).FileName, "");
    EXPECT_EQ(reports.AutoNumber(), 1);
    EXPECT_EQ(saved, (std::vector<int>{0}));
}

TEST_F(ReportDecodeTest, ReportBeyondTheHundredthIsWrittenToAFileAndTheUserIsTold)
{
    for (int k = 0; k < kMaxReports; ++k)
        ASSERT_EQ(reports.AddReceived({"x"}, ""), k);
    EXPECT_EQ(reports.AddReceived({"x"}, ""), -1);
    EXPECT_EQ(Decode(ReportTransfer(4, {WorkedExample()})), kVKR102ReportBuilt);
    EXPECT_EQ(Decode(ReportTransfer(4, {WorkedExample()})), kVKR102ReportBuilt);
    EXPECT_EQ(reports.Count(), kMaxReports);
    EXPECT_TRUE(added.empty());
    const std::string first = dir.Path() + "/11-03-05/140209.txt";
    const std::string second = dir.Path() + "/11-03-05/140209_2.txt";
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0],
              "Information|The report list is full (100 reports). The received report was saved as " + first +
                  ".");
    EXPECT_EQ(messages[1],
              "Information|The report list is full (100 reports). The received report was saved as " +
                  second + ".");
    std::string expected;
    for (const std::string& line : kWorkedExampleLines)
        expected += line + "\r\n";
    EXPECT_EQ(test::ReadFile(first), expected);
    EXPECT_EQ(test::ReadFile(second), expected);

    // When the file cannot be written either, the user is told that too.
    ctx.SaveRoot = dir.Write("plain-file", "x") + "/below";
    messages.clear();
    EXPECT_EQ(Decode(ReportTransfer(4, {WorkedExample()})), kVKR102ReportBuilt);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(
        messages[0].rfind("Error|Error: the report list is full (100 reports) and the received report could "
                          "not be saved: ",
                          0),
        0u)
        << messages[0];
}

} // namespace
} // namespace lumidrax
