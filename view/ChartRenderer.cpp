#include "ChartRenderer.h"

#include "CursorGeometry.h"
#include "CurveLines.h"
#include "PixelLines.h"
#include "PlotRules.h"
#include "TruncQuotient.h"

#include <QFontMetrics>
#include <QPaintEngine>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <span>

namespace lumidrax {

namespace {

// The frame of an empty plot, and the page colour round it.
constexpr RgbColor kEmptyFrameColour = 0x0000FF;
constexpr RgbColor kPageColour = 0xF0F0F0;
// What the cursors are XOR-drawn with on raster devices.
constexpr RgbColor kActiveCursorXor = 0xFFFFFF;
constexpr RgbColor kReferenceCursorXor = 0xFFFF00;

QColor ToQColor(RgbColor c)
{
    return QColor::fromRgb(static_cast<QRgb>(c & 0xFFFFFF));
}

bool IsRaster(const QPainter& painter);

// Sets single pixels in one colour. Unscaled raster devices get points of a
// one-pixel pen; vector devices (PDF, printers) get 1 x 1 squares, which every viewer
// shows, where a zero-length hairline may vanish.
void DrawPixels(QPainter& painter, const std::vector<Pixel>& pixels, QColor colour)
{
    if (pixels.empty())
        return;
    // A scaled raster page (an exported picture) gets squares as well, so
    // that a pixel grows with the page.
    if (IsRaster(painter) && painter.deviceTransform().type() <= QTransform::TxTranslate) {
        QPen pen(colour);
        pen.setWidth(0);
        pen.setCosmetic(true);
        painter.setPen(pen);
        std::vector<QPoint> points;
        points.reserve(pixels.size());
        for (const Pixel& p : pixels)
            points.emplace_back(p.X, p.Y);
        // In batches small enough that the raster engine fills them on this
        // thread: larger batches are handed to its thread pool, which costs
        // far more than the few pixels of a cursor.
        constexpr std::size_t kBatch = 64;
        for (std::size_t i = 0; i < points.size(); i += kBatch)
            painter.drawPoints(points.data() + i, static_cast<int>(std::min(kBatch, points.size() - i)));
        return;
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    std::vector<QRect> squares;
    squares.reserve(pixels.size());
    for (const Pixel& p : pixels)
        squares.emplace_back(p.X, p.Y, 1, 1);
    painter.drawRects(squares.data(), static_cast<int>(squares.size()));
}

bool IsRaster(const QPainter& painter)
{
    const QPaintEngine* engine = painter.paintEngine();
    return engine != nullptr && engine->type() == QPaintEngine::Raster;
}

void AppendSegments(std::vector<Pixel>& out, std::span<const CursorSegment> segments, LineStyle style)
{
    for (const CursorSegment& s : segments)
        AppendLinePixels(out, s.X1, s.Y1, s.X2, s.Y2, style);
}

} // namespace

ChartRenderer::ChartRenderer(const ChartViewState& state) : state_(state)
{
    const int shown = state_.Charts != nullptr ? state_.Charts->ShownCount : 0;
    state_.View.UpdateScales(shown, state_.Minimised);
    const QFontMetrics fm(state_.AxisFont);
    charWidth_ = fm.horizontalAdvance(QLatin1Char('0'));
    charHeight_ = fm.height();
    const ViewTransform& v = state_.View;
    ComputeAxisTicks(charWidth_, charHeight_, v.PlotHeight, ticksY_, Axis::Y, v.ViewYMax, v.ViewYMin);
    ComputeAxisTicks(charWidth_, charHeight_, v.PlotWidth, ticksX_, Axis::X, v.ViewXMax, v.ViewXMin);
    if (state_.Charts != nullptr)
        penWidth_ = CurvePenWidth(*state_.Charts, v.PixPerX);
}

bool ChartRenderer::HasCurves() const
{
    return state_.Charts != nullptr && state_.Charts->ShownCount >= 1 && state_.View.HasScales();
}

QSize ChartRenderer::PageSize() const
{
    return {state_.AxisYWidth + state_.View.PlotWidth, state_.View.PlotHeight + state_.AxisXHeight};
}

StripLayout ChartRenderer::LayoutY() const
{
    const QFontMetrics fm(state_.AxisFont);
    return LayoutAxisY(state_.View, ticksY_, state_.AxisYWidth, fm.height(), [&fm](const std::string& s) {
        return fm.horizontalAdvance(QString::fromStdString(s));
    });
}

StripLayout ChartRenderer::LayoutX() const
{
    const QFontMetrics fm(state_.AxisFont);
    return LayoutAxisX(
        state_.View, ticksX_, state_.AxisYWidth, state_.AxisYWidth + state_.View.PlotWidth,
        [&fm](const std::string& s) { return fm.horizontalAdvance(QString::fromStdString(s)); });
}

void ChartRenderer::PaintPlot(QPainter& painter) const
{
    const ViewTransform& v = state_.View;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (!HasCurves()) {
        // Empty state: a blue frame only; the inside keeps the page colour.
        std::vector<Pixel> frame;
        const int r = v.PlotWidth - 1;
        const int b = v.PlotHeight - 1;
        AppendLinePixels(frame, 0, 0, r, 0);
        AppendLinePixels(frame, r, 0, r, b);
        AppendLinePixels(frame, r, b, 0, b);
        AppendLinePixels(frame, 0, b, 0, 0);
        DrawPixels(painter, frame, ToQColor(kEmptyFrameColour));
        painter.restore();
        return;
    }
    painter.fillRect(QRect(0, 0, v.PlotWidth, v.PlotHeight),
                     ToQColor(state_.Colours.Entry(Palette::kPlotBackground)));
    painter.setClipRect(QRect(0, 0, v.PlotWidth, v.PlotHeight), Qt::IntersectClip);
    if (state_.Grid)
        PaintGrid(painter);
    PaintZeroLines(painter);
    PaintCurves(painter);
    painter.restore();
}

void ChartRenderer::PaintGrid(QPainter& painter) const
{
    const ViewTransform& v = state_.View;
    std::vector<Pixel> grid;
    for (long double x : TickValues(ticksX_.FirstMajor, ticksX_.MajorStep, v.ViewXMax)) {
        const int px = v.ValueToPixel(Axis::X, x);
        if (px >= 0)
            AppendLinePixels(grid, px, 0, px, v.PlotHeight, LineStyle::Dot);
    }
    for (long double y : TickValues(ticksY_.FirstMajor, ticksY_.MajorStep, v.ViewYMax)) {
        const int py = v.ValueToPixel(Axis::Y, y);
        AppendLinePixels(grid, 0, py, v.PlotWidth, py, LineStyle::Dot);
    }
    DrawPixels(painter, grid, ToQColor(state_.Colours.Entry(Palette::kGrid)));
}

void ChartRenderer::PaintZeroLines(QPainter& painter) const
{
    const ViewTransform& v = state_.View;
    std::vector<Pixel> lines;
    if (v.ViewYMin <= 0 && 0 <= v.ViewYMax) {
        const int py = v.ValueToPixel(Axis::Y, 0);
        AppendLinePixels(lines, 0, py, v.PlotWidth - 1, py, LineStyle::DashDot);
    }
    if (v.ViewXMin <= 0 && 0 <= v.ViewXMax) {
        const int px = v.ValueToPixel(Axis::X, 0);
        AppendLinePixels(lines, px, 0, px, v.PlotHeight - 1, LineStyle::DashDot);
    }
    DrawPixels(painter, lines, ToQColor(state_.Colours.Entry(Palette::kZeroLines)));
}

namespace {

// Calls dot(px, py) for every sample of chart `c` that lies in the view,
// walking the samples as the plot paint does: from the first visible sample
// while its distance is within the view, skipping samples outside the level
// range. Pixels are ValueToPixel's.
template <typename DotFn> void ForEachDot(const ViewTransform& v, const TJednoMereni& c, DotFn&& dot)
{
    int k = FirstVisibleSample(c, v.ViewXMin);
    long double x = SampleDistance(c, k);
    const int count = std::min<int>(c.SampleCount, static_cast<int>(c.Samples.size()));
    const TruncQuotient pixelX(v.XPerPix);
    const TruncQuotient pixelY(v.YPerPix);
    // Locals, so that the pixel writes of `dot` cannot make the compiler
    // reload them for every sample.
    const long double xMin = v.ViewXMin;
    const long double xMax = v.ViewXMax;
    const long double yMin = v.ViewYMin;
    const long double yMax = v.ViewYMax;
    const long double step = c.Step;
    const int height = v.PlotHeight;
    const long double* samples = c.Samples.data();
    for (; x <= xMax && k <= count; ++k, x += step) {
        const long double y = samples[k - 1];
        if (!(yMin <= y && y <= yMax))
            continue;
        dot(pixelX(x - xMin), height - pixelY(y - yMin));
    }
}

// Charts in painting order: every displayed chart but the reference, then
// the reference chart on top.
std::vector<int> PaintOrder(const TMereni& charts)
{
    std::vector<int> order;
    const bool hasRef = charts.RefIndex >= 1 && charts.RefIndex <= charts.Count;
    for (int i = 1; i <= charts.Count; ++i)
        if (i != charts.RefIndex && charts.Rec(i).Shown)
            order.push_back(i);
    if (hasRef)
        order.push_back(charts.RefIndex);
    return order;
}

} // namespace

std::optional<ChartRenderer::DirectTarget> ChartRenderer::DirectTargetFor(QPainter& painter) const
{
    QPaintDevice* device = painter.device();
    if (device == nullptr || device->devType() != QInternal::Image)
        return std::nullopt;
    auto* image = static_cast<QImage*>(device);
    const QImage::Format f = image->format();
    if (f != QImage::Format_RGB32 && f != QImage::Format_ARGB32 && f != QImage::Format_ARGB32_Premultiplied)
        return std::nullopt;
    const QTransform t = painter.deviceTransform();
    if (t.type() > QTransform::TxTranslate || t.dx() != std::trunc(t.dx()) || t.dy() != std::trunc(t.dy()))
        return std::nullopt;
    if (painter.compositionMode() != QPainter::CompositionMode_SourceOver || painter.opacity() != 1.0)
        return std::nullopt;

    const ViewTransform& v = state_.View;
    DirectTarget d;
    d.OriginX = static_cast<int>(t.dx());
    d.OriginY = static_cast<int>(t.dy());
    // Device pixels the plot may touch: the plot rectangle within the image.
    d.Left = std::max(d.OriginX, 0);
    d.Top = std::max(d.OriginY, 0);
    d.Right = std::min(d.OriginX + v.PlotWidth, image->width());    // exclusive
    d.Bottom = std::min(d.OriginY + v.PlotHeight, image->height()); // exclusive
    d.Bits = image->bits();
    d.Stride = image->bytesPerLine();
    return d;
}

void ChartRenderer::PaintDotsDirect(const DirectTarget& d, const TJednoMereni& c) const
{
    if (d.Left >= d.Right || d.Top >= d.Bottom)
        return;
    const ViewTransform& v = state_.View;
    const int half = DotHalf(penWidth_);
    const quint32 colour = 0xFF000000u | (c.Color & 0xFFFFFF);
    uchar* bits = d.Bits;
    const qsizetype stride = d.Stride;
    if (half < 1) {
        ForEachDot(v, c, [&](int px, int py) {
            const int dx = px + d.OriginX;
            const int dy = py + d.OriginY;
            if (dx >= d.Left && dx < d.Right && dy >= d.Top && dy < d.Bottom)
                reinterpret_cast<quint32*>(bits + dy * stride)[dx] = colour;
        });
        return;
    }
    ForEachDot(v, c, [&](int px, int py) {
        const int x0 = std::max(px + d.OriginX - half, d.Left);
        const int x1 = std::min(px + d.OriginX + half, d.Right);
        const int y0 = std::max(py + d.OriginY - half, d.Top);
        const int y1 = std::min(py + d.OriginY + half, d.Bottom);
        for (int y = y0; y < y1; ++y) {
            auto* line = reinterpret_cast<quint32*>(bits + y * stride);
            for (int x = x0; x < x1; ++x)
                line[x] = colour;
        }
    });
}

void ChartRenderer::PaintDots(QPainter& painter, const TJednoMereni& c) const
{
    const ViewTransform& v = state_.View;
    const int half = DotHalf(penWidth_);
    const QColor colour = ToQColor(c.Color);
    if (half < 1) {
        // One pixel per sample; samples falling on the same pixel as the
        // one before add nothing and are left out.
        std::vector<Pixel> pixels;
        pixels.reserve(static_cast<std::size_t>(std::min(c.SampleCount, 4 * v.PlotWidth + 16)));
        ForEachDot(v, c, [&](int px, int py) {
            if (pixels.empty() || !(pixels.back() == Pixel{px, py}))
                pixels.push_back({px, py});
        });
        DrawPixels(painter, pixels, colour);
        return;
    }
    std::vector<QRect> squares;
    ForEachDot(v, c, [&](int px, int py) {
        const QRect r(px - half, py - half, 2 * half, 2 * half);
        if (squares.empty() || squares.back() != r)
            squares.push_back(r);
    });
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawRects(squares.data(), static_cast<int>(squares.size()));
}

void ChartRenderer::PaintLine(QPainter& painter, const TJednoMereni& c) const
{
    const int width = state_.Charts->LineWidth >= 1 ? state_.Charts->LineWidth : 1;
    const std::vector<QLineF> segments = CurveLineSegments(state_.View, c, width + 2);
    if (segments.empty())
        return;
    QPen pen(ToQColor(c.Color));
    pen.setWidth(width);
    pen.setCapStyle(width > 1 ? Qt::RoundCap : Qt::SquareCap);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawLines(segments.data(), static_cast<int>(segments.size()));
}

void ChartRenderer::PaintCurves(QPainter& painter) const
{
    const std::optional<DirectTarget> direct = DirectTargetFor(painter);
    for (int i : PaintOrder(*state_.Charts)) {
        const TJednoMereni& c = state_.Charts->Rec(i);
        if (state_.Lines)
            PaintLine(painter, c);
        if (direct)
            PaintDotsDirect(*direct, c);
        else
            PaintDots(painter, c);
    }
}

void ChartRenderer::PaintCursors(QPainter& painter) const
{
    if (!HasCurves())
        return;
    const TMereni& charts = *state_.Charts;
    const ViewTransform& v = state_.View;
    const bool raster = IsRaster(painter);
    const RgbColor background = state_.Colours.Entry(Palette::kPlotBackground);
    // XOR on raster devices; elsewhere the colour XOR gives over the plot
    // background.
    auto colourFor = [&](RgbColor xorColour) {
        return ToQColor(raster ? xorColour : (xorColour ^ background));
    };
    // The brush left by the last curve painted (the reference chart when
    // there is one) fills the inside of the cursor shapes.
    const std::vector<int> order = PaintOrder(charts);
    const RgbColor brush = order.empty() ? 0x000000 : charts.Rec(order.back()).Color;

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setClipRect(QRect(0, 0, v.PlotWidth, v.PlotHeight), Qt::IntersectClip);
    if (raster)
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    for (const CursorGeometry& g : CursorGeometry::OnPlot(charts, v)) {
        const bool active = g.Type == CursorGeometry::Kind::Active;
        const QColor colour = colourFor(active ? kActiveCursorXor : kReferenceCursorXor);
        DrawPixels(painter, g.MarkerPixels(), colour);
        DrawPixels(painter, g.MarkerFill(), colourFor(brush));
        // The active cursor's line and arrow head are solid; the reference
        // cursor's are dotted.
        const auto segments = g.LineSegments();
        std::vector<Pixel> lines;
        AppendSegments(lines, segments, active ? LineStyle::Solid : LineStyle::Dot);
        AppendSegments(lines, g.LevelSegments(), LineStyle::Solid);
        DrawPixels(painter, lines, colour);
    }
    painter.restore();
}

namespace {

void PaintStrip(QPainter& painter, const QRect& strip, const StripLayout& layout, const Palette& colours,
                const QFont& font)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.fillRect(strip, ToQColor(colours.Entry(Palette::kAxisBackground)));
    painter.setClipRect(strip, Qt::IntersectClip);
    std::vector<Pixel> ticks;
    for (const StripLine& l : layout.Ticks)
        AppendLinePixels(ticks, l.X1, l.Y1, l.X2, l.Y2);
    DrawPixels(painter, ticks, ToQColor(colours.Entry(Palette::kAxisTicks)));
    painter.setFont(font);
    painter.setPen(ToQColor(colours.Entry(Palette::kAxisText)));
    const int ascent = QFontMetrics(font).ascent();
    for (const StripLabel& label : layout.Labels)
        painter.drawText(QPoint(label.X, label.Y + ascent), QString::fromStdString(label.Text));
    painter.restore();
}

} // namespace

void ChartRenderer::PaintAxisY(QPainter& painter) const
{
    if (!HasCurves())
        return;
    PaintStrip(painter, QRect(0, 0, state_.AxisYWidth, state_.View.PlotHeight), LayoutY(), state_.Colours,
               state_.AxisFont);
}

void ChartRenderer::PaintAxisX(QPainter& painter, int stripWidth) const
{
    if (!HasCurves())
        return;
    StripLayout layout =
        LayoutAxisX(state_.View, ticksX_, state_.AxisYWidth, stripWidth, [this](const std::string& s) {
            return QFontMetrics(state_.AxisFont).horizontalAdvance(QString::fromStdString(s));
        });
    PaintStrip(painter, QRect(0, 0, stripWidth, state_.AxisXHeight), layout, state_.Colours, state_.AxisFont);
    PaintEventMarks(painter);
}

void ChartRenderer::PaintEventMarks(QPainter& painter) const
{
    constexpr int kHalfWidth = 4;
    constexpr int kHeight = 6;
    const ViewTransform& v = state_.View;
    if (state_.EventMarks.empty() || !v.HasScales())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(ToQColor(state_.Colours.Entry(Palette::kAxisText)));
    for (const EventMark& mark : state_.EventMarks) {
        if (mark.Distance < v.ViewXMin || mark.Distance > v.ViewXMax)
            continue;
        const int x = state_.AxisYWidth + v.ValueToPixel(Axis::X, mark.Distance);
        const QPoint tip[3] = {{x, 0}, {x - kHalfWidth, kHeight}, {x + kHalfWidth, kHeight}};
        painter.setBrush(ToQColor(mark.Colour));
        painter.drawPolygon(tip, 3);
    }
    painter.restore();
}

void ChartRenderer::PaintPage(QPainter& painter) const
{
    const QSize page = PageSize();
    PaintAxisY(painter);
    painter.save();
    painter.translate(state_.AxisYWidth, 0);
    PaintPlot(painter);
    PaintCursors(painter);
    painter.restore();
    painter.save();
    painter.translate(0, state_.View.PlotHeight);
    PaintAxisX(painter, page.width());
    painter.restore();
}

QImage ChartRenderer::RenderPage() const
{
    const QSize size = PageSize();
    QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    // The page colour round an empty plot, as the window shows it.
    image.fill(ToQColor(kPageColour));
    QPainter painter(&image);
    PaintPage(painter);
    painter.end();
    return image;
}

} // namespace lumidrax
