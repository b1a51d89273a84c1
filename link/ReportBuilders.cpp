#include "ReportBuilders.h"

#include "AutoName.h"
#include "ByteBlock.h"
#include "ChartFile.h"
#include "Cp1250.h"
#include "DCTexts.h"
#include "DecodeResult.h"
#include "NumberText.h"

#include <cstdlib>
#include <filesystem>

namespace lumidrax {

namespace {

namespace fs = std::filesystem;

constexpr int kEndMark = 255;

// The text right-aligned in a field of k characters; longer texts keep
// their last k characters.
std::string R(std::size_t k, const std::string& text)
{
    const std::string padded = std::string(k, ' ') + text;
    return padded.substr(padded.size() - k);
}

std::string R(std::size_t k, int value)
{
    return R(k, std::to_string(value));
}

// Two digits with leading zeros; longer numbers keep their last two digits.
std::string Z(int value)
{
    const std::string padded = "00" + std::to_string(value);
    return padded.substr(padded.size() - 2);
}

// A value given in tenths, written with one decimal.
std::string Tenths(long value)
{
    return FormatFixed(static_cast<long double>(value) / 10, 1);
}

const char* SensitivityVKR102(int code)
{
    static const char* const kTexts[] = {
        "Sensitivity:               50 %",
        "Sensitivity:               20 %",
        "Sensitivity:               10 %",
        "Sensitivity:                5 %",
    };
    return kTexts[code & 3];
}

std::string SensitivityVKR103(int code, char polarity)
{
    switch (code & 3) {
    case 0:
        return std::string("Sensitivity:             ") + polarity + " 50 %";
    case 1:
        return std::string("Sensitivity:             ") + polarity + " 20 %";
    case 2:
        return std::string("Sensitivity:             ") + polarity + " 10 %";
    default:
        return std::string("Sensitivity:              ") + polarity + " 5 %";
    }
}

const char* Attenuation(ReportModel model, int code)
{
    static const char* const kVKR102[] = {
        "Attenuation:         <6 dB/100m",
        "Attenuation:       6-10 dB/100m",
        "Attenuation:        >10 db/100m",
        "Attenuation:            error",
    };
    static const char* const kVKR103[] = {
        "Attenuation:          4 dB/100m",
        "Attenuation:          8 dB/100m",
        "Attenuation:         16 db/100m",
        "Attenuation:         32 dB/100m",
    };
    return model == ReportModel::VKR102 ? kVKR102[code & 3] : kVKR103[code & 3];
}

// Range factor of a VKR103 point distance, in tenths: codes 0..5 give
// 0.1, 0.2, 0.5, 1, 2, 5; codes 6 and 7 keep the factor before.
int RangeTenths(int code, int before)
{
    static const int kTenths[] = {1, 2, 5, 10, 20, 50};
    return code >= 0 && code <= 5 ? kTenths[code] : before;
}

// Signed level of the minimum and maximum after the base is taken off.
int WrapLevel(int level)
{
    return level > 127 ? level - 256 : level;
}

// Layout of a report transfer: type byte and byte count, the records, the
// end mark, a 16-bit checksum.
constexpr std::size_t kFirstRecord = 3;
constexpr std::size_t kChecksumSize = 2;
// A record: an 11-byte head, 4 bytes per point, and 3 bytes of DC values
// when the head says so (VKR103 only).
constexpr std::size_t kRecordHeadSize = 11;
constexpr std::size_t kPointSize = 4;
constexpr std::size_t kDcSize = 3;
// The record number byte of a record the instrument skipped.
constexpr int kSkippedRecord = 255;
// Velocities are sent in tenths of a percent above this.
constexpr int kVelocityBase = 500;
// VKR103 impedances below this have wrapped past 255.
constexpr int kImpedanceWrap = 50;
// The range factor a VKR103 report starts with, in tenths.
constexpr int kInitialRangeTenths = 10;
// The filter code that means "no filter".
constexpr int kFilterOff = 1;

// The head of one record.
struct RecordHead {
    int pointCount = 0;
    int sensitivity = 0;
    char polarity = 'P';
    bool skipped = false;
    int recordNo = 0;
    int velocity = 0; // tenths of a percent
    int impedance = 0;
    int minLevel = 0;
    int maxLevel = 0;
    int filter = 0;
    int minPos = 0;
    int attenuation = 0;
    bool dcPresent = false;
    int maxPos = 0;
    int noise = 0;

