// The main window's side of the report page: it creates the page's command
// handler and applies the report font and list width from the settings.

#include "TFrm_main_Lumidrax32.h"

#include "ReportCommands.h"

namespace lumidrax {

void TFrm_main_Lumidrax32::BuildReportCommands()
{
    ReportCommandsParts parts;
    parts.Services = Services();
    parts.Menus = reportMenus_;
    parts.Page = reportPage_;
    parts.AppSettings = &settings_;
    parts.Pages = pc_all_;
    reportCommands_ = new ReportCommands(parts, this);
}

void TFrm_main_Lumidrax32::ApplyReportSettings()
{
    reportCommands_->ApplyFont(settings_.ReportFontName, settings_.ReportFontSize);
    reportCommands_->ApplyListWidth(settings_.ReportListWidth);
}

} // namespace lumidrax
