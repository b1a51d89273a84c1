#pragma once
// The program's settings as one plain value: what the settings file holds
// and what the main window applies at start and collects again before it
// writes the file. No Qt.

#include "EventDetection.h"
#include "SettingsTextCodec.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace lumidrax {

// Values of MAIN/STATE.
inline constexpr int kWindowStateNormal = 2;
inline constexpr int kWindowStateMaximized = 3;
// Not a value of the file: the window is minimised when the settings are
// written, so neither STATE nor (in the full form) the geometry is written.
inline constexpr int kWindowStateMinimized = 1;

// Chart list modes (MAIN/CHARTLIST).
inline constexpr int kChartListAll = 0;
inline constexpr int kChartListDisplayed = 1;
inline constexpr int kChartListHidden = 2;

// Values of ARCHIVE/ENGINE.
inline constexpr const char* kArchiveEngineSQLite = "SQLITE";
inline constexpr const char* kArchiveEnginePostgreSQL = "POSTGRESQL";
inline constexpr int kArchiveDefaultPort = 5432;

// [REPORT]: what the Test Report dialog was given last (the header fields
// but the date, the limit template and the last report written).
struct TestReportSettings {
    std::string Job, Customer, Site, Cable, Operator, Model, Serial; // JOB, CUSTOMER, ...
    std::string Template;                                            // TEMPLATE: limit template file
    std::string Output;                                              // OUTPUT: last report (PDF) written
    bool operator==(const TestReportSettings&) const = default;
};

struct Settings {
    // [GENERAL]
    std::string DataPath;                       // DATAPATH: start folder of the open dialogs; ends with '/'
    std::string SaveRoot;                       // SAVEROOT: root of automatic saving; ends with '/'
    std::string ReportFontName = "Courier New"; // FONTNAME
    int ReportFontSize = 10;                    // FONTSIZE
    bool SaveSettingsOnExit = true;             // SAVESETTINGS: exit writes the full (on) or partial form
    bool LastPath = true;                       // LASTPATH: data path follows the last opened file
    int LineWidth = 1;                          // LINEWIDTH: 1, 3 or 5
    bool AutoName = true;                       // AUTONAME: written, never read (on after every start)
    bool AutoSave = false;                      // AUTOSAVE
    std::string Connection = "COM";             // CONNECTION: "COM" (RS-232) or anything else (Bluetooth)
    std::uint8_t Port = 0;                      // PORT: legacy port, default of the next two
    std::uint8_t PortCom = 0;                   // PORT_COM: RS-232 port
    std::uint8_t PortBT1 = 0;                   // PORT_BT1: Bluetooth port 1
    std::uint8_t PortBT2 = 0;                   // PORT_BT2: Bluetooth port 2, 0 = not used

    // [MAIN]
    // REPLISTWIDTH: nothing when the file has none; the window then uses
    // half its width at start.
    std::optional<int> ReportListWidth;
    // STATE as read (2 normal, 3 maximised, any other: leave the window as
    // designed); before writing, the window's current state
    // (kWindowStateNormal, kWindowStateMaximized or kWindowStateMinimized).
    int WindowState = kWindowStateNormal;
    int Top = 0;                       // TOP
    int Left = 0;                      // LEFT
    int Width = 800;                   // WIDTH
    int Height = 500;                  // HEIGHT
    int ChartListHeight = 100;         // CURVELISTHEIGHT, pixels
    int ChartListMode = kChartListAll; // CHARTLIST
    int NameWidth = 450;               // NAMEWIDTH: chart list column "File"
    int DescWidth = 300;               // DESCWIDTH: chart list column "Description"
    bool InvertColors = false;         // INVERTCOLORS: dark colour scheme
    bool JoinSamples = false;          // CHARTLINES: samples joined by lines, not dots alone

    // [CURVES]
    bool RefInfoVisible = true; // INFO: reference chart info panel shown

    // [EVENTS]
    long double EventSensitivity = EventParams{}.Sensitivity; // SENSITIVITY: 0..9, decimal comma
    long double EventLevelFloor = EventParams{}.LevelFloor;   // FLOOR: percent, 0..50, decimal comma
    bool EventTableVisible = false;                           // TABLE: the event table shown

    // [ARCHIVE]: where every chart is recorded. No password, ever: the
    // PostgreSQL client finds it in PGPASSWORD, ~/.pgpass or PGPASSFILE.
    bool ArchiveEnabled = true;                       // ENABLED
    std::string ArchiveEngine = kArchiveEngineSQLite; // ENGINE: SQLITE or POSTGRESQL
    std::string ArchiveFile;                          // FILE: the SQLite file, empty = the default one
    std::string ArchiveHost;                          // HOST: server name or socket folder
    int ArchivePort = kArchiveDefaultPort;            // PORT: 1..65535
    std::string ArchiveDatabase = "lumidrax";         // DATABASE
    std::string ArchiveUser;                          // USER: empty = the client's default

    // [REPORT]
    TestReportSettings TestReport;

    // [PORTS]: COMn=device, read only (the section is kept in the file as
    // the user wrote it).
    std::map<int, std::string> PortDevices;

    // Not a key: the encoding the file was read in, kept when it is written.
    SettingsFileEncoding FileEncoding;

    bool IsComConnection() const { return Connection == "COM"; }
    // The serial port numbers the link opens: (RS-232 port, 0) for "COM",
    // otherwise the two Bluetooth ports.
    std::uint8_t SerialPort1() const { return IsComConnection() ? PortCom : PortBT1; }
    std::uint8_t SerialPort2() const { return IsComConnection() ? 0 : PortBT2; }

    // Device of serial port number n: the [PORTS] entry, otherwise
    // ttyS(n-1) of the device folder; empty for 0 (no port).
    std::string DeviceOfPort(int n, const std::string& devDir = "/dev") const
    {
        if (auto it = PortDevices.find(n); it != PortDevices.end())
            return it->second;
        return n >= 1 ? devDir + "/ttyS" + std::to_string(n - 1) : std::string();
    }

    bool operator==(const Settings&) const = default;
};

} // namespace lumidrax
