#include "SettingsFile.h"

#include "Cp1250.h"
#include "FileIO.h"
#include "NumberText.h"
#include "SettingsTextCodec.h"
#include "Utf8Text.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace lumidrax {

namespace fs = std::filesystem;

namespace {

constexpr const char* kGeneral = "GENERAL";
constexpr const char* kMain = "MAIN";
constexpr const char* kCurves = "CURVES";
constexpr const char* kEvents = "EVENTS";
constexpr const char* kReport = "REPORT";

// The keys of [REPORT] and the fields they hold.
struct ReportKey {
    const char* Key;
    std::string TestReportSettings::*Field;
};
constexpr ReportKey kReportKeys[] = {
    {"JOB", &TestReportSettings::Job},           {"CUSTOMER", &TestReportSettings::Customer},
    {"SITE", &TestReportSettings::Site},         {"CABLE", &TestReportSettings::Cable},
    {"OPERATOR", &TestReportSettings::Operator}, {"MODEL", &TestReportSettings::Model},
    {"SERIAL", &TestReportSettings::Serial},     {"TEMPLATE", &TestReportSettings::Template},
    {"OUTPUT", &TestReportSettings::Output},
};
constexpr const char* kPorts = "PORTS";
constexpr const char* kArchive = "ARCHIVE";
constexpr int kMaxTcpPort = 65535;

std::string WithSlash(std::string dir)
{
    if (dir.empty() || dir.back() != '/')
        dir += '/';
    return dir;
}

// Reads keys one by one, noting values that are present but unusable.
class KeyReader {
  public:
    KeyReader(const IniFile& ini, std::vector<std::string>& problems) : ini_(ini), problems_(problems) {}

    std::string String(const char* section, const char* key, const std::string& def) const
    {
        return ini_.Get(section, key).value_or(def);
    }

    // The integer of a key; nothing when it is missing or not an integer.
    std::optional<int> Integer(const char* section, const char* key, const std::string& defText) const
    {
        const std::optional<std::string> text = ini_.Get(section, key);
        if (!text)
            return std::nullopt;
        if (std::optional<int> v = ParseInteger(TrimBlanks(*text)))
            return v;
        Note(section, key, *text, "is not an integer", defText);
        return std::nullopt;
    }

    int Integer(const char* section, const char* key, int def) const
    {
        return Integer(section, key, std::to_string(def)).value_or(def);
    }

    // An integer that must lie in lo..hi; others give the default.
    int Bounded(const char* section, const char* key, int def, int lo, int hi) const
    {
        const std::optional<int> v = Integer(section, key, std::to_string(def));
        if (!v)
            return def;
        if (*v < lo || *v > hi) {
            Note(section, key, std::to_string(*v), "is out of range", std::to_string(def));
            return def;
        }
        return *v;
    }

    // A decimal number (decimal comma) that must lie in lo..hi; others give
    // the default.
    long double Decimal(const char* section, const char* key, long double def, long double lo,
                        long double hi) const
    {
        const std::optional<std::string> text = ini_.Get(section, key);
        if (!text)
            return def;
        const std::optional<long double> v = ParseDecimal(TrimBlanks(*text));
        if (!v || !(*v >= lo && *v <= hi)) {
            Note(section, key, *text, v ? "is out of range" : "is not a number", FormatGeneral(def));
            return def;
        }
        return *v;
    }

    bool Boolean(const char* section, const char* key, bool def) const
    {
        return Integer(section, key, def ? 1 : 0) != 0;
    }

    std::uint8_t Port(const char* section, const char* key, std::uint8_t def) const
    {
        const std::optional<int> v = Integer(section, key, std::to_string(def));
        return v ? static_cast<std::uint8_t>(static_cast<unsigned>(*v) & 0xFFu) : def;
    }

    void Note(const char* section, const char* key, const std::string& value, const char* what,
              const std::string& def) const
    {
        problems_.push_back(std::string(section) + "/" + key + "=" + EscapeControls(value) + " " + what +
                            "; " + def + " is used");
    }

