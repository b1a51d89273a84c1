#pragma once
// Result codes of the transfer decoders. The negative ones are catalogue
// codes (MessageCatalogue.h) and are shown through the message catalogue.

#include "MessageCatalogue.h"

namespace lumidrax {

enum DecodeResult : int {
    kVKR102ChartAdded = 1,
    kVKR102ReportBuilt = 2,
    kVKR103ChartAdded = 3,
    kVKR103ReportBuilt = 4,
    kVKR103RAMChartsAdded = 5,
    kVKR103RAMReportBuilt = 6,
    kVKR104ChartAdded = 7,
    kVKR104Duplicate = 8,
    kEndOfBluetoothTransfer = 90,
    // Negative codes as the catalogue has them.
    kDecodeNoiseOnLine = kErrNoiseOnLine,     // -4: unknown first byte
    kDecodeByteCount = kErrByteCount,         // -5: byte count does not match
    kDecodeChecksum = kErrChecksum,           // -6: checksum does not match
    kDecodeTooManyCharts = kErrTooManyCharts, // -7: the collection holds 999 charts
    kDecodeFrameLength = kErrFrameLength,     // -12: Bluetooth frame length wrong
};

} // namespace lumidrax
