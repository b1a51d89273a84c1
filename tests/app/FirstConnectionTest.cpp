// A first start with no settings file, as a new user meets it at the
// window's default size: the port controls are in sight and say that no
// port is set; the Settings dialog lists the devices present and tells a
// terminal from a FIFO, /dev/null, a folder and a link loop; Apply with no
// port says why the dialog stays; a device picked from the list gets a
// number and opens; Cancel takes back what Apply did.

#include "AppTestSupport.h"
#include "ChartMenus.h"
#include "DeviceComboBox.h"
#include "IniFile.h"
#include "InstrumentLink.h"
#include "PortTestSupport.h"
#include "SettingsDialog.h"
#include "TComPort.h"
#include "TFrm_main_Lumidrax32.h"
#include "TestSupport.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <functional>

namespace lumidrax {
namespace {

namespace fs = std::filesystem;
using test::BarePty;
using test::FakeDialogs;
using test::TempDir;

const QColor kGreen(0, 128, 0), kRed(255, 0, 0);

// Seen in the tool bar: shown and inside its visible part, not behind "››".
bool InSight(QToolBar* bar, QWidget* control)
{
    return control->isVisible() && bar->rect().contains(control->geometry());
}

// Opens the Settings dialog from the menu and runs `steps` on it; what the
// steps leave open is cancelled.
bool WithDialog(TFrm_main_Lumidrax32& w, const std::function<void(SettingsDialog&)>& steps)
{
    bool opened = false;
    QTimer::singleShot(0, &w, [&] {
        if (auto* d = qobject_cast<SettingsDialog*>(QApplication::activeModalWidget())) {
            opened = true;
            steps(*d);
        }
        if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            d->reject();
    });
    w.Menus().mi_file_setup->trigger();
    return opened;
}

TEST(FirstConnection, NoPortIsSaidAndADevicePickedInTheSettingsOpens)
{
    BarePty instrument;
    TempDir dir;
    const std::string dev = dir.File("dev");
    fs::create_directories(dev + "/ttyS3"); // a folder
    fs::create_symlink(instrument.Path(), dev + "/ttyUSB0");
    ASSERT_EQ(::mkfifo((dev + "/ttyACM0").c_str(), 0600), 0);
    fs::create_symlink("/dev/null", dev + "/ttyUSB1");
    fs::create_symlink("/dev/zero", dev + "/ttyUSB2");
    fs::create_symlink(dev + "/rfcomm0", dev + "/rfcomm0");
    FakeDialogs dialogs;
    MainWindowOptions options;
    options.SettingsAt = SettingsLocation{dir.File("lumidrax.INI"), dir.Path() + "/"};
    options.DeviceFolder = dev;
    std::unique_ptr<TFrm_main_Lumidrax32> w;
    ASSERT_TRUE(test::StartViewer(w, dialogs, options));
    // The default size; the chart page may hold the window a few pixels
    // wider than 800 with the test's fonts.
    EXPECT_EQ(w->AppSettings().Width, 800);
    EXPECT_LE(w->Menus().ToolBar->width(), 802);

    ChartMenus& m = w->Menus();
    QLineEdit* box = m.e_port;
    const QString noPort = "No port is set for RS 232: choose the instrument's device in File > Settings...";
    for (QWidget* control : std::initializer_list<QWidget*>{m.rb_com, m.rb_bt, box})
        EXPECT_TRUE(InSight(m.ToolBar, control)) << control->objectName().toStdString();
    EXPECT_EQ(box->toolTip(), noPort);
    EXPECT_EQ(w->Link().ProgressField()->text(), "No port set: see Settings... (F12)");
    EXPECT_EQ(w->Link().ProgressField()->toolTip(), noPort);
    EXPECT_TRUE(box->text().isEmpty());
    EXPECT_EQ(box->placeholderText(), "no port");
    QTest::mouseClick(m.rb_bt, Qt::LeftButton);
    EXPECT_EQ(box->toolTip(), "No port is set for BT: choose the instrument's device in File > Settings...");
    QTest::mouseClick(m.rb_com, Qt::LeftButton);
    EXPECT_EQ(box->toolTip(), noPort);
    EXPECT_TRUE(box->text().isEmpty());
    EXPECT_NE(box->palette().color(QPalette::Base), kRed);
    EXPECT_TRUE(dialogs.Log.empty());

    EXPECT_TRUE(WithDialog(*w, [&](SettingsDialog& d) {
        DeviceComboBox* list = d.NewDeviceList();
        ASSERT_NE(list, nullptr);
        const struct {
            const char* Name;
            const char* State;
        } devices[] = {{"rfcomm0", "symbolic link loop"},          {"ttyACM0", "not a serial device"},
                       {"ttyS3", "a folder, not a serial device"}, {"ttyUSB0", "ready"},
                       {"ttyUSB1", "not a serial device"},         {"ttyUSB2", "not a serial device"}};
        ASSERT_EQ(list->count(), static_cast<int>(std::size(devices)));
        for (int i = 0; i < list->count(); ++i) {
            const std::string path = dev + "/" + devices[i].Name;
            EXPECT_EQ(list->itemText(i).toStdString(), path);
            EXPECT_EQ(list->itemData(i, Qt::ToolTipRole).toString().toStdString(),
                      path + ": " + devices[i].State);
        }

        d.b_close->click(); // nothing chosen yet
        EXPECT_TRUE(d.isVisible());
        EXPECT_TRUE(d.lbl_apply->isVisible());
        EXPECT_EQ(d.lbl_apply->text(), "Applied, but no port is set for RS 232: choose the instrument's "
                                       "device above, or a port number.");

        list->setCurrentIndex(list->findText(QString::fromStdString(dev + "/ttyUSB0")));
        ASSERT_TRUE(QTest::qWaitFor([&] { return d.se_port->value() != 0; }));
        EXPECT_EQ(d.se_port->value(), 1); // the lowest number with no ttyS device of its own
        EXPECT_EQ(d.NewDeviceList(), nullptr);
        ASSERT_NE(d.DeviceList(1), nullptr);
        EXPECT_EQ(d.DeviceStateText(1).toStdString(), dev + "/ttyUSB0: ready");
        d.b_close->click();
        EXPECT_FALSE(d.isVisible());
    }));
    EXPECT_TRUE(w->Link().Port(1).Connected());
    EXPECT_EQ(box->text(), "COM1");
    EXPECT_EQ(box->palette().color(QPalette::Base), kGreen);
    EXPECT_TRUE(box->toolTip().isEmpty());
    EXPECT_EQ(IniFile::Parse(test::ReadFile(dir.File("lumidrax.INI"))).Get("PORTS", "COM1").value_or(""),
              dev + "/ttyUSB0");

    // A number whose device is missing: Apply says why the dialog stays,
    // Cancel goes back to the port that worked.
    EXPECT_TRUE(WithDialog(*w, [&](SettingsDialog& d) {
        d.se_port->setValue(9);
        d.b_close->click();
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(d.lbl_apply->text().toStdString(),
                  "Applied, but no port opened: COM9: " + dev + "/ttyS8: no such device");
        EXPECT_EQ(box->palette().color(QPalette::Base), kRed);
        d.b_cancel->click();
    }));
    EXPECT_EQ(w->AppSettings().PortCom, 1);
    EXPECT_TRUE(w->Link().Port(1).Connected());
    EXPECT_EQ(box->text(), "COM1");
    EXPECT_EQ(box->palette().color(QPalette::Base), kGreen);
    EXPECT_TRUE(dialogs.Log.empty());
}

} // namespace
} // namespace lumidrax
