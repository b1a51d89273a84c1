#pragma once
// The chart list below the plot: the header "No" / "File" / "Description"
// (lb_curves_header) over the list lb_curves, one row per chart, multiple
// selection. The main window owns the chart collection and hands it in with
// SetCollection; the panel reads and changes the collection's active and
// reference charts as the selection says, and tells the window through
// signals what else has to follow (read-outs, zoom controls, plot, command
// states).
//
// How the main window uses it:
//   - after charts were added (open, drop, hand-over, transfer, filter,
//     average): AfterChartsAdded();
//   - after charts were closed (DeleteChart / ClearAll): RefreshChartView();
//   - after a save, a description change or anything else that changes what
//     a row shows or which commands apply: UpdateCommandStates() and
//     RefillChartList() (or RepaintList() when the rows stay the same);
//   - the file commands act on SelectedCharts() (list order) and "save as"
//     on CurrentChart();
//   - commandStatesChanged carries the enabled state of every chart command:
//     apply it to the menu items, tool buttons and popup items;
//   - settings: SetListMode (CHARTLIST; ChartListModeStates gives the
//     mode and height menu items), SetColumnWidths / NameWidth / DescWidth
//     (NAMEWIDTH, DESCWIDTH), SetColours(ChartListColours::FromPalette(...))
//     on a scheme change;
//   - editing the description of several charts: DescriptionEditor with
//     DescriptionEditorCaption and CommonDescription, then SetDescriptions,
//     RepaintList and UpdateCommandStates.
// A click or key in the list runs SyncFromList by itself.

#include "ChartListColours.h"
#include "ChartListLogic.h"

#include <QWidget>

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
    // Selects exactly these charts (rows not listed are ignored) and makes
    // the current row that of `current` when it is listed; then
    // SyncFromList, as a click would.
    void SelectCharts(const std::vector<int>& charts, int current);

    // Rebuilds the rows for the list mode; charts flagged IsNew come out
    // selected, and a single selected displayed chart becomes the reference.
    // Emits refInfoNeeded(true) when there is a reference, then
    // activeInfoNeeded().
    void RefillChartList();
    // Takes the active and reference charts from the current row and the
    // selection; then the command states, read-outs and plot follow.
    void SyncFromList();
    // The refresh after charts were added.
    void AfterChartsAdded();
    // The refresh after charts were removed; emits chartsEmptied() when no
    // chart is left (clear status panel 1, switch zoom mode off).
    void RefreshChartView();
    // Computes the command states, emits commandStatesChanged and returns them.
    ChartCommandStates UpdateCommandStates();
    // "Select All Charts": every row, then SyncFromList.
    void SelectAllCharts();
    // Redraws the rows without rebuilding them.
    void RepaintList();
    // "Display Selected Chart(s)", "Hide Selected Chart(s)" and the
    // display/hide toggle on the selected charts; then the read-outs, zoom
    // controls, list (repainted, or refilled in mode 1), plot and command
    // states follow.
    void ShowSelected();
    void HideSelected();
    void ToggleSelected();

  signals:
    void commandStatesChanged(const lumidrax::ChartCommandStates& states);
    void refInfoNeeded(bool selectInList); // UpdateRefInfo
    void activeInfoNeeded();               // UpdateActiveInfo
    void zoomControlsNeeded();             // UpdateZoomControls
    void viewChanged();                    // the plot has to be repainted
    void chartsEmptied();
    void curvesChanged();  // charts were shown or hidden
    void columnsResized(); // the header's sections moved

  private:
    void SectionResized();
    void SelectionChanged();
    void AfterVisibilityChange();

    TMereni* charts_ = nullptr;
    int mode_ = kListModeAll;
    bool filling_ = false;
    QHeaderView* header_ = nullptr;
    QStandardItemModel* headerModel_ = nullptr;
    QListWidget* list_ = nullptr;
    ChartListDelegate* delegate_ = nullptr;
};

} // namespace lumidrax
