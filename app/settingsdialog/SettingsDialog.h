#pragma once
// The "Settings" dialog (mi_file_setupClick): edits a copy of the settings,
// including the [PORTS] device of each port number in use. "&Apply Settings"
// and "&Save Settings" hand the edited value to the window (ApplyHandler),
// which applies it; the dialog itself never changes the window. Apply closes
// the dialog only when the window reports an open port; Save keeps it open;
// "&Cancel" closes it and nothing changes. F1 opens the help.

#include "PortIdentifier.h"
#include "PortSystemView.h"
#include "Settings.h"

#include <QDialog>

#include <functional>
#include <map>
#include <optional>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace lumidrax {

class DeviceComboBox;
class IDialogs;

class SettingsDialog : public QDialog {
    Q_OBJECT
  public:
    // Applies a value (save: "&Save Settings", which also writes the file);
    // true when at least one serial port is open afterwards.
    using ApplyHandler = std::function<bool(const Settings& value, bool save)>;
    // The directory chooser opened on a folder; nothing when not confirmed.
    using DirectoryHandler = std::function<std::optional<QString>(QWidget* parent, const QString& start)>;

    // devDir: the folder whose serial devices the device lists offer.
    SettingsDialog(const Settings& current, IDialogs& dialogs, ApplyHandler apply, QString devDir = "/dev",
                   QWidget* parent = nullptr);

    // Runs the identification of the instrument's ports (the window closes
    // its ports and shows the identification dialog); nothing found when
    // unset.
    using IdentifyHandler = std::function<IdentifyResult(QWidget* parent)>;

    // What the window says about the ports that did not open (empty when
    // all did); shown in the dialog when Apply keeps it open.
    using PortStateHandler = std::function<QString()>;

    void SetDirectoryChooser(DirectoryHandler chooser) { chooseDirectory_ = std::move(chooser); }
    void SetPortState(PortStateHandler state) { portState_ = std::move(state); }
    // Enables "Identify VKR 104+ device".
    void SetIdentifier(IdentifyHandler identify);
    // Where the device states come from (the running system unless set).
    void SetSystemView(PortSystemView system);
    // The state shown beside the device list of a port number in use.
    QString DeviceStateText(int port) const;
    // The value the controls show now (before the path and font rules of
    // Apply and Save).
    Settings Edited() const;
    // The device list of a port number in use, nullptr for others.
    DeviceComboBox* DeviceList(int port) const;
    // The list of the devices present, offered while the connection mode
    // has no port number; choosing one gives it a number. nullptr while
    // the mode has a number.
    DeviceComboBox* NewDeviceList() const { return newDevice_; }
    // Why Apply kept the dialog open; empty otherwise.
    QLabel* lbl_apply = nullptr;

    QRadioButton* rb_last = nullptr;
    QRadioButton* rb_std = nullptr;
    QLineEdit* e_datapath = nullptr;
    QPushButton* b_select_datapath = nullptr;
    QLineEdit* e_saveroot = nullptr;
    QPushButton* b_select_saveroot = nullptr;
    QCheckBox* chb_autofilename = nullptr;
    QCheckBox* chb_autosave = nullptr;
    QCheckBox* chb_refinfo = nullptr;
    QComboBox* cb_font_name = nullptr;
    QComboBox* cb_font_size = nullptr;
    QComboBox* cb_linewidth = nullptr;
    QRadioButton* rb_com = nullptr;
    QRadioButton* rb_bt = nullptr;
    QSpinBox* se_port = nullptr;
    QSpinBox* se_port_bt1 = nullptr;
    QSpinBox* se_port_bt2 = nullptr;
    QPushButton* b_detect_bt = nullptr;
    QComboBox* cb_chartlist = nullptr;
    // [EVENTS] SENSITIVITY of the event detection, 0..9 (one decimal).
    QDoubleSpinBox* se_sensitivity = nullptr;
    // [EVENTS] FLOOR: the events' level floor in percent, 0..50 (one decimal).
    QDoubleSpinBox* se_floor = nullptr;
    // [ARCHIVE]: where every chart is recorded.
    QCheckBox* chb_archive = nullptr;
    QComboBox* cb_archive_engine = nullptr; // 0: SQLite file, 1: PostgreSQL server
    QLineEdit* e_archive_file = nullptr;
    QPushButton* b_select_archive_file = nullptr;
    QLineEdit* e_archive_host = nullptr;
    QSpinBox* se_archive_port = nullptr;
    QLineEdit* e_archive_database = nullptr;
    QLineEdit* e_archive_user = nullptr;
    QCheckBox* chb_savesetings = nullptr;
    QPushButton* b_close = nullptr;
    QPushButton* b_save = nullptr;
    QPushButton* b_cancel = nullptr;

  public slots:
    // Cancel and Esc: what Apply did since the dialog opened (or since
    // the last Save) is taken back.
    void reject() override;

  protected:
    void keyPressEvent(QKeyEvent* e) override;

  private:
    QWidget* BuildPaths();
    QWidget* BuildOptions();
    QWidget* BuildPorts();
    QWidget* BuildArchive();
    // The archive's fields follow the engine and the enabled box.
    void ArchiveFieldStates();
    void ShowValues();
    void RebuildDeviceLists();
    // A device list of the devices present, each with its state.
    DeviceComboBox* MakeDeviceList();
    void AddNewDeviceList();
    // A device chosen from the list of devices present: it gets a number,
    // which the connection mode then uses.
    void NewDeviceChosen(const QString& device);
    void ChooseDirectory(QLineEdit* field);
    void b_closeClick();
    void b_saveClick();
    void b_detect_btClick();
    QString StateOf(const QString& device) const;
    // Steps shared by Apply and Save; the handler's answer, nothing when
    // the value was refused.
    std::optional<bool> ApplyEdited(bool save);

    Settings current_;
    IDialogs& dialogs_;
    ApplyHandler apply_;
    QString devDir_;
    DirectoryHandler chooseDirectory_;
    QFormLayout* devices_ = nullptr;
    std::map<int, DeviceComboBox*> deviceLists_;
    std::map<int, QLabel*> deviceStates_;
    IdentifyHandler identify_;
    PortSystemView system_;
    std::map<int, std::string> typedDevices_;
    DeviceComboBox* newDevice_ = nullptr;
    PortStateHandler portState_;
    // The value Cancel returns to, and whether Apply changed the window
    // since.
    Settings committed_;
    bool applied_ = false;
};

} // namespace lumidrax
