#include "CsvExport.h"

#include "NumberText.h"

#include <algorithm>

namespace lumidrax::tool {

namespace {

std::string PointDecimals(long double value)
{
    std::string text = FormatFixed(value, 2);
    std::replace(text.begin(), text.end(), ',', '.');
    return text;
}

} // namespace

std::string ChartCsvText(const TJednoMereni& chart)
{
    std::string out = "Distance (m),Level (%)\r\n";
    out.reserve(out.size() + chart.Samples.size() * 16);
    for (int k = 1; k <= chart.SampleCount; ++k) {
        out += PointDecimals(SampleDistance(chart, k));
        out += ',';
        out += PointDecimals(chart.Sample(k));
        out += "\r\n";
    }
    return out;
}

} // namespace lumidrax::tool
