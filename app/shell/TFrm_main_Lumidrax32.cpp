#include "TFrm_main_Lumidrax32.h"

#include "AboutBox.h"
#include "ArchiveCommands.h"
#include "ArchiveFeed.h"
#include "ArchiveMenus.h"
#include "ArchivePage.h"
#include "ArchiveWriter.h"
#include "ChartListPanel.h"
#include "ChartListPopup.h"
#include "ChartMenus.h"
#include "ChartNotifier.h"
#include "ChartPage.h"
#include "ChartPageWiring.h"
#include "ChartViewPanel.h"
#include "DescriptionField.h"
#include "FileNames.h"
#include "HelpWindow.h"
#include "IncomingFiles.h"
#include "InstanceChannel.h"
#include "InstrumentLink.h"
#include "ProcessingCommands.h"
#include "QtDialogs.h"
#include "ReportCommands.h"
#include "ReportMenus.h"
#include "ReportPage.h"
#include "StatusTextPanel.h"
#include "ToolBarLook.h"
#include "UnsavedWorkGuard.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace lumidrax {

namespace {

constexpr int kChartPage = 0;
constexpr int kReportPage = 1;
constexpr int kArchivePage = 2;

} // namespace

TFrm_main_Lumidrax32::TFrm_main_Lumidrax32(MainWindowOptions options, QWidget* parent)
    : QMainWindow(parent), options_(std::move(options))
{
    FormCreate();
}

TFrm_main_Lumidrax32::~TFrm_main_Lumidrax32() = default;

void TFrm_main_Lumidrax32::FormCreate()
{
    setObjectName("TFrm_main_Lumidrax32");
    setWindowTitle("Lumidrax");
    resize(1024, 700);
    notifier_ = new ChartNotifier(this);
    queue_ = new UiQueue(this);
    busy_ = std::make_unique<WindowBusy>(*queue_);
    CreateCommands();
    BuildMenus();
    BuildPages();
    BuildReportCommands();
    BuildStatusBar();
    BuildArchive();
    BuildInstrumentLink();
    closeGuard_ = std::make_unique<UnsavedWorkGuard>(Services(), *fileCommands_, *reportCommands_, *link_);
    setAcceptDrops(true);
    SetUpTimers();
    ConnectFileCommands();
    ConnectViewCommands();
    ConnectDescriptionEditing();
    ConnectChartListCommands();
    ConnectProcessingCommands();
    ConnectSettingsCommand();
    ConnectPlot();
    ConnectZoomAndKeys();
    ConnectPrinting();
    ConnectArchiveCommands();
    ConnectNotifications();
    // Page switching changes menus, tool bars and key handling.
    pc_all_->setCurrentIndex(kChartPage);
    pc_allChange(kChartPage);
    connect(pc_all_, &QTabWidget::currentChanged, this, &TFrm_main_Lumidrax32::pc_allChange);
    ListenForHandOver();
    ApplyAutoFlags();
    chartPage_->ListPanel()->UpdateCommandStates();
    Timer.start();
}

void TFrm_main_Lumidrax32::CreateCommands()
{
    if (options_.Dialogs) {
        dialogs_ = options_.Dialogs;
    } else {
        ownDialogs_ = std::make_unique<QtDialogs>(this);
        dialogs_ = ownDialogs_.get();
    }
    settingsLocation_ = options_.SettingsAt
                            ? *options_.SettingsAt
                            : LocateSettings(QCoreApplication::applicationDirPath().toStdString());
    settings_ = DefaultSettings(settingsLocation_.DataFolder);
    fileCommands_ = std::make_unique<ChartFileCommands>(charts_, settings_, *dialogs_);
    incoming_ = new IncomingFiles(Services(), *fileCommands_, settings_, this);
    connect(incoming_, &IncomingFiles::opened, this, &TFrm_main_Lumidrax32::FilesOpened);
}

WindowServices TFrm_main_Lumidrax32::Services()
{
    return {this, &charts_, notifier_, dialogs_, queue_, busy_.get()};
}

