#pragma once
// `PrintInfo`: the info strip of the chart page above the plot, hidden on
// screen and shown only while the page is in its print layout.

#include "PrintInfo.h"

#include <QWidget>

namespace lumidrax {

class PrintInfoStrip : public QWidget {
    Q_OBJECT
  public:
    explicit PrintInfoStrip(QWidget* parent = nullptr);

    // Lays the strip out for `charts` at the strip's width and takes its
    // height.
    void SetCharts(const TMereni& charts, int width);
    const PrintInfoLayout& Layout() const { return layout_; }
    const QFont& InfoFont() const { return font_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QFont font_;
    PrintInfoLayout layout_;
};

} // namespace lumidrax
