#include "InstrumentLink.h"

#include "ChartNotifier.h"
#include "IDialogs.h"
#include "MessageCatalogue.h"
#include "PortOpenReason.h"
#include "SystemPortView.h"
#include "UiQueue.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>

namespace lumidrax {
namespace {

constexpr int kChartPage = 0;
constexpr int kReportPage = 1;
constexpr int kProgressMinWidth = 100; // pixels

QColor StatusColor(PortStatus status)
{
    const Rgb c = PortStatusColor(status);
    return QColor(c.r, c.g, c.b);
}

} // namespace

InstrumentLink::InstrumentLink(InstrumentLinkParts parts, QObject* parent)
    : QObject(parent), parts_(std::move(parts))
{
    ctx_.Reports = parts_.ReportList;
    ctx_.ReportAdded = parts_.ReportAdded;
    // The decoders run inside the port's handlers: their saves and messages
    // wait for the event loop.
    ctx_.SaveReport = [this](int index) {
        if (!parts_.SaveReport || index < 0 || index >= parts_.ReportList->Count())
            return;
        const ReportId id = parts_.ReportList->At(index).Id;
        Later([this, id] { parts_.SaveReport(id); });
    };
    ctx_.ShowMessage = [this](const std::string& caption, const std::string& text) {
        Later([this, caption, text] { parts_.Services.Dialogs->ShowMessageBox(caption, text); });
    };
    const ConnectionMode mode =
        parts_.AppSettings->IsComConnection() ? ConnectionMode::COM : ConnectionMode::BT;
    transfer1_ = std::make_unique<PortTransfer>(port1_, *parts_.Services.Charts, ctx_, mode);
    transfer2_ = std::make_unique<PortTransfer>(port2_, *parts_.Services.Charts, ctx_, mode);
    ConnectTransfer(*transfer1_, 1);
    ConnectTransfer(*transfer2_, 2);

    popupPort_ = new QMenu(parts_.e_port);
    popupPort_->setObjectName("PopupPort");
    popupPort_->setStatusTip(tr("Port Status"));
    connect(popupPort_->addAction(tr("&Connect")), &QAction::triggered, this,
            &InstrumentLink::mi_port_openClick);
    connect(popupPort_->addAction(tr("&Disconnect")), &QAction::triggered, this,
            &InstrumentLink::mi_port_closeClick);
    for (QLineEdit* box : {parts_.e_port, parts_.e_rep_port}) {
        box->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(box, &QWidget::customContextMenuRequested, this,
                [this, box](const QPoint& at) { popupPort_->popup(box->mapToGlobal(at)); });
    }
    parts_.rb_com->setEnabled(true);
    parts_.rb_bt->setEnabled(true);
    connect(parts_.rb_com, &QRadioButton::clicked, this, &InstrumentLink::rb_comClick);
    connect(parts_.rb_bt, &QRadioButton::clicked, this, &InstrumentLink::rb_btClick);

    port1_.SetDeviceFolder(parts_.DeviceFolder);
    port2_.SetDeviceFolder(parts_.DeviceFolder);
    progress_ = new QLabel(parts_.StatusBar);
    progress_->setObjectName("link_progress");
    // A long reason never widens the window: the tool tip has it whole.
    progress_->setMinimumWidth(kProgressMinWidth);
    parts_.StatusBar->addPermanentWidget(progress_);
    progressTimer_.setInterval(kProgressIntervalMs);
    connect(&progressTimer_, &QTimer::timeout, this, &InstrumentLink::UpdateProgress);
}

InstrumentLink::~InstrumentLink()
{
    progressTimer_.stop();
    // The window is going away: nothing is painted or reported any more.
    transfer1_->disconnect(this);
    transfer2_->disconnect(this);
    port1_.blockSignals(true);
    port2_.blockSignals(true);
}

void InstrumentLink::ConnectTransfer(PortTransfer& transfer, int which)
{
    connect(&transfer, &PortTransfer::statusChanged, this, [this, which](const StatusBoxState& state) {
        PaintStatus(state);
        // A port that closed by itself says why where its colour is seen.
        if (state.status == PortStatus::Lost)
            SetBoxTips(QString::fromStdString(LostText(which)));
        else if (state.status == PortStatus::Open)
            SetBoxTips({});
    });
    connect(&transfer, &PortTransfer::busyChanged, this, [this, &transfer](bool busy) {
        if (busy) {
            SyncContext(); // the naming and saving settings as they are now
            lastActive_ = &transfer;
            if (busy_++ == 0) {
                QApplication::setOverrideCursor(Qt::WaitCursor);
                progressTimer_.start();
            }
        } else if (busy_ > 0 && --busy_ == 0) {
            QApplication::restoreOverrideCursor();
            progressTimer_.stop();
        }
        UpdateProgress();
    });
    connect(&transfer, &PortTransfer::refreshRequested, this, [this] {
        emit parts_.Services.Notifier->chartsAdded();
        UpdateProgress();
    });
    // Only the charts this transfer added: other unsaved charts wait for
    // the user's own save.
    connect(&transfer, &PortTransfer::saveRequested, this, [this](const std::vector<ChartId>& ids) {
        if (parts_.SaveReceivedCharts)
            Later([this, ids] { parts_.SaveReceivedCharts(ids); });
    });
    connect(&transfer, &PortTransfer::pageRequested, this, &InstrumentLink::ShowPage);
    connect(&transfer, &PortTransfer::messageRaised, this, &InstrumentLink::ShowMessage);
    connect(&transfer, &PortTransfer::workingPortDelivered, this,
            [this, which] { RememberWorkingPort(which); });
}

void InstrumentLink::Start()
{
    Settings& s = *parts_.AppSettings;
    port1_.SetDevices(s.PortDevices);
    port2_.SetDevices(s.PortDevices);
    loadingSettings_ = true;
    (s.IsComConnection() ? parts_.rb_com : parts_.rb_bt)->setChecked(true);
    loadingSettings_ = false;
    ApplyMode();
    if (!OpenPorts(s.SerialPort1(), s.SerialPort2())) {
        parts_.Services.Dialogs->ShowError(kErrOpenPort, "COM");
        PaintStatus({PortStatus::Lost, parts_.e_port->text().toStdString()});
    }
}

void InstrumentLink::SyncContext()
{
    ctx_.AutoName = parts_.AppSettings->AutoName;
    ctx_.AutoSave = parts_.AppSettings->AutoSave;
    ctx_.SaveRoot = parts_.AppSettings->SaveRoot;
}

void InstrumentLink::ApplyMode()
{
    const ConnectionMode mode =
        parts_.AppSettings->IsComConnection() ? ConnectionMode::COM : ConnectionMode::BT;
    ctx_.Mode = mode;
    transfer1_->SetMode(mode);
    transfer2_->SetMode(mode);
}

bool InstrumentLink::OpenPorts(int first, int second)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    bool good1 = true;
    bool good2 = true;
    std::string why;
    SyncContext();
    if (first != 0) {
        good1 = transfer1_->Open(first);
        why = FailureText(port1_, *transfer1_);
        parts_.e_port->setText(QString("COM%1").arg(first));
    }
    if (second != 0) {
        good2 = transfer2_->Open(second);
        if (const std::string why2 = FailureText(port2_, *transfer2_); !why2.empty())
            why += (why.empty() ? "" : "\n") + why2;
    }
    if (first == 0 && second != 0)
        parts_.e_port->setText(QString("COM%1").arg(second));
    // Why a port will not open, where the user looks for the link's state.
    const QString text = QString::fromStdString(why);
    progress_->setText(QString(text).replace('\n', "; "));
    progress_->setToolTip(text);
    SetBoxTips(text);
    if (first == 0 && second == 0)
        ShowNoPort();
    QApplication::restoreOverrideCursor();
    return good1 || good2;
}

