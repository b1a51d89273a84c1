// The main window's print, copy, export and test report commands; the test
// report's header starts from the chart's archive entry (through the Archive
// page's connection, never waiting for a server), and its verdicts go to the
// entries through the archive's writer.

#include "TFrm_main_Lumidrax32.h"

#include "ArchiveCommands.h"
#include "ArchiveContent.h"
#include "ArchiveWriter.h"
#include "ChartArchive.h"
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
    r.ArchivedHeader = [this](const TJednoMereni& chart) -> std::optional<ReportHeader> {
        ChartArchive* archive = archiveCommands_ ? archiveCommands_->Archive() : nullptr;
        if (archive == nullptr)
            return std::nullopt;
        const std::optional<ArchiveEntry> entry =
            archive->EntryByHash(ContentHash(ArchiveContentText(chart)));
        if (!entry)
            return std::nullopt;
        ReportHeader header;
        header.Cable = entry->Tags.Cable;
        header.Site = entry->Tags.Site;
        header.Job = entry->Tags.Job;
        header.Operator = entry->Tags.Operator;
        return header;
    };
    r.Reported = [this](const TJednoMereni& chart, const std::string& verdict) {
        if (archiveWriter_)
            archiveWriter_->StoreVerdict(chart, verdict);
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
