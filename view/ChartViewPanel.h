#pragma once
// The plot row and X strip of the chart page in one widget: `OsaY` at the
// left, the plot `Plocha` filling the rest of the row, and `OsaX` across the
// whole width below. It keeps the palette (colour scheme) of the view.
//
// How the main window uses it:
//   auto* view = new ChartViewPanel(chartPage);   // between PrintInfo and VSplitter
//   view->SetCharts(&mereni);                     // the collection it owns
//   view->ApplyScheme(settings.InvertColors, mereni);  // first timer tick, and
//                                                 // mi_tools_invertClick
//   view->SetLineWidth(tag, mereni);              // mi_popup_width5Click
//   view->InvalidateCurves();   // charts loaded/closed/shown/hidden, zoom, shift,
//                               // ref. colour changed (SetReferenceColor), filters
//   view->UpdateCursors();      // cursor moved or active chart changed
//   connect(view->Plot(), &PlotWidget::StatusTextChanged, ...)  // status bar
//                               // panel 1 ("neni" / active chart's description);
//                               // CursorStatusText(mereni) gives the same text
//   LineWidthPicture(w)         // picture of the line width button
//   view->Plot()->State()       // the view for printing / the clipboard
//                               // (set Grid = true on the copy), painted with
//                               // ChartRenderer::PaintPage
// The palette's entries 12 and 15 colour the chart list and the
// description editor (Colours().Entry(Palette::kListBackground)).

#include "AxisStripWidget.h"
#include "PlotWidget.h"

#include <QPixmap>
#include <QWidget>

namespace lumidrax {

class ChartViewPanel : public QWidget {
    Q_OBJECT
  public:
    explicit ChartViewPanel(QWidget* parent = nullptr);

    PlotWidget* Plot() const { return plot_; }
    AxisStripWidget* AxisX() const { return axisX_; }
    AxisStripWidget* AxisY() const { return axisY_; }

    void SetCharts(const TMereni* charts) { plot_->SetCharts(charts); }
    // ApplyColorScheme on the palette and the charts, then repaint.
    void ApplyScheme(bool dark, TMereni& charts);
    bool Dark() const { return plot_->Colours().Dark(); }
    const Palette& Colours() const { return plot_->Colours(); }
    // The line width commands (1, 3 or 5); false for any other width.
    bool SetLineWidth(int width, TMereni& charts);

    void InvalidateCurves() { plot_->InvalidateCurves(); }
    void UpdateCursors() { plot_->UpdateCursors(); }

  private:
    PlotWidget* plot_;
    AxisStripWidget* axisX_;
    AxisStripWidget* axisY_;
};

// Picture of the line width button: a thin, medium or thick horizontal line
// on a 32 x 16 transparent picture (width 1, 3 or 5).
QPixmap LineWidthPicture(int width);

} // namespace lumidrax