std::string InstrumentLink::FailureText(const TComPort& port, const PortTransfer& transfer) const
{
    if (port.Connected())
        return {};
    if (port.OpenErrno() == 0)
        return transfer.LastError();
    const PortSystemView system = parts_.System ? *parts_.System : SystemPortView();
    return "COM" + std::to_string(port.Port) + ": " +
           PortOpenReason(GatherPortFacts(port.Device(), port.OpenErrno(), system));
}

std::string InstrumentLink::LostText(int which) const
{
    const TComPort& port = which == 1 ? port1_ : port2_;
    const PortSystemView system = parts_.System ? *parts_.System : SystemPortView();
    return LostPortText(port.Port, port.Device(), DeviceState(port.Device(), system));
}

QString InstrumentLink::PortState() const
{
    return parts_.e_port->toolTip();
}

void InstrumentLink::SetBoxTips(const QString& text)
{
    for (QLineEdit* box : {parts_.e_port, parts_.e_rep_port})
        box->setToolTip(text);
}

void InstrumentLink::ShowNoPort()
{
    // Nothing failed: the boxes keep their own colours and say what to do.
    const QString text = QString::fromStdString(NoPortText(!parts_.AppSettings->IsComConnection()));
    for (QLineEdit* box : {parts_.e_port, parts_.e_rep_port}) {
        box->clear();
        box->setPlaceholderText(tr("no port"));
        box->setPalette(QPalette());
        box->setAutoFillBackground(false);
    }
    SetBoxTips(text);
    // The status bar's short form leaves the description panel its room.
    progress_->setText(tr("No port set: see Settings... (F12)")); // on every page
    progress_->setToolTip(text);
}

void InstrumentLink::ClosePorts(bool first, bool second)
{
    if (first && port1_.Port != 0)
        transfer1_->Close(userDisconnect_);
    if (second && port2_.Port != 0)
        transfer2_->Close(userDisconnect_);
}

