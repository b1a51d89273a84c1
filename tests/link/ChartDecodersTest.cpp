// Chart blocks of the four models laid out byte by byte as the instruments
// send them, decoded through the dispatcher.

#include "DecodeTransfer.h"
#include "ExpectedChart.h"
#include "LinkTestBytes.h"

#include <gtest/gtest.h>

#include <cstring>

namespace lumidrax {
namespace {

using test::AppendChecksum;
using test::ByteVec;
using test::ExpectChart;
using test::Put16;
using test::Set16;
using test::Span;

// A VKR102 chart block with the given raw sample bytes.
ByteVec VKR102Block(const ByteVec& samples, int pozice0X = 3)
{
    ByteVec v = {3};
    Put16(v, static_cast<int>(samples.size()) + 13); // C = L - 5
    Put16(v, 2000);                                  // Interval
    Put16(v, 660);                                   // velocity x 1000
    v.push_back(0);                                  // -
    v.push_back(75);                                 // Impedance
    v.push_back(4);                                  // Noise
    v.push_back(10);                                 // DC signed pair
    v.push_back(255);
    v.push_back(0);
    v.push_back(0);
    v.push_back(1);                                   // Filter
    v.push_back(static_cast<std::uint8_t>(pozice0X)); // Pozice0X
    v.insert(v.end(), samples.begin(), samples.end());
    AppendChecksum(v);
    return v;
}

struct VKR103Fields {
    int impedance = 50;
    int dcLow = 10, dcHigh = 254;
    int pozice0Y = 20;
    int edge = 0;
    int status = 0x32; // low four bits 2
    int dcResistance = 1234;
    int dcVLow = 250, dcVHigh = 255;
};

ByteVec VKR103Block(const ByteVec& samples, const VKR103Fields& f = {})
{
    ByteVec v = {5};
    Put16(v, static_cast<int>(samples.size()) + 20);
    Put16(v, 1000);
    Put16(v, 700);
    v.push_back(0);
    v.push_back(static_cast<std::uint8_t>(f.impedance));
    v.push_back(7);
    v.push_back(static_cast<std::uint8_t>(f.dcLow));
    v.push_back(static_cast<std::uint8_t>(f.dcHigh));
    v.push_back(0);
    v.push_back(0);
    v.push_back(3);  // Filter
    v.push_back(11); // Pozice0X
    v.push_back(static_cast<std::uint8_t>(f.pozice0Y));
    v.push_back(static_cast<std::uint8_t>(f.edge));
    v.push_back(static_cast<std::uint8_t>(f.status));
    Put16(v, f.dcResistance);
    v.push_back(static_cast<std::uint8_t>(f.dcVLow));
    v.push_back(static_cast<std::uint8_t>(f.dcVHigh));
    v.insert(v.end(), samples.begin(), samples.end());
    AppendChecksum(v);
    return v;
}

// One block of a memory read-out, with its five trailing bytes.
void AppendRAMBlock(ByteVec& v, int chartNumber, const ByteVec& samples)
{
    v.push_back(7);
    Put16(v, static_cast<int>(samples.size()) + 23);
    v.push_back(static_cast<std::uint8_t>(chartNumber));
    Put16(v, 1000);
    Put16(v, 700);
    v.push_back(0);
    v.push_back(49); // Impedance: 305
    v.push_back(5);
    v.push_back(3);
    v.push_back(0);
    v.push_back(0);
    v.push_back(0);
    v.push_back(1);  // Filter
    v.push_back(2);  // Pozice0X
    v.push_back(30); // Pozice0Y
    v.push_back(1);  // edge
    v.push_back(0x04);
    Put16(v, 77);
    v.push_back(12);
    v.push_back(0);
    v.insert(v.end(), samples.begin(), samples.end());
    for (int k = 0; k < 5; ++k)
        v.push_back(0xEE);
}

void PutSingle(ByteVec& v, float f)
{
    std::uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    Put16(v, static_cast<int>(bits & 0xFFFF));
    Put16(v, static_cast<int>(bits >> 16));
}

struct VKR104Fields {
    int index = 7, seriePrvni = 7, seriePosledni = 9;
    int baseline = 25600; // 100 x 256
    int status = 0;
    float resistance = 150000.0f, voltage = 0.25f;
    int second = 9, minute = 2, hour = 14, day = 5, month = 3, year = 11;
    int serial = 4321;
    int countField = -1; // -1: the number of samples given
};

// A VKR104 frame as the decoder gets it (without the 3-byte header).
ByteVec VKR104Frame(const std::vector<int>& samples, const VKR104Fields& f = {})
{
    ByteVec v;
    Put16(v, f.index);
    Put16(v, f.seriePrvni);
    Put16(v, f.seriePosledni);
    Put16(v, 1500);
    Put16(v, 680);
    v.push_back(0);
    v.push_back(100); // Impedance
    v.push_back(6);
    v.push_back(246); // DC: -10
    v.push_back(255);
    v.push_back(0);
    v.push_back(0);
    v.push_back(2); // Filter
    v.push_back(5); // Pozice0X
    Put16(v, f.baseline);
    v.push_back(0); // edge: NegEdge 1
    v.push_back(static_cast<std::uint8_t>(f.status));
    PutSingle(v, f.resistance);
    PutSingle(v, f.voltage);
    for (int b : {f.second, f.minute, f.hour, f.day, f.month, f.year})
        v.push_back(static_cast<std::uint8_t>(b));
    Put16(v, f.serial);
    Put16(v, f.countField < 0 ? static_cast<int>(samples.size()) : f.countField);
    for (int s : samples)
        Put16(v, s);
    v.push_back(0); // two trailing bytes
    v.push_back(0);
    return v;
}

class DecodeTest : public ::testing::Test {
  protected:
    DecodeTest()
    {
        ctx.Reports = &reports;
        ctx.SaveRoot = "/data/root/";
        ctx.Now = FixedClock({2011, 3, 5, 14, 2, 9});
        ctx.ShowMessage = [this](const std::string& caption, const std::string& text) {
            messages.push_back(caption + "|" + text);
        };
    }
    int Decode(const ByteVec& v) { return DecodeTransfer(charts, ctx, Span(v)); }
    int DecodeFrame(const ByteVec& frame)
    {
        ctx.Mode = ConnectionMode::BT;
        ctx.ExpectedFrameLength = static_cast<int>(frame.size());
        return DecodeTransfer(charts, ctx, Span(frame));
    }
    void FillCollection()
    {
        TJednoMereni empty;
        empty.Velocity = 0.66L;
        empty.Interval = 1000;
        while (charts.Count < kMaxCharts)
            charts.AppendRecord(empty);
    }