    std::size_t Size() const
    {
        return kRecordHeadSize + kPointSize * static_cast<std::size_t>(pointCount) +
               (dcPresent ? kDcSize : 0);
    }
};

RecordHead ReadRecordHead(const ByteBlock& blk, std::size_t o, bool vkr103)
{
    RecordHead h;
    const int b0 = blk.U8(o);
    const int b1 = blk.U8(o + 1);
    h.pointCount = b0 & 31;
    h.sensitivity = (b0 >> 5) & 3;
    h.polarity = (b0 & 128) ? 'N' : 'P';
    h.skipped = b1 == kSkippedRecord;
    h.recordNo = b1 & 127;
    h.velocity = kVelocityBase + 256 * (b1 >> 7) + blk.U8(o + 2);
    h.impedance = blk.U8(o + 3);
    if (vkr103 && h.impedance < kImpedanceWrap)
        h.impedance += 256;
    h.minLevel = blk.U8(o + 4);
    h.maxLevel = blk.U8(o + 5);
    h.filter = blk.U8(o + 6) >> 4;
    h.minPos = ((blk.U8(o + 6) & 15) << 8) | blk.U8(o + 7);
    h.attenuation = blk.U8(o + 8) >> 6;
    h.dcPresent = vkr103 && (blk.U8(o + 8) & 32);
    h.maxPos = ((blk.U8(o + 8) & 31) << 8) | blk.U8(o + 9);
    h.noise = blk.U8(o + 10);
    return h;
}

struct Point {
    int a = 0;
    int b = 0;
    bool marked = false;
    int distance = 0;
    int rangeCode = 0;
};

Point ReadPoint(const ByteBlock& blk, std::size_t q)
{
    Point pt;
    pt.a = blk.U8(q);
    pt.b = blk.U8(q + 1);
    pt.marked = blk.U8(q + 2) & 128;
    pt.distance = ((blk.U8(q + 2) & 15) << 8) | blk.U8(q + 3);
    pt.rangeCode = (blk.U8(q + 2) >> 4) & 7;
    return pt;
}

// The lines describing the measurement, written before the points.
// `distance` is the first point's distance as received. Returns the index of
// the first of the two DC lines when they are filled in later, else npos.
std::size_t AppendSettingsLines(std::vector<std::string>& rec, ReportModel model, const RecordHead& h,
                                int rangeTenths, int distance)
{
    const bool vkr103 = model == ReportModel::VKR103;
    rec.push_back("Record No:                 # " + Z(h.recordNo));
    rec.push_back(vkr103 ? SensitivityVKR103(h.sensitivity, h.polarity)
                         : std::string(SensitivityVKR102(h.sensitivity)));
    const int shownDistance = vkr103 ? rangeTenths * 100 : distance;
    rec.push_back("Distance:               " + R(5, shownDistance) + " m");
    rec.push_back("Impedance:             " + R(4, h.impedance) + " Ohm");
    rec.push_back("Velocity:              " + R(6, Tenths(h.velocity)) + " %");
    rec.push_back(Attenuation(model, h.attenuation));
    rec.push_back("Noise:                    " + R(3, h.noise) + " %");
    rec.push_back(h.filter == kFilterOff ? std::string("Filter:                     off")
                                         : "Filter:                     " + R(3, h.filter));
    if (!vkr103)
        return std::string::npos;
    if (h.dcPresent) {
        const std::size_t dcLine = rec.size();
        rec.push_back("DC voltage");
        rec.push_back("DC resistance");
        return dcLine;
    }
    rec.push_back("DC voltage             not used");
    rec.push_back("DC resistance          not used");
    return std::string::npos;
}

// The line of point `i` (1-based); levels are taken relative to `base`.
std::string PointLine(ReportModel model, int i, const Point& pt, int base, int rangeTenths)
{
    const int a = pt.a - base;
    const int b = pt.b - base;
    const char mark = pt.marked ? '?' : ' ';
    if (model == ReportModel::VKR102)
        return Z(i - 1) + "." + mark + "  " + R(4, pt.distance) + " m" + R(4, a) + " => " + R(4, b) + " " +
               R(4, b - a) + " %";
    const std::string sign = b > a ? "+" : (b == a ? " " : "-");
    return Z(i - 1) + "." + mark + "   " + R(7, Tenths(static_cast<long>(pt.distance) * rangeTenths)) + " m" +
           R(6, a) + R(7, sign + std::to_string(std::abs(b - a))) + " %";
}

void AppendMinMaxLines(std::vector<std::string>& rec, ReportModel model, const RecordHead& h, int base,
                       int rangeTenths)
{
    const int minLevel = WrapLevel(h.minLevel - base);
    const int maxLevel = WrapLevel(h.maxLevel - base);
    if (model == ReportModel::VKR102) {
        rec.push_back("Min.: " + R(4, h.minPos) + " m             " + R(4, minLevel) + " %");
        rec.push_back("Max.: " + R(4, h.maxPos) + " m             " + R(4, maxLevel) + " %");
        return;
    }
    rec.push_back("Min.:  " + R(7, Tenths(static_cast<long>(h.minPos) * rangeTenths)) + " m" +
                  R(6, minLevel) + " %");
    rec.push_back("Max.:  " + R(7, Tenths(static_cast<long>(h.maxPos) * rangeTenths)) + " m" +
                  R(6, maxLevel) + " %");
}

// The lines of the record with head `h` at offset `o`, which fits before
// the checksum; none for a skipped record. `rangeTenths` carries the VKR103
// range factor from record to record: a record's first point sets it.
std::vector<std::string> RecordLines(ReportModel model, const ByteBlock& blk, std::size_t o,
                                     const RecordHead& h, int& rangeTenths)
{
    std::vector<std::string> rec;
    std::size_t dcLine = std::string::npos;
    int base = 0;
    for (int i = 1; i <= h.pointCount; ++i) {
        Point pt = ReadPoint(blk, o + kRecordHeadSize + kPointSize * static_cast<std::size_t>(i - 1));
        if (i == 1) {
            // The first point is the base: levels count from it and its
            // distance from it is 0.
            const int receivedDistance = pt.distance;
            base = pt.a;
            pt.distance = 0;
            if (model == ReportModel::VKR103)
                rangeTenths = RangeTenths(pt.rangeCode, rangeTenths);
            if (!h.skipped)
                dcLine = AppendSettingsLines(rec, model, h, rangeTenths, receivedDistance);
        }
        if (!h.skipped)
            rec.push_back(PointLine(model, i, pt, base, rangeTenths));
    }
    if (h.skipped)
        return {};
    AppendMinMaxLines(rec, model, h, base, rangeTenths);
    if (h.dcPresent && dcLine != std::string::npos) {
        const std::size_t d = o + kRecordHeadSize + kPointSize * static_cast<std::size_t>(h.pointCount);
        const int status = blk.U8(d);
        rec[dcLine] = "DC Voltage: " + R(19, FormatDCVoltage(status, blk.U8(d + 1)));
        rec[dcLine + 1] = "DC Resistance: " + R(16, FormatDCResistance(status, blk.U8(d + 2)));
    }
    // Two empty lines after every record.
    rec.emplace_back();
    rec.emplace_back();
    return rec;
}

} // namespace

int BuildReportLines(ReportModel model, Bytes bytes, std::vector<std::string>& lines)
{
    lines.clear();
    const ByteBlock blk(bytes);
    const std::size_t n = blk.Size();
    if (n < kFirstRecord || blk.Sum16(0, n - kChecksumSize) != blk.U16(n - kChecksumSize))
        return kDecodeChecksum;
    // Records live between the first record's offset and the checksum; the
    // end mark must be found there.
    const std::size_t end = n - kChecksumSize;
    const bool vkr103 = model == ReportModel::VKR103;
    int rangeTenths = kInitialRangeTenths;
    std::vector<std::string> out;
    for (std::size_t o = kFirstRecord;;) {
        if (o >= end)
            return kDecodeByteCount;
        if (blk.U8(o) == kEndMark)
            break;
        if (!blk.Has(o, kRecordHeadSize) || o + kRecordHeadSize > end)
            return kDecodeByteCount;
        const RecordHead head = ReadRecordHead(blk, o, vkr103);
        if (o + head.Size() > end)
            return kDecodeByteCount;
        const std::vector<std::string> rec = RecordLines(model, blk, o, head, rangeTenths);
        out.insert(out.end(), rec.begin(), rec.end());
        o += head.Size();
    }
    lines = std::move(out);
    return 0;
}

SaveOutcome WriteReportFile(const std::string& path, const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines) {
        text += Utf8ToCp1250(line);
        text += "\r\n";
    }
    const fs::path folder = fs::path(path).parent_path();
    std::error_code ec;
    if (!folder.empty() && !fs::is_directory(folder, ec)) {
        fs::create_directories(folder, ec);
        if (ec)
            return {SaveStatus::FolderNotCreated, CatalogueMessage(kErrCreateDirectory, folder.string()), {}};
    }
    return WriteFileAtomically(path, text);
}

