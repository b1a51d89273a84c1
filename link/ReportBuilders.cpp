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

struct Point {
    int a = 0;
    int b = 0;
    bool marked = false;
    int distance = 0;
    int rangeCode = 0;
};

} // namespace

int BuildReportLines(ReportModel model, Bytes bytes, std::vector<std::string>& lines)
{
    lines.clear();
    const ByteBlock blk(bytes);
    const std::size_t n = blk.Size();
    if (n < 3 || blk.Sum16(0, n - 2) != blk.U16(n - 2))
        return kDecodeChecksum;
    // Records live between offset 3 and the checksum; the end mark must be
    // found there.
    const std::size_t end = n - 2;
    const bool vkr103 = model == ReportModel::VKR103;
    int rangeTenths = 10;
    std::vector<std::string> out;
    std::size_t o = 3;
    while (true) {
        if (o >= end)
            return kDecodeByteCount;
        if (blk.U8(o) == kEndMark)
            break;
        if (!blk.Has(o, 11) || o + 11 > end)
            return kDecodeByteCount;
        const int b0 = blk.U8(o);
        const int b1 = blk.U8(o + 1);
        const int pointCount = b0 & 31;
        const int sensitivity = (b0 >> 5) & 3;
        const char polarity = (b0 & 128) ? 'N' : 'P';
        const bool skipped = b1 == 255;
        const int recordNo = b1 & 127;
        const int velocity = 500 + 256 * (b1 >> 7) + blk.U8(o + 2);
        int impedance = blk.U8(o + 3);
        if (vkr103 && impedance < 50)
            impedance += 256;
        int minLevel = blk.U8(o + 4);
        int maxLevel = blk.U8(o + 5);
        const int filter = blk.U8(o + 6) >> 4;
        const int minPos = ((blk.U8(o + 6) & 15) << 8) | blk.U8(o + 7);
        const int attenuation = blk.U8(o + 8) >> 6;
        const bool dcPresent = vkr103 && (blk.U8(o + 8) & 32);
        const int maxPos = ((blk.U8(o + 8) & 31) << 8) | blk.U8(o + 9);
        const int noise = blk.U8(o + 10);
        const std::size_t recordSize = 11 + 4 * static_cast<std::size_t>(pointCount) + (dcPresent ? 3 : 0);
        if (o + recordSize > end)
            return kDecodeByteCount;

        std::vector<std::string> rec;
        std::size_t dcLine = 0;
        bool haveDcLines = false;
        int base = 0;
        for (int i = 1; i <= pointCount; ++i) {
            const std::size_t q = o + 11 + 4 * static_cast<std::size_t>(i - 1);
            Point pt;
            pt.a = blk.U8(q);
            pt.b = blk.U8(q + 1);
            pt.marked = blk.U8(q + 2) & 128;
            pt.distance = ((blk.U8(q + 2) & 15) << 8) | blk.U8(q + 3);
            pt.rangeCode = (blk.U8(q + 2) >> 4) & 7;
            const int receivedDistance = pt.distance;
            if (i == 1) {
                base = pt.a;
                pt.distance = 0;
                if (vkr103)
                    rangeTenths = RangeTenths(pt.rangeCode, rangeTenths);
                if (!skipped) {
                    rec.push_back("Record No:                 # " + Z(recordNo));
                    rec.push_back(vkr103 ? SensitivityVKR103(sensitivity, polarity)
                                         : std::string(SensitivityVKR102(sensitivity)));
                    const int shownDistance = vkr103 ? rangeTenths * 100 : receivedDistance;
                    rec.push_back("Distance:               " + R(5, shownDistance) + " m");
                    rec.push_back("Impedance:             " + R(4, impedance) + " Ohm");
                    rec.push_back("Velocity:              " + R(6, Tenths(velocity)) + " %");
                    rec.push_back(Attenuation(model, attenuation));
                    rec.push_back("Noise:                    " + R(3, noise) + " %");
                    rec.push_back(filter == 1 ? std::string("Filter:                     off")
                                              : "Filter:                     " + R(3, filter));
                    if (vkr103) {
                        if (dcPresent) {
                            dcLine = rec.size();
                            haveDcLines = true;
                            rec.push_back("DC voltage");
                            rec.push_back("DC resistance");
                        } else {
                            rec.push_back("DC voltage             not used");
                            rec.push_back("DC resistance          not used");
                        }
                    }
                }
            }
            if (skipped)
                continue;
            const int a = pt.a - base;
            const int bl = pt.b - base;
            const char mark = pt.marked ? '?' : ' ';
            if (!vkr103) {
                rec.push_back(Z(i - 1) + "." + mark + "  " + R(4, pt.distance) + " m" + R(4, a) + " => " +
                              R(4, bl) + " " + R(4, bl - a) + " %");
            } else {
                const std::string sign = bl > a ? "+" : (bl == a ? " " : "-");
                rec.push_back(Z(i - 1) + "." + mark + "   " +
                              R(7, Tenths(static_cast<long>(pt.distance) * rangeTenths)) + " m" + R(6, a) +
                              R(7, sign + std::to_string(std::abs(bl - a))) + " %");
            }
        }
        minLevel = WrapLevel(minLevel - base);
        maxLevel = WrapLevel(maxLevel - base);
        if (!skipped) {
            if (!vkr103) {
                rec.push_back("Min.: " + R(4, minPos) + " m             " + R(4, minLevel) + " %");
                rec.push_back("Max.: " + R(4, maxPos) + " m             " + R(4, maxLevel) + " %");
            } else {
                rec.push_back("Min.:  " + R(7, Tenths(static_cast<long>(minPos) * rangeTenths)) + " m" +
                              R(6, minLevel) + " %");
                rec.push_back("Max.:  " + R(7, Tenths(static_cast<long>(maxPos) * rangeTenths)) + " m" +
                              R(6, maxLevel) + " %");
            }
        }
        if (dcPresent) {
            const std::size_t d = o + 11 + 4 * static_cast<std::size_t>(pointCount);
            const int status = blk.U8(d);
            if (!skipped && haveDcLines) {
                rec[dcLine] = "DC Voltage: " + R(19, FormatDCVoltage(status, blk.U8(d + 1)));
                rec[dcLine + 1] = "DC Resistance: " + R(16, FormatDCResistance(status, blk.U8(d + 2)));
            }
        }
        if (!skipped) {
            rec.emplace_back();
            rec.emplace_back();
            out.insert(out.end(), rec.begin(), rec.end());
        }
        o += recordSize;
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
