#include "MeasurementComparability.h"

#include "NumberText.h"

#include <cmath>

namespace lumidrax {

namespace {

// Velocities are stored to three decimals, ranges to the sample step: less
// than this apart is the same value.
constexpr long double kVelocityTolerance = 0.0005L;
constexpr long double kRangeFraction = 1e-6L;
constexpr int kRangeDigits = 6;

std::string RangeText(long double metres)
{
    return FormatGeneral(metres, kRangeDigits) + " m";
}

} // namespace

std::vector<SettingDifference> CompareMeasurementSettings(const TJednoMereni& a, const TJednoMereni& b)
{
    std::vector<SettingDifference> out;
    auto add = [&out](const char* setting, const std::string& va, const std::string& vb, const char* effect) {
        out.push_back({setting, std::string(setting) + " " + va + " vs " + vb + ": " + effect});
    };
    if (!a.VerzeVKR.empty() && !b.VerzeVKR.empty() && a.VerzeVKR != b.VerzeVKR)
        add("model", a.VerzeVKR, b.VerzeVKR, "other instruments give other levels and pulses");
    if (a.Interval != b.Interval)
        add("interval", std::to_string(a.Interval), std::to_string(b.Interval),
            "the samples lie at other distances");
    if (std::fabs(a.Velocity - b.Velocity) >= kVelocityTolerance)
        add("velocity", FormatFixed(a.Velocity, 3), FormatFixed(b.Velocity, 3), "every distance scales");
    if (a.Impedance != b.Impedance)
        add("impedance", std::to_string(a.Impedance), std::to_string(b.Impedance),
            "every reflection level changes");
    if (a.Noise != b.Noise)
        add("pulse", std::to_string(a.Noise), std::to_string(b.Noise),
            "reflections have other widths and heights");
    if (a.Filter != b.Filter)
        add("filter", std::to_string(a.Filter), std::to_string(b.Filter), "the trace is smoothed otherwise");
    const long double rangeA = a.XEnd - a.XStart;
    const long double rangeB = b.XEnd - b.XStart;
    const long double scale = std::fmax(std::fabs(rangeA), std::fabs(rangeB));
    if (std::fabs(rangeA - rangeB) > scale * kRangeFraction)
        add("range", RangeText(rangeA), RangeText(rangeB), "the charts cover different lengths");
    return out;
}

std::string DifferenceLines(const std::vector<SettingDifference>& differences)
{
    std::string text;
    for (const SettingDifference& d : differences) {
        if (!text.empty())
            text += '\n';
        text += "- " + d.Text;
    }
    return text;
}

} // namespace lumidrax
