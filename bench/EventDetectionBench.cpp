// Event detection: one chart of 10000 samples, and every chart of the load
// benchmark's full collection (999 charts of 10000 samples, the same seeds
// and forms, taken into one collection as loading would).

#include "ChartGenerator.h"
#include "EdgeChart.h"
#include "EventDetection.h"
#include "Limits.h"
#include "TMereni.h"

#include <benchmark/benchmark.h>

namespace {

using namespace lumidrax;

void BM_DetectEventsOneChart(benchmark::State& state)
{
    chartgen::EdgeChartOptions o;
    o.sampleCount = kMaxSamples;
    o.reflectionCount = 5;
    const TJednoMereni chart = chartgen::GenerateEdgeChart(o).chart;
    for (auto _ : state) {
        auto events = DetectEvents(chart);
        benchmark::DoNotOptimize(events.data());
    }
}
BENCHMARK(BM_DetectEventsOneChart)->Unit(benchmark::kMicrosecond);

const TMereni& LoadBenchCollection()
{
    static const TMereni collection = [] {
        TMereni c;
        for (int i = 1; i <= kMaxCharts; ++i)
            c.AddChart(chartgen::GenerateChart(chartgen::MixedCollectionOptions(i, kMaxSamples)));
        return c;
    }();
    return collection;
}

void BM_DetectEventsFullCollection(benchmark::State& state)
{
    const TMereni& collection = LoadBenchCollection();
    std::size_t found = 0;
    for (auto _ : state) {
        for (int i = 1; i <= collection.Count; ++i)
            found += DetectEvents(collection.Rec(i)).size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["events_per_chart"] =
        static_cast<double>(found) / static_cast<double>(state.iterations()) / collection.Count;
}
BENCHMARK(BM_DetectEventsFullCollection)->Unit(benchmark::kMillisecond)->MinTime(2);

} // namespace

BENCHMARK_MAIN();
