#pragma once
// The colours the chart list draws with: palette entries 11 to 16 of the
// colour scheme (light or dark background).

#include "Palette.h"

#include <QColor>

namespace lumidrax {

struct ChartListColours {
    QColor Pen;           // entry 11
    QColor Background;    // entry 12: list background, unselected rows, number columns
    QColor SelectedPen;   // entry 13
    QColor SelectedBrush; // entry 14: selected rows from x = 32
    QColor Text;          // entry 15: text of unselected rows, numbers, current-item arrow
    QColor SelectedText;  // entry 16: text of selected rows

    // The entries of the chart page's palette.
    static ChartListColours FromPalette(const Palette& palette)
    {
        const auto c = [&](int i) { return QColor::fromRgb(static_cast<QRgb>(palette.Entry(i))); };
        return ChartListColours{c(Palette::kListColour), c(Palette::kListBackground), c(Palette::kListMark),
                                c(Palette::kListMark2),  c(Palette::kListText),       c(Palette::kListWhite)};
    }

    static ChartListColours ForScheme(bool dark) { return FromPalette(Palette(dark)); }
};

} // namespace lumidrax