namespace {

// A path that names no existing file: the given one, or with "_2", "_3",
// ... before its extension.
std::string FreePath(const std::string& path)
{
    std::error_code ec;
    if (!fs::exists(path, ec))
        return path;
    const fs::path p(path);
    for (int k = 2;; ++k) {
        fs::path candidate =
            p.parent_path() / (p.stem().string() + "_" + std::to_string(k) + p.extension().string());
        if (!fs::exists(candidate, ec))
            return candidate.string();
    }
}

// Adds a built report to the list. When 100 reports are open the report
// cannot join the list; it is written to its automatic name (made whether
// or not automatic naming is on) and the user is told where it went.
void RegisterReport(DecoderContext& ctx, std::vector<std::string> lines)
{
    if (!ctx.Reports)
        return;
    const std::string autoName = ReportName(MakeAutoName(ctx.SaveRoot, 0, ctx.Now()));
    if (!ctx.Reports->IsFull()) {
        const int index = ctx.Reports->AddReceived(std::move(lines), ctx.AutoName ? autoName : std::string());
        if (ctx.ReportAdded)
            ctx.ReportAdded(index);
        if (ctx.AutoSave && ctx.SaveReport)
            ctx.SaveReport(index);
        return;
    }
    const std::string path = FreePath(autoName);
    const SaveOutcome saved = WriteReportFile(path, lines);
    if (!ctx.ShowMessage)
        return;
    if (saved.Done())
        ctx.ShowMessage("Information", "The report list is full (" + std::to_string(kMaxReports) +
                                           " reports). The received report was saved as " + path + ".");
    else
        ctx.ShowMessage(kErrorCaption,
                        "Error: the report list is full (" + std::to_string(kMaxReports) +
                            " reports) and the received report could not be saved: " + saved.Message + ".");
}

int DecodeReport(ReportModel model, int success, DecoderContext& ctx, Bytes bytes)
{
    std::vector<std::string> lines;
    if (const int bad = BuildReportLines(model, bytes, lines))
        return bad;
    RegisterReport(ctx, std::move(lines));
    return success;
}

} // namespace

int DecodeVKR102Report(TMereni&, DecoderContext& ctx, Bytes bytes)
{
    return DecodeReport(ReportModel::VKR102, kVKR102ReportBuilt, ctx, bytes);
}

int DecodeVKR103Report(TMereni&, DecoderContext& ctx, Bytes bytes)
{
    return DecodeReport(ReportModel::VKR103, kVKR103ReportBuilt, ctx, bytes);
}

int DecodeVKR103RAMReport(TMereni&, DecoderContext& ctx, Bytes bytes)
{
    return DecodeReport(ReportModel::VKR103, kVKR103RAMReportBuilt, ctx, bytes);
}

} // namespace lumidrax
