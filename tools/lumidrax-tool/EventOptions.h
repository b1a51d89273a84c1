#pragma once
// The event detection options of events and report, --sensitivity and
// --floor, as given on the command line (a decimal comma or point).

#include "EventDetection.h"

#include <optional>
#include <string>

namespace lumidrax::tool {

struct EventOptions {
    std::string sensitivity;
    std::string floor;

    // The detection parameters with the options given; throws
    // CLI::ValidationError for a value out of range or no number.
    EventParams Params() const;
};

// A decimal number given with a decimal comma or point.
std::optional<long double> Decimal(std::string text);

} // namespace lumidrax::tool