    TMereni charts;
    TReportList reports;
    DecoderContext ctx;
    std::vector<std::string> messages;
};

TEST_F(DecodeTest, VKR102ChartTakesSettingsAndRemovesTheRawBaseline)
{
    // Samples 1..3 average to 120 (the baseline), every sample loses 220.
    const ByteVec block = VKR102Block({118, 121, 121, 200, 90});
    ASSERT_EQ(Decode(block), kVKR102ChartAdded);
    ASSERT_EQ(charts.Count, 1);
    const TJednoMereni& c = charts.Rec(1);
    ExpectChart(c, {.VerzeVKR = "VKR102",
                    .Interval = 2000,
                    .Velocity = 0.66L,
                    .Impedance = 75,
                    .Noise = 4,
                    .DC = -246,
                    .Filter = 1,
                    .Pozice0X = 3,
                    .Pozice0Y = 120,
                    .NegEdge = -1,
                    .StatusIDX = -1,
                    .FilterPost = 1,
                    .DCVoltageStr = "---",
                    .DCResistStr = "---",
                    .DatumCas = "---",
                    .SampleCount = 5,
                    .Samples = std::vector<long double>{-102, -99, -99, -20, -130}});
    // Step 2000 ps at 0.66 rounds to 0.2 m; cable start at sample 3.
    EXPECT_NEAR(static_cast<double>(c.Step), 0.2, 1e-12);
    EXPECT_NEAR(static_cast<double>(c.XStart), -0.4, 1e-12);
    EXPECT_EQ(c.YMin, -130);
    EXPECT_EQ(c.YMax, -20);
    EXPECT_FALSE(c.Saved);
    EXPECT_FALSE(c.IsNew);
    EXPECT_TRUE(c.Shown);
    EXPECT_EQ(c.ColorSlot, 1);
    EXPECT_EQ(c.DisplayName, "UNNAMED");
    EXPECT_EQ(c.AutoFileName, "");
    EXPECT_EQ(charts.RefIndex, 1);
    EXPECT_TRUE(charts.ViewIsFull());
}

TEST_F(DecodeTest, VKR102FramingFaultsAddNothing)
{
    ByteVec block = VKR102Block({100, 101, 102});
    ByteVec shortCount = block;
    Set16(shortCount, 1, static_cast<int>(block.size()) - 6); // one less than count - 5
    EXPECT_EQ(Decode(shortCount), kDecodeByteCount);
    ByteVec badSum = block;
    badSum.back() ^= 1;
    EXPECT_EQ(Decode(badSum), kDecodeChecksum);
    ByteVec truncated(block.begin(), block.end() - 1);
    EXPECT_EQ(Decode(truncated), kDecodeByteCount);
    // A count that matches but leaves no room for the fixed fields.
    ByteVec tiny = {3};
    Put16(tiny, 5);
    tiny.insert(tiny.end(), {1, 2, 3});
    AppendChecksum(tiny);
    EXPECT_EQ(Decode(tiny), kDecodeByteCount);
    EXPECT_EQ(Decode(ByteVec{3}), kDecodeByteCount);
    EXPECT_EQ(charts.Count, 0);
    EXPECT_EQ(ErrorText(kDecodeByteCount, ""), "Error: data read error.");
}

TEST_F(DecodeTest, VKR102CableStartBeforeFirstSampleTakesFirstSampleAsBaseline)
{
    ASSERT_EQ(Decode(VKR102Block({130, 140}, 0)), kVKR102ChartAdded);
    const TJednoMereni& c = charts.Rec(1);
    EXPECT_EQ(c.Pozice0Y, 130);
    EXPECT_EQ(c.Samples, (std::vector<long double>{-100, -90}));
    ASSERT_EQ(Decode(VKR102Block({}, 0)), kVKR102ChartAdded);
    EXPECT_EQ(charts.Rec(2).Pozice0Y, 0);
    EXPECT_EQ(charts.Rec(2).SampleCount, 0);
}

TEST_F(DecodeTest, BlocksAnnouncingMoreThan10000SamplesKeepTheFirst10000)
{
    ByteVec samples(10005, 120);
    samples[9999] = 200;
    samples[10000] = 7;
    ASSERT_EQ(Decode(VKR102Block(samples)), kVKR102ChartAdded);
    EXPECT_EQ(charts.Rec(1).SampleCount, kMaxSamples);
    EXPECT_EQ(charts.Rec(1).Samples.back(), 200 - 220);
    ASSERT_EQ(Decode(VKR103Block(ByteVec(12000, 130))), kVKR103ChartAdded);
    EXPECT_EQ(charts.Rec(2).SampleCount, kMaxSamples);
    ASSERT_EQ(DecodeFrame(VKR104Frame(std::vector<int>(10001, 25600))), kVKR104ChartAdded);
    EXPECT_EQ(charts.Rec(3).SampleCount, kMaxSamples);
    ByteVec ram;
    AppendRAMBlock(ram, 1, ByteVec(10050, 140));
    ctx.Mode = ConnectionMode::COM;
    ASSERT_EQ(Decode(ram), kVKR103RAMChartsAdded);
    EXPECT_EQ(charts.Rec(4).SampleCount, kMaxSamples);
}

TEST_F(DecodeTest, VKR103ChartDecodesEveryField)
{
    ASSERT_EQ(Decode(VKR103Block({120, 125, 130})), kVKR103ChartAdded);
    const TJednoMereni& c = charts.Rec(1);
    ExpectChart(c, {.VerzeVKR = "VKR103",
                    .Interval = 1000,
                    .Velocity = 0.7L,
                    .Impedance = 50,
                    .Noise = 7,
                    .DC = 10, // (10, 254)
                    .Filter = 3,
                    .Pozice0X = 11,
                    .Pozice0Y = 20,
                    .NegEdge = 1,
                    .StatusIDX = 2,
                    .DCResistance = 1234,
                    .DCVoltage = -6,
                    .DCVoltageStr = "-0,60 V",
                    .DCResistStr = "Non-measurable",
                    .DatumCas = "---",
                    .Samples = std::vector<long double>{0, 5, 10},
                    .IsNew = false});

    VKR103Fields f;
    f.impedance = 49;
    f.dcHigh = 255;
    f.edge = 1;
    f.status = 0x07;
    f.dcResistance = 205;
    ASSERT_EQ(Decode(VKR103Block({}, f)), kVKR103ChartAdded);
    ExpectChart(charts.Rec(2),
                {.Impedance = 305, .DC = -246, .NegEdge = 0, .DCResistStr = ">20,50 MOhm", .SampleCount = 0});

    ByteVec bad = VKR103Block({1, 2});
    bad[bad.size() - 2] ^= 4;
    EXPECT_EQ(Decode(bad), kDecodeChecksum);
    ByteVec shortBlock = VKR103Block({1, 2});
    Set16(shortBlock, 1, 19); // count says L = 24, one below the fixed part + checksum
    shortBlock.resize(24);
    EXPECT_EQ(Decode(shortBlock), kDecodeByteCount);
    EXPECT_EQ(charts.Count, 2);
}

TEST_F(DecodeTest, AutomaticNamesFollowTheNamingSetting)
{
    ctx.AutoName = true;
    ASSERT_EQ(Decode(VKR103Block({120})), kVKR103ChartAdded);
    EXPECT_EQ(charts.Rec(1).AutoFileName, "/data/root/11-03-05/140209.ndt");
    EXPECT_EQ(charts.Rec(1).DisplayName, charts.Rec(1).AutoFileName);
    EXPECT_EQ(charts.Rec(1).FileName, "");
    ctx.AutoName = false;
    ASSERT_EQ(Decode(VKR102Block({120, 120, 120})), kVKR102ChartAdded);
    EXPECT_EQ(charts.Rec(2).AutoFileName, "");
    EXPECT_EQ(charts.Rec(2).DisplayName, "UNNAMED");
}

TEST_F(DecodeTest, FullCollectionRefusesSingleBlocks)
{
    FillCollection();
    EXPECT_EQ(Decode(VKR102Block({1, 2, 3})), kDecodeTooManyCharts);
    // The limit is checked before the block is looked at.
    EXPECT_EQ(Decode(ByteVec{5, 0}), kDecodeTooManyCharts);
    EXPECT_EQ(DecodeFrame(VKR104Frame({25600})), kDecodeTooManyCharts);
    EXPECT_EQ(ctx.ExpectedFrameLength, -1);
    // The end of a Bluetooth transfer still ends it.
    EXPECT_EQ(DecodeFrame(ByteVec{0, 0}), kEndOfBluetoothTransfer);
    EXPECT_EQ(charts.Count, kMaxCharts);
}

TEST_F(DecodeTest, MemoryReadOutAddsEveryBlockWithItsNumber)
{
    ctx.AutoName = true;
    ByteVec v;
    AppendRAMBlock(v, 5, {140, 150, 160});
    AppendRAMBlock(v, 12, {130});
    int clockCalls = 0;
    ctx.Now = [&clockCalls] {
        ++clockCalls;
        // The time moves on while the transfer is decoded; the names keep
        // the time taken before the first block.
        return LocalDateTime{2011, 3, 5, 14, 2, 9 + clockCalls};
    };
    ASSERT_EQ(Decode(v), kVKR103RAMChartsAdded);
    ASSERT_EQ(charts.Count, 2);
    ExpectChart(charts.Rec(1), {.VerzeVKR = "VKR103RAM",
                                .Index = 5,
                                .Description = "Chart No. 05",
                                .Impedance = 305,
                                .DC = 3,
                                .Pozice0X = 2,
                                .Pozice0Y = 30,
                                .NegEdge = 0,
                                .StatusIDX = 4,
                                .DCResistance = 77,
                                .DCVoltage = 12,
                                .DCResistStr = "77 kOhm",
                                .DatumCas = "---",
                                .Samples = std::vector<long double>{10, 20, 30},
                                .AutoFileName = "/data/root/11-03-05/14021005.ndt",
                                .IsNew = false});
    ExpectChart(
        charts.Rec(2),
        {.Index = 12, .Description = "Chart No. 12", .AutoFileName = "/data/root/11-03-05/14021012.ndt"});
    EXPECT_TRUE(messages.empty());
}

TEST_F(DecodeTest, MemoryReadOutEdgeCases)
{
    // Shorter than 21 bytes: nothing, result 5.
    EXPECT_EQ(Decode(ByteVec{7, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19}),
              kVKR103RAMChartsAdded);
    EXPECT_EQ(charts.Count, 0);

    // A last block that announces more samples than arrived is not added,
    // and the user is told.
    ByteVec v;
    AppendRAMBlock(v, 1, {140, 141});
    AppendRAMBlock(v, 2, ByteVec(50, 140));
    v.resize(v.size() - 30);
    EXPECT_EQ(Decode(v), kVKR103RAMChartsAdded);
    EXPECT_EQ(charts.Count, 1);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Error|Error: data read error.");

    // A block whose count is below its fixed part carries no samples and
    // the loop still moves on.
    ByteVec odd;
    AppendRAMBlock(odd, 3, {});
    Set16(odd, 1, 0);
    odd.resize(6);
    AppendRAMBlock(odd, 4, {150});
    messages.clear();
    EXPECT_EQ(Decode(odd), kVKR103RAMChartsAdded);
    EXPECT_EQ(charts.Count, 3);
    EXPECT_EQ(charts.Rec(2).SampleCount, 0);
    EXPECT_EQ(charts.Rec(3).Index, 4);
}

TEST_F(DecodeTest, MemoryReadOutStopsAt999AndSaysSo)
{
    TJednoMereni empty;
    while (charts.Count < kMaxCharts - 1)
        charts.AppendRecord(empty);
    ByteVec v;
    AppendRAMBlock(v, 1, {140});
    AppendRAMBlock(v, 2, {140});
    AppendRAMBlock(v, 3, {140});
    EXPECT_EQ(Decode(v), kVKR103RAMChartsAdded);
    EXPECT_EQ(charts.Count, kMaxCharts);
    EXPECT_EQ(charts.Last().Index, 1);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Error|Error: too many charts opened.");
}

TEST_F(DecodeTest, VKR104FrameDecodesEveryField)
{
    ctx.AutoName = true;
    VKR104Fields f;
    f.baseline = 20 * 256 + 128; // 20.5: levels are value / 256 - 20.5 - 100
    const ByteVec frame = VKR104Frame({31104, 30336, 30912}, f);
    ASSERT_EQ(DecodeFrame(frame), kVKR104ChartAdded);
    EXPECT_EQ(ctx.ExpectedFrameLength, -1);
    const TJednoMereni& c = charts.Rec(1);
    ExpectChart(c, {.VerzeVKR = "VKR104",
                    .Index = 7,
                    .SeriePrvni = 7,
                    .SeriePosledni = 9,
                    .Interval = 1500,
                    .Velocity = 0.68L,
                    .Impedance = 100,
                    .Noise = 6,
                    .DC = -10,
                    .Filter = 2,
                    .Pozice0X = 5,
                    .Pozice0Y = 5248,
                    .Pozice0YSingle = 20.5f,
                    .NegEdge = 1,
                    .StatusIDX = 0,
                    .DCResistanceSingle = 150000.0f,
                    .DCVoltageSingle = 0.25f,
                    .DCVoltageStr = "0,25 V",
                    .DCResistStr = "150 kOhm",
                    .DatumCas = "05.03.2011 14:02:09",
                    .SerialNumber = 4321,
                    .Samples = std::vector<long double>{1, -2, 0.25L},
                    .AutoFileName = "/data/root/11-03-05/140209_007a.ndt",
                    .IsNew = true});
    EXPECT_EQ(c.DisplayName, c.AutoFileName);

    // The same frame again: a duplicate, nothing added.
    EXPECT_EQ(DecodeFrame(frame), kVKR104Duplicate);
    EXPECT_EQ(charts.Count, 1);
    EXPECT_EQ(ctx.ExpectedFrameLength, -1);

    // The next chart of the series gets "b"; a chart outside a series none.
    f.index = 8;
    ASSERT_EQ(DecodeFrame(VKR104Frame({25600}, f)), kVKR104ChartAdded);
    EXPECT_EQ(charts.Rec(2).AutoFileName, "/data/root/11-03-05/140209_008b.ndt");
    f.index = 12;
    f.seriePrvni = 0;
    ASSERT_EQ(DecodeFrame(VKR104Frame({25600}, f)), kVKR104ChartAdded);
    EXPECT_EQ(charts.Rec(3).AutoFileName, "/data/root/11-03-05/140209_012.ndt");
}

TEST_F(DecodeTest, VKR104StatusAndVoltageTexts)
{
    struct Case {
        int status;
        float voltage;
        const char* voltageText;
        const char* resistanceText;
    };
    const Case cases[] = {
        {128, 0.5f, "---", "---"},         {192, 0.5f, "---", "---"},       {129, 0.5f, "---", "150 kOhm"},
        {64, 0.5f, "0,50 V", "---"},       {0, 1.0f, "1,00 V", "150 kOhm"}, {0, 1.01f, ">1V", "150 kOhm"},
        {0, -1.0f, "-1,00 V", "150 kOhm"}, {0, -1.01f, "<-1V", "150 kOhm"},
    };
    int index = 1;
    for (const Case& k : cases) {
        VKR104Fields f;
        f.index = index++;
        f.status = k.status;
        f.voltage = k.voltage;
        ASSERT_EQ(DecodeFrame(VKR104Frame({25600}, f)), kVKR104ChartAdded);
        EXPECT_EQ(charts.Last().DCVoltageStr, k.voltageText) << k.status << " " << k.voltage;
        EXPECT_EQ(charts.Last().DCResistStr, k.resistanceText) << k.status;
    }
}

TEST_F(DecodeTest, BluetoothFramingFaults)
{
    const ByteVec frame = VKR104Frame({25600, 25600});
    ctx.Mode = ConnectionMode::BT;
    // Fewer bytes than announced.
    ctx.ExpectedFrameLength = static_cast<int>(frame.size()) + 1;
    EXPECT_EQ(DecodeTransfer(charts, ctx, Span(frame)), kDecodeFrameLength);
    EXPECT_EQ(ctx.ExpectedFrameLength, -1);
    // No frame announced at all.
    EXPECT_EQ(DecodeTransfer(charts, ctx, Span(frame)), kDecodeFrameLength);
    // A frame as long as announced but too short to hold a chart.
    EXPECT_EQ(DecodeFrame(ByteVec(30, 1)), kDecodeFrameLength);
    EXPECT_EQ(ctx.ExpectedFrameLength, -1);
    // The empty frame ends the transfer; one trailing byte missing is -12.
    EXPECT_EQ(DecodeFrame(ByteVec{0, 0}), kEndOfBluetoothTransfer);
    ctx.ExpectedFrameLength = 2;
    EXPECT_EQ(DecodeTransfer(charts, ctx, Span(ByteVec{0})), kDecodeFrameLength);
    EXPECT_EQ(charts.Count, 0);
    EXPECT_EQ(ErrorText(kDecodeFrameLength, ""), "Error: Incorrect byte count (chart was not transfered).");

    // A count field that announces more samples than the frame carries:
    // only the carried ones; one that announces fewer: the announced ones.
    VKR104Fields f;
    f.countField = 500;
    ASSERT_EQ(DecodeFrame(VKR104Frame({25600, 25856}, f)), kVKR104ChartAdded);
    EXPECT_EQ(charts.Last().SampleCount, 2);
    f.index = 8;
    f.countField = 1;
    ASSERT_EQ(DecodeFrame(VKR104Frame({25600, 25856}, f)), kVKR104ChartAdded);
    EXPECT_EQ(charts.Last().SampleCount, 1);
}

TEST_F(DecodeTest, UnknownFirstByteIsNoise)
{
    for (std::uint8_t first : {0, 1, 2, 9, 255})
        EXPECT_EQ(Decode(ByteVec{first, 1, 2, 3}), kDecodeNoiseOnLine) << int(first);
    EXPECT_EQ(Decode(ByteVec{}), kDecodeNoiseOnLine);
    EXPECT_EQ(ErrorText(kDecodeNoiseOnLine, ""), "Error: noise on line.");
    EXPECT_EQ(charts.Count, 0);
}

TEST_F(DecodeTest, EleventhChartIsListedButNotDrawn)
{
    for (int k = 1; k <= 11; ++k)
        ASSERT_EQ(Decode(VKR103Block({static_cast<std::uint8_t>(100 + k)})), kVKR103ChartAdded);
    EXPECT_EQ(charts.ShownCount, 10);
    EXPECT_TRUE(charts.Rec(10).Shown);
    EXPECT_EQ(charts.Rec(10).ColorSlot, 10);
    EXPECT_FALSE(charts.Rec(11).Shown);
    EXPECT_EQ(charts.Rec(11).ColorSlot, 0);
    EXPECT_EQ(charts.Rec(11).Color, kWhite);
    // The undrawn chart does not become the reference chart.
    EXPECT_EQ(charts.RefIndex, 10);
}

} // namespace
} // namespace lumidrax
