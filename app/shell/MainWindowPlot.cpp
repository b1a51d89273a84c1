// The main window's part in the plot: status bar panel 1 (the active
// chart's description, or "neni"), the release that ends a file drop, the
// lines or dots of the charts, and
// the active cursor placed when the "Chart" page comes back.

#include "TFrm_main_Lumidrax32.h"

#include "ChartMenus.h"
#include "ChartNotifier.h"
#include "ChartPage.h"
#include "ChartViewPanel.h"
#include "IncomingFiles.h"

#include "StatusTextPanel.h"

#include <QAction>

#include <utility>

namespace lumidrax {

void TFrm_main_Lumidrax32::ConnectPlot()
{
    PlotWidget* plot = chartPage_->View()->Plot();
    connect(plot, &PlotWidget::StatusTextChanged, statusPanels_[1], &StatusTextPanel::setText);
    // A release while a batch of files from outside is opened (the end of a
    // drop, a click in another window) does not move the reference.
    plot->SetClickSuppression([this] { return incoming_->TakeClickSuppression(); });
    // "Join Samples by Lines" draws the charts that way on the screen, in
    // print and in exported pictures, and is kept in the settings.
    connect(chartMenus_->mi_tools_lines, &QAction::toggled, this, [this, plot](bool on) {
        settings_.JoinSamples = on;
        plot->SetLines(on);
    });
}

void TFrm_main_Lumidrax32::ClearStatusPanel1()
{
    statusPanels_[1]->clear();
    chartPage_->View()->Plot()->ForgetStatusText();
}

void TFrm_main_Lumidrax32::ChartPageShown()
{
    chartPage_->View()->Plot()->TrackCentre();
}

} // namespace lumidrax
