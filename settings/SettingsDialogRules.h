#pragma once
// The rules of the Settings dialog that need no window: how its list
// controls map to settings fields, the check before Apply, the paths made
// to end with '/', the value that Apply and Save hand to the window, the
// serial devices offered for a port number, and writing a port's device to
// [PORTS]. No Qt.

#include "Settings.h"
#include "SettingsFile.h"

#include <string>
#include <vector>

namespace lumidrax {

// Report font sizes offered: "8" .. "14".
inline constexpr int kDialogFontSizeMin = 8;
inline constexpr int kDialogFontSizeMax = 14;

// Font size list item of a size (size - 8); -1 (nothing selected) outside
// 8..14.
int FontSizeItem(int size);
// Size of a list item; `current` when no item is selected.
int FontSizeOfItem(int item, int current);
// Line width list item: 1, 3, 5 -> 0, 1, 2 (width / 2).
int LineWidthItem(int width);
// Width of a list item (1, 3 or 5); `current` when no item is selected.
int LineWidthOfItem(int item, int current);

// The event sensitivity or level floor a spin box value (one decimal) stands
// for:
// `current` when the value is `current` rounded to one decimal (a finer
// value from the settings file stays as it is), otherwise the value.
long double SensitivityOfSpin(double value, long double current);

// 0 when the dialog's values may be applied, otherwise the catalogue code:
// kErrSamePorts for equal non-zero Bluetooth ports.
int CheckDialogSettings(const Settings& edited);

// `path` with a '/' appended when it does not end with one (empty stays
// empty).
std::string WithTrailingSlash(const std::string& path);

// What Apply (keepFonts = false) or Save (keepFonts = true) hands to the
// window: the edited value with the save root ending with '/', and the data
// path ending with '/' taken from the dialog with "Always use Path" only
// (with "Last used" it stays as it is in `current`). Save keeps the current
// report font name and size. Automatic saving implies automatic names.
Settings DialogResult(const Settings& current, const Settings& edited, bool keepFonts);

// Copies the fields the dialog edits (paths, fonts, flags, line width,
// chart list mode, event sensitivity and floor, connection, port numbers, [PORTS]
// devices, the [ARCHIVE] location) from `value` into `target`; the window's
// own fields (geometry, column widths) stay.
void TakeDialogFields(Settings& target, const Settings& value);

// The serial devices present under the device folder `devDir` ("/dev" on a
// real system): ttyS*, ttyUSB*, ttyACM*, rfcomm* and serial/by-id/*, as
// full paths, sorted.
std::vector<std::string> ListSerialDevices(const std::string& devDir);

// Writes COMn=device into [PORTS] of the settings file.
bool SavePortDevice(const SettingsLocation& location, int port, const std::string& device,
                    std::string& error);

} // namespace lumidrax
