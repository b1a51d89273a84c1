// Fuzz target of the report builders: any bytes as a report transfer of
// either model. Building stops at the received bytes, the lines keep their
// fixed widths, and a built report joins the list exactly once.

#include "DecodeTransfer.h"
#include "FuzzCheck.h"

#include <cstdint>
#include <cstdlib>

using namespace lumidrax;
using lumidrax::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const Bytes bytes(data, size);
    for (ReportModel model : {ReportModel::VKR102, ReportModel::VKR103}) {
        std::vector<std::string> lines;
        const int code = BuildReportLines(model, bytes, lines);
        Check(code == 0 || code == kDecodeByteCount || code == kDecodeChecksum);
        Check(code == 0 || lines.empty());
        for (const std::string& line : lines)
            Check(line.empty() || line.size() == 24 || line.size() == 29 || line.size() == 31);

        TMereni charts;
        TReportList reports;
        DecoderContext ctx;
        ctx.Reports = &reports;
        ctx.AutoName = (size & 1) != 0;
        ctx.SaveRoot = "/fuzz/";
        ctx.Now = FixedClock({2011, 3, 5, 14, 2, 9});
        const int built = model == ReportModel::VKR102 ? DecodeVKR102Report(charts, ctx, bytes)
                                                       : DecodeVKR103Report(charts, ctx, bytes);
        Check(built ==
              (code == 0 ? (model == ReportModel::VKR102 ? kVKR102ReportBuilt : kVKR103ReportBuilt) : code));
        Check(reports.Count() == (code == 0 ? 1 : 0));
        if (code == 0)
            Check(reports.At(0).Lines == lines);
    }
    return 0;
}
