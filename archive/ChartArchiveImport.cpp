// Importing a folder tree of chart files: each file is read as the viewer
// opens it, then recorded in batches, one transaction each.

#include "ChartArchive.h"

#include "ArchiveFields.h"
#include "PreparedChart.h"

#include "ChartFile.h"
#include "MessageCatalogue.h"
#include "TMereni.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <future>
#include <thread>

namespace lumidrax {

namespace {

namespace fs = std::filesystem;

// Threads that read and prepare the files of an import.
constexpr unsigned kMaxImportThreads = 4;

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

// One file of an import: the chart made ready, or why it cannot be read.
struct ImportSlot {
    bool ok = false;
    PreparedChart chart;
    std::string error;
};

// Reads a file as the viewer opens it, so that the entry is the chart the
// viewer would record for it.
ImportSlot ReadForImport(const std::string& file, const ArchiveTags& tags, const std::string& now)
{
    ImportSlot slot;
    TMereni scratch;
    try {
        const int code = scratch.LoadChart(file);
        if (code < 0) {
            slot.error = CatalogueMessage(code, file);
            return slot;
        }
        ArchiveItem item;
        item.chart = std::move(scratch.Rec(1));
        item.origin = ArchiveOrigin::Import;
        item.detail = file;
        item.tags = tags;
        slot.chart = PrepareChart(item, now);
        slot.ok = true;
    } catch (const std::exception& e) {
        slot.error = e.what();
    }
    return slot;
}

// Files [begin, end) read and made ready on every core.
std::vector<ImportSlot> ReadBatch(const std::vector<std::string>& files, std::size_t begin, std::size_t end,
                                  const ArchiveTags& tags)
{
    std::vector<ImportSlot> readings(end - begin);
    const std::string now = UtcNowText();
    std::atomic<std::size_t> next{begin};
    auto work = [&] {
        for (std::size_t k = next++; k < end; k = next++)
            readings[k - begin] = ReadForImport(files[k], tags, now);
    };
    const unsigned cores = std::clamp(std::thread::hardware_concurrency(), 1u, kMaxImportThreads);
    std::vector<std::thread> helpers;
    for (unsigned t = 1; t < cores; ++t)
        helpers.emplace_back(work);
    work();
    for (std::thread& t : helpers)
        t.join();
    return readings;
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
    if (!Ready()) {
        result.Failed.emplace_back(folder, status_.Message);
        return result;
    }
    const std::vector<std::string> files = ChartFilesBelow(folder);
    const std::size_t n = files.size();
    const int total = static_cast<int>(n);
    auto readFrom = [&](std::size_t begin) {
        return std::async(std::launch::async, ReadBatch, std::cref(files), begin,
                          std::min(n, begin + kImportBatch), std::cref(tags));
    };
    // The next batch is read while this one is written.
    std::future<std::vector<ImportSlot>> reading;
    if (n > 0)
        reading = readFrom(0);
    std::size_t k = 0;
    bool stopped = false;
    while (k < n && !stopped && !result.Cancelled) {
        const std::size_t begin = k;
        const std::size_t end = std::min(n, begin + kImportBatch);
        std::vector<ImportSlot> readings = reading.get();
        if (end < n)
            reading = readFrom(end);
        std::vector<PreparedChart> batch;
        std::vector<std::string> batchFiles;
        for (; k < end; ++k) {
            if (progress && !progress({static_cast<int>(k), total, files[k]})) {
                result.Cancelled = true;
                break;
            }
            ImportSlot& slot = readings[k - begin];
            if (!slot.ok) {
                result.Failed.emplace_back(files[k], slot.error);
                continue;
            }
            batch.push_back(std::move(slot.chart));
            batchFiles.push_back(files[k]);
        }
        if (batch.empty())
            continue;
        const auto recorded = WritePrepared(batch);
        if (!recorded) {
            for (const std::string& file : batchFiles)
                result.Failed.emplace_back(file, status_.Message);
            stopped = true;
            break;
        }
        for (const RecordResult& r : *recorded)
            ++(r.Added ? result.Added : result.Skipped);
    }
    if (reading.valid())
        reading.wait();
    if (stopped) {
        // The archive cannot be written: what was not read yet is not in it.
        for (; k < n; ++k)
            result.Failed.emplace_back(files[k], status_.Message);
    }
    if (progress && !result.Cancelled && !stopped)
        progress({total, total, {}});
    return result;
}

} // namespace lumidrax