const std::vector<std::string>& TFrm_main_Lumidrax32::PendingFiles() const
{
    return incoming_->Pending();
}

void TFrm_main_Lumidrax32::BuildMenus()
{
    // Both menu bars live in one container; the page shows one.
    chartMenus_ = new ChartMenus(this);
    ApplyToolBarLook(*chartMenus_);
    reportMenus_ = new ReportMenus(this);
    archiveMenus_ = new ArchiveMenus(this);
    auto* menus = new QWidget(this);
    auto* menuLayout = new QVBoxLayout(menus);
    menuLayout->setContentsMargins(0, 0, 0, 0);
    menuLayout->setSpacing(0);
    menuLayout->addWidget(chartMenus_->MainMenu);
    menuLayout->addWidget(reportMenus_->MainMenuRep);
    menuLayout->addWidget(archiveMenus_->MainMenuArch);
    setMenuWidget(menus);
    addToolBar(chartMenus_->ToolBar);
    addToolBar(reportMenus_->RepToolBar);
}

void TFrm_main_Lumidrax32::BuildPages()
{
    pc_all_ = new QTabWidget(this);
    pc_all_->setObjectName("pc_all");
    chartPage_ = new ChartPage(pc_all_);
    reportPage_ = new ReportPage(pc_all_);
    archivePage_ = new ArchivePage(pc_all_);
    pc_all_->addTab(chartPage_, tr("Chart"));
    pc_all_->addTab(reportPage_, tr("Report"));
    pc_all_->addTab(archivePage_, tr("Archive"));
    setCentralWidget(pc_all_);
    ConnectChartPage(*chartPage_, charts_, *notifier_, chartMenus_->mi_panels_refinfo);
    popupCurves_ = new ChartListPopup(chartPage_->ChartList(), *chartMenus_);
    e_description = new DescriptionField(chartPage_->ChartList()->viewport());
}

void TFrm_main_Lumidrax32::BuildStatusBar()
{
    // Panel 0: hints, 250 pixels; panel 1: the active chart's description,
    // open-ended.
    // Neither follows its text with its size: a new text lays nothing out.
    for (int k = 0; k < 2; ++k) {
        statusPanels_[k] = new StatusTextPanel(this);
        statusPanels_[k]->setObjectName(QString("StatusPanel%1").arg(k));
    }
    statusPanels_[0]->setFixedWidth(250);
    statusBar()->addWidget(statusPanels_[0]);
    statusBar()->addWidget(statusPanels_[1], 1);
}

void TFrm_main_Lumidrax32::BuildInstrumentLink()
{
    InstrumentLinkParts parts;
    parts.Services = Services();
    parts.AppSettings = &settings_;
    parts.Location = &settingsLocation_;
    parts.WriteSettingsFile = options_.UseSettingsFile;
    parts.e_port = chartMenus_->e_port;
    parts.e_rep_port = reportMenus_->e_rep_port;
    parts.rb_com = chartMenus_->rb_com;
    parts.rb_bt = chartMenus_->rb_bt;
    parts.Pages = pc_all_;
    parts.ReportList = &reportCommands_->Reports();
    parts.ReportAdded = [this](int index) { reportCommands_->ReportReceived(index); };
    parts.SaveReport = [this](ReportId id) { reportCommands_->SaveReceived(id); };
    parts.StatusBar = statusBar();
    parts.DeviceFolder = options_.DeviceFolder;
    parts.SaveReceivedCharts = [this](const std::vector<ChartId>& ids) { SaveReceivedCharts(ids); };
    parts.SaveSettings = [this] { SaveSettings(settings_.SaveSettingsOnExit); };
    link_ = new InstrumentLink(std::move(parts), this);
}

void TFrm_main_Lumidrax32::SetUpTimers()
{
    Timer.setInterval(100);
    Timer.setSingleShot(true);
    connect(&Timer, &QTimer::timeout, this, &TFrm_main_Lumidrax32::TimerTimer);
}

