#include "SettingsDialog.h"

#include "DeviceComboBox.h"
#include "DirectoryChooser.h"
#include "HelpWindow.h"
#include "IDialogs.h"
#include "MessageCatalogue.h"
#include "PortCandidates.h"
#include "PortOpenReason.h"
#include "SettingsDialogRules.h"
#include "SystemPortView.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QVBoxLayout>

#include <set>

namespace lumidrax {

namespace {

constexpr int kPortMax = 255;
constexpr int kSensitivityDecimals = 1;
constexpr double kFloorStep = 0.5;
constexpr int kArchiveSQLiteItem = 0;
constexpr int kArchivePostgreSQLItem = 1;
constexpr int kTcpPortMax = 65535;

QSpinBox* PortSpin(QWidget* parent)
{
    auto* spin = new QSpinBox(parent);
    spin->setRange(0, kPortMax);
    return spin;
}

} // namespace

SettingsDialog::SettingsDialog(const Settings& current, IDialogs& dialogs, ApplyHandler apply, QString devDir,
                               QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), current_(current),
      dialogs_(dialogs), apply_(std::move(apply)), devDir_(std::move(devDir)),
      chooseDirectory_(&DirectoryChooser::ChooseDirectory), system_(SystemPortView()), committed_(current)
{
    setWindowTitle(tr("Settings"));
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(BuildPaths());
    layout->addWidget(BuildOptions());
    auto* lower = new QHBoxLayout;
    lower->addWidget(BuildPorts());
    lower->addWidget(BuildArchive(), 0, Qt::AlignTop);
    layout->addLayout(lower);

    lbl_apply = new QLabel(this);
    lbl_apply->setObjectName("lbl_apply");
    lbl_apply->setWordWrap(true);
    lbl_apply->setVisible(false);
    layout->addWidget(lbl_apply);

    auto* buttons = new QHBoxLayout;
    b_close = new QPushButton(tr("&Apply Settings"), this);
    b_close->setDefault(true);
    b_save = new QPushButton(tr("&Save Settings"), this);
    b_cancel = new QPushButton(tr("&Cancel"), this);
    for (QPushButton* b : {b_close, b_save, b_cancel})
        buttons->addWidget(b);
    layout->addLayout(buttons);
    connect(b_close, &QPushButton::clicked, this, &SettingsDialog::b_closeClick);
    connect(b_save, &QPushButton::clicked, this, &SettingsDialog::b_saveClick);
    connect(b_cancel, &QPushButton::clicked, this, &QDialog::reject);

    ShowValues();
}

QWidget* SettingsDialog::BuildPaths()
{
    auto* box = new QGroupBox(tr("Data Open Path"), this);
    auto* grid = new QGridLayout(box);
    rb_last = new QRadioButton(tr("Last used"), box);
    rb_std = new QRadioButton(tr("Always use Path"), box);
    e_datapath = new QLineEdit(box);
    e_datapath->setReadOnly(true);
    b_select_datapath = new QPushButton(tr("..."), box);
    e_saveroot = new QLineEdit(box);
    e_saveroot->setReadOnly(true);
    b_select_saveroot = new QPushButton(tr("..."), box);
    grid->addWidget(rb_last, 0, 0);
    grid->addWidget(rb_std, 0, 1);
    grid->addWidget(e_datapath, 1, 0, 1, 2);
    grid->addWidget(b_select_datapath, 1, 2);
    grid->addWidget(new QLabel(tr("AutoSave Path"), box), 2, 0);
    grid->addWidget(e_saveroot, 3, 0, 1, 2);
    grid->addWidget(b_select_saveroot, 3, 2);
    connect(rb_std, &QRadioButton::toggled, b_select_datapath, &QPushButton::setEnabled);
    connect(b_select_datapath, &QPushButton::clicked, this, [this] { ChooseDirectory(e_datapath); });
    connect(b_select_saveroot, &QPushButton::clicked, this, [this] { ChooseDirectory(e_saveroot); });
    return box;
}

QWidget* SettingsDialog::BuildOptions()
{
    auto* box = new QWidget(this);
    auto* form = new QFormLayout(box);
    chb_autofilename = new QCheckBox(tr("AutoFilename"), box);
    chb_autofilename->setVisible(false);
    chb_autosave = new QCheckBox(tr("AutoSave"), box);
    chb_refinfo = new QCheckBox(tr("Show Ref. Chart Info"), box);
    chb_savesetings = new QCheckBox(tr("Save Settings on Exit"), box);
    cb_font_name = new QComboBox(box);
    cb_font_name->addItems(QFontDatabase::families());
    cb_font_size = new QComboBox(box);
    for (int size = kDialogFontSizeMin; size <= kDialogFontSizeMax; ++size)
        cb_font_size->addItem(QString::number(size));
    cb_linewidth = new QComboBox(box);
    cb_linewidth->addItems({"1", "3", "5"});
    cb_chartlist = new QComboBox(box);
    cb_chartlist->addItems({tr("All Charts"), tr("Displayed Charts"), tr("Hidden")});
    se_sensitivity = new QDoubleSpinBox(box);
    se_sensitivity->setLocale(QLocale(QLocale::Czech, QLocale::Czechia)); // decimal comma
    se_sensitivity->setRange(static_cast<double>(EventParams::kMinSensitivity),
                             static_cast<double>(EventParams::kMaxSensitivity));
    se_sensitivity->setDecimals(kSensitivityDecimals);
    se_sensitivity->setSingleStep(1);
    se_floor = new QDoubleSpinBox(box);
    se_floor->setObjectName("se_floor");
    se_floor->setLocale(QLocale(QLocale::Czech, QLocale::Czechia)); // decimal comma
    se_floor->setRange(static_cast<double>(EventParams::kMinLevelFloor),
                       static_cast<double>(EventParams::kMaxLevelFloor));
    se_floor->setDecimals(kSensitivityDecimals);
    se_floor->setSingleStep(kFloorStep);
    se_floor->setSuffix(" %");
    se_floor->setToolTip(tr("Reflections closer to the baseline are no events; the end clears twice this"));
    form->addRow(chb_autosave);
    form->addRow(chb_refinfo);
    form->addRow(chb_savesetings);
    form->addRow(tr("Report Font Name"), cb_font_name);
    form->addRow(tr("Report Font Size"), cb_font_size);
    form->addRow(tr("Line Width"), cb_linewidth);
    form->addRow(tr("Chart List"), cb_chartlist);
    form->addRow(tr("Event Sensitivity"), se_sensitivity);
    form->addRow(tr("Event Level Floor"), se_floor);
    connect(chb_autosave, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            chb_autofilename->setChecked(true);
        chb_autofilename->setEnabled(!on);
    });
    return box;
}

