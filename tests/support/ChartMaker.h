#pragma once
// Generator options of a chart as an instrument records it, for the tests
// that keep or report charts with their own description, date, serial
// number and DC readings.

#include "ChartGenerator.h"

#include <cstdint>
#include <string>

namespace lumidrax::test {

// The trace of `seed` with `samples` samples in `form`, with its
// description, date ("DD.MM.YYYY hh:mm:ss"), serial number, DC readings as
// the VKR104 gives them (insulation resistance in ohms, voltage in volts)
// and the status of the DC measurement.
chartgen::ChartOptions RecordedChartOptions(std::uint64_t seed, int samples, const std::string& description,
                                            const std::string& datumCas, int serial, float dcResistance,
                                            float dcVoltage, int statusIDX,
                                            chartgen::HeaderForm form = chartgen::HeaderForm::Tokens23);

} // namespace lumidrax::test
