// The main window's side of the archive: the Archive page and its commands,
// the writer that records every chart the window meets (from a port, a
// file, a processing command, a save), and the status bar field that says
// when the archive is behind.

#include "TFrm_main_Lumidrax32.h"

#include "ArchiveCommands.h"
#include "ArchiveFeed.h"
#include "ArchiveMenus.h"
#include "ArchivePage.h"
#include "ArchiveSettings.h"
#include "ArchiveWriter.h"
#include "ChartMenus.h"
#include "ChartNotifier.h"
#include "ChartPage.h"
#include "DirectoryChooser.h"
#include "ReportMenus.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStatusBar>
#include <QTabWidget>

namespace lumidrax {

namespace {

constexpr int kArchivePageIndex = 2;

// Puts `item` into the menu that holds `before`, above it.
void InsertBefore(QAction* before, QAction* item)
{
    for (QObject* o : before->associatedObjects())
        if (auto* menu = qobject_cast<QMenu*>(o)) {
            menu->insertAction(before, item);
            menu->insertSeparator(before);
            return;
        }
}

} // namespace

void TFrm_main_Lumidrax32::BuildArchive()
{
    archiveFeed_ = new ArchiveFeed(charts_, *notifier_, this);
    archiveFeed_->SetPortDetail(
        [this] { return settings_.DeviceOfPort(settings_.SerialPort1(), options_.DeviceFolder); });
    fileCommands_->SetStoredHandler([this](const TJednoMereni& chart) { archiveFeed_->Saved(chart); });
    archiveState_ = new QLabel(this);
    archiveState_->setObjectName("lbl_archive_behind");
    archiveState_->setVisible(false);
    statusBar()->addPermanentWidget(archiveState_);
    InsertBefore(chartMenus_->mi_file_setup, archiveMenus_->mi_file_archive);
    InsertBefore(reportMenus_->mi_rep_file_settings, archiveMenus_->mi_rep_file_archive);
}

void TFrm_main_Lumidrax32::ConnectArchiveCommands()
{
    ArchiveCommandsParts parts;
    parts.Services = Services();
    parts.Page = archivePage_;
    parts.Menus = archiveMenus_;
    parts.Feed = archiveFeed_;
    parts.Run = [this](const std::function<void()>& command) {
        Busy busy(*this);
        command();
    };
    parts.ShowChartPage = [this] { pc_all_->setCurrentWidget(chartPage_); };
    parts.ShowEventTable = [this] {
        if (!chartMenus_->mi_panels_events->isChecked())
            chartMenus_->mi_panels_events->trigger();
    };
    parts.ChooseFolder = &DirectoryChooser::ChooseDirectory;
    archiveCommands_ = new ArchiveCommands(std::move(parts), this);
    for (QAction* a : {archiveMenus_->mi_file_archive, archiveMenus_->mi_rep_file_archive})
        connect(a, &QAction::triggered, this, [this] {
            pc_all_->setCurrentIndex(kArchivePageIndex);
            archivePage_->e_search->setFocus();
        });
    connect(archiveMenus_->mi_arch_chartpage, &QAction::triggered, this,
            [this] { pc_all_->setCurrentWidget(chartPage_); });
}

void TFrm_main_Lumidrax32::StartArchive()
{
    const ArchiveLocation where = ArchiveLocationOf(settings_);
    ArchiveWriterOptions o;
    o.Where = where;
    o.SpoolFolder = options_.ArchiveSpoolFolder.empty() ? DefaultSpoolFolder() : options_.ArchiveSpoolFolder;
    o.RetryMs = options_.ArchiveRetryMs;
    archiveWriter_ = std::make_unique<ArchiveWriter>(std::move(o));
    connect(archiveWriter_.get(), &ArchiveWriter::stateChanged, this, [this](const QString& behind) {
        archiveState_->setText(behind);
        archiveState_->setToolTip(behind);
        archiveState_->setVisible(!behind.isEmpty());
    });
    connect(archiveWriter_.get(), &ArchiveWriter::recorded, archiveCommands_,
            &ArchiveCommands::EntriesRecorded);
    connect(archiveWriter_.get(), &ArchiveWriter::verdictsStored, archiveCommands_,
            &ArchiveCommands::EntriesRecorded);
    connect(archiveWriter_.get(), &ArchiveWriter::newestTags, this, [this](const ArchiveTags& tags) {
        if (archiveFeed_->Tags() == ArchiveTags{})
            archiveFeed_->SetTags(tags);
    });
    archiveFeed_->SetSink([this](ArchiveItem item) {
        if (archiveWriter_)
            archiveWriter_->Enqueue(std::move(item));
    });
    archiveCommands_->SetLocation(where);
}

void TFrm_main_Lumidrax32::ApplyArchiveSettings()
{
    const ArchiveLocation where = ArchiveLocationOf(settings_);
    if (archiveWriter_)
        archiveWriter_->SetLocation(where);
    archiveCommands_->SetLocation(where);
}

void TFrm_main_Lumidrax32::StopArchive()
{
    archiveFeed_->SetSink({});
    archiveWriter_.reset();
}

QString TFrm_main_Lumidrax32::ArchiveStateText() const
{
    return archiveState_->text();
}

} // namespace lumidrax
