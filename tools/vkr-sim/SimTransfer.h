#pragma once
// A whole simulated transfer: the pieces the instrument sends, with an
// optional fault injected.
//
// RS-232 (VKR102, VKR103): each chart is a transfer of its own (the
// instrument pushes one chart per button press); the charts of a memory
// read-out (VKR103RAM) go in one transfer, and a report transfer holds one
// record per chart. Bluetooth (VKR104): one frame per chart and the empty
// frame at the end; each frame is sent when the receiver asks with "R".

#include "SimBlocks.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace lumidrax::vkrsim {

enum class Fault {
    None,
    Checksum,     // RS-232 chart or report: the checksum is off by one
    ByteCount,    // RS-232 chart: the byte count field is one too high;
                  // VKR104: the header announces one byte more than follows
    NoiseByte,    // RS-232: an unknown byte (0x55) before the transfer
    MissingFrame, // VKR104: the frame is never sent
    ShortFrame,   // the piece loses its last 10 bytes (header unchanged)
};

// "none", "checksum", "count", "noise", "missing", "short".
bool ParseFault(const std::string& text, Fault& fault);
const char* FaultName(Fault fault);

struct TransferOptions {
    Model model = Model::VKR103;
    bool report = false; // a report transfer instead of charts (not VKR104)
    Fault fault = Fault::None;
    int faultAt = 1; // the piece (RS-232) or frame (VKR104) it hits, from 1
    // Date of VKR104 frames for charts that carry none ("DD.MM.YYYY hh:mm:ss").
    std::string fallbackDate = "01.01.2020 12:00:00";
};

struct Transfer {
    bool bluetooth = false;
    // The pieces in order; a Bluetooth piece is one whole frame with its
    // 3-byte header. `skip[i]` marks a piece that is never sent.
    std::vector<ByteVec> pieces;
    std::vector<bool> skip;
};

// Throws std::invalid_argument when the options do not fit together (a
// VKR104 report, a fault the model cannot show, no charts).
Transfer BuildTransfer(std::vector<TJednoMereni> charts, const TransferOptions& options);

} // namespace lumidrax::vkrsim
