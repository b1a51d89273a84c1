#include "DecodeTransfer.h"

#include <iterator>

namespace lumidrax {

namespace {

using Decoder = int (*)(TMereni&, DecoderContext&, Bytes);

// A serial transfer's first byte names its kind: 3 a VKR102 chart, 4 its
// report, 5 a VKR103 chart, 6 its report, 7 the VKR103 memory's charts and
// 8 its report.
constexpr std::size_t kFirstKind = 3;
constexpr Decoder kDecoders[] = {DecodeVKR102Chart,  DecodeVKR102Report,    DecodeVKR103Chart,
                                 DecodeVKR103Report, DecodeVKR103RAMCharts, DecodeVKR103RAMReport};

} // namespace

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
    const std::size_t kind = bytes[0];
    if (kind < kFirstKind || kind >= kFirstKind + std::size(kDecoders))
        return kDecodeNoiseOnLine;
    return kDecoders[kind - kFirstKind](charts, ctx, bytes);
}

} // namespace lumidrax