  private:
    const IniFile& ini_;
    std::vector<std::string>& problems_;
};

// The settings file's bytes; a missing file gives none and is no error. A
// file that is not a regular one (a FIFO, a device) or is larger than
// kMaxSettingsFileBytes is not read.
std::string ReadWholeFile(const std::string& path, bool& exists, std::string& error)
{
    std::string bytes;
    const FileOutcome read = ReadFileBytes(path, kMaxSettingsFileBytes, bytes);
    exists = read.Status != FileStatus::Missing;
    if (!read.Ok() && exists)
        error = "cannot read " + path + ": " + read.Reason;
    return bytes;
}

// Something other than a regular file stands at the settings path: it is
// left alone, and standard error says so.
bool LeaveSpecialFileAlone(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || S_ISREG(st.st_mode))
        return false;
    std::cerr << "lumidrax: " << path << " is not a regular file; the settings are not saved there\n";
    return true;
}

} // namespace

bool IsInstalledProgramFolder(const std::string& programDir, const std::string& home)
{
    // Compared as whole path components: /usr/bin is installed, /usr2 or
    // /home/u/opt are not.
    const fs::path dir = fs::path(programDir).lexically_normal();
    const auto below = [&dir](const fs::path& root) {
        const fs::path rel = dir.lexically_relative(root);
        return !rel.empty() && *rel.begin() != "..";
    };
    for (const char* root : {"/usr", "/opt", "/bin", "/sbin"})
        if (below(root))
            return true;
    return !home.empty() && home.front() == '/' && below(fs::path(home) / ".local");
}

SettingsLocation LocateSettings(const std::string& programDir, bool programDirWritable,
                                const std::string& xdgConfigHome, const std::string& xdgDataHome,
                                const std::string& home)
{
    SettingsLocation loc;
    if (home.empty() || (programDirWritable && !IsInstalledProgramFolder(programDir, home))) {
        loc.File = WithSlash(programDir) + kSettingsFileName;
        loc.DataFolder = WithSlash(programDir) + "DATA/";
        return loc;
    }
    const auto xdg = [&home](const std::string& value, const char* fallback) {
        return (!value.empty() && value.front() == '/') ? value : WithSlash(home) + fallback;
    };
    loc.File = WithSlash(xdg(xdgConfigHome, ".config")) + "lumidrax/" + kSettingsFileName;
    loc.DataFolder = WithSlash(xdg(xdgDataHome, ".local/share")) + "lumidrax/DATA/";
    return loc;
}

SettingsLocation LocateSettings(const std::string& programDir)
{
    const bool writable = ::access(programDir.c_str(), W_OK) == 0;
    const auto env = [](const char* name) {
        const char* value = std::getenv(name);
        return std::string(value ? value : "");
    };
    return LocateSettings(programDir, writable, env("XDG_CONFIG_HOME"), env("XDG_DATA_HOME"), env("HOME"));
}

Settings DefaultSettings(const std::string& dataFolder)
{
    Settings s;
    s.DataPath = dataFolder;
    s.SaveRoot = dataFolder;
    return s;
}

namespace {

// [ARCHIVE]: the engine by name in any case; a name that is neither engine
// gives the SQLite file.
void ReadArchive(const KeyReader& r, Settings& s, const Settings& d)
{
    s.ArchiveEnabled = r.Boolean(kArchive, "ENABLED", d.ArchiveEnabled);
    const std::string stored = r.String(kArchive, "ENGINE", d.ArchiveEngine);
    std::string engine = stored;
    for (char& ch : engine)
        if (ch >= 'a' && ch <= 'z')
            ch = static_cast<char>(ch - 'a' + 'A');
    if (engine == kArchiveEngineSQLite || engine == kArchiveEnginePostgreSQL)
        s.ArchiveEngine = engine;
    else
        r.Note(kArchive, "ENGINE", stored, "is not SQLITE or POSTGRESQL", d.ArchiveEngine);
    s.ArchiveFile = r.String(kArchive, "FILE", d.ArchiveFile);
    s.ArchiveHost = r.String(kArchive, "HOST", d.ArchiveHost);
    s.ArchivePort = r.Bounded(kArchive, "PORT", d.ArchivePort, 1, kMaxTcpPort);
    s.ArchiveDatabase = r.String(kArchive, "DATABASE", d.ArchiveDatabase);
    s.ArchiveUser = r.String(kArchive, "USER", d.ArchiveUser);
}

void WriteArchive(IniFile& ini, const Settings& s)
{
    ini.Set(kArchive, "ENABLED", s.ArchiveEnabled ? "1" : "0");
    ini.Set(kArchive, "ENGINE", s.ArchiveEngine);
    ini.Set(kArchive, "FILE", s.ArchiveFile);
    ini.Set(kArchive, "HOST", s.ArchiveHost);
    ini.Set(kArchive, "PORT", std::to_string(s.ArchivePort));
    ini.Set(kArchive, "DATABASE", s.ArchiveDatabase);
    ini.Set(kArchive, "USER", s.ArchiveUser);
}

} // namespace

