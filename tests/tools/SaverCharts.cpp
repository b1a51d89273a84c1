#include "SaverCharts.h"

#include "ChartGenerator.h"

#include <cstdio>

namespace lumidrax::test {

TJednoMereni SaverChart(int run, int number)
{
    chartgen::ChartOptions o;
    o.form = chartgen::HeaderForm::Tokens23;
    o.seed = static_cast<std::uint64_t>(run) * 1000 + static_cast<std::uint64_t>(number);
    // About 14 KB: the write of one chart spans several pages.
    o.sampleCount = 1800;
    o.description = "Bluetooth run " + std::to_string(run) + ", chart " + std::to_string(number);
    o.index = number;
    return chartgen::GenerateChart(o);
}

std::string SaverChartName(int run, int number)
{
    char name[32];
    std::snprintf(name, sizeof name, "r%02d-%02d.ndt", run, number);
    return name;
}

bool ParseSaverChartName(const std::string& name, int& run, int& number)
{
    char end = 0;
    return name.size() == 10 && std::sscanf(name.c_str(), "r%2d-%2d.nd%c", &run, &number, &end) == 3 &&
           end == 't' && name == SaverChartName(run, number);
}

} // namespace lumidrax::test
