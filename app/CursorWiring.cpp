#include "CursorWiring.h"

#include "ChartInfoPanel.h"
#include "ChartListPanel.h"
#include "ChartPage.h"
#include "ChartViewPanel.h"
#include "CursorReadoutPanels.h"

#include <QAction>
#include <QListWidget>
#include <QSignalBlocker>

#include <memory>
#include <utility>

namespace lumidrax {
namespace {

int RowOf(QListWidget* list, int chart)
{
    for (int row = 0; row < list->count(); ++row)
        if (list->item(row)->text().toInt() == chart)
            return row;
    return -1;
}

} // namespace

bool FollowInList(ChartListPanel& panel, int chart)
{
    QListWidget* list = panel.List();
    const QListWidgetItem* current = list->currentItem();
    if (current != nullptr && current->text().toInt() == chart)
        return true;
    const int row = RowOf(list, chart);
    if (row < 0)
        return false;
    {
        const QSignalBlocker block(list);
        list->setCurrentRow(row, QItemSelectionModel::NoUpdate);
    }
    panel.RepaintList();
    return true;
}

void SelectOnlyInList(ChartListPanel& panel, int chart)
{
    QListWidget* list = panel.List();
    if (list->count() == 0)
        return;
    int row = RowOf(list, chart);
    if (row < 0)
        row = 0;
    {
        const QSignalBlocker block(list);
        list->clearSelection();
        list->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    }
    panel.RepaintList();
}

void ConnectCursors(ChartPage& page, TMereni& charts, QAction* refInfoItem)
{
    PlotWidget* plot = page.View()->Plot();
    CursorReadoutPanels* readouts = page.Readouts();
    ChartListPanel* list = page.ListPanel();
    plot->SetTrackedCharts(&charts);
    readouts->SetCharts(&charts);

    // The list row followed last: a move over the same chart does not look
    // through the rows again.
    auto followed = std::make_shared<std::pair<int, int>>(0, -1); // chart, row
    QObject::connect(plot, &PlotWidget::cursorMoved, readouts, [readouts, list, followed](int listChart) {
        readouts->UpdateActiveInfo();
        if (listChart <= 0)
            return;
        if (followed->first == listChart && followed->second == list->List()->currentRow())
            return;
        if (FollowInList(*list, listChart))
            *followed = {listChart, list->List()->currentRow()};
    });
    QObject::connect(plot, &PlotWidget::referenceSet, readouts, [readouts, list, &charts] {
        readouts->UpdateRefInfo();
        if (charts.RefIndex > 0)
            SelectOnlyInList(*list, charts.RefIndex);
        list->UpdateCommandStates();
    });
    QObject::connect(list, &ChartListPanel::refInfoNeeded, readouts, [readouts, list, &charts](bool select) {
        readouts->UpdateRefInfo();
        if (select && charts.RefIndex > 0)
            SelectOnlyInList(*list, charts.RefIndex);
    });
    QObject::connect(list, &ChartListPanel::activeInfoNeeded, readouts,
                     &CursorReadoutPanels::UpdateActiveInfo);
    QObject::connect(list, &ChartListPanel::viewChanged, readouts, &CursorReadoutPanels::UpdateAll);

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
