#include "ChartDecoders.h"

#include "AutoName.h"
#include "ByteBlock.h"
#include "DCTexts.h"
#include "DecodeResult.h"
#include "Limits.h"

#include <algorithm>
#include <cstdio>
#include <optional>

namespace lumidrax {

namespace {

constexpr const char* kNoDate = "---";

int ImpedanceVKR103(int byte)
{
    return byte < 50 ? byte + 256 : byte;
}

int NegEdgeFromByte(int byte)
{
    return byte == 0 ? 1 : 0;
}

// Number of samples a block carries, limited to what a chart holds.
std::size_t KeptSamples(std::size_t announced)
{
    return std::min<std::size_t>(announced, static_cast<std::size_t>(kMaxSamples));
}

// Adds a decoded record (its names, description and samples already set)
// as chart Count + 1, unsaved and unfiltered. The raw samples of the oldest
// model get their baseline; when its cable starts before the first sample,
// the first sample stands for the baseline.
void AppendDecoded(TMereni& charts, TJednoMereni record)
{
    record.Saved = false;
    record.FilterPost = 1;
    charts.AddChart(std::move(record), {.Baseline = RawBaseline::FirstSampleBelowStart});
}

void SetNames(TJednoMereni& c, const DecoderContext& ctx, const std::string& autoName)
{
    c.AutoFileName = ctx.AutoName ? autoName : std::string();
    c.FileName.clear();
    c.DisplayName = ctx.AutoName ? c.AutoFileName : std::string("UNNAMED");
}

// Checks of a single RS-232 chart block: room for one more chart, then the
// framing: byte count C + 5 equal to the received count, a block long
// enough for its fixed fields, and the checksum over everything but the
// last two bytes.
int CheckChartBlock(const TMereni& charts, const ByteBlock& b, std::size_t fixedPart)
{
    if (charts.Count >= kMaxCharts)
        return kDecodeTooManyCharts;
    if (!b.Has(0, 3))
        return kDecodeByteCount;
    const std::size_t length = static_cast<std::size_t>(b.U16(1)) + 5;
    if (length != b.Size() || length < fixedPart + 2)
        return kDecodeByteCount;
    if (b.Sum16(0, length - 2) != b.U16(length - 2))
        return kDecodeChecksum;
    return 0;
}

std::vector<long double> ByteSamples(const ByteBlock& b, std::size_t from, std::size_t count, int minus)
{
    count = KeptSamples(count);
    std::vector<long double> samples;
    samples.reserve(count);
    for (std::size_t k = 0; k < count && from + k < b.Size(); ++k)
        samples.push_back(static_cast<long double>(b.U8(from + k) - minus));
    return samples;
}

// The settings every chart block carries in one order from offset p + 3:
// interval, velocity x 1000, a spare byte, impedance (as sent), noise, the
// DC pair, two spare bytes, filter and cable start.
void ReadSettings(TJednoMereni& c, const ByteBlock& b, std::size_t p)
{
    c.Interval = b.U16(p + 3);
    c.Velocity = static_cast<long double>(b.U16(p + 5)) / 1000;
    c.Impedance = b.U8(p + 8);
    c.Noise = b.U8(p + 9);
    c.DC = b.SignedPair(p + 10);
    c.Filter = b.U8(p + 14);
    c.Pozice0X = b.U8(p + 15);
}

// Fields shared by the VKR103 chart block and the memory read-out block,
// which carries them one byte later (shift 1).
TJednoMereni DecodeVKR103Fields(const ByteBlock& b, std::size_t p)
{
    TJednoMereni c;
    ReadSettings(c, b, p);
    c.Impedance = ImpedanceVKR103(c.Impedance);
    c.Pozice0Y = b.U8(p + 16);
    c.NegEdge = NegEdgeFromByte(b.U8(p + 17));
    c.StatusIDX = b.U8(p + 18) & 0x0F;
    c.DCResistance = b.U16(p + 19);
    c.DCVoltage = b.SignedPair(p + 21);
    c.DCVoltageStr = FormatDCVoltage(c.StatusIDX, c.DCVoltage);
    c.DCResistStr = FormatDCResistance(c.StatusIDX, c.DCResistance);
    c.DatumCas = kNoDate;
    return c;
}

// Adds the chart of a single RS-232 block, named after the time now.
void AppendSingleBlockChart(TMereni& charts, const DecoderContext& ctx, TJednoMereni c)
{
    SetNames(c, ctx, MakeAutoName(ctx.SaveRoot, 0, ctx.Now()));
    AppendDecoded(charts, std::move(c));
}

std::string TwoDigits(int v)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", v);
    return buf;
}

} // namespace

int DecodeVKR102Chart(TMereni& charts, DecoderContext& ctx, Bytes bytes)
{
    const ByteBlock b(bytes);
    if (const int bad = CheckChartBlock(charts, b, 16))
        return bad;

    TJednoMereni c;
    c.VerzeVKR = "VKR102";
    ReadSettings(c, b, 0);
    c.Pozice0Y = -1;
    c.NegEdge = -1;
    c.StatusIDX = -1;
    c.DCResistance = 0;
    c.DCVoltage = 0;
    c.DCVoltageStr = kNoDCValue;
    c.DCResistStr = kNoDCValue;
    c.DatumCas = kNoDate;
    c.SetSamples(ByteSamples(b, 16, b.Size() - 18, 0));
    AppendSingleBlockChart(charts, ctx, std::move(c));
    return kVKR102ChartAdded;
}

