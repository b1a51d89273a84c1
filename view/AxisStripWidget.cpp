#include "AxisStripWidget.h"

#include "ChartRenderer.h"
#include "PlotWidget.h"

#include <QPainter>

namespace lumidrax {

AxisStripWidget::AxisStripWidget(Axis axis, PlotWidget* plot, QWidget* parent)
    : QWidget(parent), axis_(axis), plot_(plot)
{
    if (axis == Axis::X) {
        setObjectName(QStringLiteral("OsaX"));
        setToolTip(QStringLiteral("X-Axe"));
        setFixedHeight(ChartViewState::kAxisXHeight);
    } else {
        setObjectName(QStringLiteral("OsaY"));
        setToolTip(QStringLiteral("Y-Axe"));
        setFixedWidth(ChartViewState::kAxisYWidth);
    }
    connect(plot, &PlotWidget::ViewChanged, this, qOverload<>(&QWidget::update));
    if (axis == Axis::X)
        connect(plot, &PlotWidget::EventMarksChanged, this, qOverload<>(&QWidget::update));
}

void AxisStripWidget::paintEvent(QPaintEvent*)
{
    ChartViewState state = plot_->State();
    state.AxisYWidth = axis_ == Axis::Y ? width() : ChartViewState::kAxisYWidth;
    // The X strip starts at the page's left edge: the plot's left edge lies
    // at its own offset within the strip's parent.
    if (axis_ == Axis::X)
        state.AxisYWidth = plot_->mapTo(window(), QPoint(0, 0)).x() - mapTo(window(), QPoint(0, 0)).x();
    const ChartRenderer renderer(state);
    QPainter painter(this);
    if (axis_ == Axis::Y)
        renderer.PaintAxisY(painter);
    else
        renderer.PaintAxisX(painter, width());
}

} // namespace lumidrax