void TFrm_main_Lumidrax32::ConnectViewCommands()
{
    ChartMenus& m = *chartMenus_;
    connect(m.mi_tools_invert, &QAction::triggered, this, &TFrm_main_Lumidrax32::mi_tools_invertClick);
    for (QAction* item : m.mi_width)
        connect(item, &QAction::triggered, this,
                [this, item] { mi_popup_width5Click(item->data().toInt()); });
    connect(m.sb_width, &QAction::triggered, this, [this] {
        if (auto* button = chartMenus_->ToolBar->widgetForAction(chartMenus_->sb_width))
            chartMenus_->sb_width->menu()->popup(button->mapToGlobal(button->rect().bottomLeft()));
    });
    for (QAction* a :
         {m.mi_help_contens, reportMenus_->mi_rep_help_contens, archiveMenus_->mi_arch_help_contens})
        connect(a, &QAction::triggered, this, [this] { HelpWindow::ShowHelp(this); });
    for (QAction* a : {m.mi_help_about, reportMenus_->mi_rep_help_about, archiveMenus_->mi_arch_help_about})
        connect(a, &QAction::triggered, this, [this] { AboutBox::ShowAbout(this); });
    for (QAction* item : m.mi_chartlist_mode)
        connect(item, &QAction::triggered, this,
                [this, item] { SetChartList(item->data().toInt() - kChartListModeTagBase); });
}

void TFrm_main_Lumidrax32::ConnectDescriptionEditing()
{
    connect(chartMenus_->mi_curves_edit_desc, &QAction::triggered, this,
            &TFrm_main_Lumidrax32::mi_curves_edit_descClick);
    connect(e_description, &DescriptionField::Confirmed, this, [this](int chart, const QString& text) {
        editPosition_ = -1;
        if (chart >= 1 && chart <= charts_.Count) {
            charts_.Rec(chart).Description = text.toStdString();
            charts_.Rec(chart).Saved = false;
            statusPanels_[1]->setText(text);
            emit notifier_->chartsChanged(ChartChange::Rows);
        }
        chartPage_->ChartList()->setFocus();
    });
    connect(e_description, &DescriptionField::Cancelled, this, [this] {
        editPosition_ = -1;
        chartPage_->ChartList()->setFocus();
    });
}

void TFrm_main_Lumidrax32::ConnectNotifications()
{
    ChartListPanel* list = chartPage_->ListPanel();
    connect(list, &ChartListPanel::commandStatesChanged, this, &TFrm_main_Lumidrax32::ApplyCommandStates);
    connect(notifier_, &ChartNotifier::chartsRemoved, this, [this] {
        if (charts_.Count == 0)
            ClearStatusPanel1();
    });
    // Charts shown, hidden or recoloured: the window repaints as a whole.
    connect(notifier_, &ChartNotifier::chartsChanged, this, [this](ChartChanges what) {
        if (what & (ChartChange::Visibility | ChartChange::Colours))
            update();
    });
}

void TFrm_main_Lumidrax32::ListenForHandOver()
{
    if (options_.Channel) {
        instance_ = options_.Channel;
        instance_->setParent(this);
    } else if (!options_.InstanceName.isEmpty()) {
        instance_ = new InstanceChannel(this);
        instance_->Listen(options_.InstanceName);
    }
    if (instance_)
        connect(instance_, &InstanceChannel::FileNameReceived, this,
                [this](const QByteArray& name) { incoming_->Receive(name.toStdString()); });
}

void TFrm_main_Lumidrax32::TimerTimer()
{
    Timer.stop();
    LoadSettings();
    StartArchive();
    ApplyReportSettings();
    ApplyColourScheme();
    chartPage_->ListPanel()->SetColumnWidths(settings_.NameWidth, settings_.DescWidth);
    SetChartList(settings_.ChartListMode);
    mi_popup_width5Click(settings_.LineWidth);
    chartMenus_->mi_tools_lines->setChecked(settings_.JoinSamples);
    ApplyAutoFlags();
    chartPage_->ListPanel()->UpdateCommandStates();
    {
        const QSignalBlocker blocker(pc_all_);
        pc_all_->setCurrentIndex(kReportPage);
        pc_all_->setCurrentIndex(kChartPage);
    }
    show();
    raise();
    activateWindow();
    incoming_->OpenCommandLine(options_.Arguments);
    link_->Start();
    emit Initialised();
}

