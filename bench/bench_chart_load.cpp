// Loading a full collection: 999 chart files of 10000 samples each, made
// once by the chart generator in a temporary folder, are loaded into one
// TMereni per iteration.
//
// Reports the throughput in bytes of file text (MB/s) and, as counters, the
// resident memory the loaded collection takes compared with the samples' own
// storage (999 * 10000 * sizeof(long double)).

#include "ChartGenerator.h"
#include "Limits.h"
#include "TMereni.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace lumidrax;

constexpr int kFiles = kMaxCharts;
constexpr int kSamples = kMaxSamples;

// The generated files, removed when the program ends.
struct ChartFolder {
    std::string path;
    std::vector<std::string> files;
    std::size_t bytes = 0;

    ChartFolder()
    {
        std::string tmpl = (fs::temp_directory_path() / "lumidrax-bench-XXXXXX").string();
        if (!::mkdtemp(tmpl.data()))
            std::abort();
        path = tmpl;
        for (int i = 1; i <= kFiles; ++i) {
            chartgen::ChartOptions o = chartgen::MixedCollectionOptions(i, kSamples);
            o.description = "Feeder " + std::to_string(i) + ", pair " + std::to_string(1 + i % 24);
            const std::string text = chartgen::ChartText(chartgen::GenerateChart(o), o.form);
            const std::string file = (fs::path(path) / ("chart" + std::to_string(i) + ".ndt")).string();
            std::ofstream(file, std::ios::binary)
                .write(text.data(), static_cast<std::streamsize>(text.size()));
            files.push_back(file);
            bytes += text.size();
        }
    }
    ~ChartFolder()
    {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
};

const ChartFolder& Folder()
{
    static const ChartFolder folder;
    return folder;
}

// Resident set size in bytes (second field of /proc/self/statm).
double ResidentBytes()
{
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE));
}

void LoadAll(TMereni& collection, const ChartFolder& folder)
{
    for (const std::string& file : folder.files)
        if (collection.LoadChart(file) < 1)
            std::abort();
}

void BM_LoadFullCollection(benchmark::State& state)
{
    const ChartFolder& folder = Folder();
    for (auto _ : state) {
        TMereni collection;
        LoadAll(collection, folder);
        benchmark::DoNotOptimize(collection.Count);
        state.PauseTiming(); // the collection's release is not part of loading
        collection.ClearAll();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(folder.bytes));

    // Memory: give freed memory back first, so that the difference is what
    // the loaded collection itself keeps resident.
    ::malloc_trim(0);
    const double before = ResidentBytes();
    {
        TMereni collection;
        LoadAll(collection, folder);
        const double after = ResidentBytes();
        const double samples = static_cast<double>(kFiles) * kSamples * sizeof(long double);
        state.counters["file_MB"] = static_cast<double>(folder.bytes) / 1e6;
        state.counters["collection_MB"] = (after - before) / 1e6;
        state.counters["samples_MB"] = samples / 1e6;
        state.counters["memory_ratio"] = (after - before) / samples;
        benchmark::DoNotOptimize(collection.Count);
    }
}
BENCHMARK(BM_LoadFullCollection)->Unit(benchmark::kMillisecond)->MinTime(3);

// The floor under the load: storing as many samples into fresh vectors (one
// per chart, as the collection keeps them), without any file or parsing.
void BM_FillFreshSampleMemory(benchmark::State& state)
{
    for (auto _ : state) {
        std::vector<std::vector<long double>> charts(kFiles);
        for (auto& samples : charts) {
            samples.reserve(kSamples);
            for (int k = 0; k < kSamples; ++k)
                samples.push_back(static_cast<long double>(k) / 100);
        }
        benchmark::DoNotOptimize(charts.back().back());
        state.PauseTiming();
        charts.clear();
        ::malloc_trim(0);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(Folder().bytes));
}
BENCHMARK(BM_FillFreshSampleMemory)->Unit(benchmark::kMillisecond)->MinTime(2);

} // namespace

BENCHMARK_MAIN();
