#include "HistoryPlot.h"

#include "NumberText.h"

#include <QDateTime>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace lumidrax {

namespace {

constexpr int kMargin = 36;
constexpr int kDot = 3;

} // namespace

HistoryPlot::HistoryPlot(std::vector<HistoryPoint> points, QWidget* parent)
    : QWidget(parent), points_(std::move(points))
{
    setObjectName("HistoryPlot");
    setMinimumSize(240, 120);
}

void HistoryPlot::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().base());
    const QRect area = rect().adjusted(kMargin + 20, 8, -12, -kMargin + 8);
    p.setPen(palette().text().color());
    p.drawRect(area);
    if (points_.empty()) {
        p.drawText(area, Qt::AlignCenter, tr("No chart of this cable has an end."));
        return;
    }
    const auto [tMin, tMax] =
        std::minmax_element(points_.begin(), points_.end(), [](auto& a, auto& b) { return a.Time < b.Time; });
    const auto [dMin, dMax] = std::minmax_element(
        points_.begin(), points_.end(), [](auto& a, auto& b) { return a.EndDistance < b.EndDistance; });
    const double t0 = tMin->Time, t1 = std::max(tMax->Time, t0 + 1);
    double d0 = dMin->EndDistance, d1 = dMax->EndDistance;
    const double pad = std::max((d1 - d0) * 0.1, 1.0);
    d0 -= pad;
    d1 += pad;
    const auto at = [&](const HistoryPoint& h) {
        const double x =
            points_.size() == 1 ? area.center().x() : area.left() + (h.Time - t0) / (t1 - t0) * area.width();
        return QPointF(x, area.bottom() - (h.EndDistance - d0) / (d1 - d0) * area.height());
    };
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath line;
    for (std::size_t k = 0; k < points_.size(); ++k)
        k == 0 ? line.moveTo(at(points_[k])) : line.lineTo(at(points_[k]));
    p.setPen(QPen(palette().highlight().color(), 2));
    p.drawPath(line);
    p.setBrush(palette().highlight());
    for (const HistoryPoint& h : points_)
        p.drawEllipse(at(h), kDot, kDot);
    p.setPen(palette().text().color());
    const auto metres = [](double v) { return QString::fromStdString(FormatFixed(v, 1) + " m"); };
    p.drawText(QRect(0, area.top() - 6, kMargin + 16, 14), Qt::AlignRight, metres(d1));
    p.drawText(QRect(0, area.bottom() - 8, kMargin + 16, 14), Qt::AlignRight, metres(d0));
    const auto date = [](double t) {
        return QDateTime::fromSecsSinceEpoch(static_cast<qint64>(t)).toString("yyyy-MM-dd");
    };
    p.drawText(QRect(area.left(), area.bottom() + 4, area.width(), 14), Qt::AlignLeft, date(t0));
    p.drawText(QRect(area.left(), area.bottom() + 4, area.width(), 14), Qt::AlignRight, date(t1));
}

} // namespace lumidrax