LoadedSettings ReadSettings(const IniFile& ini, const std::string& dataFolder)
{
    LoadedSettings out;
    Settings& s = out.Values;
    const Settings d = DefaultSettings(dataFolder);
    const KeyReader r(ini, out.Problems);

    s.DataPath = r.String(kGeneral, "DATAPATH", d.DataPath);
    s.SaveRoot = r.String(kGeneral, "SAVEROOT", d.SaveRoot);
    s.ReportFontName = r.String(kGeneral, "FONTNAME", d.ReportFontName);
    s.ReportFontSize = r.Bounded(kGeneral, "FONTSIZE", d.ReportFontSize, 1, 200);
    s.SaveSettingsOnExit = r.Boolean(kGeneral, "SAVESETTINGS", d.SaveSettingsOnExit);
    s.LastPath = r.Boolean(kGeneral, "LASTPATH", d.LastPath);
    s.LineWidth = r.Integer(kGeneral, "LINEWIDTH", d.LineWidth);
    if (s.LineWidth != 1 && s.LineWidth != 3 && s.LineWidth != 5) {
        r.Note(kGeneral, "LINEWIDTH", std::to_string(s.LineWidth), "is not 1, 3 or 5", "1");
        s.LineWidth = d.LineWidth;
    }
    s.AutoName = true; // never read: on after every start
    s.AutoSave = r.Boolean(kGeneral, "AUTOSAVE", d.AutoSave);

    s.Connection = r.String(kGeneral, "CONNECTION", d.Connection);
    s.Port = r.Port(kGeneral, "PORT", d.Port);
    s.PortCom = r.Port(kGeneral, "PORT_COM", s.Port);
    s.PortBT1 = r.Port(kGeneral, "PORT_BT1", s.Port);
    s.PortBT2 = r.Port(kGeneral, "PORT_BT2", d.PortBT2);

    const std::optional<int> repList = r.Integer(kMain, "REPLISTWIDTH", "half the window's width");
    if (repList && (*repList < 0 || *repList > 32767))
        r.Note(kMain, "REPLISTWIDTH", std::to_string(*repList), "is out of range", "half the window's width");
    else
        s.ReportListWidth = repList;

    s.WindowState = r.Integer(kMain, "STATE", d.WindowState);
    if (s.WindowState == kWindowStateNormal) {
        s.Top = r.Bounded(kMain, "TOP", d.Top, -32768, 32767);
        s.Left = r.Bounded(kMain, "LEFT", d.Left, -32768, 32767);
        s.Width = r.Bounded(kMain, "WIDTH", d.Width, 1, 32767);
        s.Height = r.Bounded(kMain, "HEIGHT", d.Height, 1, 32767);
    }
    // STATE=3: the geometry to restore to is the designed one; any other
    // state leaves the window as designed.

    s.RefInfoVisible = r.Boolean(kCurves, "INFO", d.RefInfoVisible);
    s.ChartListHeight = r.Bounded(kMain, "CURVELISTHEIGHT", d.ChartListHeight, 0, 32767);
    s.ChartListMode = r.Bounded(kMain, "CHARTLIST", d.ChartListMode, 0, 2);
    s.NameWidth = r.Bounded(kMain, "NAMEWIDTH", d.NameWidth, 0, 32767);
    s.DescWidth = r.Bounded(kMain, "DESCWIDTH", d.DescWidth, 0, 32767);
    s.InvertColors = r.Boolean(kMain, "INVERTCOLORS", d.InvertColors);
    s.JoinSamples = r.Boolean(kMain, "CHARTLINES", d.JoinSamples);
    s.EventSensitivity = r.Decimal(kEvents, "SENSITIVITY", d.EventSensitivity, EventParams::kMinSensitivity,
                                   EventParams::kMaxSensitivity);
    s.EventLevelFloor = r.Decimal(kEvents, "FLOOR", d.EventLevelFloor, EventParams::kMinLevelFloor,
                                  EventParams::kMaxLevelFloor);
    s.EventTableVisible = r.Boolean(kEvents, "TABLE", d.EventTableVisible);
    for (const ReportKey& k : kReportKeys)
        s.TestReport.*(k.Field) = r.String(kReport, k.Key, d.TestReport.*(k.Field));

    ReadArchive(r, s, d);

    for (const std::string& key : ini.Keys(kPorts)) {
        if (key.size() < 4 || (key.compare(0, 3, "COM") != 0 && key.compare(0, 3, "com") != 0))
            continue;
        const std::optional<int> n = ParseInteger(std::string_view(key).substr(3));
        const std::optional<std::string> device = ini.Get(kPorts, key);
        if (n && *n >= 0 && *n <= 255 && device && !device->empty())
            s.PortDevices[*n] = *device;
    }
    return out;
}

