#pragma once
// The rules of the chart collection that the chart list, the main window and
// the command-line tool share: which chart is the reference, how the
// selection of the list moves the active and reference charts, showing and
// hiding charts with the ten colour slots, the state after charts were
// closed, and the descriptions of several charts.
//
// Charts are named by their number 1..Count everywhere; "selected charts" is
// the list of the chart numbers of the selected list items, in list order.
// Numbers outside 1..Count (a list not yet refilled after charts were
// closed) are ignored.

#include "TMereni.h"

#include <string>
#include <vector>

namespace lumidrax {

// Chart list modes.
inline constexpr int kListModeAll = 0;
inline constexpr int kListModeDisplayed = 1;
inline constexpr int kListModeHidden = 2;

// True for a chart number in 1..Count.
inline bool IsChart(const TMereni& charts, int i)
{
    return i >= 1 && i <= charts.Count;
}

// Keeps a cursor on a sample of chart i (1..SampleCount, 0 for an empty
// chart) and renews its distance (the chart's start for cursor 0) and level.
void PlaceCursor(const TMereni& charts, int i, int& cursor, long double& x, long double& y);

// Makes chart i the reference (keeping the reference cursor's distance, or
// at the cable start for a first reference) with the cursor always on one of
// its samples. i = 0 clears the reference and its cursor.
void SetReferenceChart(TMereni& charts, int i);

// The list rebuilt (RefillChartList without the widget).
struct ChartListContent {
    std::vector<int> Items;    // chart numbers, in order
    std::vector<int> Selected; // chart numbers selected after the rebuild
};

// Builds the items of the list for the mode (mode 1: displayed charts only;
// other modes: every chart), selects the charts flagged IsNew and clears
// every IsNew flag. Then the reference follows the selection: exactly one
// selected chart becomes the reference when it is displayed (the reference
// is cleared when it is hidden); several selected clear the reference; none
// leaves it.
ChartListContent RefillChartItems(TMereni& charts, int mode);

// SyncFromList without the widget: the active chart becomes currentChart
// (0: none), its cursor at the sample nearest the previous cursor distance;
// exactly one displayed chart among the selected becomes the reference,
// otherwise the reference is cleared.
void SyncChartsFromList(TMereni& charts, int currentChart, const std::vector<int>& selectedCharts);

// The part before the refill: a displayed last chart becomes the reference.
void ReferenceLastAddedChart(TMereni& charts);
// The part after the refill: with one chart or no active chart, the active
// chart and cursor become those of the reference.
void ActiveFollowsReference(TMereni& charts);

// The collection side of RefreshChartView after charts were closed: the
// active index is limited to Count; a reference beyond Count or no longer
// displayed is cleared; both cursors are kept on a sample of their chart;
// with no chart left, the view is the full extent. Returns true when no
// chart is left.
bool RefreshChartState(TMereni& charts);

// Show selected charts: every selected hidden chart takes the lowest free
// colour slot k (colour of slot k) and is drawn, as long as fewer than ten
// are drawn. With exactly one chart drawn afterwards, the last one shown
// becomes the reference and the active chart. The full extent is
// recomputed (the view is set to it when one chart is drawn). Returns the
// number of charts shown.
int ShowSelectedCharts(TMereni& charts, const std::vector<int>& selectedCharts);
// Hide selected charts: every selected drawn chart frees its colour slot and
// turns white with slot 0. A reference or active chart no longer drawn is
// cleared (its cursor with it). The full extent is recomputed. Returns the
// number of charts hidden.
int HideSelectedCharts(TMereni& charts, const std::vector<int>& selectedCharts);
// The display/hide toggle: true = show the selection, false = hide it. Hides
// when every selected chart is drawn (or nothing is selected), shows when
// every one is hidden; a mixed selection is shown while fewer than ten
// charts are drawn, otherwise hidden.
bool ToggleShows(const TMereni& charts, const std::vector<int>& selectedCharts);
// Runs the toggle; returns true when it showed.
bool ToggleSelectedCharts(TMereni& charts, const std::vector<int>& selectedCharts);

// The text the description editor starts with: the description all the
// selected charts share, otherwise empty.
std::string CommonDescription(const TMereni& charts, const std::vector<int>& selectedCharts);
// The editor's text confirmed: every selected chart takes it and becomes
// unsaved.
void SetDescriptions(TMereni& charts, const std::vector<int>& selectedCharts, const std::string& text);

} // namespace lumidrax
