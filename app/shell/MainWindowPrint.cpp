// The main window's print, copy, export and test report commands.

#include "TFrm_main_Lumidrax32.h"

#include "ChartMenus.h"
#include "ChartPrinting.h"
#include "SettingsFile.h"
#include "TestReportCommand.h"

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

    TestReportCommand::Context r;
    r.Window = this;
    r.Page = chartPage_;
    r.Charts = &charts_;
    r.Dialogs = dialogs_;
    r.ShowEvents = m.mi_panels_events;
    r.Remembered = [this] { return settings_.TestReport; };
    r.Remember = [this](const TestReportSettings& values) {
        settings_.TestReport = values;
        std::string error;
        if (options_.UseSettingsFile && !SaveTestReportSettings(settingsLocation_, values, error))
            dialogs_->ShowErrorMessage(error);
    };
    testReport_ = new TestReportCommand(r, this);
    connect(m.mi_file_report, &QAction::triggered, testReport_, &TestReportCommand::mi_file_reportClick);

    // Export and the test report follow the print command's state (a chart
    // displayed).
    m.mi_file_report->setEnabled(m.mi_file_print->isEnabled());
    connect(m.mi_file_print, &QAction::changed, this, [&m] {
        m.mi_file_export->setEnabled(m.mi_file_print->isEnabled());
        m.mi_file_report->setEnabled(m.mi_file_print->isEnabled());
    });
}

} // namespace lumidrax
