#include "ChartViewPanel.h"

#include "PlotRules.h"

#include <QGridLayout>
#include <QPainter>

namespace lumidrax {

ChartViewPanel::ChartViewPanel(QWidget* parent) : QWidget(parent)
{
    plot_ = new PlotWidget(this);
    axisY_ = new AxisStripWidget(Axis::Y, plot_, this);
    axisX_ = new AxisStripWidget(Axis::X, plot_, this);
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(axisY_, 0, 0);
    layout->addWidget(plot_, 0, 1);
    layout->addWidget(axisX_, 1, 0, 1, 2);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(0, 1);
}

void ChartViewPanel::ApplyScheme(bool dark, TMereni& charts)
{
    Palette colours;
    ApplyColorScheme(colours, charts, dark);
    plot_->SetColours(colours);
}

bool ChartViewPanel::SetLineWidth(int width, TMereni& charts)
{
    if (!lumidrax::SetLineWidth(charts, width))
        return false;
    plot_->InvalidateCurves();
    return true;
}

QPixmap LineWidthPicture(int width)
{
    QPixmap picture(32, 16);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    const int w = width < 1 ? 1 : width;
    painter.fillRect(QRect(2, 8 - w / 2, 28, w), Qt::black);
    return picture;
}

} // namespace lumidrax
