#pragma once
// The DC values of a chart read back from the texts the instrument's values
// were shown as ("12,3 kOhm", "> 20 MOhm", "-0,60 V", "<-1V", "Not
// measured"): a value, or a bound when the text only says the value lies
// beyond one. The report judges what the user sees. No Qt.

#include <optional>
#include <string>

namespace lumidrax {

struct DCReading {
    enum class Bound { Exact, Below, Above };
    // In ohms or volts.
    long double Value = 0;
    // Exact: the value; Below: less than it; Above: more than it.
    Bound Is = Bound::Exact;
};

// A resistance text ("4 kOhm", "1,25 MOhm", ">20,50 MOhm", "< 0,1 kOhm",
// "> 20 MOhm", "350 Ohm"); nothing for any other ("---", "Not measured",
// "Non-measurable", an empty text).
std::optional<DCReading> ReadResistanceText(const std::string& text);
// A voltage text ("-0,60 V", "12 V", "<-1V", ">1V"); nothing for any other
// ("---", "Not measured", "Non-measurable", "Overload").
std::optional<DCReading> ReadVoltageText(const std::string& text);

} // namespace lumidrax
