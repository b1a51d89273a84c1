// The test report: what File > Test Report... and lumidrax-tool report do
// once the template is read (events found and compared, criteria judged,
// pages painted into a PDF in memory).
//   BM_ReportOnePage     one chart of 10000 samples with its baseline
//   BM_ReportFiftyCharts a document of 50 charts against one baseline:
//                        the summary page and 50 sections
//
//   build/bin/bench_testreport         (offscreen unless QT_QPA_PLATFORM is set)

#include "BenchSupport.h"
#include "ChartGenerator.h"
#include "TestReportContent.h"
#include "TestReportPainter.h"

#include <benchmark/benchmark.h>

namespace {

using namespace lumidrax;

constexpr const char* kTemplate = R"({
  "name": "Bench",
  "criteria": [
    {"type": "end-length", "length": 600, "tolerance": 50},
    {"type": "new-events", "max-level": 3},
    {"type": "moved-events", "max-shift": 2},
    {"type": "dc-resistance-min", "ohms": 1000000},
    {"type": "dc-voltage-max", "volts": "0,5"},
    {"type": "no-event-before", "kind": "short", "distance": 100}
  ]
})";

// Chart 1 the baseline, then `count` charts of the same cable, 10000
// samples each.
TMereni Charts(int count)
{
    TMereni charts;
    for (int i = 0; i <= count; ++i) {
        chartgen::ChartOptions o;
        o.form = chartgen::HeaderForm::Tokens23;
        o.seed = 500 + static_cast<std::uint64_t>(i);
        o.sampleCount = 10000;
        o.cableLength = 600;
        o.faults = {{120, -14}, {310, 8}};
        if (i % 3 == 1)
            o.faults.push_back({450, -6});
        o.statusIDX = 0;
        o.dcResistanceSingle = 5e6f;
        o.dcVoltageSingle = 0.05f;
        TJednoMereni c = chartgen::GenerateChart(o);
        c.FileName = c.DisplayName = "chart" + std::to_string(i) + ".ndt";
        charts.AddChart(std::move(c));
    }
    return charts;
}

void Run(benchmark::State& state, int count)
{
    const TMereni charts = Charts(count);
    ReportRequest request;
    request.Charts = &charts;
    request.Baseline = 1;
    for (int i = 2; i <= charts.Count; ++i)
        request.Reported.push_back(i);
    request.Limits = ParseLimitTemplate(kTemplate, "bench.json");
    request.Header.Job = "J-1";
    std::size_t bytes = 0;
    for (auto _ : state) {
        const QByteArray pdf = TestReportPdf(BuildTestReport(request));
        bytes = static_cast<std::size_t>(pdf.size());
        benchmark::DoNotOptimize(pdf.constData());
    }
    state.counters["pdf_kB"] = static_cast<double>(bytes) / 1024;
}

void BM_ReportOnePage(benchmark::State& state)
{
    Run(state, 1);
}
BENCHMARK(BM_ReportOnePage)->Unit(benchmark::kMillisecond)->MinTime(2);

void BM_ReportFiftyCharts(benchmark::State& state)
{
    Run(state, 50);
}
BENCHMARK(BM_ReportFiftyCharts)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    return lumidrax::bench::RunWithQt(argc, argv);
}
