// Paints chart views offscreen into images and looks at the pixels: the
// curve colours, the axis strips and their labels, the dark scheme, the dot
// sizes of the line widths, the cursors and the empty state.
#include "ChartGenerator.h"
#include "ChartRenderer.h"
#include "ChartViewPanel.h"
#include "CursorGeometry.h"
#include "NumberText.h"
#include "PlotRules.h"
#include "TestSupport.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPicture>
#include <QSet>

#include <gtest/gtest.h>

#include <array>
#include <limits>

namespace lumidrax {
namespace {

constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kBlue = 0xFF4040FF;

int CountColour(const QImage& img, const QRect& area, QRgb colour)
{
    int n = 0;
    const QRect r = area.intersected(img.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += (img.pixel(x, y) | 0xFF000000) == colour;
    return n;
}

// The renderer's plot on an image of its size.
QImage PaintedPlot(const ChartRenderer& r)
{
    QImage img(r.View().PlotWidth, r.View().PlotHeight, QImage::Format_RGB32);
    QPainter p(&img);
    r.PaintPlot(p);
    return img;
}

// `img` with the renderer's cursors XOR-drawn over it.
QImage WithCursors(const ChartRenderer& r, const QImage& img)
{
    QImage out = img.copy();
    QPainter p(&out);
    r.PaintCursors(p);
    return out;
}

int CountNot(const QImage& img, const QRect& area, QRgb colour)
{
    const QRect r = area.intersected(img.rect());
    return r.width() * r.height() - CountColour(img, r, colour);
}

// Two example charts (red and blue) loaded from chart files.
class TwoCharts : public ::testing::Test {
  protected:
    void SetUp() override
    {
        for (int seed : {3, 8}) {
            chartgen::ChartOptions o;
            o.seed = static_cast<std::uint64_t>(seed);
            o.sampleCount = 2000;
            o.description = "Example " + std::to_string(seed);
            const std::string text =
                chartgen::ChartText(chartgen::GenerateChart(o), chartgen::HeaderForm::Tokens13);
            const std::string path = dir.Write("chart" + std::to_string(seed) + ".ndt", text);
            ASSERT_GT(charts.LoadChart(path), 0);
        }
        ASSERT_EQ(charts.ShownCount, 2);
    }

    test::TempDir dir;
    TMereni charts;
};

TEST_F(TwoCharts, ScreenshotShowsBothCurveColoursAndTheAxisLabels)
{
    const ChartRenderer r(ChartViewState::ForPage(charts, 800, 400, Palette(false)));
    const QImage page = r.RenderPage();
    ASSERT_EQ(page.size(), QSize(800, 400));
    const int w = r.View().PlotWidth;
    const int h = r.View().PlotHeight;
    ASSERT_EQ(w, 800 - 49);
    ASSERT_EQ(h, 400 - 25);
    const QRect plot(49, 0, w, h);
    EXPECT_GT(CountColour(page, plot, kRed), 200);
    EXPECT_GT(CountColour(page, plot, kBlue), 200);
    // Plot background white; the blue of chart 2 and the red of chart 1 do
    // not leak into the strips.
    EXPECT_EQ(page.pixel(49 + w - 1, 1) | 0xFF000000, 0xFFFFFFFF);
    const QRect stripY(0, 0, 49, h);
    const QRect stripX(0, h, 800, 25);
    EXPECT_EQ(CountColour(page, stripY, kRed) + CountColour(page, stripX, kBlue), 0);
    EXPECT_GT(CountNot(page, stripY, 0xFFFFFFFF), 50);
    EXPECT_GT(CountNot(page, stripX, 0xFFFFFFFF), 50);

    // The labels the tick algorithm produced are drawn where the layout put
    // them: ascending decimal-comma numbers one major step apart, each box
    // inked.
    const QFontMetrics fm(r.State().AxisFont);
    for (const auto& [layout, ticks, origin] : {std::tuple{r.LayoutY(), r.TicksY(), QPoint(0, 0)},
                                                std::tuple{r.LayoutX(), r.TicksX(), QPoint(0, h)}}) {
        ASSERT_GE(layout.Labels.size(), 3u);
        long double previous = 0;
        for (std::size_t i = 0; i < layout.Labels.size(); ++i) {
            const StripLabel& l = layout.Labels[i];
            const auto value = ParseDecimal(l.Text);
            ASSERT_TRUE(value.has_value()) << l.Text;
            if (ticks.Decimals > 0) {
                EXPECT_NE(l.Text.find(','), std::string::npos) << l.Text;
            }
            if (i > 0) {
                EXPECT_NEAR(static_cast<double>(*value - previous), static_cast<double>(ticks.MajorStep),
                            1e-9)
                    << l.Text;
            }
            previous = *value;
            const QRect box(origin + QPoint(l.X, l.Y),
                            QSize(fm.horizontalAdvance(QString::fromStdString(l.Text)), fm.height()));
            EXPECT_GT(CountNot(page, box, 0xFFFFFFFF), 3) << "label " << l.Text << " not drawn";
        }
    }
}

TEST_F(TwoCharts, DarkSchemePaintsOnBlack)
{
    Palette dark;
    ApplyColorScheme(dark, charts, true);
    const ChartRenderer r(ChartViewState::ForPage(charts, 640, 300, dark));
    const QImage page = r.RenderPage();
    const int h = r.View().PlotHeight;
    const QRect plot(49, 0, r.View().PlotWidth, h);
    EXPECT_EQ(page.pixel(49 + r.View().PlotWidth - 1, 1) | 0xFF000000, 0xFF000000);
    EXPECT_GT(CountColour(page, plot, kRed), 50);
    EXPECT_GT(CountColour(page, plot, kBlue), 50);
    EXPECT_EQ(page.pixel(0, 0) | 0xFF000000, 0xFF000000);             // strip background
    EXPECT_GT(CountColour(page, QRect(0, 0, 49, h), 0xFFFFFFFF), 20); // white ticks and labels
    EXPECT_GT(CountColour(page, QRect(0, h, 640, 25), 0xFFFFFFFF), 20);
    EXPECT_GT(CountColour(page, plot, 0xFFFFFF00), 20); // reference cursor: yellow XOR black
}

TEST_F(TwoCharts, CursorsAreXorDrawnAndADoubleDrawRestoresThePicture)
{
    charts.ActiveIndex = 2;
    charts.ActiveCursor = 700;
    charts.RefCursor = 300;
    const ChartRenderer r(ChartViewState::ForPlot(charts, 500, 300, Palette(false)));
    const QImage plain = PaintedPlot(r);
    const QImage once = WithCursors(r, plain);
    EXPECT_NE(once, plain);
    // The active cursor's line is white XOR white background: black.
    const int x = r.View().ValueToPixel(Axis::X, SampleDistance(charts.Rec(2), 700));
    EXPECT_EQ(once.pixel(x, 5) | 0xFF000000, 0xFF000000);
    EXPECT_EQ(plain.pixel(x, 5) | 0xFF000000, 0xFFFFFFFF);
    EXPECT_EQ(WithCursors(r, once), plain);
}

TEST_F(TwoCharts, TheReferenceCursorsArrowHeadIsDottedLikeItsLine)
{
    // Rows of the foot arrow's left barb that the cursor changes: every row
    // for a solid barb, every other one for a dotted barb.
    auto barbRows = [this](bool reference) {
        charts.ActiveIndex = reference ? 0 : 2;
        charts.ActiveCursor = reference ? 0 : 700;
        charts.RefIndex = reference ? 2 : 0;
        charts.RefCursor = reference ? 700 : 0;
        const ChartRenderer r(ChartViewState::ForPlot(charts, 500, 300, Palette(false)));
        const QImage plain = PaintedPlot(r);
        const QImage cursor = WithCursors(r, plain);
        const int x = r.View().ValueToPixel(Axis::X, SampleDistance(charts.Rec(2), 700));
        const int bottom = r.View().PlotHeight - 1;
        int rows = 0;
        for (int y = bottom - kCursorArrowLength; y < bottom; ++y)
            for (int bx = x - kCursorArrowHalfWidth; bx < x; ++bx)
                if (cursor.pixel(bx, y) != plain.pixel(bx, y)) {
                    ++rows;
                    break;
                }
        return rows;
    };
    EXPECT_EQ(barbRows(false), kCursorArrowLength);
    const int dotted = barbRows(true);
    EXPECT_GE(dotted, 3);
    EXPECT_LE(dotted, (kCursorArrowLength + 1) / 2);
}

TEST_F(TwoCharts, OrdinaryPaintCallsGiveTheSamePixelsAsTheDirectPath)
{
    for (int width : {1, 5}) {
        ASSERT_TRUE(SetLineWidth(charts, width));
        const ChartRenderer r(ChartViewState::ForPlot(charts, 700, 350, Palette(false)));
        QImage direct(700, 350, QImage::Format_RGB32);
        QImage generic(700, 350, QImage::Format_RGB888); // not written directly
        for (QImage* img : {&direct, &generic}) {
            QPainter p(img);
            r.PaintPlot(p);
        }
        EXPECT_EQ(direct, generic.convertToFormat(QImage::Format_RGB32)) << "line width " << width;
    }
}

TEST_F(TwoCharts, EveryDotLiesWhereValueToPixelPutsIt)
{
    // Zoomed views with awkward scales: the dots painted are exactly the
    // pixels ValueToPixel gives for the samples within the view.
    const TJednoMereni& c = charts.Rec(2);
    for (const auto& [x0, x1, y0, y1] :
         {std::array<long double, 4>{-3.3L, 137.1L, -23.7L, 41.3L},
          std::array<long double, 4>{10.0L, 40.7L, -1.01L, 1.01L},
          std::array<long double, 4>{-1e-3L, 400.0L / 3, -100.0L / 7, 100.0L / 3}}) {
        charts.ViewXMin = x0;
        charts.ViewXMax = x1;
        charts.ViewYMin = y0;
        charts.ViewYMax = y1;
        charts.RefIndex = 2;
        charts.ReleaseColourSlot(1);
        const ChartRenderer r(ChartViewState::ForPlot(charts, 613, 311, Palette(false)));
        ASSERT_EQ(r.PenWidth(), 1);
        QImage image(613, 311, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        r.PaintPlot(p);
        p.end();
        QSet<QPair<int, int>> expected;
        for (int k = 1; k <= c.SampleCount; ++k) {
            const long double x = SampleDistance(c, k);
            const long double y = c.Sample(k);
            if (x < x0 || x > x1 || y < y0 || y > y1)
                continue;
            const int px = r.View().ValueToPixel(Axis::X, x);
            const int py = r.View().ValueToPixel(Axis::Y, y);
            // Column 0 may also hold the sample just left of the view.
            if (px >= 1 && px < 613 && py >= 0 && py < 311)
                expected.insert({px, py});
        }
        ASSERT_GT(expected.size(), 10);
        for (const auto& [px, py] : expected)
            EXPECT_EQ(image.pixel(px, py) | 0xFF000000, kBlue) << px << "," << py;
        EXPECT_EQ(CountColour(image, QRect(1, 0, 612, 311), kBlue), expected.size());
    }
}

TEST_F(TwoCharts, VectorDevicesGetTheSamePicture)
{
    // A QPicture records like a PDF or printer does (no raster engine, no
    // direct pixel access); played back it must give the image's pixels.
    ASSERT_TRUE(SetLineWidth(charts, 1));
    charts.RefIndex = 0; // cursors aside: they are XOR only on raster devices
    const ChartRenderer r(ChartViewState::ForPage(charts, 640, 320, Palette(false)));
    QPicture picture;
    QPainter recorder(&picture);
    recorder.fillRect(QRect(QPoint(0, 0), r.PageSize()), QColor(240, 240, 240));
    r.PaintPage(recorder);
    recorder.end();
    QImage replayed(r.PageSize(), QImage::Format_RGB32);
    QPainter player(&replayed);
    player.drawPicture(0, 0, picture);
    player.end();
    EXPECT_EQ(replayed, r.RenderPage());
}

// One red chart of 11 samples at 32 %, one metre apart from 0 m.
class DotChart : public ::testing::Test {
  protected:
    void SetUp() override
    {
        TJednoMereni c;
        c.Interval = 10000;
        c.Velocity = 0.667L; // 0.99981 m per sample, kept as 1 m
        c.Pozice0X = 1;
        c.SetSamples(std::vector<long double>(11, 32));
        charts.AppendRecord(c);
        charts.ViewYMin = -64;
        charts.ViewYMax = 64;
    }
    int RedPixels(int lineWidth, long double xMin, long double xMax)
    {
        charts.LineWidth = lineWidth;
        charts.ViewXMin = xMin;
        charts.ViewXMax = xMax;
        const ChartRenderer r(ChartViewState::ForPlot(charts, 128, 128, Palette(false)));
        image = QImage(128, 128, QImage::Format_RGB32);
        QPainter p(&image);
        r.PaintPlot(p);
        return CountColour(image, image.rect(), kRed);
    }
    TMereni charts;
    QImage image;
};

TEST_F(DotChart, LineWidthsGiveDotsAndSquares)
{
    // 8 pixels per metre: dots at x = 8, 16, ... 88, y = 128 - 96 = 32.
    EXPECT_EQ(RedPixels(1, -1, 15), 11);
    EXPECT_EQ(image.pixel(8, 32) | 0xFF000000, kRed);
    EXPECT_EQ(RedPixels(3, -1, 15), 11 * 4); // 2 x 2 squares
    EXPECT_EQ(image.pixel(7, 31) | 0xFF000000, kRed);
    EXPECT_NE(image.pixel(9, 32) | 0xFF000000, kRed);
    EXPECT_EQ(RedPixels(5, -1, 15), 11 * 16); // 4 x 4 squares
    // 16 pixels per metre: more than 10, so the pen is 4 wider. Samples 0..7
    // lie in the view; the one at 7 m falls on x = 128, just outside the
    // plot, and only the left half of its square shows.
    EXPECT_EQ(RedPixels(1, -1, 7), 7 * 16 + 2 * 4);
    EXPECT_EQ(RedPixels(3, -1, 7), 7 * 36 + 3 * 6);
    // Samples outside the level range are skipped, not clipped to the edge.
    charts.Rec(1).Sample(4) = 70;
    EXPECT_EQ(RedPixels(1, -1, 15), 10);
}

TEST_F(DotChart, DegenerateViewsPaintAFrameInsteadOfHangingOrCrashing)
{
    const long double inf = std::numeric_limits<long double>::infinity();
    const long double nan = std::numeric_limits<long double>::quiet_NaN();
    const std::array<std::array<long double, 4>, 5> views = {{
        {5, 5, -64, 64},   // no width
        {0, 10, 3, 3},     // no height
        {0, inf, -64, 64}, // a sample of 1E5000 in a file gives such extents
        {nan, 10, -64, 64},
        {1e30L, 1e30L + 1e14L, -1e-30L, 1e-30L},
    }};
    for (const auto& w : views) {
        charts.ViewXMin = w[0];
        charts.ViewXMax = w[1];
        charts.ViewYMin = w[2];
        charts.ViewYMax = w[3];
        const ChartRenderer r(ChartViewState::ForPage(charts, 300, 200, Palette(false)));
        const QImage page = r.RenderPage();
        EXPECT_EQ(page.size(), QSize(300, 200));
        if (!r.HasCurves()) {
            EXPECT_EQ(page.pixel(49, 0) | 0xFF000000, 0xFF0000FF) << static_cast<double>(w[0]);
        }
    }
}

TEST(Renderer, WithoutDisplayedChartsOnlyABlueFrame)
{
    TMereni none;
    const ChartRenderer r(ChartViewState::ForPage(none, 300, 200, Palette(false)));
    EXPECT_FALSE(r.HasCurves());
    const QImage page = r.RenderPage();
    const QRgb pageColour = page.pixel(0, 0);
    EXPECT_EQ(page.pixel(49, 0) | 0xFF000000, 0xFF0000FF);
    EXPECT_EQ(page.pixel(299, 174) | 0xFF000000, 0xFF0000FF);
    EXPECT_EQ(page.pixel(49, 100) | 0xFF000000, 0xFF0000FF);
    EXPECT_EQ(page.pixel(150, 100), pageColour); // not filled
    EXPECT_EQ(page.pixel(10, 190), pageColour);  // strips left unpainted
}

TEST_F(TwoCharts, PlotWidgetRepaintsItsCurveCacheOnlyWhenTheViewChanges)
{
    ChartViewPanel panel;
    panel.SetCharts(&charts);
    panel.ApplyScheme(false, charts);
    panel.resize(600, 300);
    panel.show();
    PlotWidget* plot = panel.Plot();
    EXPECT_EQ(plot->objectName(), "Plocha");
    EXPECT_EQ(panel.AxisX()->objectName(), "OsaX");
    EXPECT_EQ(panel.AxisY()->width(), 49);
    EXPECT_EQ(panel.AxisX()->height(), 25);

    QStringList status;
    QObject::connect(plot, &PlotWidget::StatusTextChanged, [&status](const QString& t) { status << t; });
    QImage shot = panel.grab().toImage();
    EXPECT_EQ(plot->CacheRepaints(), 1);
    EXPECT_EQ(status, QStringList{"neni"}); // no active chart yet
    EXPECT_GT(CountColour(shot, QRect(49, 0, plot->width(), plot->height()), kRed), 50);
    EXPECT_GT(CountNot(shot, QRect(0, 0, 49, plot->height()), 0xFFFFFFFF), 50);
    // The X strip runs under the whole row; its ticks start at the plot's
    // left edge.
    const QRect stripX(0, plot->height(), 600, 25);
    EXPECT_GT(CountNot(shot, stripX, 0xFFFFFFFF), 50);
    EXPECT_EQ(CountNot(shot, QRect(0, plot->height(), 49, 9), 0xFFFFFFFF), 0);

    charts.RefCursor = 600;
    charts.ActiveIndex = 1;
    charts.ActiveCursor = 100;
    plot->UpdateCursors();
    const QImage moved = panel.grab().toImage();
    EXPECT_EQ(plot->CacheRepaints(), 1);
    EXPECT_NE(moved, shot);
    EXPECT_EQ(status, (QStringList{"neni", "Example 3"}));

    panel.InvalidateCurves();
    panel.grab();
    EXPECT_EQ(plot->CacheRepaints(), 2);

    charts.ViewXMax = charts.ViewXMin + (charts.ViewXMax - charts.ViewXMin) / 2; // a zoom
    panel.grab();
    EXPECT_EQ(plot->CacheRepaints(), 3);

    panel.ApplyScheme(true, charts);
    shot = panel.grab().toImage();
    EXPECT_EQ(plot->CacheRepaints(), 4);
    EXPECT_EQ(shot.pixel(49 + plot->width() - 1, 1) | 0xFF000000, 0xFF000000);

    ASSERT_TRUE(panel.SetLineWidth(3, charts));
    panel.grab();
    EXPECT_EQ(plot->CacheRepaints(), 5);
    EXPECT_FALSE(panel.SetLineWidth(4, charts));

    panel.resize(500, 300);
    panel.grab();
    EXPECT_EQ(plot->CacheRepaints(), 6);
}

} // namespace
} // namespace lumidrax

namespace lumidrax {
namespace {

TEST_F(TwoCharts, EventMarksSitOnTheXStripInTheirChartsColour)
{
    ChartViewState state = ChartViewState::ForPage(charts, 800, 400, Palette(false));
    const long double at = (state.View.ViewXMin + state.View.ViewXMax) / 2;
    state.EventMarks = {{at, 0x00FF00}, {state.View.ViewXMax + 100, 0x00FF00}};
    const ChartRenderer r(state);
    const QImage page = r.RenderPage();
    const int x = state.AxisYWidth + r.View().ValueToPixel(Axis::X, at);
    const QRect strip(0, state.View.PlotHeight, page.width(), state.AxisXHeight);
    EXPECT_GT(CountColour(page, QRect(x - 4, strip.top(), 9, 7), 0xFF00FF00), 6);
    // Only the mark in view is painted.
    EXPECT_EQ(CountColour(page, strip, 0xFF00FF00),
              CountColour(page, QRect(x - 4, strip.top(), 9, 7), 0xFF00FF00));
}

} // namespace
} // namespace lumidrax
