#include "ArchiveSpool.h"

#include "ChartFile.h"
#include "FileIO.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>

namespace lumidrax {

namespace fs = std::filesystem;

namespace {

constexpr std::uintmax_t kMaxMetaBytes = 64u << 10;
// A chart's meta file, and a verdict's one file.
const char* const kMetaExtension = ".meta";
const char* const kVerdictExtension = ".verdict";

std::string OneLine(std::string text)
{
    std::replace(text.begin(), text.end(), '\n', ' ');
    std::replace(text.begin(), text.end(), '\r', ' ');
    return text;
}

std::string ChartPathOf(const std::string& metaPath)
{
    return fs::path(metaPath).replace_extension(".ndt").string();
}

} // namespace

std::string ArchiveSpool::NextBase()
{
    std::error_code ec;
    fs::create_directories(folder_, ec);
    // Names sort in the order the items came: the time, then a counter.
    const auto now = std::chrono::duration_cast<std::chrono::microseconds>(
                         std::chrono::system_clock::now().time_since_epoch())
                         .count();
    char name[64];
    std::snprintf(name, sizeof name, "%020lld-%06d", static_cast<long long>(now), ++serial_);
    return (fs::path(folder_) / name).string();
}

std::string ArchiveSpool::Put(const ArchiveItem& item, std::string& error)
{
    const std::string base = NextBase();
    const std::string meta = base + kMetaExtension;
    std::string text = "origin=" + std::string(OriginName(item.origin)) + "\n";
    text += "detail=" + OneLine(item.detail) + "\n";
    text += "file=" + OneLine(item.chart.FileName) + "\n";
    text += "cable=" + OneLine(item.tags.Cable) + "\n";
    text += "site=" + OneLine(item.tags.Site) + "\n";
    text += "job=" + OneLine(item.tags.Job) + "\n";
    text += "operator=" + OneLine(item.tags.Operator) + "\n";
    for (const auto& [path, bytes] :
         {std::pair{base + ".ndt", ChartFileText(item.chart)}, std::pair{meta, text}}) {
        const FileOutcome written = ReplaceFileAtomically(path, bytes);
        if (!written.Ok()) {
            error = "cannot write " + path + ": " + written.Reason;
            return {};
        }
    }
    return meta;
}

std::string ArchiveSpool::PutVerdict(const VerdictJob& verdict, std::string& error)
{
    const std::string path = NextBase() + kVerdictExtension;
    const FileOutcome written = ReplaceFileAtomically(
        path, "hash=" + OneLine(verdict.Hash) + "\nverdict=" + OneLine(verdict.Verdict) + "\n");
    if (!written.Ok()) {
        error = "cannot write " + path + ": " + written.Reason;
        return {};
    }
    return path;
}

std::vector<SpooledItem> ArchiveSpool::Load(std::vector<std::string>* problems) const
{
    std::vector<std::string> metas;
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator(folder_, ec))
        if (e.path().extension() == kMetaExtension || e.path().extension() == kVerdictExtension)
            metas.push_back(e.path().string());
    // By name alone: the order the items came, charts and verdicts alike.
    std::sort(metas.begin(), metas.end(), [](const std::string& a, const std::string& b) {
        return fs::path(a).stem() < fs::path(b).stem();
    });
    std::vector<SpooledItem> out;
    for (const std::string& meta : metas) {
        const bool verdict = fs::path(meta).extension() == kVerdictExtension;
        std::string metaBytes, chartBytes;
        const std::string chartPath = ChartPathOf(meta);
        if (!ReadFileBytes(meta, kMaxMetaBytes, metaBytes).Ok() ||
            (!verdict && !ReadFileBytes(chartPath, kMaxChartFileBytes, chartBytes).Ok())) {
            if (problems)
                problems->push_back(meta + " cannot be read");
            continue;
        }
        std::map<std::string, std::string> keys;
        std::istringstream lines(metaBytes);
        for (std::string line; std::getline(lines, line);)
            if (const auto eq = line.find('='); eq != std::string::npos)
                keys[line.substr(0, eq)] = line.substr(eq + 1);
        if (verdict) {
            if (keys["hash"].empty() || keys["verdict"].empty()) {
                if (problems)
                    problems->push_back(meta + " holds no verdict");
                continue;
            }
            SpooledItem v;
            v.Path = meta;
            v.Verdict = VerdictJob{keys["hash"], keys["verdict"]};
            out.push_back(std::move(v));
            continue;
        }
        SpooledItem s;
        s.Path = meta;
        try {
            ReadChartText(s.Item.chart, chartBytes, chartPath);
        } catch (const ChartFileError& e) {
            if (problems)
                problems->push_back(e.what());
            continue;
        }
        s.Item.chart.FileName = keys["file"];
        s.Item.origin = OriginFromName(keys["origin"]).value_or(ArchiveOrigin::File);
        s.Item.detail = keys["detail"];
        s.Item.tags = {keys["cable"], keys["site"], keys["job"], keys["operator"]};
        out.push_back(std::move(s));
    }
    return out;
}

void ArchiveSpool::Remove(const std::string& path) const
{
    std::error_code ec;
    fs::remove(path, ec);
    fs::remove(ChartPathOf(path), ec);
}

} // namespace lumidrax