void TFrm_main_Lumidrax32::ReceiveHandedOverName(const std::string& name)
{
    incoming_->Receive(name);
}

void TFrm_main_Lumidrax32::OpenPendingFiles()
{
    incoming_->OpenPending();
}

void TFrm_main_Lumidrax32::FilesOpened(int loaded, bool batch)
{
    if (pc_all_->currentIndex() != kChartPage)
        pc_all_->setCurrentIndex(kChartPage);
    if (!batch)
        return;
    raise();
    activateWindow();
    emit BatchOpened(loaded);
}

void TFrm_main_Lumidrax32::pc_allChange(int page)
{
    const bool chart = page == kChartPage;
    const bool report = page == kReportPage;
    const bool archive = page == kArchivePage;
    chartMenus_->MainMenu->setVisible(chart);
    reportMenus_->MainMenuRep->setVisible(report);
    archiveMenus_->MainMenuArch->setVisible(archive);
    chartMenus_->ToolBar->setVisible(chart);
    reportMenus_->RepToolBar->setVisible(report);
    if (report) {
        reportCommands_->ShowReports(reportCommands_->CurrentReport());
        ClearStatusPanel1();
        update();
        return;
    }
    reportCommands_->PageLeft();
    if (chart) {
        ChartPageShown();
    } else {
        ClearStatusPanel1();
        archiveCommands_->PageShown();
    }
    update();
}

bool TFrm_main_Lumidrax32::event(QEvent* e)
{
    if (e->type() == QEvent::StatusTip) {
        OnHint(static_cast<QStatusTipEvent*>(e)->tip());
        return true;
    }
    return QMainWindow::event(e);
}

void TFrm_main_Lumidrax32::OnHint(const QString& hint)
{
    statusPanels_[0]->setText(hint);
}

QString TFrm_main_Lumidrax32::StatusText(int panel) const
{
    return statusPanels_[panel]->text();
}

void TFrm_main_Lumidrax32::dragEnterEvent(QDragEnterEvent* e)
{
    if (e->mimeData()->hasUrls())
        e->acceptProposedAction();
}

void TFrm_main_Lumidrax32::dropEvent(QDropEvent* e)
{
    for (const QUrl& url : e->mimeData()->urls())
        if (url.isLocalFile())
            incoming_->Add(LocalFileName(url));
    e->acceptProposedAction();
    incoming_->OpenPending();
}

void TFrm_main_Lumidrax32::closeEvent(QCloseEvent* e)
{
    if (busy_->Active() || !closeGuard_->Resolve()) {
        e->ignore();
        return;
    }
    ShutDown();
    e->accept();
    emit Closed();
}

void TFrm_main_Lumidrax32::ShutDown()
{
    incoming_->Stop();
    link_->ClosePorts();
    SaveSettings(settings_.SaveSettingsOnExit);
    StopArchive();
}

void TFrm_main_Lumidrax32::mi_tools_invertClick()
{
    settings_.InvertColors = !chartPage_->View()->Dark();
    ApplyColourScheme();
}

void TFrm_main_Lumidrax32::ApplyColourScheme()
{
    chartPage_->View()->ApplyScheme(settings_.InvertColors, charts_);
    chartPage_->ListPanel()->SetColours(ChartListColours::FromPalette(chartPage_->View()->Colours()));
    chartPage_->ApplyScheme(settings_.InvertColors);
    emit notifier_->chartsChanged(ChartChange::Colours);
}

