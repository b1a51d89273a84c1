#include "SimTransfer.h"

#include "NamedValue.h"
#include "SimReports.h"

namespace lumidrax::vkrsim {

namespace {

constexpr NamedValue<Fault> kFaults[] = {
    {Fault::None, "none"},       {Fault::Checksum, "checksum"},    {Fault::ByteCount, "count"},
    {Fault::NoiseByte, "noise"}, {Fault::MissingFrame, "missing"}, {Fault::ShortFrame, "short"},
};

void Reject(const std::string& why)
{
    throw std::invalid_argument(why);
}

} // namespace

bool ParseFault(const std::string& text, Fault& fault)
{
    return ValueNamed(kFaults, text, fault);
}

const char* FaultName(Fault fault)
{
    return NameOf(kFaults, fault, "");
}

Transfer BuildTransfer(std::vector<TJednoMereni> charts, const TransferOptions& o)
{
    if (charts.empty())
        Reject("no chart to send");
    Transfer t;
    t.bluetooth = o.model == Model::VKR104;
    if (t.bluetooth && o.report)
        Reject("the VKR104 sends no reports");

    if (t.bluetooth) {
        for (std::size_t k = 0; k < charts.size(); ++k) {
            TJednoMereni& c = charts[k];
            // A chart without its number in the instrument gets its place in
            // the transfer, so that charts of one date stay distinct.
            if (c.Index == 0)
                c.Index = static_cast<int>(k + 1);
            t.pieces.push_back(VKR104Frame(c, o.fallbackDate));
        }
        t.pieces.push_back(VKR104EndFrame());
    } else if (o.report) {
        std::vector<ReportRecord> records;
        for (std::size_t k = 0; k < charts.size(); ++k)
            records.push_back(ReportFromChart(charts[k], static_cast<int>(k + 1), o.model));
        t.pieces.push_back(ReportTransfer(o.model, records));
    } else if (o.model == Model::VKR103RAM) {
        ByteVec v;
        for (std::size_t k = 0; k < charts.size(); ++k) {
            const int number = charts[k].Index > 0 ? charts[k].Index : static_cast<int>(k + 1);
            AppendVKR103RAMBlock(v, charts[k], number);
        }
        t.pieces.push_back(std::move(v));
    } else {
        for (const TJednoMereni& c : charts)
            t.pieces.push_back(o.model == Model::VKR102 ? VKR102ChartBlock(c) : VKR103ChartBlock(c));
    }
    t.skip.assign(t.pieces.size(), false);

    if (o.fault == Fault::None)
        return t;
    if (o.faultAt < 1 || static_cast<std::size_t>(o.faultAt) > t.pieces.size())
        Reject("--fault-at " + std::to_string(o.faultAt) + " is beyond the " +
               std::to_string(t.pieces.size()) + " pieces of this transfer");
    ByteVec& piece = t.pieces[static_cast<std::size_t>(o.faultAt - 1)];
    const bool ram = o.model == Model::VKR103RAM && !o.report;
    switch (o.fault) {
    case Fault::None:
        break;
    case Fault::Checksum:
        if (t.bluetooth || ram)
            Reject("this transfer carries no checksum the receiver checks");
        piece[piece.size() - 2] ^= 1;
        break;
    case Fault::ByteCount:
        if (o.report)
            Reject("the byte count of a report transfer is not checked");
        if (t.bluetooth) {
            const int f = piece[1] | (piece[2] << 8);
            piece[1] = static_cast<std::uint8_t>((f + 1) & 0xFF);
            piece[2] = static_cast<std::uint8_t>(((f + 1) >> 8) & 0xFF);
        } else {
            const int c = piece[1] | (piece[2] << 8);
            piece[1] = static_cast<std::uint8_t>((c + 1) & 0xFF);
            piece[2] = static_cast<std::uint8_t>(((c + 1) >> 8) & 0xFF);
        }
        break;
    case Fault::NoiseByte:
        if (t.bluetooth)
            Reject("a noise byte is an RS-232 fault");
        piece.insert(piece.begin(), 0x55);
        break;
    case Fault::MissingFrame:
        if (!t.bluetooth)
            Reject("a missing frame is a VKR104 fault");
        t.skip[static_cast<std::size_t>(o.faultAt - 1)] = true;
        break;
    case Fault::ShortFrame: {
        const std::size_t keep = t.bluetooth ? kFrameHeaderSize : 1;
        piece.resize(std::max(keep, piece.size() >= 10 ? piece.size() - 10 : keep));
        break;
    }
    }
    return t;
}

} // namespace lumidrax::vkrsim
