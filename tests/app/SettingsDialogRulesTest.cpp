// The Settings dialog's rules without a window: list items, the -13 check,
// the value Apply and Save hand over, the devices offered, [PORTS].

#include "SettingsDialogRules.h"
#include "MessageCatalogue.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace lumidrax {
namespace {

using test::TempDir;

TEST(SettingsDialogRules, ListItemsMapToSizesAndWidths)
{
    EXPECT_EQ(FontSizeItem(8), 0);
    EXPECT_EQ(FontSizeItem(14), 6);
    EXPECT_EQ(FontSizeItem(20), -1);
    EXPECT_EQ(FontSizeOfItem(2, 10), 10);
    EXPECT_EQ(FontSizeOfItem(-1, 20), 20);
    EXPECT_EQ(LineWidthItem(1), 0);
    EXPECT_EQ(LineWidthItem(5), 2);
    EXPECT_EQ(LineWidthOfItem(1, 1), 3);
    EXPECT_EQ(LineWidthOfItem(-1, 5), 5);
    EXPECT_EQ(SensitivityOfSpin(6.3, 6.25L), 6.25L); // the file's finer value stays
    EXPECT_EQ(SensitivityOfSpin(7, 6.25L), 7);
}

TEST(SettingsDialogRules, EqualNonZeroBluetoothPortsAreRefused)
{
    Settings s;
    EXPECT_EQ(CheckDialogSettings(s), 0); // 0 and 0
    s.PortBT1 = s.PortBT2 = 5;
    EXPECT_EQ(CheckDialogSettings(s), kErrSamePorts);
    s.PortBT2 = 6;
    EXPECT_EQ(CheckDialogSettings(s), 0);
}

TEST(SettingsDialogRules, ApplyEndsPathsWithSlashAndSaveKeepsFonts)
{
    Settings current;
    current.DataPath = "/old/";
    Settings edited = current;
    edited.DataPath = "/new";
    edited.SaveRoot = "/root";
    edited.ReportFontName = "Mono";
    edited.ReportFontSize = 12;
    edited.AutoName = false;
    edited.AutoSave = true;

    Settings lastUsed = DialogResult(current, edited, false);
    EXPECT_EQ(lastUsed.DataPath, "/old/");
    EXPECT_EQ(lastUsed.SaveRoot, "/root/");
    EXPECT_EQ(lastUsed.ReportFontName, "Mono");
    EXPECT_TRUE(lastUsed.AutoName);

    edited.LastPath = false;
    Settings saved = DialogResult(current, edited, true);
    EXPECT_EQ(saved.DataPath, "/new/");
    EXPECT_EQ(saved.ReportFontName, current.ReportFontName);
    EXPECT_EQ(saved.ReportFontSize, current.ReportFontSize);
}

TEST(SettingsDialogRules, SerialDevicesAreListedFromTheGivenFolder)
{
    TempDir dev;
    for (const char* name : {"ttyS0", "ttyUSB1", "ttyACM0", "rfcomm0", "tty1", "null", "ttyS"})
        dev.Write(name, "");
    std::filesystem::create_directories(dev.File("serial/by-id"));
    dev.Write("serial/by-id/usb-VKR", "");
    const std::vector<std::string> want = {dev.File("rfcomm0"), dev.File("serial/by-id/usb-VKR"),
                                           dev.File("ttyACM0"), dev.File("ttyS0"), dev.File("ttyUSB1")};
    EXPECT_EQ(ListSerialDevices(dev.Path()), want);
    EXPECT_TRUE(ListSerialDevices(dev.File("missing")).empty());
}

TEST(SettingsDialogRules, PortDeviceIsWrittenToPortsAndOtherLinesStay)
{
    TempDir dir;
    SettingsLocation at{dir.Write("lumidrax.INI", "[GENERAL]\nPORT=5\n"), dir.Path() + "/"};
    std::string error;
    ASSERT_TRUE(SavePortDevice(at, 5, "/dev/rfcomm0", error)) << error;
    const LoadedSettings loaded = LoadSettingsFile(at);
    EXPECT_EQ(loaded.Values.DeviceOfPort(5), "/dev/rfcomm0");
    EXPECT_EQ(loaded.Values.Port, 5);
}

} // namespace
} // namespace lumidrax
