#pragma once
// What the chart list decides, without a window: which chart commands are
// enabled, how names are shortened to fit their column, the list's modes and
// height, and the rows of the "Values" window. The rules of the collection
// the list acts on (reference, selection, show and hide, descriptions) are
// in the model's CollectionRules.h, included here for the list's callers.
// The chart list widget (ChartListPanel) only calls these; unit tests call
// them directly.
//
// Charts are named by their number 1..Count everywhere; "selected charts" is
// the list of the chart numbers of the selected list items, in list order.

#include "CollectionRules.h"
#include "ListTextFit.h"
#include "TMereni.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lumidrax {

// Enabled state of every chart command. Each menu item, tool button and
// popup item of a command takes the same state.
struct ChartCommandStates {
    bool Open = false;              // "&Open...": fewer than 999 charts
    bool CloseSelected = false;     // at least one item selected
    bool CloseAll = false;          // at least one chart loaded
    bool SaveSelected = false;      // at least one item selected
    bool SaveAll = false;           // charts loaded, each with a file location
    bool SaveAs = false;            // exactly one item selected
    bool Print = false;             // a chart displayed
    bool CopyToClipboard = false;   // a chart displayed
    bool DisplaySelected = false;   // a selected chart hidden and fewer than 10 displayed
    bool HideSelected = false;      // a selected chart displayed
    bool RefInfo = false;           // a reference chart exists
    bool RefFilter = false;         // a reference chart whose FilterPost is 1 or less
    bool RefColor = false;          // a reference chart exists
    bool LineWidth = false;         // a chart displayed
    bool SelectAll = false;         // fewer items selected than listed
    bool Average = false;           // at least two items selected
    bool DisplayHideToggle = false; // at least one item selected
    bool EditDescription = false;   // at least one item selected
    bool CloseMenu = false;         // File > "&Close": one of its items enabled
    bool SaveMenu = false;          // File > "&Save": one of its items enabled

    bool operator==(const ChartCommandStates&) const = default;
};

// The command states for the collection, the selected charts and the number
// of items the list holds. Chart numbers outside 1..Count (a list not yet
// refilled after charts were closed) are not counted as charts.
ChartCommandStates ComputeCommandStates(const TMereni& charts, const std::vector<int>& selectedCharts,
                                        int listItemCount);

// Why listed charts are not drawn: at most kMaxShown charts are drawn at a
// time, so a chart that arrives or is shown while that many are drawn stays
// hidden. The text names those of `which` that are hidden while the drawn
// charts are full; empty when there is none.
std::string NotDrawnReason(const TMereni& charts, const std::vector<int>& which);

// Column edges of a list row, in pixels from the row's left.
struct ChartListColumns {
    int NameWidth = 70;                    // "File"
    int DescWidth = 70;                    // "Description"
    static constexpr int kMarkLeft = 16;   // colour mark column 16..32
    static constexpr int kNumberLeft = 32; // unsaved picture, then the number up to 80
    static constexpr int kNameLeft = 80;
    int NameEnd() const { return kNameLeft + NameWidth; }
    int DescEnd() const { return NameEnd() + DescWidth; }
    // Width a name or description may take before it is shortened.
    int NameFit() const { return NameEnd() - kNameLeft - 10; }
    int DescFit() const { return DescEnd() - NameEnd() - 10; }
};

// The menu items of the list modes (SetChartList, and LoadSettings with
// CHARTLIST): each mode item is checked when its mode is on and enabled
// when it is not; the height items are enabled unless the list is hidden.
struct ChartListModeItems {
    bool ShowAllChecked = false, ShowAllEnabled = false;             // "Show &All Charts"
    bool ShowDisplayedChecked = false, ShowDisplayedEnabled = false; // "Show &Displayed Charts"
    bool HideChecked = false, HideEnabled = false;                   // "&Hide"
    bool HeightEnabled = false;                                      // "&Increase Height", "&Decrease Height"
    bool operator==(const ChartListModeItems&) const = default;
};
ChartListModeItems ChartListModeStates(int mode);

// The caption of the description editor for several charts:
// "Description of " + count + " selected curves".
std::string DescriptionEditorCaption(int selectedCount);

// One step of the list height commands.
struct ListHeightStep {
    int Height = 0;       // the list's new height
    bool Changed = false; // false: the command only disables itself
    // Changed: the opposite command becomes enabled; not changed: this
    // command becomes disabled.
};
inline constexpr int kListItemHeight = 16;
// "&Increase Height": grows by one item while the plot is at least 101 high.
ListHeightStep IncreaseListHeight(int plotHeight, int listHeight);
// "&Decrease Height": shrinks by one item while the list is at least 41 high.
ListHeightStep DecreaseListHeight(int listHeight);
// The splitter accepts a list height only above 20 pixels.
inline constexpr int kMinListHeight = 21;

// The in-place description field's row: the top row the list scrolls to so
// that row p is visible (p above the top row or below the last fully
// visible row becomes the top row), and the field's y offset within the
// rows area.
struct InPlaceEditRow {
    int TopRow = 0;
    int Y = 0; // (p - top row) x 16
};
InPlaceEditRow PlaceInPlaceEditor(int row, int topRow, int visibleRows);

// The rows of the "Values" window for one chart: 24 pairs of label and
// value.
struct ValueRow {
    std::string Label;
    std::string Value;
};
std::vector<ValueRow> ChartValueRows(const TJednoMereni& chart);
// The status bits 128, 64, .., 2 as "1"/"0" (each set bit subtracted), the
// decimal remainder, then " (" value ")": 5 reads "00000101 (5)".
std::string StatusBitsText(int value);

} // namespace lumidrax
