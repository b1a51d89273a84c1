#pragma once
// Connects the cursors of the chart page: mouse moves over the plot track
// the active cursor, a left click sets the reference cursor, and the three
// read-out areas, the chart list's current row and "&Ref. Chart Info"
// follow.

#include "TMereni.h"

class QAction;

namespace lumidrax {

class ChartPage;

// `refInfoItem` is the checkable "&Ref. Chart Info" menu item: `p_refinfo`
// is shown exactly while it is checked (its check state at the call decides
// the start); it is enabled while there is a reference chart.
void ConnectCursors(ChartPage& page, TMereni& charts, QAction* refInfoItem);

// Makes the row of `chart` the list's current row without selecting it and
// without the list taking the active and reference charts from it (as
// moving the cursor does). Returns false when no row shows the chart.
class ChartListPanel;
bool FollowInList(ChartListPanel& list, int chart);
// Selects exactly the row of `chart` (the first row when none shows it) and
// makes it current, again without the list taking the charts from it.
void SelectOnlyInList(ChartListPanel& list, int chart);

} // namespace lumidrax
