#pragma once
// The main window: owns the chart collection, the settings and the pages,
// builds the menus and tool bars, and wires commands to the classes that do
// the work. Hidden at creation; the one-shot initialisation shows it.

#include "ChartFileCommands.h"
#include "ChartListLogic.h"
#include "PortIdentifier.h"
#include "SettingsFile.h"
#include "TMereni.h"
#include "TReport.h"
#include "UiQueue.h"
#include "WindowBusy.h"
#include "WindowServices.h"

#include <QMainWindow>
#include <QStringList>
#include <QTimer>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QLabel;
class QTabWidget;

namespace lumidrax {

class ArchiveCommands;
class ArchiveFeed;
class ArchiveMenus;
class ArchivePage;
class ArchiveWriter;
class ChartKeys;
class ChartMenus;
class ChartNotifier;
class ChartListPopup;
class ChartPage;
class ChartPrinting;
class TestReportCommand;
class DescriptionField;
class IDialogs;
class IncomingFiles;
class StatusTextPanel;
class UnsavedWorkGuard;
class ProcessingCommands;
class InstanceChannel;
class InstrumentLink;
class ReportCommands;
class ReportMenus;
class ReportPage;
class ZoomCommands;

struct MainWindowOptions {
    // Command-line arguments (without the program name), as the bytes the
    // system passed.
    std::vector<std::string> Arguments;
    // Local socket name for the hand-over; empty = no listening.
    QString InstanceName;
    // A channel already listening (taken over by the window); when set,
    // InstanceName is not used.
    InstanceChannel* Channel = nullptr;
    // Dialogs to use instead of the real ones (not owned).
    IDialogs* Dialogs = nullptr;
    // Read and write the settings file.
    bool UseSettingsFile = true;
    // The settings file and data folder to use instead of the program's.
    std::optional<SettingsLocation> SettingsAt;
    // The folder whose serial devices the Settings dialog offers.
    std::string DeviceFolder = "/dev";
    // Where charts wait while the archive cannot be written; empty: the
    // default folder (DefaultSpoolFolder).
    std::string ArchiveSpoolFolder;
    // How long the archive writer waits before it tries again.
    int ArchiveRetryMs = 5000;
};

class TFrm_main_Lumidrax32 : public QMainWindow {
    Q_OBJECT
  public:
    explicit TFrm_main_Lumidrax32(MainWindowOptions options = {}, QWidget* parent = nullptr);
    ~TFrm_main_Lumidrax32() override;

    TMereni& Charts() { return charts_; }
    Settings& AppSettings() { return settings_; }
    ChartFileCommands& FileCommands() { return *fileCommands_; }
    ChartMenus& Menus() const { return *chartMenus_; }
    ReportMenus& RepMenus() const { return *reportMenus_; }
    ChartListPopup& ListPopup() const { return *popupCurves_; }
    ChartPage& ChartsPage() const { return *chartPage_; }
    ZoomCommands& Zoom() const { return *zoomCommands_; }
    ChartPrinting& Printing() const { return *printing_; }
    TestReportCommand& TestReport() const { return *testReport_; }
    ReportPage& ReportsPage() const { return *reportPage_; }
    ReportCommands& RepCommands() const { return *reportCommands_; }
    InstrumentLink& Link() const { return *link_; }
    ArchivePage& ArchivesPage() const { return *archivePage_; }
    ArchiveMenus& ArchMenus() const { return *archiveMenus_; }
    ArchiveCommands& ArchCommands() const { return *archiveCommands_; }
    // The archive writer; nullptr before the start-up has run.
    ArchiveWriter* ArchWriter() const { return archiveWriter_.get(); }
    // "Archive behind: ..." while charts wait for the archive, else empty.
    QString ArchiveStateText() const;
    // Work from the port handlers that waits for the event loop.
    UiQueue& Queue() const { return *queue_; }
    QTabWidget* Pages() const { return pc_all_; }
    QString StatusText(int panel) const;
    const std::vector<std::string>& PendingFiles() const;

    // Whoever changes the chart collection notifies here; the chart page
    // follows.
    ChartNotifier& Notifier() const { return *notifier_; }
    // A mouse button released over the reference colour marker: the right
    // button with Ctrl and Shift held opens the "Values" window of the
    // reference chart. Returns true when it opened.
    bool sh_refcolorMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    // List position whose description is edited in place, -1 when none.
    int DescriptionEditPosition() const { return editPosition_; }

    // Opens every name in PendingFiles as one batch.
    void OpenPendingFiles();
    // Appends a name handed over by another instance.
    void ReceiveHandedOverName(const std::string& name);

  signals:
    // The one-shot initialisation has run and the window is shown.
    void Initialised();
    // A batch of files has been opened (loaded may be 0).
    void BatchOpened(int loaded);
    // The window accepted its close request.
    void Closed();

  protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;

  private:
    // FormCreate's steps, in order.
    void FormCreate();
    void CreateCommands();
    void BuildMenus();
    void BuildPages();
    void BuildStatusBar();
    void BuildInstrumentLink();
    void SetUpTimers();
    void ConnectFileCommands();
    void ConnectViewCommands();
    void ConnectDescriptionEditing();
    void ConnectNotifications();
    void ListenForHandOver();

