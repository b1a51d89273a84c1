// The Settings dialog opened from the window's menu, as a person uses it:
// every control reaches the settings and the settings file, equal Bluetooth
// ports are refused, Cancel changes nothing, a device picked for a port
// number lands in [PORTS], and Apply reopens the ports.

#include "SettingsDialog.h"
#include "AppTestSupport.h"
#include "ChartMenus.h"
#include "ChartPage.h"
#include "DeviceComboBox.h"
#include "DirectoryChooser.h"
#include "EventPanel.h"
#include "HelpWindow.h"
#include "IniFile.h"
#include "InstrumentLink.h"
#include "PortTestSupport.h"
#include "TComPort.h"
#include "TFrm_main_Lumidrax32.h"
#include "TestSupport.h"
#include "Tfrm_sniff.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <functional>

namespace lumidrax {
namespace {

namespace fs = std::filesystem;
using test::BarePty;
using test::FakeDialogs;
using test::SimPty;
using test::TempDir;

// A window with its own settings file and device folder; the port numbers
// used below map to a device that does not exist.
struct SettingsViewer {
    TempDir dir;
    FakeDialogs dialogs;
    std::unique_ptr<TFrm_main_Lumidrax32> w;

    std::string Ini() const { return dir.File("lumidrax.INI"); }
    std::string Dev() const { return dir.File("dev"); }
    std::string Missing() const { return dir.File("no-device"); }

    bool Start(const std::string& general = "")
    {
        fs::create_directories(Dev());
        std::string ports;
        for (int n : {3, 4, 5, 7})
            ports += "COM" + std::to_string(n) + "=" + Missing() + "\r\n";
        dir.Write("lumidrax.INI", "[GENERAL]\r\nDATAPATH=" + dir.Path() + "/\r\nSAVEROOT=" + dir.Path() +
                                      "/\r\n" + general + "[PORTS]\r\n" + ports);
        MainWindowOptions options;
        options.Dialogs = &dialogs;
        options.SettingsAt = SettingsLocation{Ini(), dir.Path() + "/"};
        options.DeviceFolder = Dev();
        w = std::make_unique<TFrm_main_Lumidrax32>(options);
        QSignalSpy initialised(w.get(), &TFrm_main_Lumidrax32::Initialised);
        return initialised.wait(5000);
    }

    // Opens the dialog from the menu and runs `steps` on it; whatever the
    // steps leave open is cancelled, so that no test waits for a person.
    // True when the dialog opened.
    bool WithDialog(const std::function<void(SettingsDialog&)>& steps)
    {
        bool opened = false;
        QTimer::singleShot(0, w.get(), [&] {
            auto* d = qobject_cast<SettingsDialog*>(QApplication::activeModalWidget());
            if (d != nullptr) {
                opened = true;
                steps(*d);
            }
            if (QWidget* modal = QApplication::activeModalWidget())
                if (auto* dialog = qobject_cast<QDialog*>(modal))
                    dialog->reject();
        });
        w->Menus().mi_file_setup->trigger();
        return opened;
    }

    std::string Key(const std::string& section, const std::string& key) const
    {
        return IniFile::Parse(test::ReadFile(Ini())).Get(section, key).value_or("(none)");
    }
};

// The next modal dialog (a directory chooser) chooses `dir`.
void ChooseNextDirectory(const QString& dir)
{
    QTimer::singleShot(0, [dir] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* chooser = qobject_cast<DirectoryChooser*>(modal)) {
            chooser->SetDirectory(dir);
            chooser->accept();
        } else if (auto* other = qobject_cast<QDialog*>(modal)) {
            other->reject();
        }
    });
}

struct ControlCase {
    const char* Name;
    std::function<void(SettingsDialog&, const std::string& tempDir)> Change;
    std::function<bool(const Settings&, const std::string& tempDir)> Check;
    const char* Section;
    const char* Key;
    std::string Value; // "@" stands for the temporary folder
};

