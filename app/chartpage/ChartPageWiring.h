#pragma once
// Subscribes the chart page to the chart change notifier: the chart list,
// the plot, the read-outs and "&Ref. Chart Info" follow every change of the
// collection from there. The plot's mouse tracking (the active cursor
// follows the mouse, a click sets the reference) is connected here too.

#include "TMereni.h"

class QAction;

namespace lumidrax {

class ChartNotifier;
class ChartPage;

// `refInfoItem` is the checkable "&Ref. Chart Info" menu item: `p_refinfo`
// is shown exactly while it is checked (its check state at the call decides
// the start); it is enabled while there is a reference chart.
void ConnectChartPage(ChartPage& page, TMereni& charts, ChartNotifier& notifier, QAction* refInfoItem);

} // namespace lumidrax
