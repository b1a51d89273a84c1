// The plot widget repaints only where the cursors are and were: that region
// must hold every pixel the renderer paints for a cursor, or a moved cursor
// leaves a trail behind.
#include "ChartRenderer.h"
#include "PlotWidget.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace lumidrax {
namespace {

TEST(CursorGeometry, RepaintRegionHoldsEveryPixelTheRendererPaints)
{
    // One chart of 11 samples one metre apart, from the bottom of the view
    // to the top and back, so that the cursors visit every edge.
    TMereni charts;
    TJednoMereni c;
    c.Interval = 10000;
    c.Velocity = 0.667L;
    c.Pozice0X = 1;
    c.SetSamples({-64, 63, -30, 0, 64, 10, -63, 40, -64, 63, 0});
    charts.AppendRecord(c);
    charts.ViewXMin = 0;
    charts.ViewXMax = 10;
    charts.ViewYMin = -64;
    charts.ViewYMax = 64;
    charts.ActiveIndex = 1;
    charts.RefIndex = 1;

    PlotWidget plot;
    plot.SetCharts(&charts);
    plot.resize(120, 90);
    for (int active = 1; active <= 11; ++active) {
        const int ref = 12 - active;
        charts.ActiveCursor = active;
        charts.RefCursor = ref;
        const QRegion region = plot.CursorRegion();
        QImage image(plot.size(), QImage::Format_RGB32);
        image.fill(Qt::black);
        QPainter painter(&image);
        ChartRenderer(plot.State()).PaintCursors(painter);
        painter.end();
        int painted = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if ((image.pixel(x, y) & 0xFFFFFF) != 0) {
                    ++painted;
                    EXPECT_TRUE(region.contains(QPoint(x, y)))
                        << "pixel (" << x << ", " << y << ") outside, cursors at samples " << active
                        << " and " << ref;
                }
        EXPECT_GT(painted, image.height()) << "both cursors painted";
    }
}

} // namespace
} // namespace lumidrax
