// The main window's "Settings..." command: opens the Settings dialog on a
// copy of the settings and applies the value the dialog hands back.

#include "TFrm_main_Lumidrax32.h"

#include "ChartMenus.h"
#include "ChartPage.h"
#include "EventPanel.h"
#include "InstrumentLink.h"
#include "ReportCommands.h"
#include "ReportMenus.h"
#include "SettingsDialog.h"
#include "SettingsDialogRules.h"
#include "SystemPortView.h"
#include "Tfrm_sniff.h"

#include <QAction>
#include <QFont>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>

namespace lumidrax {

void TFrm_main_Lumidrax32::ConnectSettingsCommand()
{
    for (QAction* a : {chartMenus_->mi_file_setup, reportMenus_->mi_rep_file_settings}) {
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

} // namespace lumidrax
