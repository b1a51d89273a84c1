#pragma once
// One open text report: received from an instrument or opened from a
// report file. The first four fields mean what they mean for a chart.

#include <string>
#include <vector>

namespace lumidrax {

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
};

} // namespace lumidrax
