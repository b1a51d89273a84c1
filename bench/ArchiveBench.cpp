// The chart archive (SQLite, the default engine):
//   - BM_ImportFolder: 10,000 chart files of 10000 samples imported into a
//     new archive (one iteration: the figure is the whole import), with the
//     archive's size per chart as a counter;
//   - BM_Search*: searches among 100,000 entries, a page of 200 and the
//     count that goes with it, the way the Archive page asks.
// The chart files and the 100,000-entry archive are made once in a folder
// below the temporary folder and kept for the next run
// (lumidrax-bench-archive/); remove it to start afresh.

#include "ChartArchive.h"
#include "ChartGenerator.h"
#include "FileIO.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <iostream>

namespace {

namespace fs = std::filesystem;
using namespace lumidrax;

constexpr int kImportFiles = 10000;
constexpr int kImportSamples = 10000;
constexpr int kSearchEntries = 100000;

fs::path Folder()
{
    static const fs::path folder = fs::temp_directory_path() / "lumidrax-bench-archive";
    fs::create_directories(folder);
    return folder;
}

const char* const kWords[] = {"feeder", "substation", "pair",  "spare", "trunk", "riser",
                              "loop",   "branch",     "north", "south", "tower", "depot"};

// The chart files of the import, made once (marked done by a file).
fs::path ImportCharts()
{
    const fs::path charts = Folder() / "charts";
    if (fs::exists(charts / "done"))
        return charts;
    fs::create_directories(charts);
    std::cerr << "making " << kImportFiles << " chart files of " << kImportSamples << " samples in " << charts
              << "\n";
    for (int i = 1; i <= kImportFiles; ++i) {
        chartgen::ChartOptions o;
        o.form = chartgen::HeaderForm::Tokens23;
        o.seed = static_cast<std::uint64_t>(i);
        o.sampleCount = kImportSamples;
        o.faultCount = 1 + i % 3;
        o.serialNumber = 100 + i % 40;
        o.description =
            std::string(kWords[i % 12]) + " " + std::to_string(i) + ", pair " + std::to_string(1 + i % 24);
        const fs::path day = charts / ("d" + std::to_string(i % 50));
        fs::create_directories(day);
        const std::string text = chartgen::ChartText(chartgen::GenerateChart(o), o.form);
        if (!WriteFileAtomically((day / ("chart" + std::to_string(i) + ".ndt")).string(), text, Flush::Later)
                 .Done())
            std::abort();
    }
    (void)WriteFileAtomically((charts / "done").string(), "", Flush::Later);
    return charts;
}

void BM_ImportFolder(benchmark::State& state)
{
    const fs::path charts = ImportCharts();
    ArchiveLocation where;
    where.File = (Folder() / "import.sqlite").string();
    for (auto _ : state) {
        state.PauseTiming();
        for (const char* tail : {"", "-wal", "-shm"})
            fs::remove(where.File + tail);
        state.ResumeTiming();
        ChartArchive archive(where);
        const ImportResult r = archive.Import(charts.string());
        if (r.Added != kImportFiles || !r.Failed.empty())
            state.SkipWithError(
                ("import added " + std::to_string(r.Added) + ", failed " + std::to_string(r.Failed.size()))
                    .c_str());
    }
    const double bytes = static_cast<double>(fs::file_size(where.File));
    state.counters["bytes_per_chart"] = bytes / kImportFiles;
    state.counters["charts_per_s"] =
        benchmark::Counter(kImportFiles, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_ImportFolder)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

// The 100,000-entry archive: small synthetic charts with varied words,
// dates, serial numbers and cables, recorded in large transactions.
ArchiveLocation SearchArchive()
{
    ArchiveLocation where;
    where.File = (Folder() / "search.sqlite").string();
    ChartArchive archive(where);
    if (archive.Count({}).value_or(0) >= kSearchEntries)
        return where;
    std::cerr << "making an archive of " << kSearchEntries << " entries in " << where.File << "\n";
    std::vector<ArchiveItem> batch;
    for (int i = archive.Count({}).value_or(0); i < kSearchEntries; ++i) {
        chartgen::ChartOptions o;
        o.form = chartgen::HeaderForm::Tokens23;
        o.seed = static_cast<std::uint64_t>(i) + 1;
        o.sampleCount = 64;
        o.serialNumber = 100 + i % 400;
        const int day = i % 3650;
        o.datumCas = std::to_string(1 + day % 28) + "." + std::to_string(1 + (day / 28) % 12) + "." +
                     std::to_string(2015 + day / 365) + " 10:" + std::to_string(10 + i % 50) + ":00";
        o.description = std::string(kWords[i % 12]) + " " + kWords[(i / 12) % 12] + " " + std::to_string(i);
        ArchiveItem item;
        item.chart = chartgen::GenerateChart(o);
        item.origin = ArchiveOrigin::Import;
        item.detail = "/archive/" + std::to_string(i) + ".ndt";
        item.chart.FileName = item.detail;
        item.tags.Cable = "K" + std::to_string(i % 2000);
        item.tags.Site = kWords[(i / 144) % 12];
        batch.push_back(std::move(item));
        if (batch.size() == 5000) {
            if (!archive.RecordBatch(batch))
                std::cerr << archive.status().Message << "\n";
            batch.clear();
        }
    }
    if (!batch.empty())
        archive.RecordBatch(batch);
    return where;
}

void RunSearch(benchmark::State& state, const ArchiveQuery& q)
{
    ChartArchive archive(SearchArchive());
    std::size_t found = 0;
    int count = 0;
    for (auto _ : state) {
        const auto page = archive.Search(q);
        const auto total = archive.Count(q);
        if (!page || !total) {
            state.SkipWithError(archive.status().Message.c_str());
            break;
        }
        found = page->size();
        count = *total;
    }
    state.counters["page"] = static_cast<double>(found);
    state.counters["count"] = count;
}

// The searches, each registered under its name with the query it sets.
struct NamedSearch {
    const char* name;
    void (*set)(ArchiveQuery& q);
};
const NamedSearch kSearches[] = {
    {"BM_SearchNewestPage", [](ArchiveQuery&) {}},
    {"BM_SearchTwoWords", [](ArchiveQuery& q) { q.Text = "riser NORTH"; }},
    {"BM_SearchRareWord", [](ArchiveQuery& q) { q.Text = "99999"; }},
    {"BM_SearchWordDatesSerial",
     [](ArchiveQuery& q) {
         q.Text = "tower";
         q.From = "2018-01-01";
         q.To = "2019-06-30";
         q.SerialNumber = 112;
     }},
    {"BM_SearchByDescription",
     [](ArchiveQuery& q) {
         q.Text = "depot";
         q.SortBy = ArchiveColumn::Description;
         q.Descending = false;
     }},
    {"BM_SearchCable", [](ArchiveQuery& q) { q.Cable = "K1234"; }},
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    for (const NamedSearch& s : kSearches) {
        ArchiveQuery q;
        s.set(q);
        benchmark::RegisterBenchmark(s.name, RunSearch, q)->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
