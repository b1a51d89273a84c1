#pragma once
// The colours the chart list draws with: palette entries 11 to 16 of the
// colour scheme (light or dark background).

#include <QColor>

namespace lumidrax {

struct ChartListColours {
    QColor Pen;           // entry 11
    QColor Background;    // entry 12: list background, unselected rows, number columns
    QColor SelectedPen;   // entry 13
    QColor SelectedBrush; // entry 14: selected rows from x = 32
    QColor Text;          // entry 15: text of unselected rows, numbers, current-item arrow
    QColor SelectedText;  // entry 16: text of selected rows

    static ChartListColours ForScheme(bool dark)
    {
        const QColor back = dark ? QColor(0, 0, 0) : QColor(255, 255, 255);
        const QColor fore = dark ? QColor(255, 255, 255) : QColor(0, 0, 0);
        const QColor blue(50, 150, 220);
        return ChartListColours{back, back, blue, blue, fore, QColor(255, 255, 255)};
    }
};

} // namespace lumidrax
