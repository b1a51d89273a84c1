#pragma once
// Chart blocks and Bluetooth frames as the VKR instruments lay them out,
// built from chart records. Used by the vkr-sim command and by tests that
// need real transfers.
//
// Samples are levels in percent. On the wire they are raw values from which
// the receiver takes a baseline: byte = level + Pozice0Y + 100 (VKR102,
// VKR103), 16-bit value = (level + B / 256 + 100) x 256 (VKR104, B the
// frame's baseline word). The chart's own Pozice0Y is kept as that baseline
// when every sample fits; otherwise the nearest baseline that lets them fit
// is used (samples that fit no baseline are clipped).

#include "TJednoMereni.h"

#include <cstdint>
#include <string>
#include <vector>

namespace lumidrax::vkrsim {

using ByteVec = std::vector<std::uint8_t>;

enum class Model { VKR102, VKR103, VKR103RAM, VKR104 };

// "VKR102", "VKR103", "VKR103RAM", "VKR104"; ParseModel accepts these
// (any case) and returns false for anything else.
const char* ModelName(Model model);
bool ParseModel(const std::string& text, Model& model);

// The baseline a chart is sent with: Pozice0Y for VKR102, VKR103 and
// VKR103RAM (0..255), the baseline word B for VKR104 (0..65535).
int EncodingBaseline(const TJednoMereni& chart, Model model);

// VKR102 chart block (type 3): raw sample bytes, checksum.
ByteVec VKR102ChartBlock(const TJednoMereni& chart);
// VKR103 chart block (type 5).
ByteVec VKR103ChartBlock(const TJednoMereni& chart);
// Appends one block of a VKR103 memory read-out (type 7) with the chart's
// number in the instrument's memory and five trailing bytes.
void AppendVKR103RAMBlock(ByteVec& transfer, const TJednoMereni& chart, int memoryNumber);

// VKR104 frame as sent on the wire: 3-byte header (type byte, length F)
// and F + 2 bytes. The chart's DatumCas ("DD.MM.YYYY hh:mm:ss") gives the
// date bytes; `fallbackDate` stands in when it cannot be read.
ByteVec VKR104Frame(const TJednoMereni& chart, const std::string& fallbackDate);
// The empty frame (F = 0) that ends a Bluetooth transfer.
ByteVec VKR104EndFrame();

// Number of bytes in the header of a Bluetooth frame.
inline constexpr std::size_t kFrameHeaderSize = 3;

} // namespace lumidrax::vkrsim
