#pragma once
// Display texts of the DC voltage and DC resistance measured by the
// instruments.

#include <string>
#include <utility>

namespace lumidrax {

inline constexpr const char* kNoDCValue = "---";

// Coded voltage of a VKR103 with its status code.
std::string FormatDCVoltage(int status, int v);
// Coded resistance of a VKR103 with its status code.
std::string FormatDCResistance(int status, int r);
// Resistance in ohms of a VKR104.
std::string FormatResistanceOhms(long double ohms);
// (DCVoltageStr, DCResistStr) of a VKR104 from its status byte and floats.
std::pair<std::string, std::string> FormatVKR104DCTexts(int status, float voltage, float resistance);

} // namespace lumidrax
