// The main window's print, copy and export commands.

#include "TFrm_main_Lumidrax32.h"

#include "ChartMenus.h"
#include "ChartPrinting.h"

#include <QAction>

namespace lumidrax {

void TFrm_main_Lumidrax32::ConnectPrinting()
{
    ChartPrinting::Context c;
    c.Window = this;
    c.Pages = pc_all_;
    c.Page = chartPage_;
    c.Menus = chartMenus_;
    c.Charts = &charts_;
    c.Dialogs = dialogs_;
    printing_ = new ChartPrinting(c, this);
    ChartMenus& m = *chartMenus_;
    connect(m.mi_file_print, &QAction::triggered, printing_, &ChartPrinting::mi_file_printClick);
    connect(m.mi_edit_copy, &QAction::triggered, printing_, &ChartPrinting::mi_edit_copyClick);
    connect(m.mi_file_export, &QAction::triggered, printing_, &ChartPrinting::mi_file_exportClick);
    for (QAction* a : {m.mi_file_print, m.mi_file_export, m.mi_edit_copy})
        m.Unbuilt.removeAll(a);
    // Export follows the print command's state (a chart displayed).
    connect(m.mi_file_print, &QAction::changed, this,
            [&m] { m.mi_file_export->setEnabled(m.mi_file_print->isEnabled()); });
}

} // namespace lumidrax
