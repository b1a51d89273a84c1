#include "PrintInfoStrip.h"

#include <QPainter>

namespace lumidrax {

PrintInfoStrip::PrintInfoStrip(QWidget* parent) : QWidget(parent), font_(PrintInfoFont())
{
    setObjectName("PrintInfo");
    setFont(font_);
    setFixedHeight(18);
    hide();
}

void PrintInfoStrip::SetCharts(const TMereni& charts, int width)
{
    layout_ = LayoutPrintInfo(charts, width, MetricsOf(font_));
    setFixedHeight(layout_.Height);
    update();
}

void PrintInfoStrip::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    PaintPrintInfo(painter, width(), layout_, font_);
}

} // namespace lumidrax
