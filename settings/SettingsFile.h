#pragma once
// The settings file lumidrax.INI: where it lives, how its keys map to the
// Settings value, and the full and partial forms written back. No Qt.
//
// The main window's LoadSettings calls LoadSettingsFile once at start and
// applies the returned value; its SaveSettings(full) copies the current state
// (window geometry and state, column widths, ...) into a Settings value and
// calls SaveSettingsFile. Only the keys of the chosen form are written; every
// other line of the file (other keys, other sections such as [PORTS],
// comments) stays as it was.
//
// Keys and defaults:
//   [GENERAL] DATAPATH, SAVEROOT (default: data folder, see LocateSettings),
//             FONTNAME ("Courier New"), FONTSIZE (10), SAVESETTINGS (1),
//             LASTPATH (1), LINEWIDTH (1), AUTONAME (written, never read:
//             automatic names are on after every start), AUTOSAVE (0),
//             CONNECTION ("COM"), PORT (0), PORT_COM and PORT_BT1 (the
//             value of PORT), PORT_BT2 (0)
//   [MAIN]    REPLISTWIDTH (none: half the window's width), STATE (2),
//             TOP (0), LEFT (0), WIDTH (800), HEIGHT (500),
//             CURVELISTHEIGHT (100), CHARTLIST (0), NAMEWIDTH (450),
//             DESCWIDTH (300), INVERTCOLORS (0)
//   [CURVES]  INFO (1)
//   [EVENTS]  SENSITIVITY (5, a decimal number 0..9 of the event detection),
//             FLOOR (1, the level floor of the events in percent, 0..50),
//             TABLE (0, the event table shown); written in the full form only
//   [ARCHIVE] ENABLED (1), ENGINE (SQLITE or POSTGRESQL, any case; SQLITE),
//             FILE (empty: the default SQLite file), HOST (empty), PORT
//             (5432, 1..65535), DATABASE ("lumidrax"), USER (empty); written
//             in the full form only. No password is read or written.
//   [REPORT]  JOB, CUSTOMER, SITE, CABLE, OPERATOR, MODEL, SERIAL, TEMPLATE,
//             OUTPUT (all empty): the Test Report dialog's last values,
//             written when a report is made, and in the full form when
//             one is set or the file has the section
//   [PORTS]   COMn=device (read only)
// Integers are decimal, Booleans 1 or 0 (any non-zero integer is true); a
// missing key or a value that is not an integer gives the default. Port
// numbers keep the stored integer modulo 256. STATE=3 means maximised; the
// geometry read is then 0, 0, 800, 500.
//
// Values the program can never produce itself and could not use are replaced
// by the default and listed in LoadedSettings::Problems: a line width other
// than 1, 3 or 5, a chart list mode other than 0..2, a font size outside
// 1..200, window sizes outside 1..32767, positions, list heights and column
// widths outside -32768..32767 (negative sizes: default).

#include "IniFile.h"
#include "Settings.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace lumidrax {

inline constexpr const char* kSettingsFileName = "lumidrax.INI";

struct SettingsLocation {
    std::string File;       // full path of lumidrax.INI
    std::string DataFolder; // default of DATAPATH and SAVEROOT, ends with '/'
};

// Whether programDir is where a system or a user installation puts its
// programs: /usr (so /usr/bin, /usr/local/bin), /opt, /bin, /sbin, or
// $HOME/.local (`cmake --install --prefix ~/.local`). Such a folder never
// holds the settings or the data, even when writable (root, or a user's own
// prefix).
bool IsInstalledProgramFolder(const std::string& programDir, const std::string& home);

// The settings file is <programDir>/lumidrax.INI and the default data folder
// <programDir>/DATA/ when the program's folder is writable and not an
// installed one (a build tree, a folder of one's own). An installed or
// read-only program keeps them in the XDG folders:
// $XDG_CONFIG_HOME/lumidrax/lumidrax.INI and $XDG_DATA_HOME/lumidrax/DATA/
// (either one empty or not absolute: $HOME/.config, $HOME/.local/share).
// Without a home there is nowhere else: beside the program.
SettingsLocation LocateSettings(const std::string& programDir, bool programDirWritable,
                                const std::string& xdgConfigHome, const std::string& xdgDataHome,
                                const std::string& home);
// The same for this process: writability tested, XDG_CONFIG_HOME,
// XDG_DATA_HOME and HOME taken from the environment.
SettingsLocation LocateSettings(const std::string& programDir);

// Every setting at its default; dataFolder gives DATAPATH and SAVEROOT.
Settings DefaultSettings(const std::string& dataFolder);

struct LoadedSettings {
    Settings Values;
    // One line per value that was present but could not be used
    // ("MAIN/WIDTH=abc is not an integer; 800 is used"). A missing file or
    // key is not a problem.
    std::vector<std::string> Problems;
    // A file that exists but cannot be read (no access, or bytes that are
    // not text this program reads): one line for the status bar, also
    // printed on standard error. Empty when the file was read or is missing.
    std::string FileProblem;
};

// The settings from INI text already parsed.
LoadedSettings ReadSettings(const IniFile& ini, const std::string& dataFolder);

// Writes the keys of the full (full = true) or partial form into the INI
// text, in the order of that form.
void WriteSettings(IniFile& ini, const Settings& settings, bool full);

// Reads the settings file (a missing file gives the defaults) in the
// encoding its bytes show (see SettingsTextCodec.h), which the values keep
// as FileEncoding. A path that is not a regular file (a FIFO, a device) or
// a file larger than 1 MB is not read: the defaults are used and the reason
// is a problem.
LoadedSettings LoadSettingsFile(const SettingsLocation& location);

// Reads the file as it is now (if it exists), lets `edit` change it, and
// writes it back atomically: a temporary file in the same folder renamed over
// the old one, so a failed write never destroys the previous settings. The
// folder is created when missing. The file keeps the encoding it has; a new
// one is written in newFileEncoding (UTF-8 without a mark when not given).
// A file whose bytes cannot be read as text is left alone, and so is a
// settings path that is not a regular file (standard error says so and the
// result is true). On failure returns false and puts the reason into `error`.
bool EditSettingsFile(const SettingsLocation& location, const std::function<void(IniFile&)>& edit,
                      std::string& error);
bool EditSettingsFile(const SettingsLocation& location, const std::function<void(IniFile&)>& edit,
                      const SettingsFileEncoding& newFileEncoding, std::string& error);

// SaveSettings(full): EditSettingsFile with WriteSettings; a file that has
// disappeared since it was loaded is written in the encoding it had.
bool SaveSettingsFile(const SettingsLocation& location, const Settings& settings, bool full,
                      std::string& error);

// The working Bluetooth port remembered after a transfer: GENERAL/PORT and
// PORT_BT1 = bt1, and PORT_BT2 = bt2 when given.
bool SaveRememberedPorts(const SettingsLocation& location, int bt1, std::optional<int> bt2,
                         std::string& error);

// The [REPORT] keys into the INI text.
void WriteTestReportSettings(IniFile& ini, const TestReportSettings& report);
// Writes [REPORT] into the settings file now (EditSettingsFile), the rest
// of the file as it is.
bool SaveTestReportSettings(const SettingsLocation& location, const TestReportSettings& report,
                            std::string& error);

// Creates DATAPATH and SAVEROOT when they are still the default data folder
// and missing, so that the first automatic save has its root. Returns false
// (and the reason) when that fails.
bool EnsureDefaultDataFolder(const SettingsLocation& location, const Settings& settings, std::string& error);

} // namespace lumidrax