QWidget* SettingsDialog::BuildPorts()
{
    auto* box = new QGroupBox(tr("Communication"), this);
    auto* form = new QFormLayout(box);
    rb_com = new QRadioButton(tr("RS 232"), box);
    rb_bt = new QRadioButton(tr("BT"), box);
    auto* mode = new QHBoxLayout;
    mode->addWidget(rb_com);
    mode->addWidget(rb_bt);
    form->addRow(mode);
    se_port = PortSpin(box);
    form->addRow(tr("Port number for RS 232 communication"), se_port);
    se_port_bt1 = PortSpin(box);
    se_port_bt2 = PortSpin(box);
    auto* bt = new QHBoxLayout;
    bt->addWidget(se_port_bt1);
    bt->addWidget(se_port_bt2);
    form->addRow(tr("Port numbers for BT communication"), bt);
    b_detect_bt = new QPushButton(tr("Identify VKR 104+ device"), box);
    b_detect_bt->setEnabled(false); // until the window gives the identification
    connect(b_detect_bt, &QPushButton::clicked, this, &SettingsDialog::b_detect_btClick);
    form->addRow(b_detect_bt);
    auto* devices = new QWidget(box);
    devices_ = new QFormLayout(devices);
    devices_->setContentsMargins(0, 0, 0, 0);
    form->addRow(devices);
    for (QSpinBox* spin : {se_port, se_port_bt1, se_port_bt2})
        connect(spin, &QSpinBox::valueChanged, this, &SettingsDialog::RebuildDeviceLists);
    connect(rb_bt, &QRadioButton::toggled, this, &SettingsDialog::RebuildDeviceLists);
    return box;
}

