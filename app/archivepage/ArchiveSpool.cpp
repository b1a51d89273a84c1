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

std::string ArchiveSpool::Put(const ArchiveItem& item, std::string& error)
{
    std::error_code ec;
    fs::create_directories(folder_, ec);
    // Names sort in the order the items came: the time, then a counter.
    const auto now = std::chrono::duration_cast<std::chrono::microseconds>(
                         std::chrono::system_clock::now().time_since_epoch())
                         .count();
    char name[64];
    std::snprintf(name, sizeof name, "%020lld-%06d", static_cast<long long>(now), ++serial_);
    const std::string base = (fs::path(folder_) / name).string();
    const std::string meta = base + ".meta";
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

std::vector<SpooledItem> ArchiveSpool::Load(std::vector<std::string>* problems) const
{
    std::vector<std::string> metas;
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator(folder_, ec))
        if (e.path().extension() == ".meta")
            metas.push_back(e.path().string());
    std::sort(metas.begin(), metas.end());
    std::vector<SpooledItem> out;
    for (const std::string& meta : metas) {
        std::string metaBytes, chartBytes;
        const std::string chartPath = ChartPathOf(meta);
        if (!ReadFileBytes(meta, kMaxMetaBytes, metaBytes).Ok() ||
            !ReadFileBytes(chartPath, kMaxChartFileBytes, chartBytes).Ok()) {
            if (problems)
                problems->push_back(meta + " cannot be read");
            continue;
        }
        std::map<std::string, std::string> keys;
        std::istringstream lines(metaBytes);
        for (std::string line; std::getline(lines, line);)
            if (const auto eq = line.find('='); eq != std::string::npos)
                keys[line.substr(0, eq)] = line.substr(eq + 1);
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
