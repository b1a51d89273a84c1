#include "Palette.h"

#include "Limits.h"

namespace lumidrax {

void Palette::Fill(bool dark)
{
    dark_ = dark;
    const RgbColor back = dark ? 0x000000 : 0xFFFFFF;
    const RgbColor fore = dark ? 0xFFFFFF : 0x000000;
    constexpr RgbColor silver = 0xC0C0C0;
    constexpr RgbColor listBlue = 0x3296DC; // 50,150,220
    entries_ = {back,   back,   fore, fore, silver,   silver,   fore, back,    back,
                silver, silver, back, back, listBlue, listBlue, fore, 0xFFFFFF};
    const ColourScheme scheme = dark ? ColourScheme::Dark : ColourScheme::Light;
    for (int slot = 1; slot <= kColourSlots; ++slot)
        entries_[static_cast<std::size_t>(16 + slot)] = SlotColour(slot, scheme);
}

RgbColor Palette::SlotEntry(int slot) const
{
    if (slot < 1 || slot > kColourSlots)
        return kWhite;
    return Entry(16 + slot);
}

void ApplyColorScheme(Palette& palette, TMereni& charts, bool dark)
{
    palette.Fill(dark);
    charts.Scheme = dark ? ColourScheme::Dark : ColourScheme::Light;
    for (int i = 1; i <= charts.Count; ++i) {
        TJednoMereni& c = charts.Rec(i);
        if (c.ColorSlot >= 1 && !c.ColorChosen)
            c.Color = palette.SlotEntry(c.ColorSlot);
    }
}

} // namespace lumidrax