TEST(SettingsDialog, EveryControlReachesTheSettingsAndTheFile)
{
    const std::vector<ControlCase> cases = {
        {"rb_std, b_select_datapath",
         [](SettingsDialog& d, const std::string& t) {
             d.rb_std->click();
             ChooseNextDirectory(QString::fromStdString(t + "/dev"));
             d.b_select_datapath->click();
         },
         [](const Settings& s, const std::string& t) { return !s.LastPath && s.DataPath == t + "/dev/"; },
         "GENERAL", "DATAPATH", "@/dev/"},
        {"b_select_saveroot",
         [](SettingsDialog& d, const std::string& t) {
             ChooseNextDirectory(QString::fromStdString(t + "/dev"));
             d.b_select_saveroot->click();
         },
         [](const Settings& s, const std::string& t) { return s.SaveRoot == t + "/dev/"; }, "GENERAL",
         "SAVEROOT", "@/dev/"},
        {"rb_last", [](SettingsDialog& d, const std::string&) { d.rb_last->click(); },
         [](const Settings& s, const std::string&) { return s.LastPath; }, "GENERAL", "LASTPATH", "1"},
        {"chb_autosave", [](SettingsDialog& d, const std::string&) { d.chb_autosave->click(); },
         [](const Settings& s, const std::string&) { return s.AutoSave && s.AutoName; }, "GENERAL",
         "AUTOSAVE", "1"},
        {"chb_refinfo", [](SettingsDialog& d, const std::string&) { d.chb_refinfo->click(); },
         [](const Settings& s, const std::string&) { return !s.RefInfoVisible; }, "CURVES", "INFO", "0"},
        {"chb_savesetings", [](SettingsDialog& d, const std::string&) { d.chb_savesetings->click(); },
         [](const Settings& s, const std::string&) { return !s.SaveSettingsOnExit; }, "GENERAL",
         "SAVESETTINGS", "0"},
        {"cb_font_size", [](SettingsDialog& d, const std::string&) { d.cb_font_size->setCurrentIndex(4); },
         [](const Settings& s, const std::string&) { return s.ReportFontSize == 12; }, "GENERAL", "FONTSIZE",
         "12"},
        {"cb_linewidth", [](SettingsDialog& d, const std::string&) { d.cb_linewidth->setCurrentIndex(2); },
         [](const Settings& s, const std::string&) { return s.LineWidth == 5; }, "GENERAL", "LINEWIDTH", "5"},
        {"cb_chartlist", [](SettingsDialog& d, const std::string&) { d.cb_chartlist->setCurrentIndex(2); },
         [](const Settings& s, const std::string&) { return s.ChartListMode == 2; }, "MAIN", "CHARTLIST",
         "2"},
        {"se_port", [](SettingsDialog& d, const std::string&) { d.se_port->setValue(7); },
         [](const Settings& s, const std::string&) { return s.PortCom == 7; }, "GENERAL", "PORT_COM", "7"},
        {"se_port_bt1", [](SettingsDialog& d, const std::string&) { d.se_port_bt1->setValue(3); },
         [](const Settings& s, const std::string&) { return s.PortBT1 == 3; }, "GENERAL", "PORT_BT1", "3"},
        {"se_port_bt2", [](SettingsDialog& d, const std::string&) { d.se_port_bt2->setValue(4); },
         [](const Settings& s, const std::string&) { return s.PortBT2 == 4; }, "GENERAL", "PORT_BT2", "4"},
        {"se_sensitivity", [](SettingsDialog& d, const std::string&) { d.se_sensitivity->setValue(7.5); },
         [](const Settings& s, const std::string&) { return s.EventSensitivity == 7.5L; }, "EVENTS",
         "SENSITIVITY", "7,5"},
        {"se_floor", [](SettingsDialog& d, const std::string&) { d.se_floor->setValue(2.5); },
         [](const Settings& s, const std::string&) { return s.EventLevelFloor == 2.5L; }, "EVENTS", "FLOOR",
         "2,5"},
        {"rb_bt", [](SettingsDialog& d, const std::string&) { d.rb_bt->click(); },
         [](const Settings& s, const std::string&) { return !s.IsComConnection(); }, "GENERAL", "CONNECTION",
         "BT"},
    };
    SettingsViewer v;
    ASSERT_TRUE(v.Start());
    const std::string t = v.dir.Path();
    for (const ControlCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_TRUE(v.WithDialog([&](SettingsDialog& d) {
            c.Change(d, t);
            d.b_close->click(); // no port opens: the dialog stays
            EXPECT_TRUE(d.isVisible());
            d.b_save->click();
        }));
        EXPECT_TRUE(c.Check(v.w->AppSettings(), t));
        std::string value = c.Value;
        if (value.starts_with('@'))
            value = t + value.substr(1);
        EXPECT_EQ(v.Key(c.Section, c.Key), value);
    }
    // The event table detects with the sensitivity applied.
    EXPECT_EQ(v.w->ChartsPage().Events()->Sensitivity(), 7.5L);
    EXPECT_EQ(v.w->ChartsPage().Events()->LevelFloor(), 2.5L);
    // The report font: Apply takes it, Save writes it.
    EXPECT_TRUE(v.WithDialog([&](SettingsDialog& d) {
        ASSERT_GT(d.cb_font_name->count(), 0);
        d.cb_font_name->setCurrentIndex(d.cb_font_name->count() - 1);
        d.b_close->click();
        d.b_save->click();
    }));
    const std::string font = v.w->AppSettings().ReportFontName;
    EXPECT_NE(font, "Courier New");
    EXPECT_EQ(v.Key("GENERAL", "FONTNAME"), font);
    EXPECT_TRUE(v.dialogs.Log.empty());
}