namespace {

// The ports and the connection mode; PORT is the old name of PORT_BT1.
void WritePorts(IniFile& ini, const Settings& s)
{
    ini.Set(kGeneral, "PORT", std::to_string(s.PortBT1));
    ini.Set(kGeneral, "PORT_COM", std::to_string(s.PortCom));
    ini.Set(kGeneral, "PORT_BT1", std::to_string(s.PortBT1));
    ini.Set(kGeneral, "PORT_BT2", std::to_string(s.PortBT2));
    ini.Set(kGeneral, "CONNECTION", s.Connection);
}

// The report list's width (when known), the chart list's height and mode.
void WriteListSizes(IniFile& ini, const Settings& s)
{
    if (s.ReportListWidth)
        ini.Set(kMain, "REPLISTWIDTH", std::to_string(*s.ReportListWidth));
    ini.Set(kMain, "CURVELISTHEIGHT", std::to_string(s.ChartListHeight));
    ini.Set(kMain, "CHARTLIST", std::to_string(s.ChartListMode));
}

} // namespace

void WriteTestReportSettings(IniFile& ini, const TestReportSettings& report)
{
    for (const ReportKey& k : kReportKeys)
        ini.Set(kReport, k.Key, report.*(k.Field));
}

bool SaveTestReportSettings(const SettingsLocation& location, const TestReportSettings& report,
                            std::string& error)
{
    return EditSettingsFile(
        location, [&report](IniFile& ini) { WriteTestReportSettings(ini, report); }, error);
}

void WriteSettings(IniFile& ini, const Settings& s, bool full)
{
    const auto num = [](int v) { return std::to_string(v); };
    const auto flag = [](bool v) { return std::string(v ? "1" : "0"); };
    const bool normal = s.WindowState == kWindowStateNormal;
    const bool maximized = s.WindowState == kWindowStateMaximized;

    if (full) {
        ini.Set(kGeneral, "DATAPATH", s.DataPath);
        ini.Set(kGeneral, "SAVEROOT", s.SaveRoot);
        ini.Set(kGeneral, "FONTNAME", s.ReportFontName);
        ini.Set(kGeneral, "FONTSIZE", num(s.ReportFontSize));
        ini.Set(kGeneral, "LASTPATH", flag(s.LastPath));
        ini.Set(kGeneral, "SAVESETTINGS", flag(s.SaveSettingsOnExit));
        ini.Set(kGeneral, "LINEWIDTH", num(s.LineWidth));
        ini.Set(kGeneral, "AUTONAME", flag(s.AutoName));
        ini.Set(kGeneral, "AUTOSAVE", flag(s.AutoSave));
        WritePorts(ini, s);
        WriteListSizes(ini, s);
        if (normal || maximized) {
            ini.Set(kMain, "STATE", num(normal ? kWindowStateNormal : kWindowStateMaximized));
            ini.Set(kMain, "TOP", num(normal ? s.Top : 0));
            ini.Set(kMain, "LEFT", num(normal ? s.Left : 0));
            ini.Set(kMain, "WIDTH", num(normal ? s.Width : 800));
            ini.Set(kMain, "HEIGHT", num(normal ? s.Height : 500));
        }
        ini.Set(kMain, "NAMEWIDTH", num(s.NameWidth));
        ini.Set(kMain, "DESCWIDTH", num(s.DescWidth));
        ini.Set(kCurves, "INFO", flag(s.RefInfoVisible));
        ini.Set(kMain, "INVERTCOLORS", flag(s.InvertColors));
        ini.Set(kMain, "CHARTLINES", flag(s.JoinSamples));
        ini.Set(kEvents, "SENSITIVITY", FormatGeneral(s.EventSensitivity));
        ini.Set(kEvents, "FLOOR", FormatGeneral(s.EventLevelFloor));
        ini.Set(kEvents, "TABLE", flag(s.EventTableVisible));
        WriteArchive(ini, s);
        // Files that never saw a test report get no empty section.
        if (s.TestReport != TestReportSettings{} || ini.HasSection(kReport))
            WriteTestReportSettings(ini, s.TestReport);
        return;
    }
    ini.Set(kGeneral, "DATAPATH", s.DataPath);
    ini.Set(kMain, "TOP", num(s.Top));
    ini.Set(kMain, "LEFT", num(s.Left));
    ini.Set(kMain, "WIDTH", num(s.Width));
    ini.Set(kMain, "HEIGHT", num(s.Height));
    WriteListSizes(ini, s);
    WritePorts(ini, s);
    if (normal || maximized)
        ini.Set(kMain, "STATE", num(normal ? kWindowStateNormal : kWindowStateMaximized));
    ini.Set(kMain, "INVERTCOLORS", flag(s.InvertColors));
    // The chart-lines choice, like the event settings, goes with the full
    // form only.
}

