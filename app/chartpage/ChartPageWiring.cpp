#include "ChartPageWiring.h"

#include "ChartListPanel.h"
#include "ChartNotifier.h"
#include "ChartPage.h"
#include "ChartViewPanel.h"
#include "CursorReadoutPanels.h"

#include <QAction>
#include <QListWidget>

#include <memory>
#include <utility>

namespace lumidrax {

void ConnectChartPage(ChartPage& page, TMereni& charts, ChartNotifier& notifier, QAction* refInfoItem)
{
    PlotWidget* plot = page.View()->Plot();
    CursorReadoutPanels* readouts = page.Readouts();
    ChartListPanel* list = page.ListPanel();
    page.View()->SetCharts(&charts);
    plot->SetTrackedCharts(&charts);
    readouts->SetCharts(&charts);
    list->SetCollection(&charts);
    list->SetNotifier(&notifier);

    // The plot paints its curves anew when charts come, go, are shown or
    // hidden or change colour, and when the view window moves; the cursors
    // alone when the active or reference chart changes.
    for (auto signal :
         {&ChartNotifier::chartsAdded, &ChartNotifier::chartsRemoved, &ChartNotifier::viewChanged})
        QObject::connect(&notifier, signal, plot, &PlotWidget::InvalidateCurves);
    QObject::connect(&notifier, &ChartNotifier::chartsChanged, plot, [plot](ChartChanges what) {
        if (what & (ChartChange::Visibility | ChartChange::Colours))
            plot->InvalidateCurves();
    });
    QObject::connect(&notifier, &ChartNotifier::referenceChanged, plot, &PlotWidget::UpdateCursors);
    QObject::connect(&notifier, &ChartNotifier::activeChanged, plot, &PlotWidget::UpdateCursors);

    // The read-outs.
    QObject::connect(&notifier, &ChartNotifier::referenceChanged, readouts,
                     &CursorReadoutPanels::UpdateRefInfo);
    QObject::connect(&notifier, &ChartNotifier::activeChanged, readouts,
                     &CursorReadoutPanels::UpdateActiveInfo);
    for (auto signal : {&ChartNotifier::chartsRemoved, &ChartNotifier::viewChanged})
        QObject::connect(&notifier, signal, readouts, &CursorReadoutPanels::UpdateAll);
    QObject::connect(&notifier, &ChartNotifier::chartsChanged, readouts, &CursorReadoutPanels::UpdateAll);

    // The mouse over the plot moves the active cursor at every step: the
    // read-outs and the list's current row follow directly, without the
    // whole notification (the charts themselves do not change). The list
    // row followed last is remembered, so a move over the same chart does
    // not look through the rows again.
    auto followed = std::make_shared<std::pair<int, int>>(0, -1); // chart, row
    QObject::connect(plot, &PlotWidget::cursorMoved, readouts, [readouts, list, followed](int listChart) {
        readouts->UpdateActiveInfo();
        if (listChart <= 0)
            return;
        if (followed->first == listChart && followed->second == list->List()->currentRow())
            return;
        if (list->FollowChart(listChart))
            *followed = {listChart, list->List()->currentRow()};
    });
    // Another chart made active by the mouse is a change of the active
    // chart like any other: everyone that follows it (the event table, the
    // command states) hears of it, once per change, not at every step.
    QObject::connect(plot, &PlotWidget::activeChartChanged, &notifier,
                     [&notifier] { emit notifier.activeChanged(); });
    QObject::connect(plot, &PlotWidget::referenceSet, &notifier,
                     [&notifier] { emit notifier.referenceChanged(true); });

    if (refInfoItem != nullptr) {
        readouts->SetRefInfoVisible(refInfoItem->isChecked());
        // Enabled while there is a reference chart (from the command states).
        refInfoItem->setEnabled(charts.RefIndex > 0);
        QObject::connect(refInfoItem, &QAction::toggled, readouts, &CursorReadoutPanels::SetRefInfoVisible);
        QObject::connect(list, &ChartListPanel::commandStatesChanged, refInfoItem,
                         [refInfoItem](const ChartCommandStates& s) { refInfoItem->setEnabled(s.RefInfo); });
    }
}

} // namespace lumidrax