int DecodeVKR103Chart(TMereni& charts, DecoderContext& ctx, Bytes bytes)
{
    const ByteBlock b(bytes);
    if (const int bad = CheckChartBlock(charts, b, 23))
        return bad;

    TJednoMereni c = DecodeVKR103Fields(b, 0);
    c.VerzeVKR = "VKR103";
    c.SetSamples(ByteSamples(b, 23, b.Size() - 25, c.Pozice0Y + 100));
    AppendSingleBlockChart(charts, ctx, std::move(c));
    return kVKR103ChartAdded;
}

int DecodeVKR103RAMCharts(TMereni& charts, DecoderContext& ctx, Bytes bytes)
{
    const ByteBlock b(bytes);
    const LocalDateTime taken = ctx.Now();
    const std::size_t n = b.Size();
    auto blocksLeft = [n](std::size_t p) { return n > 20 && p < n - 20; };
    auto tell = [&ctx](int code) {
        if (ctx.ShowMessage)
            ctx.ShowMessage(kErrorCaption, ErrorText(code, ""));
    };

    std::size_t p = 0;
    while (charts.Count < kMaxCharts && blocksLeft(p)) {
        const std::size_t cField = static_cast<std::size_t>(b.U16(p + 1));
        const std::size_t announced = cField > 23 ? cField - 23 : 0;
        // A block whose fields or samples run past the received bytes was
        // cut short: it is not added, and reading stops there.
        if (!b.Has(p, 24 + announced)) {
            tell(kDecodeByteCount);
            return kVKR103RAMChartsAdded;
        }
        // The memory block carries the chart number at p + 3 and every other
        // field one byte later than the single chart block.
        TJednoMereni c = DecodeVKR103Fields(b, p + 1);
        c.Index = b.U8(p + 3);
        c.VerzeVKR = "VKR103RAM";
        c.SetSamples(ByteSamples(b, p + 24, announced, c.Pozice0Y + 100));
        LocalDateTime when = ctx.Now();
        when.Hour = taken.Hour;
        when.Minute = taken.Minute;
        when.Second = taken.Second;
        SetNames(c, ctx, MakeAutoName(ctx.SaveRoot, c.Index, when));
        c.Description = (c.Index < 10 ? "Chart No. 0" : "Chart No. ") + std::to_string(c.Index);
        AppendDecoded(charts, std::move(c));
        p += cField + 6;
    }
    if (blocksLeft(p))
        tell(kDecodeTooManyCharts);
    return kVKR103RAMChartsAdded;
}

int DecodeVKR104Chart(TMereni& charts, DecoderContext& ctx, Bytes bytes)
{
    const int expected = ctx.ExpectedFrameLength;
    ctx.ExpectedFrameLength = -1;
    const ByteBlock b(bytes);
    if (expected < 2 || static_cast<std::size_t>(expected) != b.Size())
        return kDecodeFrameLength;
    const std::size_t f = static_cast<std::size_t>(expected - 2);
    if (f == 0)
        return kEndOfBluetoothTransfer;
    if (f < 41)
        return kDecodeFrameLength;
    if (charts.Count >= kMaxCharts)
        return kDecodeTooManyCharts;

    TJednoMereni c;
    c.VerzeVKR = "VKR104";
    c.Index = b.U16(0);
    c.SeriePrvni = b.U16(2);
    c.SeriePosledni = b.U16(4);
    // The settings follow the chart number and series, from offset 6.
    ReadSettings(c, b, 3);
    c.Pozice0Y = b.U16(19);
    c.Pozice0YSingle = static_cast<float>(c.Pozice0Y) / 256.0f;
    c.NegEdge = NegEdgeFromByte(b.U8(21));
    c.StatusIDX = b.U8(22);
    c.DCResistanceSingle = b.Single(23);
    c.DCVoltageSingle = b.Single(27);
    c.DatumCas = TwoDigits(b.U8(34)) + "." + TwoDigits(b.U8(35)) + "." + std::to_string(b.U8(36) + 2000) +
                 " " + TwoDigits(b.U8(33)) + ":" + TwoDigits(b.U8(32)) + ":" + TwoDigits(b.U8(31));
    c.SerialNumber = b.U16(37);
    std::tie(c.DCVoltageStr, c.DCResistStr) =
        FormatVKR104DCTexts(c.StatusIDX, c.DCVoltageSingle, c.DCResistanceSingle);

    for (int k = 1; k <= charts.Count; ++k) {
        const TJednoMereni& other = charts.Rec(k);
        if (other.DatumCas == c.DatumCas && other.Index == c.Index)
            return kVKR104Duplicate;
    }

    // The samples are read in pairs from offset 41 up to the frame's end.
    // The frame's own count field (offset 39) gives the chart's sample
    // count, but never more than the frame carries (nor than 10000).
    const std::size_t announced = KeptSamples(static_cast<std::size_t>(b.U16(39)));
    std::vector<long double> samples;
    samples.reserve(std::min(announced, (f - 41 + 1) / 2));
    const long double base = static_cast<long double>(c.Pozice0YSingle) + 100;
    for (std::size_t off = 41; off < f && samples.size() < announced; off += 2)
        samples.push_back(static_cast<long double>(b.U16(off)) / 256 - base);
    c.SetSamples(std::move(samples));

    SetNames(c, ctx,
             MakeAutoNameVKR104(ctx.SaveRoot, c.DatumCas, c.Index, SeriesLetter(c.Index, c.SeriePrvni)));
    c.IsNew = true;
    AppendDecoded(charts, std::move(c));
    return kVKR104ChartAdded;
}

} // namespace lumidrax