QWidget* SettingsDialog::BuildArchive()
{
    auto* box = new QGroupBox(tr("Archive"), this);
    auto* form = new QFormLayout(box);
    chb_archive = new QCheckBox(tr("&Record every chart in the archive"), box);
    form->addRow(chb_archive);
    cb_archive_engine = new QComboBox(box);
    cb_archive_engine->addItems({tr("SQLite file on this computer"), tr("PostgreSQL server")});
    form->addRow(tr("Archive &engine"), cb_archive_engine);
    e_archive_file = new QLineEdit(box);
    e_archive_file->setObjectName("e_archive_file");
    e_archive_file->setPlaceholderText(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                                       "/lumidrax/archive.sqlite");
    b_select_archive_file = new QPushButton(tr("..."), box);
    auto* file = new QHBoxLayout;
    file->addWidget(e_archive_file);
    file->addWidget(b_select_archive_file);
    form->addRow(tr("Archive &file"), file);
    e_archive_host = new QLineEdit(box);
    e_archive_host->setPlaceholderText(tr("host name or socket folder"));
    form->addRow(tr("Server &host"), e_archive_host);
    se_archive_port = new QSpinBox(box);
    se_archive_port->setRange(1, kTcpPortMax);
    form->addRow(tr("Server p&ort"), se_archive_port);
    e_archive_database = new QLineEdit(box);
    form->addRow(tr("&Database"), e_archive_database);
    e_archive_user = new QLineEdit(box);
    e_archive_user->setPlaceholderText(tr("your login name"));
    form->addRow(tr("&User"), e_archive_user);
    auto* hint = new QLabel(tr("The password comes from ~/.pgpass or PGPASSWORD; it is never written to the "
                               "settings file."),
                            box);
    hint->setObjectName("lbl_archive_password");
    hint->setWordWrap(true);
    form->addRow(hint);
    connect(chb_archive, &QCheckBox::toggled, this, &SettingsDialog::ArchiveFieldStates);
    connect(cb_archive_engine, &QComboBox::currentIndexChanged, this, &SettingsDialog::ArchiveFieldStates);
    connect(b_select_archive_file, &QPushButton::clicked, this, [this] {
        const QString start =
            e_archive_file->text().isEmpty() ? e_archive_file->placeholderText() : e_archive_file->text();
        const QString name = QFileDialog::getSaveFileName(this, tr("Archive file"), start,
                                                          tr("SQLite archive (*.sqlite);;All files (*)"),
                                                          nullptr, QFileDialog::DontConfirmOverwrite);
        if (!name.isEmpty())
            e_archive_file->setText(name);
    });
    return box;
}

void SettingsDialog::ArchiveFieldStates()
{
    const bool on = chb_archive->isChecked();
    const bool server = cb_archive_engine->currentIndex() == kArchivePostgreSQLItem;
    cb_archive_engine->setEnabled(on);
    for (QWidget* w : std::initializer_list<QWidget*>{e_archive_file, b_select_archive_file})
        w->setEnabled(on && !server);
    for (QWidget* w :
         std::initializer_list<QWidget*>{e_archive_host, se_archive_port, e_archive_database, e_archive_user})
        w->setEnabled(on && server);
}