void TFrm_main_Lumidrax32::mi_popup_width5Click(int width)
{
    if (!chartPage_->View()->SetLineWidth(width, charts_))
        return;
    settings_.LineWidth = width;
    chartMenus_->sb_width->setIcon(QIcon(LineWidthPicture(width)));
    emit notifier_->chartsChanged(ChartChange::Colours);
}

void TFrm_main_Lumidrax32::SetChartList(int mode)
{
    if (mode < kListModeAll || mode > kListModeHidden)
        return;
    if (chartPage_->ListHeight() > 0)
        settings_.ChartListHeight = chartPage_->ListHeight();
    settings_.ChartListMode = mode;
    const ChartListModeItems items = ChartListModeStates(mode);
    QAction* const* modeItems = chartMenus_->mi_chartlist_mode;
    modeItems[0]->setChecked(items.ShowAllChecked);
    modeItems[0]->setEnabled(items.ShowAllEnabled);
    modeItems[1]->setChecked(items.ShowDisplayedChecked);
    modeItems[1]->setEnabled(items.ShowDisplayedEnabled);
    modeItems[2]->setChecked(items.HideChecked);
    modeItems[2]->setEnabled(items.HideEnabled);
    chartMenus_->mi_incChartList->setEnabled(items.HeightEnabled);
    chartMenus_->mi_decChartList->setEnabled(items.HeightEnabled);
    chartPage_->SetListHeight(mode == kListModeHidden ? 0 : settings_.ChartListHeight);
    // The rows are rebuilt for the mode; the cursors and read-outs follow
    // through the notifier.
    chartPage_->ListPanel()->SetListMode(mode);
}

void TFrm_main_Lumidrax32::ApplyAutoFlags()
{
    for (QAction* a : {chartMenus_->mi_file_autosave, reportMenus_->mi_rep_file_autosave})
        a->setChecked(settings_.AutoSave);
    for (QAction* a : {chartMenus_->mi_file_autoname, reportMenus_->mi_rep_file_autofilename}) {
        a->setChecked(settings_.AutoName);
        a->setEnabled(!settings_.AutoSave);
    }
}

// --- chart list -------------------------------------------------------------

void TFrm_main_Lumidrax32::ApplyCommandStates(const ChartCommandStates& s)
{
    ChartMenus& m = *chartMenus_;
    // A command whose work is not wired yet stays disabled whatever the state.
    auto apply = [&m](QAction* a, bool enabled) { a->setEnabled(enabled && !m.Unbuilt.contains(a)); };
    apply(m.mi_file_open, s.Open);
    apply(m.mi_file_close_selected, s.CloseSelected);
    apply(m.mi_file_close_all, s.CloseAll);
    apply(m.mi_save_selected, s.SaveSelected);
    apply(m.mi_save_all, s.SaveAll);
    apply(m.mi_file_saveas, s.SaveAs);
    m.mi_file_close->setEnabled(s.CloseMenu);
    m.mi_file_save->setEnabled(s.SaveMenu);
    apply(m.mi_file_print, s.Print);
    apply(m.mi_edit_copy, s.CopyToClipboard);
    apply(m.mi_curves_show, s.DisplaySelected);
    apply(m.mi_curves_hide, s.HideSelected);
    apply(m.mi_panels_refinfo, s.RefInfo);
    apply(m.sb_filter, s.RefFilter);
    m.mi_tools_filter->setEnabled(s.RefFilter && !m.Unbuilt.contains(m.sb_filter));
    apply(m.mi_tools_refcolor, s.RefColor);
    m.mi_tools_width->setEnabled(s.LineWidth);
    apply(m.sb_width, s.LineWidth);
    for (QAction* item : m.mi_width)
        apply(item, s.LineWidth);
    apply(m.mi_curves_average, s.Average);
    apply(m.mi_tools_dishide, s.DisplayHideToggle);
    apply(m.mi_curves_edit_desc, s.EditDescription && !editingSeveral_);
    if (popupCurves_) {
        popupCurves_->SyncStates();
        popupCurves_->mi_curves_select_all->setEnabled(s.SelectAll);
    }
}

} // namespace lumidrax
