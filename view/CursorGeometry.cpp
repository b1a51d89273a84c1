#include "CursorGeometry.h"

#include <algorithm>

namespace lumidrax {

namespace {

// The bottom row, where the tip of the foot arrow lies.
int Bottom(int plotHeight)
{
    return plotHeight - 1;
}

// The level arrow reaches as far in as the longer of its line and barbs.
constexpr int kLevelReach = std::max(kCursorLevelLineLength, kCursorArrowLength);

} // namespace

std::vector<CursorGeometry> CursorGeometry::OnPlot(const TMereni& charts, const ViewTransform& v)
{
    std::vector<CursorGeometry> cursors;
    auto add = [&](Kind kind, int chart, int index) {
        if (chart < 1 || chart > charts.Count)
            return;
        const TJednoMereni& c = charts.Rec(chart);
        if (index < 1 || index > c.SampleCount || index > static_cast<int>(c.Samples.size()))
            return;
        cursors.push_back({kind, v.ValueToPixel(Axis::X, SampleDistance(c, index)),
                           v.ValueToPixel(Axis::Y, c.Sample(index)), v.PlotHeight});
    };
    const int active = charts.ActiveIndex;
    if (active >= 1 && active <= charts.Count && charts.Rec(active).Shown)
        add(Kind::Active, active, charts.ActiveCursor);
    add(Kind::Reference, charts.RefIndex, charts.RefCursor);
    return cursors;
}

std::array<CursorSegment, 3> CursorGeometry::LineSegments() const
{
    const int bottom = Bottom(PlotHeight);
    const int barbTop = bottom - kCursorArrowLength;
    return {{
        {X, 0, X, PlotHeight},
        {X - kCursorArrowHalfWidth, barbTop, X, bottom},
        {X + kCursorArrowHalfWidth, barbTop, X, bottom},
    }};
}

std::vector<CursorSegment> CursorGeometry::LevelSegments() const
{
    if (Type != Kind::Active)
        return {};
    return {
        {0, Y, kCursorLevelLineLength, Y},
        {0, Y, kCursorArrowLength, Y - kCursorArrowHalfWidth},
        {0, Y, kCursorArrowLength, Y + kCursorArrowHalfWidth},
    };
}

std::vector<Pixel> CursorGeometry::MarkerPixels() const
{
    std::vector<Pixel> pixels;
    if (Type == Kind::Active)
        AppendCursorRing(pixels, X, Y);
    else
        AppendCursorSquare(pixels, X, Y);
    return pixels;
}

std::vector<Pixel> CursorGeometry::MarkerFill() const
{
    if (Type == Kind::Active)
        return {{X, Y}};
    std::vector<Pixel> inside;
    for (int dy = -kCursorSquareFillHalf; dy <= kCursorSquareFillHalf; ++dy)
        for (int dx = -kCursorSquareFillHalf; dx <= kCursorSquareFillHalf; ++dx)
            inside.push_back({X + dx, Y + dy});
    return inside;
}

QRect CursorGeometry::LineBounds() const
{
    // The line covers rows 0 .. bottom; the barbs start kCursorArrowLength
    // rows above the bottom, above row 0 on a very low plot.
    const int bottom = Bottom(PlotHeight);
    const int top = std::min(0, bottom - kCursorArrowLength);
    return QRect(QPoint(X - kCursorArrowHalfWidth, top), QPoint(X + kCursorArrowHalfWidth, bottom));
}

QRect CursorGeometry::MarkerBounds() const
{
    const int r = Type == Kind::Active ? kCursorRingRadius : kCursorSquareHalf;
    return QRect(QPoint(X - r, Y - r), QPoint(X + r, Y + r));
}

QRect CursorGeometry::LevelBounds() const
{
    if (Type != Kind::Active)
        return {};
    // End points are not painted: the last column is kLevelReach - 1.
    return QRect(QPoint(0, Y - kCursorArrowHalfWidth), QPoint(kLevelReach - 1, Y + kCursorArrowHalfWidth));
}

std::vector<QRect> CursorGeometry::RepaintRects(const QRect& plot) const
{
    std::vector<QRect> rects;
    constexpr int m = kCursorRepaintMargin;
    for (const QRect& r : {LineBounds(), MarkerBounds(), LevelBounds()}) {
        if (r.isEmpty())
            continue;
        const QRect grown = r.adjusted(-m, -m, m, m).intersected(plot);
        if (!grown.isEmpty())
            rects.push_back(grown);
    }
    return rects;
}

} // namespace lumidrax