TEST(SettingsDialog, EqualBluetoothPortsAreRefusedAndTheDialogStays)
{
    SettingsViewer v;
    ASSERT_TRUE(v.Start());
    const Settings before = v.w->AppSettings();
    EXPECT_TRUE(v.WithDialog([&](SettingsDialog& d) {
        d.rb_bt->click();
        d.se_port_bt1->setValue(5);
        d.se_port_bt2->setValue(5);
        d.b_close->click();
        EXPECT_TRUE(d.isVisible());
        d.se_port_bt2->setValue(0);
        d.se_port_bt1->setValue(0);
        d.b_close->click(); // 0 and 0 pass the check
        EXPECT_EQ(v.w->AppSettings().Connection, "BT");
        EXPECT_TRUE(d.isVisible()); // no port to open: it says so
        EXPECT_EQ(d.lbl_apply->text(), "Applied, but no port is set for BT: choose the instrument's device "
                                       "above, or a port number.");
    }));
    EXPECT_EQ(v.dialogs.Messages(),
              std::vector<std::string>{"Error: Port numbers for BT communication can not be the same."});
    // The dialog was cancelled: what Apply did is taken back.
    EXPECT_EQ(v.w->AppSettings().Connection, "COM");
    EXPECT_EQ(before.Connection, "COM");
}

TEST(SettingsDialog, CancelChangesNothing)
{
    SettingsViewer v;
    ASSERT_TRUE(v.Start());
    const Settings before = v.w->AppSettings();
    const std::string file = test::ReadFile(v.Ini());
    EXPECT_TRUE(v.WithDialog([&](SettingsDialog& d) {
        d.rb_bt->click();
        d.se_port_bt1->setValue(3);
        d.chb_autosave->click();
        d.cb_linewidth->setCurrentIndex(1);
        d.cb_chartlist->setCurrentIndex(1);
        QTest::keyClick(&d, Qt::Key_F1);
        auto* help = d.findChild<HelpWindow*>();
        ASSERT_NE(help, nullptr);
        EXPECT_TRUE(help->isVisible());
        d.b_cancel->click();
    }));
    EXPECT_EQ(v.w->AppSettings(), before);
    EXPECT_EQ(test::ReadFile(v.Ini()), file);
    EXPECT_TRUE(v.w->Menus().rb_com->isChecked());
}

TEST(SettingsDialog, PickedDeviceIsWrittenToPorts)
{
    SettingsViewer v;
    ASSERT_TRUE(v.Start("PORT_COM=5\r\n"));
    v.dir.Write("dev/ttyUSB0", "");
    EXPECT_TRUE(v.WithDialog([&](SettingsDialog& d) {
        DeviceComboBox* list = d.DeviceList(5);
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->currentText().toStdString(), v.Missing());
        v.dir.Write("dev/rfcomm0", ""); // appears while the dialog is open
        list->showPopup();
        const int rfcomm = list->findText(QString::fromStdString(v.dir.File("dev/rfcomm0")));
        ASSERT_GE(rfcomm, 0);
        EXPECT_GE(list->findText(QString::fromStdString(v.dir.File("dev/ttyUSB0"))), 0);
        list->hidePopup();
        list->setCurrentIndex(rfcomm);
        d.b_close->click();
        EXPECT_EQ(d.DeviceStateText(5).toStdString(), v.dir.File("dev/rfcomm0") + ": not a serial device");
        d.b_save->click(); // a file opens no port: kept by Save, not taken back by Cancel
    }));
    EXPECT_EQ(v.w->AppSettings().DeviceOfPort(5), v.dir.File("dev/rfcomm0"));
    EXPECT_EQ(v.Key("PORTS", "COM5"), v.dir.File("dev/rfcomm0"));
}

