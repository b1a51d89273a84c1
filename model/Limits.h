#pragma once
// Fixed limits of the chart collection and the curve colour table.

#include "TJednoMereni.h"

#include <array>

namespace lumidrax {

inline constexpr int kMaxCharts = 999;
inline constexpr int kMaxSamples = 10000;
inline constexpr int kMaxShown = 10;
inline constexpr int kColourSlots = 10;

enum class ColourScheme { Light, Dark };

// Colour of slot 1..10; slot 10 is black on the light background and white
// on the dark one.
inline RgbColor SlotColour(int slot, ColourScheme scheme = ColourScheme::Light)
{
    static constexpr std::array<RgbColor, 10> kTable = {
        0xFF0000, 0x4040FF, 0x00A000, 0xFF00FF, 0x00FFFF, 0x00FF00, 0xFF8000, 0xD0D000, 0x808080, 0x000000,
    };
    if (slot < 1 || slot > kColourSlots)
        return kWhite;
    if (slot == 10 && scheme == ColourScheme::Dark)
        return 0xFFFFFF;
    return kTable[static_cast<std::size_t>(slot - 1)];
}

} // namespace lumidrax
