#include "EventOptions.h"

#include "NumberText.h"

#include <CLI/CLI.hpp>

#include <algorithm>

namespace lumidrax::tool {

std::optional<long double> Decimal(std::string text)
{
    std::replace(text.begin(), text.end(), '.', ',');
    return ParseDecimal(text);
}

EventParams EventOptions::Params() const
{
    EventParams params;
    if (!sensitivity.empty()) {
        const auto s = Decimal(sensitivity);
        if (!s || *s < EventParams::kMinSensitivity || *s > EventParams::kMaxSensitivity)
            throw CLI::ValidationError("--sensitivity", "wants a number from 0 to 9, not " + sensitivity);
        params.Sensitivity = *s;
    }
    if (!floor.empty()) {
        const auto f = Decimal(floor);
        if (!f || *f < EventParams::kMinLevelFloor || *f > EventParams::kMaxLevelFloor)
            throw CLI::ValidationError("--floor", "wants a level in percent from 0 to 50, not " + floor);
        params.LevelFloor = *f;
    }
    return params;
}

} // namespace lumidrax::tool