void SettingsDialog::ShowValues()
{
    const Settings& s = current_;
    (s.LastPath ? rb_last : rb_std)->setChecked(true);
    b_select_datapath->setEnabled(!s.LastPath);
    e_datapath->setText(QString::fromStdString(s.DataPath));
    e_saveroot->setText(QString::fromStdString(s.SaveRoot));
    // A font this machine does not have stays the setting; the empty choice
    // names it, so that the user sees what is kept.
    cb_font_name->setCurrentIndex(cb_font_name->findText(QString::fromStdString(s.ReportFontName)));
    cb_font_name->setPlaceholderText(
        tr("%1 (not installed, a similar font is used)").arg(QString::fromStdString(s.ReportFontName)));
    cb_font_size->setCurrentIndex(FontSizeItem(s.ReportFontSize));
    chb_savesetings->setChecked(s.SaveSettingsOnExit);
    cb_linewidth->setCurrentIndex(LineWidthItem(s.LineWidth));
    se_port->setValue(s.PortCom);
    se_port_bt1->setValue(s.PortBT1);
    se_port_bt2->setValue(s.PortBT2);
    (s.IsComConnection() ? rb_com : rb_bt)->setChecked(true);
    chb_autofilename->setChecked(s.AutoName);
    chb_autosave->setChecked(s.AutoSave);
    chb_autofilename->setEnabled(!s.AutoSave);
    chb_refinfo->setChecked(s.RefInfoVisible);
    cb_chartlist->setCurrentIndex(s.ChartListMode);
    se_sensitivity->setValue(static_cast<double>(s.EventSensitivity));
    se_floor->setValue(static_cast<double>(s.EventLevelFloor));
    chb_archive->setChecked(s.ArchiveEnabled);
    cb_archive_engine->setCurrentIndex(s.ArchiveEngine == kArchiveEnginePostgreSQL ? kArchivePostgreSQLItem
                                                                                   : kArchiveSQLiteItem);
    e_archive_file->setText(QString::fromStdString(s.ArchiveFile));
    e_archive_host->setText(QString::fromStdString(s.ArchiveHost));
    se_archive_port->setValue(s.ArchivePort);
    e_archive_database->setText(QString::fromStdString(s.ArchiveDatabase));
    e_archive_user->setText(QString::fromStdString(s.ArchiveUser));
    ArchiveFieldStates();
    RebuildDeviceLists();
}

void SettingsDialog::RebuildDeviceLists()
{
    for (auto& [port, list] : deviceLists_)
        typedDevices_[port] = list->currentText().toStdString();
    while (devices_->rowCount() > 0)
        devices_->removeRow(0);
    deviceLists_.clear();
    deviceStates_.clear();
    newDevice_ = nullptr;
    std::set<int> ports;
    for (QSpinBox* spin : {se_port, se_port_bt1, se_port_bt2})
        if (spin->value() != 0)
            ports.insert(spin->value());
    for (int port : ports) {
        auto* list = MakeDeviceList();
        const auto typed = typedDevices_.find(port);
        list->setEditText(QString::fromStdString(typed != typedDevices_.end()
                                                     ? typed->second
                                                     : current_.DeviceOfPort(port, devDir_.toStdString())));
        list->setObjectName(QString("cb_device_com%1").arg(port));
        list->Refresh();
        auto* state = new QLabel(this);
        state->setWordWrap(true);
        auto showState = [this, state](const QString& device) { state->setText(StateOf(device)); };
        showState(list->currentText());
        connect(list, &QComboBox::currentTextChanged, state, showState);
        auto* row = new QVBoxLayout;
        row->addWidget(list);
        row->addWidget(state);
        devices_->addRow(QString("COM%1").arg(port), row);
        deviceLists_[port] = list;
        deviceStates_[port] = state;
    }
    const bool noNumber =
        rb_bt->isChecked() ? se_port_bt1->value() == 0 && se_port_bt2->value() == 0 : se_port->value() == 0;
    if (noNumber)
        AddNewDeviceList();
}

