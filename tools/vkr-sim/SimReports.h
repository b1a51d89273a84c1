#pragma once
// Report transfers of the VKR102 and VKR103: records of marked points as
// the instruments keep them, laid out byte by byte.

#include "SimBlocks.h"

namespace lumidrax::vkrsim {

struct ReportPoint {
    int a = 0;        // level byte a
    int b = 0;        // level byte b
    int distance = 0; // 12-bit distance (VKR103: in units of the range factor)
    bool marked = false;
    int rangeCode = 3; // VKR103, first point only: 0..5 = factor 0.1 .. 5
};

struct ReportRecord {
    int recordNumber = 1; // 0..127
    bool skipped = false;
    int sensitivityCode = 0;
    bool negativePolarity = false; // VKR103
    int velocity = 660;            // tenths of a percent, 500..1011
    int impedance = 100;
    int minLevel = 0, maxLevel = 0; // level bytes
    int filter = 1;
    int minPosition = 0, maxPosition = 0;
    int attenuationCode = 0;
    bool dcPresent = false; // VKR103
    int dcStatus = 0, dcVoltage = 0, dcResistance = 0;
    int noise = 0;
    std::vector<ReportPoint> points; // at most 31
};

// A report transfer: type byte (4 VKR102, 6 VKR103, 8 VKR103RAM), byte
// count, the records, the end mark 255 and the checksum.
ByteVec ReportTransfer(Model model, const std::vector<ReportRecord>& records);

// A record summarising a chart as the instrument would: its settings, the
// cable start and up to four strongest reflections beyond it as marked
// points, and the lowest and highest sample.
ReportRecord ReportFromChart(const TJednoMereni& chart, int recordNumber, Model model);

} // namespace lumidrax::vkrsim
