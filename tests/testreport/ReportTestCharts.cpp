#include "ReportTestCharts.h"

#include "ChartGenerator.h"

#include <fstream>

namespace lumidrax::test {

namespace {

bool Write(const std::string& path, const chartgen::ChartOptions& o)
{
    std::ofstream out(path, std::ios::binary);
    out << chartgen::ChartText(chartgen::GenerateChart(o), o.form);
    return bool(out);
}

chartgen::ChartOptions Core(std::uint64_t seed)
{
    chartgen::ChartOptions o;
    o.form = chartgen::HeaderForm::Tokens23;
    o.seed = seed;
    o.sampleCount = 2500;
    o.interval = 2000;
    o.velocityPerMille = 680;
    o.pozice0X = 11;
    o.impedance = 75;
    o.noise = 3;
    o.negEdge = 0;
    o.cableLength = 318;
    o.faults = {{122, -16}, {240, 9}};
    o.statusIDX = 0;
    o.dcVoltageSingle = 0.12f;
    o.serialNumber = 40122;
    return o;
}

} // namespace

bool WriteReportCharts(const std::string& folder)
{
    chartgen::ChartOptions base = Core(1041);
    base.dcResistanceSingle = 25e6f;
    base.datumCas = "14.03.2012 09:41:07";
    base.description = "Substation 2, core 4, before";
    chartgen::ChartOptions after = Core(1042);
    after.faults.push_back({180, -12});
    after.dcResistanceSingle = 4e6f;
    after.datumCas = "02.04.2012 10:12:44";
    after.description = "Substation 2, core 4, after repair";
    return Write(folder + "/base.ndt", base) && Write(folder + "/after.ndt", after);
}

} // namespace lumidrax::test