DeviceComboBox* SettingsDialog::MakeDeviceList()
{
    // The devices present are listed anew each time the list opens.
    auto* list = new DeviceComboBox(
        [this] {
            QStringList names;
            for (const std::string& d : ListSerialDevices(devDir_.toStdString()))
                names << QString::fromStdString(d);
            return names;
        },
        this);
    list->SetStateOf([this](const QString& device) { return StateOf(device); });
    return list;
}

void SettingsDialog::AddNewDeviceList()
{
    auto* list = MakeDeviceList();
    list->setObjectName("cb_device_new");
    list->Refresh();
    list->setCurrentIndex(-1);
    list->lineEdit()->setPlaceholderText(list->count() > 0 ? tr("choose the instrument's device")
                                                           : tr("no serial device found"));
    // The rows are built again when the number is set, this list with
    // them: the choice is taken once its signal has returned.
    connect(list, &QComboBox::currentIndexChanged, this, [this, list](int index) {
        if (index < 0)
            return;
        const QString device = list->itemText(index);
        QMetaObject::invokeMethod(
            this, [this, device] { NewDeviceChosen(device); }, Qt::QueuedConnection);
    });
    devices_->addRow(tr("Instrument's device"), list);
    newDevice_ = list;
}

void SettingsDialog::NewDeviceChosen(const QString& device)
{
    const std::string path = device.toStdString();
    const int port = NumberForDevice(Edited().PortDevices, devDir_.toStdString(), path);
    if (port == 0)
        return;
    typedDevices_[port] = path;
    (rb_bt->isChecked() ? se_port_bt1 : se_port)->setValue(port);
}

DeviceComboBox* SettingsDialog::DeviceList(int port) const
{
    const auto it = deviceLists_.find(port);
    return it == deviceLists_.end() ? nullptr : it->second;
}

void SettingsDialog::SetIdentifier(IdentifyHandler identify)
{
    identify_ = std::move(identify);
    b_detect_bt->setEnabled(static_cast<bool>(identify_));
}

void SettingsDialog::SetSystemView(PortSystemView system)
{
    system_ = std::move(system);
    RebuildDeviceLists();
}

QString SettingsDialog::StateOf(const QString& device) const
{
    if (device.isEmpty())
        return {};
    const std::string state = DeviceState(device.toStdString(), system_);
    return state.empty() ? tr("%1: ready").arg(device) : QString::fromStdString(state);
}

QString SettingsDialog::DeviceStateText(int port) const
{
    const auto it = deviceStates_.find(port);
    return it == deviceStates_.end() ? QString() : it->second->text();
}

void SettingsDialog::b_detect_btClick()
{
    se_port_bt1->setValue(0);
    se_port_bt2->setValue(0);
    const IdentifyResult found = identify_ ? identify_(this) : IdentifyResult{};
    if (!found.Found()) {
        // Why the devices present would not open, for the user to act on.
        std::string text = "Unable to find VKR device.";
        for (const std::string& reason : found.Reasons)
            text += "\n" + reason;
        dialogs_.ShowMessageBox(kErrorCaption, text);
        return;
    }
    for (const auto& [port, device] : found.NewPorts) {
        current_.PortDevices[port] = device;
        typedDevices_.erase(port);
    }
    if (found.First != 0)
        se_port_bt1->setValue(found.First);
    if (found.Second != 0)
        se_port_bt2->setValue(found.Second);
    for (const auto& [port, device] : found.NewPorts)
        if (DeviceComboBox* list = DeviceList(port))
            list->setEditText(QString::fromStdString(device));
    rb_bt->setChecked(true);
}

