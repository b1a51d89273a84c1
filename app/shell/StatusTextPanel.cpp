#include "StatusTextPanel.h"

#include <QPainter>

namespace lumidrax {

StatusTextPanel::StatusTextPanel(QWidget* parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QSize StatusTextPanel::sizeHint() const
{
    return {0, fontMetrics().height() + 2};
}

QSize StatusTextPanel::minimumSizeHint() const
{
    return sizeHint();
}

void StatusTextPanel::setText(const QString& text)
{
    if (text == text_)
        return;
    text_ = text;
    setToolTip(fontMetrics().horizontalAdvance(text_) > width() ? text_ : QString());
    update();
}

void StatusTextPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    const QString shown = fontMetrics().elidedText(text_, Qt::ElideRight, width());
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter, shown);
}

} // namespace lumidrax
