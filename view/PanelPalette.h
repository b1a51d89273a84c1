#pragma once
// The colours of the chart page round the plot (the read-out panels, the
// event table, the list header, the splitters) for the colour scheme. In the
// dark scheme they get a dark palette, so that no light panel stands beside
// the black plot; in the light scheme they take the application's palette
// again.

#include <QColor>
#include <QPalette>

namespace lumidrax {

// A dark palette for the dark scheme; for the light one a palette with no
// colour set, which gives a widget back the colours it inherits.
QPalette PanelPalette(bool dark);

// The value boxes of the chart information panels: black on white, white on
// black in the dark scheme.
QColor InfoValueBackground(bool dark);
QColor InfoValueText(bool dark);

// A cursor read-out's box colour (light tints of green, cyan and red) as the
// dark scheme shows it: a dark shade of the same hue. Unchanged in the light
// scheme.
QColor ReadoutBackground(QRgb light, bool dark);
QColor ReadoutText(bool dark);

} // namespace lumidrax