    void TimerTimer();
    void pc_allChange(int page);
    void OnHint(const QString& hint);
    // Charts opened from outside: the chart page, and after a batch the
    // window to the front.
    void FilesOpened(int loaded, bool batch);
    // What every feature the window wires is handed.
    WindowServices Services();
    void ShutDown();
    void LoadSettings();
    void SaveSettings(bool full);

    void mi_file_openClick();
    void mi_save_selectedClick();
    void mi_save_allClick();
    // Automatic saving of the charts a transfer delivered.
    void SaveReceivedCharts(const std::vector<ChartId>& ids);
    void mi_file_saveasClick();
    void mi_file_close_selectedClick();
    void mi_file_close_allClick();
    void mi_file_autosaveClick();
    void mi_file_autonameClick();
    void ApplyAutoFlags();
    void ApplyColourScheme();
    void NotifyClosed(CloseOutcome outcome);
    void mi_tools_invertClick();
    void SetChartList(int mode);
    void mi_curves_edit_descClick();
    void EditDescriptionInPlace(int chart);
    void EditSeveralDescriptions(const std::vector<int>& charts);
    void ApplyCommandStates(const ChartCommandStates& states);
    void mi_popup_width5Click(int width);
    // Chart list commands (MainWindowChartList.cpp).
    void ConnectChartListCommands();
    void mi_incChartListClick();
    void mi_decChartListClick();
    // A list height step of `command`: the new height taken, or `command`
    // disabled when there is none; `opposite` enabled after a change.
    void StepListHeight(const ListHeightStep& step, QAction* command, QAction* opposite);
    void VSplitterMoved();
    void PlaceDescriptionField();
    // Processing commands (MainWindowProcessing.cpp).
    void ConnectProcessingCommands();
    // The plot's status text, click suppression and page return
    // (MainWindowPlot.cpp).
    void ConnectPlot();
    void ClearStatusPanel1();
    void ChartPageShown();
    // Zoom, shift and the chart page's keys (MainWindowZoomKeys.cpp).
    void ConnectZoomAndKeys();
    // The event table's visibility and sensitivity from the settings
    // (MainWindowSettings.cpp).
    void ApplyEventSettings();
    // Printing, copying and exporting the chart page (MainWindowPrint.cpp).
    void ConnectPrinting();
    // The Settings dialog (MainWindowSettings.cpp).
    void ConnectSettingsCommand();
    void mi_file_setupClick();
    // Applies the dialog's value (save: and writes the full settings);
    // true when a serial port is open afterwards.
    bool ApplySettings(const Settings& value, bool save);
    // The Settings dialog's identification: ports closed, the search
    // dialog shown, devices found without a number written to [PORTS],
    // Bluetooth mode when something was found.
    IdentifyResult IdentifyVKRPorts(QWidget* parent);
    // The archive page and writer (MainWindowArchive.cpp).
    void BuildArchive();
    void ConnectArchiveCommands();
    void StartArchive();
    void ApplyArchiveSettings();
    void StopArchive();
    // The report page (MainWindowReports.cpp).
    void BuildReportCommands();
    void ApplyReportSettings();

    // Counts running commands so that a hand-over or the work of a transfer
    // arriving while a dialog is open waits for the command to end.
    class Busy {
      public:
        explicit Busy(TFrm_main_Lumidrax32& w) : scope_(*w.busy_) {}

      private:
        WindowBusy::Scope scope_;
    };

    MainWindowOptions options_;
    TMereni charts_;
    ChartNotifier* notifier_ = nullptr;
    UiQueue* queue_ = nullptr;
    SettingsLocation settingsLocation_;
    Settings settings_;
    std::unique_ptr<IDialogs> ownDialogs_;
    IDialogs* dialogs_ = nullptr;
    std::unique_ptr<ChartFileCommands> fileCommands_;
    std::unique_ptr<ProcessingCommands> processing_;

    ChartMenus* chartMenus_ = nullptr;
    ReportMenus* reportMenus_ = nullptr;
    QTabWidget* pc_all_ = nullptr;
    ChartPage* chartPage_ = nullptr;
    ReportPage* reportPage_ = nullptr;
    ReportCommands* reportCommands_ = nullptr;
    StatusTextPanel* statusPanels_[2] = {};
    DescriptionField* e_description = nullptr;
    ChartListPopup* popupCurves_ = nullptr;
    bool editingSeveral_ = false;
    int editPosition_ = -1;
    InstanceChannel* instance_ = nullptr;
    ZoomCommands* zoomCommands_ = nullptr;
    ChartPrinting* printing_ = nullptr;
    TestReportCommand* testReport_ = nullptr;
    ChartKeys* chartKeys_ = nullptr;
    InstrumentLink* link_ = nullptr;
    ArchiveMenus* archiveMenus_ = nullptr;
    ArchivePage* archivePage_ = nullptr;
    ArchiveCommands* archiveCommands_ = nullptr;
    ArchiveFeed* archiveFeed_ = nullptr;
    std::unique_ptr<ArchiveWriter> archiveWriter_;
    QLabel* archiveState_ = nullptr;

    QTimer Timer;
    std::unique_ptr<WindowBusy> busy_;
    IncomingFiles* incoming_ = nullptr;
    std::unique_ptr<UnsavedWorkGuard> closeGuard_;
};

} // namespace lumidrax
