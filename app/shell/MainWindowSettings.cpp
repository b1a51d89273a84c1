// The main window's settings: read at start and written at the end, and the
// "Settings..." command, which opens the Settings dialog on a
// copy of the settings and applies the value the dialog hands back.

#include "TFrm_main_Lumidrax32.h"

#include "ArchiveMenus.h"
#include "ChartListPanel.h"
#include "ChartMenus.h"
#include "ChartPage.h"
#include "EventPanel.h"
#include "FrameFit.h"
#include "InstrumentLink.h"
#include "ReportCommands.h"
#include "ReportMenus.h"
#include "ReportPage.h"
#include "SettingsDialog.h"
#include "SettingsDialogRules.h"
#include "StatusTextPanel.h"
#include "SystemPortView.h"
#include "Tfrm_sniff.h"
#include "WindowPlacement.h"

#include <QAction>
#include <QFont>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>

namespace lumidrax {

void TFrm_main_Lumidrax32::ConnectSettingsCommand()
{
    for (QAction* a :
         {chartMenus_->mi_file_setup, reportMenus_->mi_rep_file_settings, archiveMenus_->mi_arch_settings}) {
        a->setEnabled(true);
        connect(a, &QAction::triggered, this, &TFrm_main_Lumidrax32::mi_file_setupClick);
    }
}

void TFrm_main_Lumidrax32::mi_file_setupClick()
{
    Busy busy(*this);
    SettingsDialog dialog(
        settings_, *dialogs_, [this](const Settings& value, bool save) { return ApplySettings(value, save); },
        QString::fromStdString(options_.DeviceFolder), this);
    dialog.SetIdentifier([this](QWidget* parent) { return IdentifyVKRPorts(parent); });
    dialog.SetPortState([this] { return link_->PortState(); });
    dialog.exec();
}

IdentifyResult TFrm_main_Lumidrax32::IdentifyVKRPorts(QWidget* parent)
{
    // The search needs the ports to itself; they stay closed until the
    // mode changes or the Settings dialog applies its values.
    link_->ClosePorts();
    IdentifyJob job;
    job.Ports = settings_.PortDevices;
    job.DeviceFolder = options_.DeviceFolder;
    job.System = SystemPortView();
    IdentifyResult found;
    {
        Tfrm_sniff sniff(std::move(job), parent);
        sniff.exec();
        found = sniff.Result();
    }
    for (const auto& [port, device] : found.NewPorts) {
        settings_.PortDevices[port] = device;
        std::string error;
        if (options_.UseSettingsFile && !SavePortDevice(settingsLocation_, port, device, error))
            dialogs_->ShowErrorMessage(error);
    }
    if (found.Found()) {
        settings_.Connection = "BT";
        if (!chartMenus_->rb_bt->isChecked()) {
            chartMenus_->rb_bt->setChecked(true);
            link_->rb_btClick();
        }
    }
    return found;
}

bool TFrm_main_Lumidrax32::ApplySettings(const Settings& value, bool save)
{
    const Settings before = settings_;
    TakeDialogFields(settings_, value);
    ApplyAutoFlags();
    chartMenus_->mi_panels_refinfo->setChecked(settings_.RefInfoVisible);
    chartPage_->Events()->SetDetection(settings_.EventSensitivity, settings_.EventLevelFloor);
    if (settings_.LineWidth != before.LineWidth)
        mi_popup_width5Click(settings_.LineWidth);
    SetChartList(settings_.ChartListMode);
    reportCommands_->ApplyFont(settings_.ReportFontName, settings_.ReportFontSize);
    if (options_.UseSettingsFile)
        for (const auto& [port, device] : settings_.PortDevices)
            if (before.DeviceOfPort(port, options_.DeviceFolder) != device) {
                std::string error;
                if (!SavePortDevice(settingsLocation_, port, device, error))
                    dialogs_->ShowErrorMessage(error);
            }
    ApplyArchiveSettings();
    const bool open = link_->ReopenPorts();
    if (save) {
        SaveSettings(true);
        link_->ForgetRememberedPort();
    }
    return open;
}

void TFrm_main_Lumidrax32::ApplyEventSettings()
{
    chartMenus_->mi_panels_events->setChecked(settings_.EventTableVisible);
    chartPage_->Events()->SetDetection(settings_.EventSensitivity, settings_.EventLevelFloor);
}

void TFrm_main_Lumidrax32::LoadSettings()
{
    if (!options_.UseSettingsFile)
        return;
    LoadedSettings loaded = LoadSettingsFile(settingsLocation_);
    settings_ = std::move(loaded.Values);
    statusPanels_[0]->setText(QString::fromStdString(loaded.FileProblem));
    // Values that could not be used have their defaults; the start goes on
    // without a box, and standard error lists them.
    for (const std::string& line : loaded.Problems)
        std::fprintf(stderr, "lumidrax: %s: %s\n", settingsLocation_.File.c_str(), line.c_str());
    std::string error;
    if (!EnsureDefaultDataFolder(settingsLocation_, settings_, error))
        std::fprintf(stderr, "lumidrax: %s\n", error.c_str());
    // The window appears with its stored geometry, never at its design size;
    // a maximised one returns to the designed geometry when restored.
    const StartGeometry start = GeometryAtStart(
        settings_.WindowState, QRect(settings_.Left, settings_.Top, settings_.Width, settings_.Height));
    // Any other state keeps the designed geometry. The frame goes onto the
    // screen (LEFT and TOP place the frame, WIDTH and HEIGHT size the client).
    FrameFit::Place(this, start.Place ? start.Rect : QRect(frameGeometry().topLeft(), size()));
    if (start.Maximise)
        setWindowState(Qt::WindowMaximized);
    chartMenus_->mi_panels_refinfo->setChecked(settings_.RefInfoVisible);
    ApplyEventSettings();
}

void TFrm_main_Lumidrax32::SaveSettings(bool full)
{
    if (!options_.UseSettingsFile)
        return;
    if (isMinimized()) {
        settings_.WindowState = kWindowStateMinimized;
    } else if (isMaximized()) {
        settings_.WindowState = kWindowStateMaximized;
    } else {
        settings_.WindowState = kWindowStateNormal;
        settings_.Left = frameGeometry().x();
        settings_.Top = frameGeometry().y();
        settings_.Width = geometry().width();
        settings_.Height = geometry().height();
    }
    settings_.NameWidth = chartPage_->ListPanel()->NameWidth();
    settings_.DescWidth = chartPage_->ListPanel()->DescWidth();
    settings_.RefInfoVisible = chartMenus_->mi_panels_refinfo->isChecked();
    settings_.ReportListWidth = reportPage_->ListWidth();
    settings_.EventTableVisible = chartMenus_->mi_panels_events->isChecked();
    if (chartPage_->ListHeight() > 0)
        settings_.ChartListHeight = chartPage_->ListHeight();
    std::string error;
    if (!SaveSettingsFile(settingsLocation_, settings_, full, error))
        dialogs_->ShowErrorMessage(error);
}

} // namespace lumidrax
