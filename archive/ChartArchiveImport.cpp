// Importing a folder tree of chart files: each file is read as the viewer
// opens it, then recorded in batches, one transaction each.

#include "ChartArchive.h"

#include "ChartFile.h"
#include "MessageCatalogue.h"
#include "TMereni.h"

#include <algorithm>
#include <filesystem>

namespace lumidrax {

namespace {

namespace fs = std::filesystem;

bool IsChartFile(const fs::path& path)
{
    std::string ext = path.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char ch) { return std::tolower(ch); });
    return ext == ".ndt";
}

// Every chart file below the folder, in path order; folders that cannot be
// read are passed over.
std::vector<std::string> ChartFilesBelow(const std::string& folder)
{
    std::vector<std::string> out;
    std::error_code ec;
    fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec);
    for (const fs::recursive_directory_iterator end; !ec && it != end; it.increment(ec)) {
        std::error_code fileError;
        if (it->is_regular_file(fileError) && IsChartFile(it->path()))
            out.push_back(it->path().string());
    }
    std::sort(out.begin(), out.end());
    return out;
}

} // namespace

ImportResult ChartArchive::Import(const std::string& folder,
                                  const std::function<bool(const ImportProgress&)>& progress,
                                  const ArchiveTags& tags)
{
    ImportResult result;
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        result.Failed.emplace_back(folder, CatalogueMessage(kErrFileMissing, folder));
        return result;
    }
    const std::vector<std::string> files = ChartFilesBelow(folder);
    std::vector<ArchiveItem> batch;
    std::vector<std::string> batchFiles;
    bool stopped = false;
    auto flush = [&] {
        if (batch.empty())
            return;
        const auto recorded = RecordBatch(batch);
        if (!recorded) {
            for (const std::string& file : batchFiles)
                result.Failed.emplace_back(file, status_.Message);
            stopped = true;
        } else {
            for (const RecordResult& r : *recorded)
                ++(r.Added ? result.Added : result.Skipped);
        }
        batch.clear();
        batchFiles.clear();
    };

    const int total = static_cast<int>(files.size());
    std::size_t k = 0;
    for (; k < files.size() && !stopped; ++k) {
        const std::string& file = files[k];
        if (progress && !progress({static_cast<int>(k), total, file})) {
            result.Cancelled = true;
            break;
        }
        // Read as the viewer opens a file, so that the entry is the chart
        // the viewer would record for it.
        TMereni scratch;
        try {
            const int code = scratch.LoadChart(file);
            if (code < 0) {
                result.Failed.emplace_back(file, CatalogueMessage(code, file));
                continue;
            }
        } catch (const ChartFileError& e) {
            result.Failed.emplace_back(file, e.what());
            continue;
        } catch (const std::exception& e) {
            result.Failed.emplace_back(file, e.what());
            continue;
        }
        ArchiveItem item;
        item.chart = std::move(scratch.Rec(1));
        item.origin = ArchiveOrigin::Import;
        item.detail = file;
        item.tags = tags;
        batch.push_back(std::move(item));
        batchFiles.push_back(file);
        if (static_cast<int>(batch.size()) >= kImportBatch)
            flush();
    }
    flush();
    if (stopped) {
        // The archive cannot be written: what was not read yet is not in it.
        for (; k < files.size(); ++k)
            result.Failed.emplace_back(files[k], status_.Message);
    }
    if (progress && !result.Cancelled && !stopped)
        progress({total, total, {}});
    return result;
}

} // namespace lumidrax
