#include "DCTexts.h"

#include "NumberText.h"

namespace lumidrax {

std::string FormatDCVoltage(int status, int v)
{
    // Bit 6 is tested on the status as a two's-complement integer, so a
    // negative status such as -1 has it set too.
    if ((status & 64) != 0)
        v -= 256;
    const int c = status % 16; // C++ keeps the sign of the dividend
    switch (c) {
    case 0:
        return "Not measured";
    case 2:
        return FormatFixed(static_cast<long double>(v) / 10, 2) + " V";
    case 3:
        return std::to_string(v) + " V";
    case 8:
        return "Non-measurable";
    case 9:
        return "Overload";
    default:
        return FormatFixed(static_cast<long double>(v) / 100, 2) + " V";
    }
}

std::string FormatDCResistance(int status, int r)
{
    switch (status % 16) {
    case 0:
        return "Not measured";
    case 2:
    case 3:
    case 10:
        return "Non-measurable";
    case 4:
        return std::to_string(r) + " kOhm";
    case 5:
        return FormatFixed(static_cast<long double>(r) / 100, 2) + " MOhm";
    case 6:
        return FormatFixed(static_cast<long double>(r) / 10, 2) + " MOhm";
    case 7:
        return ">" + FormatFixed(static_cast<long double>(r) / 10, 2) + " MOhm";
    default:
        return "";
    }
}

std::string FormatResistanceOhms(long double ohms)
{
    if (ohms < 50)
        return "< 0,1 kOhm";
    if (ohms < 100000)
        return FormatFixed(ohms / 1000, 1) + " kOhm";
    if (ohms < 1000000)
        return FormatFixed(ohms / 1000, 0) + " kOhm";
    if (ohms < 20000000)
        return FormatFixed(ohms / 1000000, 1) + " MOhm";
    return "> 20 MOhm";
}

std::pair<std::string, std::string> FormatVKR104DCTexts(int status, float voltage, float resistance)
{
    std::pair<std::string, std::string> texts;
    if (status >= 128)
        texts.first = kNoDCValue;
    else if (voltage < -1.0f)
        texts.first = "<-1V";
    else if (voltage > 1.0f)
        texts.first = ">1V";
    else
        texts.first = FormatFixed(static_cast<long double>(voltage), 2) + " V";
    if (status > 128)
        status -= 128;
    texts.second = status >= 64 ? kNoDCValue : FormatResistanceOhms(static_cast<long double>(resistance));
    return texts;
}

} // namespace lumidrax
