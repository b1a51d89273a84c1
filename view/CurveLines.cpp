#include "CurveLines.h"

#include "PlotRules.h"

#include <algorithm>

namespace lumidrax {

bool ClipSegment(QPointF& a, QPointF& b, double left, double top, double right, double bottom)
{
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    double t0 = 0;
    double t1 = 1;
    // Each edge: p * t <= q keeps the point inside.
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - left, right - a.x(), a.y() - top, bottom - a.y()};
    for (int e = 0; e < 4; ++e) {
        if (p[e] == 0) {
            if (q[e] < 0)
                return false;
            continue;
        }
        const double t = q[e] / p[e];
        if (p[e] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    const QPointF start = a;
    a = QPointF(start.x() + t0 * dx, start.y() + t0 * dy);
    b = QPointF(start.x() + t1 * dx, start.y() + t1 * dy);
    return true;
}

std::vector<QLineF> CurveLineSegments(const ViewTransform& v, const TJednoMereni& c, int margin)
{
    std::vector<QLineF> out;
    const int count = std::min<int>(c.SampleCount, static_cast<int>(c.Samples.size()));
    if (count < 2 || !v.HasScales())
        return out;
    const double left = -margin;
    const double top = -margin;
    const double right = v.PlotWidth + margin;
    const double bottom = v.PlotHeight + margin;
    // The sample before the first visible one, walked as the dots are.
    int k = std::max(FirstVisibleSample(c, v.ViewXMin) - 1, 1);
    long double x = SampleDistance(c, k);
    QPoint previous(v.ValueToPixel(Axis::X, x), v.ValueToPixel(Axis::Y, c.Samples[k - 1]));
    for (++k, x += c.Step; k <= count; ++k, x += c.Step) {
        const QPoint p(v.ValueToPixel(Axis::X, x), v.ValueToPixel(Axis::Y, c.Samples[k - 1]));
        if (p != previous) {
            QPointF a = previous;
            QPointF b = p;
            if (ClipSegment(a, b, left, top, right, bottom))
                out.emplace_back(a, b);
            previous = p;
        }
        if (x > v.ViewXMax)
            break;
    }
    return out;
}

} // namespace lumidrax
