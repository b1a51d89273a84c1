#include "ReportTestCharts.h"

#include "ChartMaker.h"

#include <fstream>

namespace lumidrax::test {

namespace {

bool Write(const std::string& path, const chartgen::ChartOptions& o)
{
    std::ofstream out(path, std::ios::binary);
    out << chartgen::ChartText(chartgen::GenerateChart(o), o.form);
    return bool(out);
}

// The core before or after the repair.
chartgen::ChartOptions Core(std::uint64_t seed, const std::string& description, const std::string& datumCas,
                            float dcResistance)
{
    chartgen::ChartOptions o =
        RecordedChartOptions(seed, 2500, description, datumCas, 40122, dcResistance, 0.12f, 0);
    o.interval = 2000;
    o.velocityPerMille = 680;
    o.pozice0X = 11;
    o.impedance = 75;
    o.noise = 3;
    o.negEdge = 0;
    o.cableLength = 318;
    o.faults = {{122, -16}, {240, 9}};
    return o;
}

} // namespace

bool WriteReportCharts(const std::string& folder)
{
    const chartgen::ChartOptions base =
        Core(1041, "Substation 2, core 4, before", "14.03.2012 09:41:07", 25e6f);
    chartgen::ChartOptions after =
        Core(1042, "Substation 2, core 4, after repair", "02.04.2012 10:12:44", 4e6f);
    after.faults.push_back({180, -12});
    return Write(folder + "/base.ndt", base) && Write(folder + "/after.ndt", after);
}

} // namespace lumidrax::test
