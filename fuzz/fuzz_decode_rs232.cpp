// Fuzz target of the RS-232 dispatcher: any bytes as one received transfer.
// The decoders must not read beyond the bytes, must keep every chart within
// its limits, and must return one of their result codes.

#include "FuzzCheck.h"
#include "FuzzDecoderContext.h"

#include <cstdint>
#include <cstdlib>

using namespace lumidrax;
using lumidrax::fuzz::Check;
using lumidrax::fuzz::FuzzDecoderContext;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TMereni charts;
    TReportList reports;
    DecoderContext ctx = FuzzDecoderContext(ConnectionMode::COM, reports);
    int messages = 0;
    ctx.ShowMessage = [&messages](const std::string&, const std::string&) { ++messages; };

    const int code = DecodeTransfer(charts, ctx, Bytes(data, size));
    switch (code) {
    case kVKR102ChartAdded:
    case kVKR103ChartAdded:
        Check(charts.Count == 1);
        break;
    case kVKR102ReportBuilt:
    case kVKR103ReportBuilt:
    case kVKR103RAMReportBuilt:
        Check(reports.Count() == 1 && charts.Count == 0);
        break;
    case kVKR103RAMChartsAdded:
        Check(messages <= 1);
        break;
    case kDecodeNoiseOnLine:
    case kDecodeByteCount:
    case kDecodeChecksum:
        Check(charts.Count == 0 && reports.Count() == 0);
        break;
    default:
        Check(false);
    }
    Check(charts.Count <= kMaxCharts);
    for (int k = 1; k <= charts.Count; ++k) {
        const TJednoMereni& c = charts.Rec(k);
        Check(c.SampleCount == static_cast<int>(c.Samples.size()) && c.SampleCount <= kMaxSamples);
        Check(c.AutoFileName.rfind("/fuzz/11-03-05/140209", 0) == 0);
    }
    return 0;
}
