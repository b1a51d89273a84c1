#pragma once
// Chart files for the report tests, made by the chart generator: a
// baseline of a 318 m power core with two faults, and the same core after a
// repair with a third fault and a lower insulation resistance.

#include <string>

namespace lumidrax::test {

// Writes base.ndt and after.ndt into `folder`; returns false on failure.
bool WriteReportCharts(const std::string& folder);

// A template every criterion of which the charts give an outcome for:
// the end passes, the new fault fails, the moves pass, the resistance
// fails, the voltage passes, no short before 100 m passes.
inline constexpr const char* kMixedTemplate = R"({
  "name": "Core 4 after repair",
  "criteria": [
    {"type": "end-length", "length": 315, "tolerance": 3},
    {"type": "new-events", "max-level": 3},
    {"type": "moved-events", "max-shift": "1,5"},
    {"type": "dc-resistance-min", "ohms": 10000000},
    {"type": "dc-voltage-max", "volts": "0,5"},
    {"type": "no-event-before", "kind": "short", "distance": 100}
  ]
})";

// Criteria the repaired chart meets without a baseline.
inline constexpr const char* kPassingTemplate = R"({
  "name": "Core 4, length and DC",
  "criteria": [
    {"type": "end-length", "length": 315, "tolerance": 3},
    {"type": "dc-resistance-min", "ohms": 1000000},
    {"type": "dc-voltage-max", "volts": "0,5"}
  ]
})";

} // namespace lumidrax::test
