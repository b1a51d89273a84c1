#pragma once
// Decoders of the chart blocks of the four instrument models. Each checks
// the framing, builds a chart record, appends it to the collection and
// returns a result code (DecodeResult.h).
//
// Whatever the counts inside the data say, nothing beyond the received
// bytes is read. A block that announces more than 10000 samples keeps its
// first 10000 (the most a chart holds); the rest are dropped.

#include "DecoderContext.h"
#include "TMereni.h"

#include <cstdint>
#include <span>

namespace lumidrax {

using Bytes = std::span<const std::uint8_t>;

// Type byte 3: one VKR102 chart. 1, or -7, -5, -6.
int DecodeVKR102Chart(TMereni& charts, DecoderContext& ctx, Bytes bytes);
// Type byte 5: one VKR103 chart. 3, or -7, -5, -6.
int DecodeVKR103Chart(TMereni& charts, DecoderContext& ctx, Bytes bytes);
// Type byte 7: the charts of a VKR103 memory read-out. Always 5; a full
// collection or a block cut short is told through ctx.ShowMessage.
int DecodeVKR103RAMCharts(TMereni& charts, DecoderContext& ctx, Bytes bytes);
// One VKR104 Bluetooth frame (without its 3-byte header), whose length was
// announced in ctx.ExpectedFrameLength. 7 (added), 8 (already loaded), 90
// (empty frame: end of the transfer), -7 (999 charts) or -12 (the frame is
// not as long as announced, or too short to hold a chart). Sets
// ExpectedFrameLength back to -1 in every case.
int DecodeVKR104Chart(TMereni& charts, DecoderContext& ctx, Bytes bytes);

} // namespace lumidrax