void InstrumentLink::FinishPendingTransfers()
{
    SyncContext(); // the naming and saving settings as they are now
    transfer1_->FinishPending();
    transfer2_->FinishPending();
}

bool InstrumentLink::ReopenPorts()
{
    Settings& s = *parts_.AppSettings;
    loadingSettings_ = true;
    (s.IsComConnection() ? parts_.rb_com : parts_.rb_bt)->setChecked(true);
    loadingSettings_ = false;
    ClosePorts();
    port1_.SetDevices(s.PortDevices);
    port2_.SetDevices(s.PortDevices);
    ApplyMode();
    OpenPorts(s.SerialPort1(), s.SerialPort2());
    ForgetRememberedPort();
    return port1_.Connected() || port2_.Connected();
}

void InstrumentLink::mi_port_openClick()
{
    Settings& s = *parts_.AppSettings;
    if (!OpenPorts(s.SerialPort1(), s.SerialPort2())) {
        parts_.Services.Dialogs->ShowError(kErrOpenPort, "COM");
        PaintStatus({PortStatus::Lost, parts_.e_port->text().toStdString()});
    }
}

void InstrumentLink::mi_port_closeClick()
{
    userDisconnect_ = true;
    ClosePorts();
    userDisconnect_ = false;
}

bool InstrumentLink::SwitchConnection(ConnectionMode mode, const char* connection)
{
    if (loadingSettings_ || transfer1_->Machine().Mode() == mode)
        return false;
    parts_.AppSettings->Connection = connection;
    if (parts_.SaveSettings)
        parts_.SaveSettings();
    ClosePorts();
    ApplyMode();
    return true;
}

void InstrumentLink::rb_comClick()
{
    if (!SwitchConnection(ConnectionMode::COM, "COM"))
        return;
    const Settings& s = *parts_.AppSettings;
    parts_.e_port->setText(QString("COM%1").arg(s.PortCom));
    OpenPorts(s.PortCom, 0);
}

void InstrumentLink::rb_btClick()
{
    if (!SwitchConnection(ConnectionMode::BT, "BT"))
        return;
    const Settings& s = *parts_.AppSettings;
    if (!OpenPorts(s.PortBT1, s.PortBT2)) {
        parts_.Services.Dialogs->ShowError(kErrOpenPort, "COM");
        PaintStatus({PortStatus::Lost, parts_.e_port->text().toStdString()});
    }
}

void InstrumentLink::PaintStatus(const StatusBoxState& state)
{
    for (QLineEdit* box : {parts_.e_port, parts_.e_rep_port}) {
        box->setText(QString::fromStdString(state.caption));
        QPalette p = box->palette();
        p.setColor(QPalette::Base, StatusColor(state.status));
        p.setColor(QPalette::Text, state.status == PortStatus::Arriving ? Qt::black : Qt::white);
        box->setPalette(p);
        box->setAutoFillBackground(true);
    }
}

void InstrumentLink::ShowPage(lumidrax::ShowPage page)
{
    if (page == ShowPage::Reports)
        parts_.Pages->setCurrentIndex(kReportPage);
    else if (page == ShowPage::Charts && parts_.Pages->currentIndex() == kReportPage)
        parts_.Pages->setCurrentIndex(kChartPage);
}

void InstrumentLink::ShowMessage(const TransferMessage& message)
{
    Later([this, message] { parts_.Services.Dialogs->ShowMessageBox(message.caption, message.text); });
}

void InstrumentLink::Later(std::function<void()> work)
{
    if (parts_.Services.Queue)
        parts_.Services.Queue->Post(std::move(work));
    else
        work();
}

void InstrumentLink::RememberWorkingPort(int which)
{
    if (portRemembered_)
        return;
    Settings& s = *parts_.AppSettings;
    std::optional<int> bt2;
    if (which == 1) {
        s.PortBT1 = static_cast<std::uint8_t>(port1_.Port);
    } else {
        s.PortBT1 = static_cast<std::uint8_t>(port2_.Port);
        s.PortBT2 = static_cast<std::uint8_t>(port1_.Port);
        bt2 = port1_.Port;
    }
    std::string error;
    if (parts_.WriteSettingsFile && parts_.Location &&
        !SaveRememberedPorts(*parts_.Location, s.PortBT1, bt2, error))
        Later([this, error] { parts_.Services.Dialogs->ShowErrorMessage(error); });
    portRemembered_ = true;
}

void InstrumentLink::UpdateProgress()
{
    if (!lastActive_)
        return;
    const PortTransfer& t = *lastActive_;
    const QString state = busy_ > 0                ? tr("Receiving: %1 bytes")
                          : t.TransferIncomplete() ? tr("Incomplete transfer: %1 bytes")
                                                   : tr("Received: %1 bytes");
    QString text = state.arg(t.TransferBytes());
    if (!parts_.AppSettings->IsComConnection())
        text += tr(", %n chart(s)", nullptr, t.TransferCharts());
    progress_->setText(text);
}

} // namespace lumidrax
