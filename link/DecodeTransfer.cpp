#include "DecodeTransfer.h"

namespace lumidrax {

int DecodeTransfer(TMereni& charts, DecoderContext& ctx, Bytes bytes)
{
    if (ctx.Mode == ConnectionMode::BT) {
        if (ctx.ExpectedFrameLength < 0 ||
            bytes.size() != static_cast<std::size_t>(ctx.ExpectedFrameLength)) {
            ctx.ExpectedFrameLength = -1;
            return kDecodeFrameLength;
        }
        return DecodeVKR104Chart(charts, ctx, bytes);
    }
    if (bytes.empty())
        return kDecodeNoiseOnLine;
    switch (bytes[0]) {
    case 3:
        return DecodeVKR102Chart(charts, ctx, bytes);
    case 4:
        return DecodeVKR102Report(charts, ctx, bytes);
    case 5:
        return DecodeVKR103Chart(charts, ctx, bytes);
    case 6:
        return DecodeVKR103Report(charts, ctx, bytes);
    case 7:
        return DecodeVKR103RAMCharts(charts, ctx, bytes);
    case 8:
        return DecodeVKR103RAMReport(charts, ctx, bytes);
    default:
        return kDecodeNoiseOnLine;
    }
}

} // namespace lumidrax