LoadedSettings LoadSettingsFile(const SettingsLocation& location)
{
    bool exists = false;
    std::string error;
    const std::string bytes = ReadWholeFile(location.File, exists, error);
    const DecodedSettingsText decoded = DecodeSettingsText(bytes);
    LoadedSettings out = ReadSettings(IniFile::Parse(decoded.Text), location.DataFolder);
    out.Values.FileEncoding = decoded.Encoding;
    if (error.empty() && !decoded.Problem.empty())
        error = "cannot read " + location.File + ": " + decoded.Problem;
    if (!error.empty()) {
        out.FileProblem = "Settings file not read (defaults used): " + error;
        std::fprintf(stderr, "lumidrax: %s\n", out.FileProblem.c_str());
    }
    return out;
}

bool EditSettingsFile(const SettingsLocation& location, const std::function<void(IniFile&)>& edit,
                      std::string& error)
{
    return EditSettingsFile(location, edit, SettingsFileEncoding{}, error);
}

bool EditSettingsFile(const SettingsLocation& location, const std::function<void(IniFile&)>& edit,
                      const SettingsFileEncoding& newFileEncoding, std::string& error)
{
    bool exists = false;
    error.clear();
    if (LeaveSpecialFileAlone(location.File))
        return true;
    const std::string bytes = ReadWholeFile(location.File, exists, error);
    if (!error.empty())
        return false;
    const DecodedSettingsText decoded = DecodeSettingsText(bytes);
    if (!decoded.Problem.empty()) {
        // Writing would destroy settings this program only fails to read.
        error = "cannot read " + location.File + ": " + decoded.Problem + "; the file is left as it is";
        return false;
    }
    IniFile ini = IniFile::Parse(decoded.Text);
    edit(ini);
    const std::string text = EncodeSettingsText(ini.ToText(), exists ? decoded.Encoding : newFileEncoding);

    const fs::path target(location.File);
    std::error_code ec;
    if (target.has_parent_path())
        fs::create_directories(target.parent_path(), ec);
    const FileOutcome written = ReplaceFileAtomically(location.File, text);
    if (written.Ok())
        return true;
    error = "cannot write " + location.File + ": " + written.Reason;
    return false;
}

bool SaveSettingsFile(const SettingsLocation& location, const Settings& settings, bool full,
                      std::string& error)
{
    return EditSettingsFile(
        location, [&](IniFile& ini) { WriteSettings(ini, settings, full); }, settings.FileEncoding, error);
}

bool SaveRememberedPorts(const SettingsLocation& location, int bt1, std::optional<int> bt2,
                         std::string& error)
{
    return EditSettingsFile(
        location,
        [&](IniFile& ini) {
            ini.Set(kGeneral, "PORT", std::to_string(bt1));
            ini.Set(kGeneral, "PORT_BT1", std::to_string(bt1));
            if (bt2)
                ini.Set(kGeneral, "PORT_BT2", std::to_string(*bt2));
        },
        error);
}

bool EnsureDefaultDataFolder(const SettingsLocation& location, const Settings& settings, std::string& error)
{
    error.clear();
    for (const std::string* path : {&settings.DataPath, &settings.SaveRoot}) {
        if (*path != location.DataFolder)
            continue;
        std::error_code ec;
        if (fs::is_directory(*path, ec))
            continue;
        fs::create_directories(*path, ec);
        if (ec) {
            error = "cannot create " + *path + ": " + ec.message();
            return false;
        }
    }
    return true;
}

} // namespace lumidrax
