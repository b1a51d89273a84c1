#pragma once
// Whether two charts were measured so that their distances and levels can be
// compared: a chart compared with its cable's baseline is only meaningful
// when both came from the same kind of instrument with the same interval,
// velocity, impedance, pulse, filter and range. Pure, no Qt.

#include "TJednoMereni.h"

#include <string>
#include <vector>

namespace lumidrax {

struct SettingDifference {
    // "model", "interval", "velocity", "impedance", "pulse", "filter",
    // "range".
    std::string Setting;
    // What differs and what it does to the comparison, with the decimal
    // comma: "velocity 0,660 vs 0,620: every distance scales".
    std::string Text;
    bool operator==(const SettingDifference&) const = default;
};

// Every difference between the settings of chart a and chart b (a first in
// each text) that makes their distances or levels not comparable, in the
// order model, interval, velocity, impedance, pulse, filter, range. Empty:
// comparable. A model missing in either chart (old files) is no difference.
std::vector<SettingDifference> CompareMeasurementSettings(const TJednoMereni& a, const TJednoMereni& b);

// The differences as the lines of a question: "- " and the text, one line
// each, joined by '\n'.
std::string DifferenceLines(const std::vector<SettingDifference>& differences);

} // namespace lumidrax
