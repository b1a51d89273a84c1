#pragma once
// Everything the chart renderer needs to paint one chart view: the charts,
// the view window and plot size, the strip sizes, the palette and the axis
// font. A plain value; the screen widgets, printing and the command-line
// renderer each fill one and hand it to ChartRenderer.

#include "Palette.h"
#include "ViewTransform.h"

#include <QFont>

#include <vector>

namespace lumidrax {

// "Courier New" 8 points (11 pixels high), not antialiased; a fixed-pitch
// family of the system where that family is missing.
QFont DefaultAxisFont();

// An event marked at the top of the X strip: its distance and the colour of
// its chart.
struct EventMark {
    long double Distance = 0;
    RgbColor Colour = 0;
    bool operator==(const EventMark&) const = default;
};

struct ChartViewState {
    // Designed sizes of the axis strips.
    static constexpr int kAxisYWidth = 49;
    static constexpr int kAxisXHeight = 25;

    // The charts, their cursors and the line width. Not owned; must outlive
    // the renderer that paints it.
    const TMereni* Charts = nullptr;
    // View window and plot size; the renderer computes the scales.
    ViewTransform View;
    int AxisYWidth = kAxisYWidth;
    int AxisXHeight = kAxisXHeight;
    Palette Colours;
    QFont AxisFont = DefaultAxisFont();
    // Dotted grid at the major ticks (printing and clipboard only).
    bool Grid = false;
    // Samples joined by lines of the line width, the dots drawn over them;
    // otherwise the dots alone.
    bool Lines = false;
    // A minimised window paints with scales of 0.
    bool Minimised = false;
    // The events of the chart page's event table (the plot keeps them, so a
    // printed or copied view shows them too).
    std::vector<EventMark> EventMarks;

    // The collection's view window on a plot of the given size.
    static ChartViewState ForPlot(const TMereni& charts, int plotWidth, int plotHeight,
                                  const Palette& colours);
    // The whole page (Y strip + plot, X strip below) fitted into an image of
    // `pageWidth` x `pageHeight` pixels.
    static ChartViewState ForPage(const TMereni& charts, int pageWidth, int pageHeight,
                                  const Palette& colours);
};

} // namespace lumidrax
