// The main window's processing commands: the filter menu and its "F"
// button, "Average Value" and "Ref. Chart Color...". The work is done by
// ProcessingCommands; here they are only connected.

#include "TFrm_main_Lumidrax32.h"

#include "ArchiveFeed.h"
#include "ChartMenus.h"
#include "ChartPage.h"
#include "ProcessingCommands.h"

#include <QAction>
#include <QMenu>

namespace lumidrax {

void TFrm_main_Lumidrax32::ConnectProcessingCommands()
{
    processing_ = std::make_unique<ProcessingCommands>(charts_, *dialogs_, *notifier_);
    ChartMenus& m = *chartMenus_;
    // The "F" button pops up the same items as the menu.
    for (QAction* item : m.mi_filter)
        connect(item, &QAction::triggered, this, [this, item] {
            if (!chartMenus_->mi_tools_filter->isEnabled())
                return;
            Busy busy(*this);
            const ArchiveFeed::CommandScope made(*archiveFeed_, "filter");
            processing_->OnFilter(item->data().toInt());
        });
    connect(m.mi_curves_average, &QAction::triggered, this, [this] {
        if (!chartMenus_->mi_curves_average->isEnabled())
            return;
        Busy busy(*this);
        const ArchiveFeed::CommandScope made(*archiveFeed_, "average");
        processing_->mi_curves_averageClick(chartPage_->SelectedCharts());
    });
    connect(m.mi_tools_refcolor, &QAction::triggered, this, [this] {
        if (!chartMenus_->mi_tools_refcolor->isEnabled())
            return;
        Busy busy(*this);
        processing_->mi_tools_refcolorClick();
    });
    for (QAction* a : {m.sb_filter, m.mi_curves_average, m.mi_tools_refcolor})
        m.Unbuilt.removeAll(a);
}

} // namespace lumidrax
