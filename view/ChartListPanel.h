#pragma once
// The chart list below the plot: the header "No" / "File" / "Description"
// (lb_curves_header) over the list lb_curves, one row per chart, multiple
// selection. Each row carries its chart number as item data (Qt::UserRole);
// ChartAt and RowOf are the only way between rows and charts.
//
// The main window owns the chart collection and the change notifier and
// hands both in. The panel subscribes to the notifier once:
//   - chartsAdded: AfterChartsAdded (the last chart drawn becomes the
//     reference, the list is rebuilt with the new charts selected and
//     scrolled to the last of them, the active chart follows the reference;
//     a new chart left undrawn by the 10-chart rule is noticed);
//   - chartsRemoved: RefreshChartView (indices kept valid, list rebuilt);
//   - chartsChanged: the rows are rebuilt (file names; visibility in the
//     "displayed charts" mode) or repainted;
//   - referenceChanged(true): the reference chart's row alone is selected;
//   - every signal: UpdateCommandStates, which emits commandStatesChanged
//     with the enabled state of every chart command.
// A click or key in the list runs SyncFromList, which changes the active and
// reference charts and notifies. The file commands act on SelectedCharts()
// (list order) and "save as" on CurrentChart().

#include "ChartListColours.h"
#include "ChartListLogic.h"
#include "ChartNotifier.h"

#include <QItemSelectionModel>
#include <QWidget>

#include <functional>
#include <vector>

class QHeaderView;
class QListWidget;
class QStandardItemModel;

namespace lumidrax {

class ChartListDelegate;

class ChartListPanel : public QWidget {
    Q_OBJECT
  public:
    explicit ChartListPanel(QWidget* parent = nullptr);

    // The collection shown (not owned). Call RefillChartList afterwards.
    void SetCollection(TMereni* charts);
    // The notifier the panel subscribes to and notifies through (not owned).
    // Without one the panel makes its own.
    void SetNotifier(ChartNotifier* notifier);
    ChartNotifier* Notifier() const { return notifier_; }

    // 0 = all charts, 1 = displayed charts only, 2 = list hidden (still
    // filled with every chart; the window gives the panel no height).
    void SetListMode(int mode);
    int ListMode() const { return mode_; }

    void SetColours(const ChartListColours& colours);
    // Widths of the columns "File" and "Description" (at least 70 each).
    void SetColumnWidths(int nameWidth, int descWidth);
    int NameWidth() const;
    int DescWidth() const;

    QListWidget* List() const { return list_; }
    QHeaderView* Header() const { return header_; }

    // Chart numbers of the selected rows, in list order.
    std::vector<int> SelectedCharts() const;
    // Chart of the list's current row (the arrow), 0 when none.
    int CurrentChart() const;
    int ItemCount() const;
    // The chart a row shows (0 for no such row), and the row showing a chart
    // (-1 when none does).
    int ChartAt(int row) const;
    int RowOf(int chart) const;
    // Makes the row of `chart` the current row without selecting it and
    // without taking the active and reference charts from it (as moving the
    // cursor does). Returns false when no row shows the chart.
    bool FollowChart(int chart);
    // Selects exactly the row of `chart` (the first row when none shows it)
    // and makes it current, again without taking the charts from it.
    void SelectOnly(int chart);
    // Selects exactly these charts (rows not listed are ignored) and makes
    // the current row that of `current` when it is listed; then
    // SyncFromList, as a click would.
    void SelectCharts(const std::vector<int>& charts, int current);

    // Rebuilds the rows for the list mode; charts flagged IsNew come out
    // selected, and a single selected displayed chart becomes the reference.
    // Notifies referenceChanged(true) when there is a reference, then
    // activeChanged.
    void RefillChartList();
    // Takes the active and reference charts from the current row and the
    // selection, and notifies.
    void SyncFromList();
    // The list's part when charts were added (subscribed to chartsAdded).
    void AfterChartsAdded();
    // The list's part when charts were removed (subscribed to chartsRemoved).
    void RefreshChartView();
    // Computes the command states, emits commandStatesChanged and returns them.
    ChartCommandStates UpdateCommandStates();
    // "Select All Charts": every row, then SyncFromList.
    void SelectAllCharts();
    // Redraws the rows without rebuilding them.
    void RepaintList();
    // "Display Selected Chart(s)", "Hide Selected Chart(s)" and the
    // display/hide toggle on the selected charts; they notify
    // chartsChanged(Visibility) and the active and reference changes.
    void ShowSelected();
    void HideSelected();
    void ToggleSelected();

  signals:
    void commandStatesChanged(const lumidrax::ChartCommandStates& states);
    void columnsResized(); // the header's sections moved
    // Something the user asked for or expected did not happen, and why (a
    // new chart or a chart to show is not drawn because the drawn charts
    // are full): the window shows it in its status bar.
    void notice(const QString& text);

  private:
    void SectionResized();
    void SelectionChanged();
    void AfterVisibilityChange();
    // Applies `change` to the selected charts, then AfterVisibilityChange;
    // with `tellNotDrawn`, the charts it had to show and could not are told.
    void ChangeSelectedVisibility(const std::function<void(TMereni&, const std::vector<int>&)>& change,
                                  bool tellNotDrawn);
    void ChartsChanged(ChartChanges what);
    void SetCurrentRowQuietly(int row, QItemSelectionModel::SelectionFlags flags);
    // Each hidden chart's row says in its tool tip why it is not drawn while
    // the drawn charts are full.
    void UpdateRowTips();
    // Emits notice when some of `which` stay undrawn for the 10-chart rule.
    void TellNotDrawn(const std::vector<int>& which);

    TMereni* charts_ = nullptr;
    ChartNotifier* notifier_ = nullptr;
    int mode_ = kListModeAll;
    bool filling_ = false;
    QHeaderView* header_ = nullptr;
    QStandardItemModel* headerModel_ = nullptr;
    QListWidget* list_ = nullptr;
    ChartListDelegate* delegate_ = nullptr;
};

} // namespace lumidrax
