// Fuzz target of the Bluetooth path: the input is one frame as sent on the
// wire (3-byte header, then the frame). The header announces the length as
// the transfer state machine would take it; the frame is decoded twice into
// the same collection (the second time is a duplicate when the first added
// a chart), and once more with a length that does not match.

#include "FuzzCheck.h"
#include "FuzzDecoderContext.h"

#include <cstdint>
#include <cstdlib>

using namespace lumidrax;
using lumidrax::fuzz::Check;
using lumidrax::fuzz::FuzzDecoderContext;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 3)
        return 0;
    TMereni charts;
    TReportList reports;
    DecoderContext ctx = FuzzDecoderContext(ConnectionMode::BT, reports);
    const Bytes frame(data + 3, size - 3);
    const int announced = (data[1] | (data[2] << 8)) + 2;

    ctx.ExpectedFrameLength = announced;
    const int first = DecodeTransfer(charts, ctx, frame);
    Check(ctx.ExpectedFrameLength == -1);
    Check(first == kVKR104ChartAdded || first == kEndOfBluetoothTransfer || first == kDecodeFrameLength);
    Check(first == kDecodeFrameLength || static_cast<std::size_t>(announced) == frame.size());
    Check(charts.Count == (first == kVKR104ChartAdded ? 1 : 0));
    if (first == kVKR104ChartAdded) {
        const TJednoMereni& c = charts.Rec(1);
        Check(c.SampleCount == static_cast<int>(c.Samples.size()) && c.SampleCount <= kMaxSamples);
        Check(c.IsNew && c.VerzeVKR == "VKR104");
        // The name stays one file in the day's folder.
        const std::string& name = c.AutoFileName;
        Check(name.rfind("/fuzz/", 0) == 0 && name.find('/', 6) != std::string::npos &&
              name.find('/', name.find('/', 6) + 1) == std::string::npos);
    }

    ctx.ExpectedFrameLength = announced;
    const int second = DecodeTransfer(charts, ctx, frame);
    Check(second == (first == kVKR104ChartAdded ? kVKR104Duplicate : first));
    Check(charts.Count == (first == kVKR104ChartAdded ? 1 : 0));

    ctx.ExpectedFrameLength = static_cast<int>(frame.size()) + 1;
    Check(DecodeTransfer(charts, ctx, frame) == kDecodeFrameLength);
    Check(ctx.ExpectedFrameLength == -1);
    return 0;
}
