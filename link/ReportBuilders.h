#pragma once
// Report transfers of the older models: summaries of the measurements kept
// in the instrument, turned into lines of plain text and added to the
// report list.

#include "ChartDecoders.h"
#include "DecoderContext.h"
#include "FileIO.h"
#include "TMereni.h"

#include <string>
#include <vector>

namespace lumidrax {

enum class ReportModel { VKR102, VKR103 };

// Builds the text lines of a report transfer (type byte, byte count,
// records up to the end mark 255, checksum). Returns 0, or -6 when the
// checksum does not match, or -5 when the records run into the checksum
// without an end mark (a transfer cut short); `lines` is then empty.
int BuildReportLines(ReportModel model, Bytes bytes, std::vector<std::string>& lines);

// Type byte 4: builds a VKR102 report and adds it to ctx.Reports. 2, or -5, -6.
int DecodeVKR102Report(TMereni& charts, DecoderContext& ctx, Bytes bytes);
// Type byte 6: a VKR103 report. 4, or -5, -6.
int DecodeVKR103Report(TMereni& charts, DecoderContext& ctx, Bytes bytes);
// Type byte 8: a VKR103 memory report. 6, or -5, -6.
int DecodeVKR103RAMReport(TMereni& charts, DecoderContext& ctx, Bytes bytes);

// Writes report lines to a file (Windows-1250, CR LF after every line),
// creating its folder with any missing parents. A failure leaves the
// previous file as it was.
[[nodiscard]] SaveOutcome WriteReportFile(const std::string& path, const std::vector<std::string>& lines);

} // namespace lumidrax
