#include "SettingsDialogRules.h"

#include "MessageCatalogue.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <string_view>
#include <system_error>

namespace lumidrax {

namespace {

constexpr int kLineWidthItems = 3;
constexpr std::array<std::string_view, 4> kSerialPrefixes = {"ttyS", "ttyUSB", "ttyACM", "rfcomm"};

bool IsSerialName(const std::string& name)
{
    return std::any_of(kSerialPrefixes.begin(), kSerialPrefixes.end(),
                       [&](std::string_view p) { return name.size() > p.size() && name.starts_with(p); });
}

} // namespace

int FontSizeItem(int size)
{
    return size >= kDialogFontSizeMin && size <= kDialogFontSizeMax ? size - kDialogFontSizeMin : -1;
}

int FontSizeOfItem(int item, int current)
{
    return item >= 0 && item <= kDialogFontSizeMax - kDialogFontSizeMin ? item + kDialogFontSizeMin : current;
}

int LineWidthItem(int width)
{
    return width / 2;
}

int LineWidthOfItem(int item, int current)
{
    return item >= 0 && item < kLineWidthItems ? 2 * item + 1 : current;
}

long double SensitivityOfSpin(double value, long double current)
{
    const long double shown = std::round(current * 10) / 10;
    if (std::fabs(static_cast<long double>(value) - shown) < 0.01L)
        return current;
    return std::round(static_cast<long double>(value) * 10) / 10;
}

int CheckDialogSettings(const Settings& edited)
{
    if (edited.PortBT1 != 0 && edited.PortBT1 == edited.PortBT2)
        return kErrSamePorts;
    return 0;
}

std::string WithTrailingSlash(const std::string& path)
{
    if (path.empty() || path.back() == '/')
        return path;
    return path + '/';
}

Settings DialogResult(const Settings& current, const Settings& edited, bool keepFonts)
{
    Settings result = edited;
    result.SaveRoot = WithTrailingSlash(edited.SaveRoot);
    result.DataPath = edited.LastPath ? current.DataPath : WithTrailingSlash(edited.DataPath);
    if (keepFonts) {
        result.ReportFontName = current.ReportFontName;
        result.ReportFontSize = current.ReportFontSize;
    }
    if (result.AutoSave)
        result.AutoName = true;
    return result;
}

void TakeDialogFields(Settings& target, const Settings& value)
{
    target.DataPath = value.DataPath;
    target.SaveRoot = value.SaveRoot;
    target.ReportFontName = value.ReportFontName;
    target.ReportFontSize = value.ReportFontSize;
    target.SaveSettingsOnExit = value.SaveSettingsOnExit;
    target.LastPath = value.LastPath;
    target.LineWidth = value.LineWidth;
    target.AutoName = value.AutoName;
    target.AutoSave = value.AutoSave;
    target.RefInfoVisible = value.RefInfoVisible;
    target.ChartListMode = value.ChartListMode;
    target.EventSensitivity = value.EventSensitivity;
    target.EventLevelFloor = value.EventLevelFloor;
    target.Connection = value.Connection;
    target.PortCom = value.PortCom;
    target.PortBT1 = value.PortBT1;
    target.PortBT2 = value.PortBT2;
    target.PortDevices = value.PortDevices;
    target.ArchiveEnabled = value.ArchiveEnabled;
    target.ArchiveEngine = value.ArchiveEngine;
    target.ArchiveFile = value.ArchiveFile;
    target.ArchiveHost = value.ArchiveHost;
    target.ArchivePort = value.ArchivePort;
    target.ArchiveDatabase = value.ArchiveDatabase;
    target.ArchiveUser = value.ArchiveUser;
}

std::vector<std::string> ListSerialDevices(const std::string& devDir)
{
    namespace fs = std::filesystem;
    std::vector<std::string> devices;
    std::error_code ec;
    for (fs::directory_iterator it(devDir, ec), end; !ec && it != end; it.increment(ec))
        if (IsSerialName(it->path().filename().string()))
            devices.push_back(it->path().string());
    const fs::path byId = fs::path(devDir) / "serial" / "by-id";
    ec.clear();
    for (fs::directory_iterator it(byId, ec), end; !ec && it != end; it.increment(ec))
        devices.push_back(it->path().string());
    std::sort(devices.begin(), devices.end());
    return devices;
}

bool SavePortDevice(const SettingsLocation& location, int port, const std::string& device, std::string& error)
{
    return EditSettingsFile(
        location, [&](IniFile& ini) { ini.Set("PORTS", "COM" + std::to_string(port), device); }, error);
}

} // namespace lumidrax
