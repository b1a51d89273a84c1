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
    const qreal ratio = devicePixelRatioF();
    if (!drawn_.empty() && drawn_.begin()->second.devicePixelRatio() != ratio)
        drawn_.clear();
    auto at = drawn_.find(fill_.rgba());
    if (at == drawn_.end()) {
        QImage image(size() * ratio, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::transparent);
        QPainter p(&image);
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
        p.end();
        at = drawn_.emplace(fill_.rgba(), std::move(image)).first;
    }
    QPainter(this).drawImage(0, 0, at->second);
}

} // namespace lumidrax
