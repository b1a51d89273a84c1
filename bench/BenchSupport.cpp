#include "BenchSupport.h"

#include "ChartGenerator.h"

#include <QApplication>

#include <filesystem>
#include <string>

#include <benchmark/benchmark.h>

namespace lumidrax::bench {

TMereni TenCharts(std::uint64_t firstSeed)
{
    TMereni m;
    for (int i = 0; i < kMaxShown; ++i) {
        chartgen::ChartOptions o;
        o.seed = firstSeed + static_cast<std::uint64_t>(i);
        o.sampleCount = kMaxSamples;
        o.faultCount = 3;
        o.noiseLevel = 1.5L;
        m.AppendRecord(chartgen::GenerateChart(o));
    }
    m.ComputeFullRange(true);
    m.SetViewToFull();
    m.SetReference(1);
    return m;
}

int RunWithQt(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The viewers started here record their charts in an archive of their
    // own, never the user's.
    const std::string data = (std::filesystem::temp_directory_path() / "lumidrax-bench-data").string();
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(data));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace lumidrax::bench
