#pragma once
// The window's side of the instrument link: the two serial ports and their
// transfers, the connection mode (rb_com / rb_bt), the port status boxes
// e_port and e_rep_port with their pop-up menu PopupPort (Connect,
// Disconnect), the progress field at the right end of the status bar, the
// hand-over of received reports to the report page's list, and the port
// that delivered remembered in the settings.
// The window creates it and calls Start after loading the settings and
// ClosePorts when it ends.

#include "DecoderContext.h"
#include "PortSystemView.h"
#include "PortTransfer.h"
#include "SettingsFile.h"
#include "TReportList.h"
#include "WindowServices.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>

class QLabel;
class QLineEdit;
class QMenu;
class QRadioButton;
class QStatusBar;
class QTabWidget;

namespace lumidrax {

struct InstrumentLinkParts {
    // Messages and automatic saves wait in its queue: nothing that can show
    // a dialog runs inside a port's handlers.
    WindowServices Services;
    Settings* AppSettings = nullptr;
    const SettingsLocation* Location = nullptr;
    bool WriteSettingsFile = true;
    QLineEdit* e_port = nullptr;
    QLineEdit* e_rep_port = nullptr;
    QRadioButton* rb_com = nullptr;
    QRadioButton* rb_bt = nullptr;
    QTabWidget* Pages = nullptr; // page 0 charts, page 1 reports
    // The report list that received reports join, and the report page's
    // hooks: a report was appended at this index; save it (automatic
    // saving).
    TReportList* ReportList = nullptr;
    std::function<void(int index)> ReportAdded;
    std::function<void(ReportId id)> SaveReport;
    QStatusBar* StatusBar = nullptr;
    std::string DeviceFolder = "/dev";      // where the default devices ttyS(n-1) are
    const PortSystemView* System = nullptr; // asked why a port will not open; the real one when unset
    // Automatic saving of the charts a transfer delivered (those still open).
    std::function<void(const std::vector<ChartId>& ids)> SaveReceivedCharts;
    std::function<void()> SaveSettings; // the settings written as on exit
};

class InstrumentLink : public QObject {
    Q_OBJECT
  public:
    static constexpr int kProgressIntervalMs = 250;

    explicit InstrumentLink(InstrumentLinkParts parts, QObject* parent = nullptr);
    ~InstrumentLink() override;

    // Start-up: the mode and the ports from the settings; "Error: unable to
    // open port COM." and a red box when no port opens.
    void Start();
    // Port numbers 0 are left alone; false only when both are given and
    // both failed.
    bool OpenPorts(int first, int second);
    void ClosePorts(bool first = true, bool second = true);
    // Decodes now what the ports hold as if its transfer had ended: an
    // RS-232 transfer whose 2 s of silence have not passed yet, a complete
    // Bluetooth frame waiting. The ports stay open; the messages and
    // automatic saves this brings go to the queue like any transfer's.
    // The window calls it before it asks about unsaved work on closing, so
    // that what has arrived is part of the question.
    void FinishPendingTransfers();
    // After the settings changed: the [PORTS] devices and the mode taken
    // over, the tool bar's radio button checked without its handler, both
    // ports closed and opened again on the settings' numbers, the remembered
    // port forgotten. True when at least one port is open afterwards.
    bool ReopenPorts();

    // PopupPort of both status boxes.
    QMenu* PopupPort() const { return popupPort_; }
    void mi_port_openClick();
    void mi_port_closeClick();
    // The tool bar's mode buttons: only a change of mode closes and opens
    // the ports and writes the settings; a click on the mode already in
    // use does nothing.
    void rb_comClick();
    void rb_btClick();

    TComPort& Port(int which) { return which == 1 ? port1_ : port2_; }
    const PortTransfer& Transfer(int which) const { return which == 1 ? *transfer1_ : *transfer2_; }
    const TReportList& ReceivedReports() const { return *parts_.ReportList; }
    QLabel* ProgressField() const { return progress_; }
    // What the link says now about the ports that are not open (the boxes'
    // tool tip); empty when all are open.
    QString PortState() const;
    bool PortRemembered() const { return portRemembered_; }
    // The settings dialog applied its port settings.
    void ForgetRememberedPort() { portRemembered_ = false; }

  private:
    void ConnectTransfer(PortTransfer& transfer, int which);
    // Why a port is not open after OpenPorts: its reason in words; empty
    // when it is open.
    std::string FailureText(const TComPort& port, const PortTransfer& transfer) const;
    // Why port 1 or 2 closed by itself, for the boxes' tool tips.
    std::string LostText(int which) const;
    void SetBoxTips(const QString& text);
    // No port number in the mode: empty boxes that say where to set one.
    void ShowNoPort();
    void ApplyMode();
    // The radio buttons' common part: unless settings are being loaded or
    // the link is in `mode` already, `connection` ("COM", "BT") becomes the
    // setting, which is saved, and the ports close in the old mode. False
    // when nothing changed.
    bool SwitchConnection(ConnectionMode mode, const char* connection);
    void SyncContext();
    void PaintStatus(const StatusBoxState& state);
    void ShowPage(ShowPage page);
    void ShowMessage(const TransferMessage& message);
    // Runs `work` from the event loop once no question is open.
    void Later(std::function<void()> work);
    void RememberWorkingPort(int which);
    void UpdateProgress();

    InstrumentLinkParts parts_;
    DecoderContext ctx_;
    TComPort port1_;
    TComPort port2_;
    std::unique_ptr<PortTransfer> transfer1_;
    std::unique_ptr<PortTransfer> transfer2_;
    QMenu* popupPort_ = nullptr;
    QLabel* progress_ = nullptr;
    QTimer progressTimer_;
    PortTransfer* lastActive_ = nullptr;
    bool userDisconnect_ = false;
    bool loadingSettings_ = false;
    bool portRemembered_ = false;
    int busy_ = 0;
};

} // namespace lumidrax
