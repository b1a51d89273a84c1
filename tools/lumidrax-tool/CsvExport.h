#pragma once
// A chart as CSV for spreadsheets and scripts: a header line, then one line
// per sample with the distance in metres and the level in percent, both with
// a decimal point and two decimals, separated by a comma; CR LF line ends.
//   Distance (m),Level (%)
//   -2.00,0.12

#include "TJednoMereni.h"

#include <string>

namespace lumidrax::tool {

std::string ChartCsvText(const TJednoMereni& chart);

} // namespace lumidrax::tool
