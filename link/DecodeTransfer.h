#pragma once
// The dispatcher of received transfers: recognises the model and the kind
// of block and hands the bytes to the matching chart decoder or report
// builder.

#include "ChartDecoders.h"
#include "DecodeResult.h"
#include "DecoderContext.h"
#include "ReportBuilders.h"
#include "TMereni.h"

namespace lumidrax {

// Bluetooth (ctx.Mode BT): the bytes are one frame without its header; a
// count other than ctx.ExpectedFrameLength gives -12 (and the expected
// length is set back to -1), otherwise the VKR104 decoder runs.
// RS-232: the first byte chooses: 3 VKR102 chart, 4 VKR102 report, 5 VKR103
// chart, 6 VKR103 report, 7 VKR103 memory charts, 8 VKR103 memory report;
// anything else (also an empty transfer) gives -4.
int DecodeTransfer(TMereni& charts, DecoderContext& ctx, Bytes bytes);

} // namespace lumidrax
