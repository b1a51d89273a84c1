#include "MarkerShape.h"

#include <QPainter>

namespace lumidrax {

MarkerShape::MarkerShape(Form form, QColor pen, QWidget* parent)
    : QWidget(parent), form_(form), pen_(pen), fill_(pen)
{
    setFixedSize(15, 15);
}

void MarkerShape::SetFill(QColor fill)
{
    if (fill == fill_)
        return;
    fill_ = fill;
    update();
}

void MarkerShape::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, form_ == Form::Circle);
    QPen pen(pen_);
    pen.setWidth(2);
    p.setPen(pen);
    p.setBrush(fill_);
    const QRect r = rect().adjusted(1, 1, -1, -1);
    if (form_ == Form::Circle)
        p.drawEllipse(r);
    else
        p.drawRect(r);
}

} // namespace lumidrax
