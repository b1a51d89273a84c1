// The main window's zoom and shift commands and the chart page's keys.

#include "TFrm_main_Lumidrax32.h"

#include "ArchiveMenus.h"
#include "ArchivePage.h"
#include "ChartKeys.h"
#include "ChartMenus.h"
#include "ChartPage.h"
#include "ChartViewPanel.h"
#include "DescriptionField.h"
#include "EventPanel.h"
#include "MenuShortcutsFirst.h"
#include "ReportMenus.h"
#include "ZoomCommands.h"

#include <QTabWidget>

namespace lumidrax {

void TFrm_main_Lumidrax32::ConnectZoomAndKeys()
{
    zoomCommands_ = new ZoomCommands(*chartMenus_, chartPage_->View()->Plot(), charts_, *notifier_, this);
    ChartKeysContext keys;
    keys.Services = Services();
    keys.Menus = chartMenus_;
    keys.Page = chartPage_;
    keys.Zoom = zoomCommands_;
    // The keys are previewed on the chart page, except while a description
    // is edited in place or the event table has the focus.
    keys.Previewing = [this] {
        return pc_all_->currentWidget() == chartPage_ && editPosition_ < 0 && !e_description->Editing() &&
               !chartPage_->Events()->HasKeyFocus();
    };
    keys.SetListMode = [this](int mode) { SetChartList(mode); };
    keys.SetLineWidth = [this](int width) { mi_popup_width5Click(width); };
    chartKeys_ = new ChartKeys(std::move(keys));
    new MenuShortcutsFirst(this, [this] {
        if (pc_all_->currentWidget() == archivePage_)
            return archiveMenus_->MainMenuArch;
        return pc_all_->currentWidget() == chartPage_ ? chartMenus_->MainMenu : reportMenus_->MainMenuRep;
    });
    ConnectEventPanel(*chartPage_->Events(), *chartPage_->View()->Plot(), charts_, *notifier_, *zoomCommands_,
                      chartMenus_->mi_panels_events);
}

} // namespace lumidrax
