#include "PlotWidget.h"

#include "PlotRules.h"

#include <QPaintEvent>
#include <QPainter>

namespace lumidrax {

PlotWidget::PlotWidget(QWidget* parent) : QWidget(parent), axisFont_(DefaultAxisFont())
{
    setObjectName(QStringLiteral("Plocha"));
    setToolTip(QStringLiteral("Chart"));
    setCursor(Qt::CrossCursor);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setMinimumSize(16, 16);
}

void PlotWidget::SetCharts(const TMereni* charts)
{
    charts_ = charts;
    InvalidateCurves();
}

void PlotWidget::SetColours(const Palette& colours)
{
    colours_ = colours;
    InvalidateCurves();
}

void PlotWidget::SetAxisFont(const QFont& font)
{
    axisFont_ = font;
    InvalidateCurves();
}

void PlotWidget::SetGrid(bool on)
{
    if (grid_ == on)
        return;
    grid_ = on;
    InvalidateCurves();
}

void PlotWidget::InvalidateCurves()
{
    dirty_ = true;
    update();
    emit ViewChanged();
}

void PlotWidget::UpdateCursors()
{
    update();
}

ChartViewState PlotWidget::State() const
{
    static const TMereni kNoCharts;
    ChartViewState s =
        ChartViewState::ForPlot(charts_ != nullptr ? *charts_ : kNoCharts, width(), height(), colours_);
    s.AxisFont = axisFont_;
    s.Grid = grid_;
    s.Minimised = window() != nullptr && window()->isMinimized();
    return s;
}

PlotWidget::CacheKey PlotWidget::CurrentKey() const
{
    CacheKey k;
    k.Width = width();
    k.Height = height();
    k.Dark = colours_.Dark();
    k.Grid = grid_;
    if (charts_ != nullptr) {
        k.XMin = charts_->ViewXMin;
        k.XMax = charts_->ViewXMax;
        k.YMin = charts_->ViewYMin;
        k.YMax = charts_->ViewYMax;
        k.LineWidth = charts_->LineWidth;
        k.Count = charts_->Count;
        k.ShownCount = charts_->ShownCount;
        k.RefIndex = charts_->RefIndex;
        k.Charts.reserve(static_cast<std::size_t>(charts_->Count));
        for (int i = 1; i <= charts_->Count; ++i) {
            const TJednoMereni& c = charts_->Rec(i);
            k.Charts.push_back((static_cast<std::uint64_t>(c.Color) << 1) | (c.Shown ? 1u : 0u));
        }
    }
    return k;
}

void PlotWidget::paintEvent(QPaintEvent*)
{
    const ChartRenderer renderer(State());
    QPainter painter(this);
    if (!renderer.HasCurves()) {
        renderer.PaintPlot(painter);
        return;
    }
    CacheKey key = CurrentKey();
    if (dirty_ || cache_.size() != size() || !(key == cacheKey_)) {
        if (cache_.size() != size())
            cache_ = QImage(size(), QImage::Format_RGB32);
        QPainter cachePainter(&cache_);
        renderer.PaintPlot(cachePainter);
        cachePainter.end();
        cacheKey_ = std::move(key);
        dirty_ = false;
        ++cacheRepaints_;
    }
    painter.drawImage(0, 0, cache_);
    renderer.PaintCursors(painter);
    painter.end();

    if (const auto text = CursorStatusText(*charts_)) {
        const QString status = QString::fromStdString(*text);
        if (!statusTextSent_ || status != statusText_) {
            statusText_ = status;
            statusTextSent_ = true;
            emit StatusTextChanged(status);
        }
    }
}

void PlotWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    dirty_ = true;
    emit ViewChanged();
}

} // namespace lumidrax