TEST(SettingsDialog, ApplyReopensThePortsAndClosesOnceOneIsOpen)
{
    BarePty pty;
    SettingsViewer v;
    ASSERT_TRUE(v.Start("PORT_COM=4\r\n"));
    v.dialogs.Log.clear(); // the start's "unable to open port"
    ASSERT_FALSE(v.w->Link().Port(1).Connected());
    const QString why = QString::fromStdString("COM4: " + v.Missing() + ": no such device");
    EXPECT_EQ(v.w->Link().ProgressField()->text(), why);
    EXPECT_EQ(v.w->Menus().e_port->toolTip(), why);
    bool stayedOpen = false;
    EXPECT_TRUE(v.WithDialog([&](SettingsDialog& d) {
        d.b_close->click();
        stayedOpen = d.isVisible();
        d.DeviceList(4)->setEditText(QString::fromStdString(pty.Path()));
        d.b_close->click();
        EXPECT_FALSE(d.isVisible());
    }));
    EXPECT_TRUE(stayedOpen);
    EXPECT_TRUE(v.w->Link().Port(1).Connected());
    EXPECT_EQ(v.w->Link().Port(1).Device(), pty.Path());
    EXPECT_EQ(v.w->Menus().e_port->text(), "COM4");
    EXPECT_TRUE(v.w->Menus().e_port->toolTip().isEmpty());
    EXPECT_EQ(v.Key("PORTS", "COM4"), pty.Path());
    EXPECT_TRUE(v.dialogs.Log.empty());
}

// The next modal dialog (the identification) is started; it closes itself
// when it found the instrument. When nothing answered, its log stays until
// the user closes it.
void StartNextIdentification()
{
    QTimer::singleShot(0, [] {
        auto* sniff = qobject_cast<Tfrm_sniff*>(QApplication::activeModalWidget());
        if (!sniff)
            return;
        QObject::connect(
            sniff, &Tfrm_sniff::searchFinished, sniff,
            [sniff] {
                if (sniff->Result().Found())
                    return;
                EXPECT_TRUE(sniff->isVisible());
                EXPECT_TRUE(sniff->m_log->toPlainText().endsWith(
                    "Done\nNo instrument answered. Close this window when you have read the log."));
                sniff->b_close->click();
            },
            Qt::QueuedConnection);
        sniff->b_start->click();
    });
}

TEST(SettingsDialog, IdentificationFindsAnInstrumentOnADeviceWithoutANumber)
{
    SimPty sim({"--model", "VKR104", "--answer-only", "--wait", "20000"});
    ASSERT_FALSE(sim.Path().empty());
    SettingsViewer v;
    ASSERT_TRUE(v.Start("PORT_COM=3\r\n"));
    v.dialogs.Log.clear();
    // A name of its own: the serial port's lock file is named after it.
    const std::string rfcomm = v.Dev() + "/rfcomm" + std::to_string(::getpid());
    EXPECT_TRUE(v.WithDialog([&](SettingsDialog& d) {
        EXPECT_EQ(d.DeviceStateText(3).toStdString(), v.Missing() + ": no such device");
        StartNextIdentification();
        d.b_detect_bt->click();
        ASSERT_EQ(v.dialogs.Log.size(), 1u);
        EXPECT_EQ(v.dialogs.Log[0].Text, "Unable to find VKR device.");
        EXPECT_TRUE(d.rb_com->isChecked());

        fs::create_symlink(sim.Path(), rfcomm);
        StartNextIdentification();
        d.b_detect_bt->click();
        EXPECT_EQ(d.se_port_bt1->value(), 1); // the lowest number free in the device folder
        EXPECT_EQ(d.se_port_bt2->value(), 0);
        EXPECT_TRUE(d.rb_bt->isChecked());
        ASSERT_NE(d.DeviceList(1), nullptr);
        EXPECT_EQ(d.DeviceList(1)->currentText().toStdString(), rfcomm);
        EXPECT_EQ(d.DeviceStateText(1).toStdString(), rfcomm + ": ready");
    }));
    EXPECT_EQ(v.dialogs.Log.size(), 1u);
    EXPECT_EQ(v.Key("PORTS", "COM1"), rfcomm);
    EXPECT_EQ(v.w->AppSettings().Connection, "BT");
    EXPECT_TRUE(v.w->Menus().rb_bt->isChecked());
}

} // namespace
} // namespace lumidrax
