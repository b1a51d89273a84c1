#pragma once
// One axis strip of the chart page: `OsaY` (49 wide, left of the plot, as
// high as the plot) or `OsaX` (25 high, under the plot row, starting at the
// page's left edge). Paints through ChartRenderer with the plot widget's
// view; repaints whenever the plot's view changes.

#include "ViewTransform.h"

#include <QWidget>

namespace lumidrax {

class PlotWidget;

class AxisStripWidget : public QWidget {
    Q_OBJECT
  public:
    AxisStripWidget(Axis axis, PlotWidget* plot, QWidget* parent = nullptr);
    Axis StripAxis() const { return axis_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    Axis axis_;
    PlotWidget* plot_;
};

} // namespace lumidrax
