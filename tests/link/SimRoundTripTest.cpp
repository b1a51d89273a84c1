// Every example chart sent through the simulator's block builders for each
// model and decoded again keeps its settings and, within what the model's
// wire format can carry, its samples. The simulator's faults give the
// receiver's documented results.

#include "DecodeTransfer.h"
#include "SimReports.h"
#include "SimTransfer.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace lumidrax {
namespace {

using vkrsim::Model;

// Loads every example chart into `source` and copies them into `all`, the
// charts a transfer is built from.
void LoadExamples(TMereni& source, std::vector<TJednoMereni>& all)
{
    for (const std::string& file : test::ExampleChartFiles())
        ASSERT_GE(source.LoadChart(file), 1) << file;
    for (int k = 1; k <= source.Count; ++k)
        all.push_back(source.Rec(k));
}

// Decodes every piece of a simulated transfer as the receiver would get
// them and returns the results.
std::vector<int> Receive(TMereni& charts, DecoderContext& ctx, const vkrsim::Transfer& t)
{
    std::vector<int> results;
    for (std::size_t k = 0; k < t.pieces.size(); ++k) {
        if (t.skip[k])
            continue;
        const vkrsim::ByteVec& piece = t.pieces[k];
        if (t.bluetooth) {
            ctx.Mode = ConnectionMode::BT;
            ctx.ExpectedFrameLength = (piece[1] | (piece[2] << 8)) + 2;
            results.push_back(DecodeTransfer(charts, ctx, Bytes(piece).subspan(vkrsim::kFrameHeaderSize)));
        } else {
            ctx.Mode = ConnectionMode::COM;
            results.push_back(DecodeTransfer(charts, ctx, Bytes(piece)));
        }
    }
    return results;
}

bool SamplesFit(const TJednoMereni& c, long double baseline, long double scale, long double top)
{
    for (long double s : c.Samples) {
        const long double raw = std::nearbyint((s + 100) * scale + baseline);
        if (raw < 0 || raw > top)
            return false;
    }
    return true;
}

TEST(SimRoundTrip, EveryExampleChartThroughEveryModel)
{
    const std::vector<std::string> files = test::ExampleChartFiles();
    ASSERT_GE(files.size(), 5u);
    for (const std::string& file : files) {
        TMereni source;
        ASSERT_GE(source.LoadChart(file), 1) << file;
        const TJednoMereni& src = source.Rec(1);
        for (Model model : {Model::VKR102, Model::VKR103, Model::VKR103RAM, Model::VKR104}) {
            SCOPED_TRACE(file + " as " + vkrsim::ModelName(model));
            vkrsim::TransferOptions o;
            o.model = model;
            const vkrsim::Transfer t = vkrsim::BuildTransfer({src}, o);
            TMereni charts;
            DecoderContext ctx;
            const std::vector<int> results = Receive(charts, ctx, t);
            const int expected[] = {kVKR102ChartAdded, kVKR103ChartAdded, kVKR103RAMChartsAdded,
                                    kVKR104ChartAdded};
            ASSERT_EQ(results.front(), expected[static_cast<int>(model)]);
            if (model == Model::VKR104) {
                EXPECT_EQ(results.back(), kEndOfBluetoothTransfer);
            }
            ASSERT_EQ(charts.Count, 1);
            const TJednoMereni& got = charts.Rec(1);

            EXPECT_EQ(got.Interval, src.Interval);
            EXPECT_EQ(std::nearbyint(got.Velocity * 1000), std::nearbyint(src.Velocity * 1000));
            EXPECT_EQ(got.Impedance, src.Impedance);
            EXPECT_EQ(got.Noise, src.Noise);
            EXPECT_EQ(got.DC, src.DC);
            EXPECT_EQ(got.Filter, src.Filter);
            EXPECT_EQ(got.Pozice0X, src.Pozice0X);
            EXPECT_EQ(got.Step, src.Step);
            EXPECT_EQ(got.XStart, src.XStart);
            ASSERT_EQ(got.SampleCount, src.SampleCount);
            if (model != Model::VKR102 && (src.NegEdge == 0 || src.NegEdge == 1)) {
                EXPECT_EQ(got.NegEdge, src.NegEdge);
            }

            const int sent = vkrsim::EncodingBaseline(src, model);
            long double worst = 0;
            if (model == Model::VKR104) {
                // 16-bit levels in 1/256 %, the baseline word B carried whole.
                if (SamplesFit(src, src.Pozice0Y, 256, 65535)) {
                    EXPECT_EQ(got.Pozice0Y, src.Pozice0Y);
                }
                EXPECT_EQ(got.Pozice0YSingle, static_cast<float>(got.Pozice0Y) / 256);
                for (int k = 1; k <= src.SampleCount; ++k)
                    worst = std::max(worst, std::fabs(got.Sample(k) - src.Sample(k)));
                EXPECT_LE(worst, 1.0L / 512 + 1e-12L);
                if (src.StatusIDX >= 0) {
                    EXPECT_EQ(got.StatusIDX, src.StatusIDX);
                } else {
                    EXPECT_EQ(got.DCVoltageStr, "---");
                    EXPECT_EQ(got.DCResistStr, "---");
                }
                EXPECT_EQ(got.DCResistanceSingle, src.DCResistanceSingle);
                EXPECT_EQ(got.DCVoltageSingle, src.DCVoltageSingle);
                EXPECT_EQ(got.DCVoltageStr, src.VerzeVKR == "VKR104" ? src.DCVoltageStr : got.DCVoltageStr);
                EXPECT_EQ(got.DCResistStr, src.VerzeVKR == "VKR104" ? src.DCResistStr : got.DCResistStr);
                if (src.DatumCas != "---") {
                    EXPECT_EQ(got.DatumCas, src.DatumCas);
                }
                EXPECT_EQ(got.SeriePrvni, src.SeriePrvni);
                EXPECT_EQ(got.SeriePosledni, src.SeriePosledni);
                EXPECT_EQ(got.SerialNumber, src.SerialNumber);
                EXPECT_EQ(got.Index, src.Index != 0 ? src.Index : 1);
            } else if (model == Model::VKR102) {
                // The receiver takes the baseline from the samples at the
                // cable start again: compare levels above that baseline.
                for (int k = 1; k <= src.SampleCount; ++k)
                    worst =
                        std::max(worst, std::fabs((got.Sample(k) + got.Pozice0Y) - (src.Sample(k) + sent)));
                EXPECT_LE(worst, 0.5L + 1e-12L);
                if (src.VerzeVKR == "VKR102") {
                    EXPECT_LE(std::abs(got.Pozice0Y - src.Pozice0Y), 1);
                }
                EXPECT_EQ(got.DCVoltageStr, "---");
                EXPECT_EQ(got.DatumCas, "---");
            } else {
                // Whole-percent bytes around the baseline Pozice0Y.
                if (src.Pozice0Y >= 0 && src.Pozice0Y <= 255 && SamplesFit(src, src.Pozice0Y, 1, 255)) {
                    EXPECT_EQ(got.Pozice0Y, src.Pozice0Y);
                }
                EXPECT_EQ(got.Pozice0Y, sent);
                for (int k = 1; k <= src.SampleCount; ++k)
                    worst = std::max(worst, std::fabs(got.Sample(k) - src.Sample(k)));
                EXPECT_LE(worst, 0.5L + 1e-12L);
                if (src.StatusIDX >= 0 && src.StatusIDX <= 15) {
                    EXPECT_EQ(got.StatusIDX, src.StatusIDX);
                    EXPECT_EQ(got.DCResistance, src.DCResistance);
                    EXPECT_EQ(got.DCVoltage, src.DCVoltage);
                    if (src.VerzeVKR.rfind("VKR103", 0) == 0) {
                        EXPECT_EQ(got.DCVoltageStr, src.DCVoltageStr);
                        EXPECT_EQ(got.DCResistStr, src.DCResistStr);
                    }
                }
                if (model == Model::VKR103RAM) {
                    EXPECT_EQ(got.Index, src.Index != 0 ? src.Index : 1);
                }
            }
        }
    }
}

TEST(SimRoundTrip, AllExamplesInOneMemoryReadOutAndOneBluetoothTransfer)
{
    std::vector<TJednoMereni> all;
    TMereni source;
    ASSERT_NO_FATAL_FAILURE(LoadExamples(source, all));

    vkrsim::TransferOptions o;
    o.model = Model::VKR103RAM;
    TMereni ram;
    DecoderContext ctx;
    EXPECT_EQ(Receive(ram, ctx, vkrsim::BuildTransfer(all, o)), std::vector<int>{kVKR103RAMChartsAdded});
    ASSERT_EQ(ram.Count, source.Count);
    for (int k = 1; k <= ram.Count; ++k) {
        EXPECT_EQ(ram.Rec(k).SampleCount, source.Rec(k).SampleCount);
    }

    o.model = Model::VKR104;
    TMereni bt;
    const std::vector<int> results = Receive(bt, ctx, vkrsim::BuildTransfer(all, o));
    std::vector<int> expected(all.size(), kVKR104ChartAdded);
    expected.push_back(kEndOfBluetoothTransfer);
    EXPECT_EQ(results, expected);
    EXPECT_EQ(bt.Count, source.Count);
}

TEST(SimRoundTrip, ReportTransfersOfEveryModelDecode)
{
    std::vector<TJednoMereni> all;
    TMereni source;
    ASSERT_NO_FATAL_FAILURE(LoadExamples(source, all));
    const std::pair<Model, int> kinds[] = {{Model::VKR102, kVKR102ReportBuilt},
                                           {Model::VKR103, kVKR103ReportBuilt},
                                           {Model::VKR103RAM, kVKR103RAMReportBuilt}};
    for (const auto& [model, code] : kinds) {
        vkrsim::TransferOptions o;
        o.model = model;
        o.report = true;
        TMereni charts;
        TReportList reports;
        DecoderContext ctx;
        ctx.Reports = &reports;
        EXPECT_EQ(Receive(charts, ctx, vkrsim::BuildTransfer(all, o)), std::vector<int>{code});
        ASSERT_EQ(reports.Count(), 1);
        const auto& lines = reports.At(0).Lines;
        const auto records = std::count_if(
            lines.begin(), lines.end(), [](const std::string& l) { return l.rfind("Record No:", 0) == 0; });
        EXPECT_EQ(records, source.Count) << vkrsim::ModelName(model);
        for (const std::string& l : lines)
            if (!l.empty() && l.rfind("Min.:", 0) != 0 && l.rfind("Max.:", 0) != 0) {
                EXPECT_EQ(l.size(), 31u) << l;
            }
    }
}

TEST(SimFaults, EachFaultGivesTheReceiversResult)
{
    TMereni source;
    ASSERT_GE(source.LoadChart(test::SourcePath("examples/vkr103-street5-pair14.ndt")), 1);
    const TJednoMereni chart = source.Rec(1);
    struct Case {
        Model model;
        bool report;
        vkrsim::Fault fault;
        std::vector<int> results;
    };
    const Case cases[] = {
        {Model::VKR103, false, vkrsim::Fault::Checksum, {kDecodeChecksum}},
        {Model::VKR102, false, vkrsim::Fault::ByteCount, {kDecodeByteCount}},
        {Model::VKR103, false, vkrsim::Fault::NoiseByte, {kDecodeNoiseOnLine}},
        {Model::VKR102, false, vkrsim::Fault::ShortFrame, {kDecodeByteCount}},
        {Model::VKR103, true, vkrsim::Fault::Checksum, {kDecodeChecksum}},
        {Model::VKR102, true, vkrsim::Fault::ShortFrame, {kDecodeChecksum}},
        {Model::VKR104,
         false,
         vkrsim::Fault::ByteCount,
         {kDecodeFrameLength, kVKR104ChartAdded, kEndOfBluetoothTransfer}},
        {Model::VKR104,
         false,
         vkrsim::Fault::ShortFrame,
         {kDecodeFrameLength, kVKR104ChartAdded, kEndOfBluetoothTransfer}},
        {Model::VKR104, false, vkrsim::Fault::MissingFrame, {kVKR104ChartAdded, kEndOfBluetoothTransfer}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(std::string(vkrsim::ModelName(k.model)) + " " + vkrsim::FaultName(k.fault));
        vkrsim::TransferOptions o;
        o.model = k.model;
        o.report = k.report;
        o.fault = k.fault;
        TJednoMereni second = chart;
        second.Index = 2;
        TMereni charts;
        TReportList reports;
        DecoderContext ctx;
        ctx.Reports = &reports;
        EXPECT_EQ(Receive(charts, ctx, vkrsim::BuildTransfer({chart, second}, o)).front(), k.results.front());
        if (k.model == Model::VKR104) {
            EXPECT_EQ(Receive(charts = TMereni(), ctx, vkrsim::BuildTransfer({chart, second}, o)), k.results);
        }
    }
    // Faults a model cannot show are refused.
    vkrsim::TransferOptions o;
    o.model = Model::VKR104;
    o.fault = vkrsim::Fault::NoiseByte;
    EXPECT_THROW(vkrsim::BuildTransfer({chart}, o), std::invalid_argument);
    o.model = Model::VKR103;
    o.fault = vkrsim::Fault::MissingFrame;
    EXPECT_THROW(vkrsim::BuildTransfer({chart}, o), std::invalid_argument);
    o.fault = vkrsim::Fault::Checksum;
    o.faultAt = 3;
    EXPECT_THROW(vkrsim::BuildTransfer({chart}, o), std::invalid_argument);
}

} // namespace
} // namespace lumidrax