Settings SettingsDialog::Edited() const
{
    Settings s = current_;
    s.LastPath = rb_last->isChecked();
    s.DataPath = e_datapath->text().toStdString();
    s.SaveRoot = e_saveroot->text().toStdString();
    if (cb_font_name->currentIndex() >= 0)
        s.ReportFontName = cb_font_name->currentText().toStdString();
    s.ReportFontSize = FontSizeOfItem(cb_font_size->currentIndex(), s.ReportFontSize);
    s.SaveSettingsOnExit = chb_savesetings->isChecked();
    s.LineWidth = LineWidthOfItem(cb_linewidth->currentIndex(), s.LineWidth);
    s.AutoName = chb_autofilename->isChecked();
    s.AutoSave = chb_autosave->isChecked();
    s.RefInfoVisible = chb_refinfo->isChecked();
    s.ChartListMode = cb_chartlist->currentIndex();
    s.EventSensitivity = SensitivityOfSpin(se_sensitivity->value(), s.EventSensitivity);
    s.EventLevelFloor = SensitivityOfSpin(se_floor->value(), s.EventLevelFloor);
    s.ArchiveEnabled = chb_archive->isChecked();
    s.ArchiveEngine = cb_archive_engine->currentIndex() == kArchivePostgreSQLItem ? kArchiveEnginePostgreSQL
                                                                                  : kArchiveEngineSQLite;
    s.ArchiveFile = e_archive_file->text().trimmed().toStdString();
    s.ArchiveHost = e_archive_host->text().trimmed().toStdString();
    s.ArchivePort = se_archive_port->value();
    s.ArchiveDatabase = e_archive_database->text().trimmed().toStdString();
    s.ArchiveUser = e_archive_user->text().trimmed().toStdString();
    s.Connection = rb_bt->isChecked() ? "BT" : "COM";
    s.PortCom = static_cast<std::uint8_t>(se_port->value());
    s.PortBT1 = static_cast<std::uint8_t>(se_port_bt1->value());
    s.PortBT2 = static_cast<std::uint8_t>(se_port_bt2->value());
    for (const auto& [port, list] : deviceLists_) {
        const std::string device = list->currentText().toStdString();
        if (!device.empty() && device != current_.DeviceOfPort(port, devDir_.toStdString()))
            s.PortDevices[port] = device;
    }
    return s;
}

void SettingsDialog::ChooseDirectory(QLineEdit* field)
{
    if (const std::optional<QString> dir = chooseDirectory_(this, field->text()))
        field->setText(*dir);
}

std::optional<bool> SettingsDialog::ApplyEdited(bool save)
{
    lbl_apply->clear();
    lbl_apply->setVisible(false);
    const Settings edited = Edited();
    if (const int code = CheckDialogSettings(edited); code != 0) {
        dialogs_.ShowError(code, "");
        return std::nullopt;
    }
    const Settings value = DialogResult(current_, edited, save);
    e_datapath->setText(QString::fromStdString(value.LastPath ? edited.DataPath : value.DataPath));
    e_saveroot->setText(QString::fromStdString(value.SaveRoot));
    const bool open = apply_(value, save);
    current_ = value;
    if (save)
        committed_ = value;
    applied_ = !save;
    return open;
}

void SettingsDialog::b_closeClick()
{
    const std::optional<bool> open = ApplyEdited(false);
    if (!open)
        return; // refused, with its message
    if (*open) {
        accept();
        return;
    }
    // The settings are applied, but no port is open: the dialog stays, so
    // that the user can set one, and says why.
    const bool noNumber = current_.SerialPort1() == 0 && current_.SerialPort2() == 0;
    const QString state = portState_ ? portState_() : QString();
    lbl_apply->setText(noNumber ? tr("Applied, but no port is set for %1: choose the instrument's device "
                                     "above, or a port number.")
                                      .arg(current_.IsComConnection() ? tr("RS 232") : tr("BT"))
                                : tr("Applied, but no port opened: %1").arg(state));
    lbl_apply->setVisible(true);
}

void SettingsDialog::reject()
{
    if (applied_) {
        applied_ = false;
        apply_(committed_, false);
    }
    QDialog::reject();
}

void SettingsDialog::b_saveClick()
{
    ApplyEdited(true);
}

void SettingsDialog::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_F1) {
        HelpWindow::ShowHelp(this);
        return;
    }
    QDialog::keyPressEvent(e);
}

} // namespace lumidrax
