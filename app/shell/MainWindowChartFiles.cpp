// The main window's chart file commands: open, save, save as, close, the
// automatic names and saving shared by both pages, and Exit on every page.

#include "TFrm_main_Lumidrax32.h"

#include "ArchiveMenus.h"
#include "ChartFileCommands.h"
#include "ChartMenus.h"
#include "ChartNotifier.h"
#include "ChartPage.h"
#include "FileNames.h"
#include "IDialogs.h"
#include "IncomingFiles.h"
#include "ReportMenus.h"

#include <QAction>

#include <filesystem>

namespace lumidrax {

void TFrm_main_Lumidrax32::ConnectFileCommands()
{
    ChartMenus& m = *chartMenus_;
    connect(m.mi_file_open, &QAction::triggered, this, &TFrm_main_Lumidrax32::mi_file_openClick);
    connect(m.mi_save_selected, &QAction::triggered, this, &TFrm_main_Lumidrax32::mi_save_selectedClick);
    connect(m.mi_save_all, &QAction::triggered, this, &TFrm_main_Lumidrax32::mi_save_allClick);
    connect(m.mi_file_saveas, &QAction::triggered, this, &TFrm_main_Lumidrax32::mi_file_saveasClick);
    connect(m.mi_file_close_selected, &QAction::triggered, this,
            &TFrm_main_Lumidrax32::mi_file_close_selectedClick);
    connect(m.mi_file_close_all, &QAction::triggered, this, &TFrm_main_Lumidrax32::mi_file_close_allClick);
    connect(m.mi_file_exit, &QAction::triggered, this, &QWidget::close);
    ReportMenus& r = *reportMenus_;
    connect(r.mi_rep_file_exit, &QAction::triggered, this, &QWidget::close);
    connect(archiveMenus_->mi_arch_exit, &QAction::triggered, this, &QWidget::close);
    // AutoSave and AutoFileName are shared by both pages.
    for (QAction* a : {m.mi_file_autosave, r.mi_rep_file_autosave})
        connect(a, &QAction::triggered, this, &TFrm_main_Lumidrax32::mi_file_autosaveClick);
    for (QAction* a : {m.mi_file_autoname, r.mi_rep_file_autofilename})
        connect(a, &QAction::triggered, this, &TFrm_main_Lumidrax32::mi_file_autonameClick);
}

void TFrm_main_Lumidrax32::mi_file_openClick()
{
    if (!chartMenus_->mi_file_open->isEnabled())
        return;
    Busy busy(*this);
    const std::vector<std::string> names = fileCommands_->AskOpenNames();
    if (names.empty())
        return;
    for (const std::string& name : names) {
        // The dialog passes names on as text: a name whose bytes are not
        // UTF-8 arrives changed and cannot be opened from here.
        if (NameLostBytes(name) && !std::filesystem::exists(name)) {
            dialogs_->ShowErrorMessage("the file dialog cannot pass on the name " + name +
                                       ", which is not UTF-8 text; open the file from the command line or "
                                       "drop it on the window");
            continue;
        }
        incoming_->Add(name);
    }
    incoming_->OpenPending();
}

void TFrm_main_Lumidrax32::mi_save_selectedClick()
{
    Busy busy(*this);
    // The selection and the reference stay as they are.
    fileCommands_->SaveSelected(chartPage_->SelectedCharts());
    emit notifier_->chartsChanged(ChartChange::Rows);
}

void TFrm_main_Lumidrax32::mi_save_allClick()
{
    Busy busy(*this);
    fileCommands_->SaveAll();
    emit notifier_->chartsChanged(ChartChange::FileNames | ChartChange::Rows);
}

void TFrm_main_Lumidrax32::SaveReceivedCharts(const std::vector<ChartId>& ids)
{
    Busy busy(*this);
    fileCommands_->SaveCharts(ids);
    emit notifier_->chartsChanged(ChartChange::FileNames | ChartChange::Rows);
}

void TFrm_main_Lumidrax32::mi_file_saveasClick()
{
    Busy busy(*this);
    const int chart = chartPage_->CurrentChart();
    if (chart < 1)
        return;
    if (fileCommands_->SaveAs(chart))
        emit notifier_->chartsChanged(ChartChange::FileNames | ChartChange::Rows);
}

void TFrm_main_Lumidrax32::mi_file_close_selectedClick()
{
    Busy busy(*this);
    NotifyClosed(fileCommands_->CloseSelected(chartPage_->SelectedCharts()));
}

void TFrm_main_Lumidrax32::mi_file_close_allClick()
{
    Busy busy(*this);
    NotifyClosed(fileCommands_->CloseAll());
}

void TFrm_main_Lumidrax32::mi_file_autosaveClick()
{
    settings_.AutoSave = !settings_.AutoSave;
    if (settings_.AutoSave)
        settings_.AutoName = true;
    ApplyAutoFlags();
}

void TFrm_main_Lumidrax32::mi_file_autonameClick()
{
    settings_.AutoName = !settings_.AutoName;
    ApplyAutoFlags();
}

void TFrm_main_Lumidrax32::NotifyClosed(CloseOutcome outcome)
{
    if (outcome == CloseOutcome::Deleted)
        emit notifier_->chartsRemoved();
    else if (outcome == CloseOutcome::NothingDeleted)
        // Charts saved on the way stay open.
        emit notifier_->chartsChanged(ChartChange::Rows);
}

} // namespace lumidrax
