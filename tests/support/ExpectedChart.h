#pragma once
// A chart's fields as a test expects them: only the fields given are
// checked, so each test names just what it is about.

#include "TJednoMereni.h"

#include <optional>
#include <string>
#include <vector>

namespace lumidrax::test {

struct ExpectedChart {
    std::optional<std::string> VerzeVKR = std::nullopt;
    std::optional<int> Index = std::nullopt;
    std::optional<std::string> Description = std::nullopt;
    std::optional<int> SeriePrvni = std::nullopt;
    std::optional<int> SeriePosledni = std::nullopt;
    std::optional<int> Interval = std::nullopt;
    std::optional<long double> Velocity = std::nullopt;
    std::optional<int> Impedance = std::nullopt;
    std::optional<int> Noise = std::nullopt;
    std::optional<int> DC = std::nullopt;
    std::optional<int> Filter = std::nullopt;
    std::optional<int> Pozice0X = std::nullopt;
    std::optional<int> Pozice0Y = std::nullopt;
    std::optional<float> Pozice0YSingle = std::nullopt;
    std::optional<int> NegEdge = std::nullopt;
    std::optional<int> StatusIDX = std::nullopt;
    std::optional<int> FilterPost = std::nullopt;
    std::optional<int> DCResistance = std::nullopt;
    std::optional<int> DCVoltage = std::nullopt;
    std::optional<float> DCResistanceSingle = std::nullopt;
    std::optional<float> DCVoltageSingle = std::nullopt;
    std::optional<std::string> DCVoltageStr = std::nullopt;
    std::optional<std::string> DCResistStr = std::nullopt;
    std::optional<std::string> DatumCas = std::nullopt;
    std::optional<int> SerialNumber = std::nullopt;
    std::optional<int> SampleCount = std::nullopt;
    std::optional<std::vector<long double>> Samples = std::nullopt;
    std::optional<std::string> DisplayName = std::nullopt;
    std::optional<std::string> FileName = std::nullopt;
    std::optional<std::string> AutoFileName = std::nullopt;
    std::optional<bool> Saved = std::nullopt;
    std::optional<bool> IsNew = std::nullopt;
};

// One EXPECT per field given; a failure names the field.
void ExpectChart(const TJednoMereni& c, const ExpectedChart& e);

} // namespace lumidrax::test
