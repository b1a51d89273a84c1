#pragma once
// One open text report: received from an instrument or opened from a
// report file. The first four fields mean what they mean for a chart.

#include <cstdint>
#include <string>
#include <vector>

namespace lumidrax {

// Names one report for as long as the program runs; 0 names none.
using ReportId = std::uint64_t;

struct TReport {
    // Path the report will be saved under while it has no FileName yet.
    std::string AutoFileName;
    // Path of the file the report was read from or last saved to.
    std::string FileName;
    // Text shown in the report list: a path, the automatic name, or
    // "UNNAMED " and a number.
    std::string DisplayName;
    // The report's text equals its file.
    bool Saved = false;
    std::vector<std::string> Lines;
    // Given by the list when the report joins it.
    ReportId Id = 0;
};

} // namespace lumidrax
