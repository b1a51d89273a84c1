#include "DCReading.h"

#include "NumberText.h"

#include <array>
#include <string_view>
#include <utility>

namespace lumidrax {

namespace {

// "[<|>] [blank] number [blank] unit" with one of the units and their factors.
template <std::size_t N>
std::optional<DCReading> Read(const std::string& text,
                              const std::array<std::pair<std::string_view, long double>, N>& units)
{
    std::string_view t = TrimBlanks(text);
    DCReading r;
    if (!t.empty() && (t.front() == '<' || t.front() == '>')) {
        r.Is = t.front() == '<' ? DCReading::Bound::Below : DCReading::Bound::Above;
        t = TrimBlanks(t.substr(1));
    }
    for (const auto& [unit, factor] : units) {
        if (t.size() <= unit.size() || t.substr(t.size() - unit.size()) != unit)
            continue;
        const std::optional<long double> v = ParseDecimal(TrimBlanks(t.substr(0, t.size() - unit.size())));
        if (!v)
            return std::nullopt;
        r.Value = *v * factor;
        return r;
    }
    return std::nullopt;
}

} // namespace

std::optional<DCReading> ReadResistanceText(const std::string& text)
{
    // The longer units first: "kOhm" ends in "Ohm" too.
    static constexpr std::array<std::pair<std::string_view, long double>, 3> kUnits = {
        {{"MOhm", 1e6L}, {"kOhm", 1e3L}, {"Ohm", 1}}};
    return Read(text, kUnits);
}

std::optional<DCReading> ReadVoltageText(const std::string& text)
{
    static constexpr std::array<std::pair<std::string_view, long double>, 1> kUnits = {{{"V", 1}}};
    return Read(text, kUnits);
}

} // namespace lumidrax
