// The main window's "Settings..." command: opens the Settings dialog on a
// copy of the settings and applies the value the dialog hands back.

#include "TFrm_main_Lumidrax32.h"

#include "ChartMenus.h"
#include "ChartPage.h"
#include "EventPanel.h"
#include "InstrumentLink.h"
#include "ReportMenus.h"
#include "ReportPage.h"
#include "SettingsDialog.h"
#include "SettingsDialogRules.h"

#include <QAction>
#include <QFont>
#include <QListWidget>
#include <QPlainTextEdit>

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
    dialog.exec();
}

bool TFrm_main_Lumidrax32::ApplySettings(const Settings& value, bool save)
{
    const Settings before = settings_;
    TakeDialogFields(settings_, value);
    ApplyAutoFlags();
    chartMenus_->mi_panels_refinfo->setChecked(settings_.RefInfoVisible);
    chartPage_->Events()->SetSensitivity(settings_.EventSensitivity);
    if (settings_.LineWidth != before.LineWidth)
        mi_popup_width5Click(settings_.LineWidth);
    SetChartList(settings_.ChartListMode);
    QFont font(QString::fromStdString(settings_.ReportFontName), settings_.ReportFontSize);
    reportPage_->ReportList()->setFont(font);
    reportPage_->Memo()->setFont(font);
    if (options_.UseSettingsFile)
        for (const auto& [port, device] : settings_.PortDevices)
            if (before.DeviceOfPort(port) != device) {
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
    chartPage_->Events()->SetSensitivity(settings_.EventSensitivity);
}

} // namespace lumidrax
