#pragma once
// Paints a chart view onto any QPainter: the plot (background, grid, zero
// lines, the displayed charts as sample dots, or as lines joining the
// samples when the state asks for them), the active and reference
// cursors, and the two axis strips with their ticks and labels. The screen
// widgets, printing, the clipboard image and `lumidrax-tool render` all use
// it, so every output looks the same.
//
// Page layout painted by PaintPage (sizes from the state):
//   +--------+---------------------------+
//   | OsaY   | plot (PlotWidth x         |
//   | 49 wide|       PlotHeight)         |
//   +--------+---------------------------+
//   | OsaX, 25 high, across the page     |
//   +------------------------------------+
//
// On a 32-bit QImage painted without scaling the sample dots are written
// straight into the image's memory (the fast path); every other device (PDF,
// printer, widgets) gets the same pixels through ordinary QPainter calls.

#include "AxisTicks.h"
#include "ChartViewState.h"

#include <QImage>
#include <QSize>

#include <optional>

class QPainter;

namespace lumidrax {

class ChartRenderer {
  public:
    // Takes a copy of the state, computes the scales (UpdateScales) and the
    // tick records of both axes.
    explicit ChartRenderer(const ChartViewState& state);

    const ChartViewState& State() const { return state_; }
    const ViewTransform& View() const { return state_.View; }
    // True when at least one chart is displayed (and the window not
    // minimised): otherwise the plot shows its blue frame and the strips are
    // not painted.
    bool HasCurves() const;
    // Tick records as the last axis paint leaves them (the grid uses them).
    const TAxisTicks& TicksX() const { return ticksX_; }
    const TAxisTicks& TicksY() const { return ticksY_; }
    // Where the strips' ticks and labels go (for painting and for tests).
    StripLayout LayoutY() const;
    StripLayout LayoutX() const;
    // Pen width of the curves in this view (line width, + 4 when zoomed in).
    int PenWidth() const { return penWidth_; }

    // The plot area with its top left corner at the painter's origin:
    // background, grid (when asked), zero lines and curves; no cursors. Stops
    // after a blue frame when nothing is displayed.
    void PaintPlot(QPainter& painter) const;
    // Both cursors, XOR-drawn on raster devices (painting them twice restores
    // the picture); on other devices in the colour XOR would give over the
    // plot background. Plot origin at the painter's origin.
    void PaintCursors(QPainter& painter) const;
    // The Y strip (AxisYWidth x PlotHeight) at the painter's origin.
    void PaintAxisY(QPainter& painter) const;
    // The X strip (stripWidth x AxisXHeight) at the painter's origin; the
    // plot's left edge is at x = AxisYWidth. The event marks go on top.
    void PaintAxisX(QPainter& painter, int stripWidth) const;
    // The whole page: strips, plot and cursors.
    void PaintPage(QPainter& painter) const;
    QSize PageSize() const;

    // The whole page painted into a new RGB32 image.
    QImage RenderPage() const;

  private:
    // Where the dots can be written straight into an image's memory.
    struct DirectTarget {
        uchar* Bits = nullptr;
        qsizetype Stride = 0;
        int OriginX = 0, OriginY = 0;                 // plot origin in the image
        int Left = 0, Top = 0, Right = 0, Bottom = 0; // plot pixels in the image
    };
    // A target when the painter paints an unscaled 32-bit image.
    std::optional<DirectTarget> DirectTargetFor(QPainter& painter) const;
    void PaintCurves(QPainter& painter) const;
    void PaintDotsDirect(const DirectTarget& target, const TJednoMereni& c) const;
    void PaintDots(QPainter& painter, const TJednoMereni& c) const;
    // The chart's samples joined by lines of the line width.
    void PaintLine(QPainter& painter, const TJednoMereni& c) const;
    void PaintZeroLines(QPainter& painter) const;
    void PaintGrid(QPainter& painter) const;
    // A small triangle in the chart's colour under each event mark in view,
    // its tip on the strip's top edge.
    void PaintEventMarks(QPainter& painter) const;

    ChartViewState state_;
    TAxisTicks ticksX_;
    TAxisTicks ticksY_;
    int charWidth_ = 0;
    int charHeight_ = 0;
    int penWidth_ = 1;
};

} // namespace lumidrax
