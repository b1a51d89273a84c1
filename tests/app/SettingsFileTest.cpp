// The settings file: every key with its default, the full and the partial
// form, bad values, and files written and read back.

#include "SettingsFile.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <sys/stat.h>

namespace lumidrax {
namespace {

using test::ReadFile;
using test::TempDir;

const std::string kData = "/opt/lumidrax/DATA/";

Settings Read(const std::string& text, std::vector<std::string>* problems = nullptr)
{
    LoadedSettings l = ReadSettings(IniFile::Parse(text), kData);
    if (problems)
        *problems = l.Problems;
    return l.Values;
}

TEST(SettingsFile, NoFileGivesEveryDefault)
{
    TempDir dir;
    const SettingsLocation loc{dir.File("lumidrax.INI"), dir.Path() + "/DATA/"};
    const LoadedSettings l = LoadSettingsFile(loc);
    const Settings& s = l.Values;
    EXPECT_TRUE(l.Problems.empty());
    EXPECT_EQ(s.DataPath, dir.Path() + "/DATA/");
    EXPECT_EQ(s.SaveRoot, dir.Path() + "/DATA/");
    EXPECT_EQ(s.ReportFontName, "Courier New");
    EXPECT_EQ(s.ReportFontSize, 10);
    EXPECT_TRUE(s.SaveSettingsOnExit);
    EXPECT_TRUE(s.LastPath);
    EXPECT_EQ(s.LineWidth, 1);
    EXPECT_TRUE(s.AutoName);
    EXPECT_FALSE(s.AutoSave);
    EXPECT_EQ(s.Connection, "COM");
    EXPECT_EQ(s.Port, 0);
    EXPECT_EQ(s.PortCom, 0);
    EXPECT_EQ(s.PortBT1, 0);
    EXPECT_EQ(s.PortBT2, 0);
    EXPECT_EQ(s.SerialPort1(), 0);
    EXPECT_EQ(s.SerialPort2(), 0);
    EXPECT_EQ(s.ReportListWidth, std::nullopt);
    EXPECT_EQ(s.WindowState, kWindowStateNormal);
    EXPECT_EQ(s.Top, 0);
    EXPECT_EQ(s.Left, 0);
    EXPECT_EQ(s.Width, 800);
    EXPECT_EQ(s.Height, 500);
    EXPECT_EQ(s.ChartListHeight, 100);
    EXPECT_EQ(s.ChartListMode, kChartListAll);
    EXPECT_EQ(s.NameWidth, 450);
    EXPECT_EQ(s.DescWidth, 300);
    EXPECT_FALSE(s.InvertColors);
    EXPECT_TRUE(s.RefInfoVisible);
    EXPECT_EQ(s, DefaultSettings(dir.Path() + "/DATA/"));
    EXPECT_FALSE(std::filesystem::exists(loc.File)); // reading never creates the file
}

TEST(SettingsFile, EveryKeyIsRead)
{
    const Settings s = Read("[GENERAL]\r\n"
                            "DATAPATH=/home/u/charts/\r\n"
                            "SAVEROOT=/home/u/auto/\r\n"
                            "FONTNAME=DejaVu Sans Mono\r\n"
                            "FONTSIZE=12\r\n"
                            "SAVESETTINGS=0\r\n"
                            "LASTPATH=0\r\n"
                            "LINEWIDTH=5\r\n"
                            "AUTONAME=0\r\n"
                            "AUTOSAVE=7\r\n"
                            "CONNECTION=BT\r\n"
                            "PORT=4\r\n"
                            "PORT_COM=3\r\n"
                            "PORT_BT1=5\r\n"
                            "PORT_BT2=6\r\n"
                            "[MAIN]\r\n"
                            "REPLISTWIDTH=333\r\n"
                            "STATE=2\r\n"
                            "TOP=10\r\n"
                            "LEFT=-20\r\n"
                            "WIDTH=1024\r\n"
                            "HEIGHT=700\r\n"
                            "CURVELISTHEIGHT=164\r\n"
                            "CHARTLIST=1\r\n"
                            "NAMEWIDTH=200\r\n"
                            "DESCWIDTH=150\r\n"
                            "INVERTCOLORS=1\r\n"
                            "[CURVES]\r\n"
                            "INFO=0\r\n"
                            "[PORTS]\r\n"
                            "COM5=/dev/rfcomm0\r\n"
                            "com6=/dev/pts/7\r\n"
                            "COMX=/dev/null\r\n");
    EXPECT_EQ(s.DataPath, "/home/u/charts/");
    EXPECT_EQ(s.SaveRoot, "/home/u/auto/");
    EXPECT_EQ(s.ReportFontName, "DejaVu Sans Mono");
    EXPECT_EQ(s.ReportFontSize, 12);
    EXPECT_FALSE(s.SaveSettingsOnExit);
    EXPECT_FALSE(s.LastPath);
    EXPECT_EQ(s.LineWidth, 5);
    EXPECT_TRUE(s.AutoName); // never read
    EXPECT_TRUE(s.AutoSave); // any non-zero integer
    EXPECT_EQ(s.Connection, "BT");
    EXPECT_EQ(s.Port, 4);
    EXPECT_EQ(s.PortCom, 3);
    EXPECT_EQ(s.PortBT1, 5);
    EXPECT_EQ(s.PortBT2, 6);
    EXPECT_EQ(s.SerialPort1(), 5);
    EXPECT_EQ(s.SerialPort2(), 6);
    EXPECT_EQ(s.ReportListWidth, 333);
    EXPECT_EQ(s.WindowState, kWindowStateNormal);
    EXPECT_EQ(s.Top, 10);
    EXPECT_EQ(s.Left, -20);
    EXPECT_EQ(s.Width, 1024);
    EXPECT_EQ(s.Height, 700);
    EXPECT_EQ(s.ChartListHeight, 164);
    EXPECT_EQ(s.ChartListMode, kChartListDisplayed);
    EXPECT_EQ(s.NameWidth, 200);
    EXPECT_EQ(s.DescWidth, 150);
    EXPECT_TRUE(s.InvertColors);
    EXPECT_FALSE(s.RefInfoVisible);
    EXPECT_EQ(s.DeviceOfPort(5), "/dev/rfcomm0");
    EXPECT_EQ(s.DeviceOfPort(6), "/dev/pts/7");
    EXPECT_EQ(s.DeviceOfPort(1), "/dev/ttyS0");
    EXPECT_EQ(s.DeviceOfPort(0), "");
    EXPECT_EQ(s.PortDevices.size(), 2u);
}

TEST(SettingsFile, PortsDefaultToLegacyPortAndWrapAt256)
{
    // PORT_COM missing but PORT=7: the RS-232 port is 7, as is BT port 1.
    Settings s = Read("[GENERAL]\nPORT=7\n");
    EXPECT_EQ(s.PortCom, 7);
    EXPECT_EQ(s.PortBT1, 7);
    EXPECT_EQ(s.PortBT2, 0);
    EXPECT_EQ(s.SerialPort1(), 7);
    EXPECT_EQ(s.SerialPort2(), 0);

    s = Read("[GENERAL]\nPORT=260\nPORT_BT2=-1\nPORT_COM=256\n");
    EXPECT_EQ(s.Port, 4);
    EXPECT_EQ(s.PortBT1, 4);
    EXPECT_EQ(s.PortBT2, 255);
    EXPECT_EQ(s.PortCom, 0);
}

TEST(SettingsFile, MaximisedStateIgnoresStoredGeometryAndOtherStatesLeaveItAlone)
{
    Settings s = Read("[MAIN]\nSTATE=3\nTOP=50\nLEFT=60\nWIDTH=1000\nHEIGHT=900\n");
    EXPECT_EQ(s.WindowState, kWindowStateMaximized);
    EXPECT_EQ(s.Top, 0);
    EXPECT_EQ(s.Left, 0);
    EXPECT_EQ(s.Width, 800);
    EXPECT_EQ(s.Height, 500);

    s = Read("[MAIN]\nSTATE=9\nWIDTH=1000\n");
    EXPECT_EQ(s.WindowState, 9);
    EXPECT_EQ(s.Width, 800);
}

TEST(SettingsFile, BadValuesGiveDefaultsAndAreNamed)
{
    std::vector<std::string> problems;
    const Settings s = Read("[GENERAL]\n"
                            "FONTSIZE=-3\n"
                            "LINEWIDTH=4\n"
                            "AUTOSAVE=yes\n"
                            "SAVESETTINGS=1,5\n"
                            "PORT=99999999999\n"
                            "[MAIN]\n"
                            "WIDTH=0\n"
                            "HEIGHT=abc\n"
                            "TOP=2147483647\n"
                            "CHARTLIST=5\n"
                            "CURVELISTHEIGHT=-16\n"
                            "REPLISTWIDTH=-1\n"
                            "NAMEWIDTH= 120 \n"
                            "[EVENTS]\n"
                            "SENSITIVITY=9,5\n"
                            "FLOOR=75\n",
                            &problems);
    EXPECT_EQ(s.ReportFontSize, 10);
    EXPECT_EQ(s.LineWidth, 1);
    EXPECT_FALSE(s.AutoSave);
    EXPECT_TRUE(s.SaveSettingsOnExit);
    EXPECT_EQ(s.Port, 0);
    EXPECT_EQ(s.Width, 800);
    EXPECT_EQ(s.Height, 500);
    EXPECT_EQ(s.Top, 0);
    EXPECT_EQ(s.ChartListMode, kChartListAll);
    EXPECT_EQ(s.ChartListHeight, 100);
    EXPECT_EQ(s.ReportListWidth, std::nullopt);
    EXPECT_EQ(s.NameWidth, 120); // blanks around a number are fine
    EXPECT_EQ(s.EventSensitivity, 5);
    EXPECT_EQ(s.EventLevelFloor, 1);
    ASSERT_EQ(problems.size(), 13u);
    EXPECT_EQ(problems[11], "EVENTS/SENSITIVITY=9,5 is out of range; 5 is used");
    EXPECT_EQ(problems[12], "EVENTS/FLOOR=75 is out of range; 1 is used");
    EXPECT_EQ(problems[0], "GENERAL/FONTSIZE=-3 is out of range; 10 is used");
    EXPECT_EQ(problems[1], "GENERAL/SAVESETTINGS=1,5 is not an integer; 1 is used");
    EXPECT_EQ(problems[2], "GENERAL/LINEWIDTH=4 is not 1, 3 or 5; 1 is used");
}

TEST(SettingsFile, FullFormWritesItsKeysInOrderAndReadsBack)
{
    Settings s = DefaultSettings(kData);
    s.DataPath = "/d/";
    s.SaveRoot = "/s/";
    s.ReportFontName = "Mono";
    s.ReportFontSize = 9;
    s.SaveSettingsOnExit = false;
    s.LastPath = false;
    s.LineWidth = 3;
    s.AutoSave = true;
    s.Connection = "BT";
    s.Port = 1;
    s.PortCom = 2;
    s.PortBT1 = 3;
    s.PortBT2 = 4;
    s.ReportListWidth = 300;
    s.Top = 11;
    s.Left = 12;
    s.Width = 900;
    s.Height = 600;
    s.ChartListHeight = 132;
    s.ChartListMode = kChartListHidden;
    s.NameWidth = 333;
    s.DescWidth = 222;
    s.InvertColors = true;
    s.RefInfoVisible = false;
    s.EventSensitivity = 6.5L;
    s.EventLevelFloor = 2.5L;
    s.EventTableVisible = true;

    IniFile ini;
    WriteSettings(ini, s, true);
    EXPECT_EQ(ini.ToText(), "[GENERAL]\r\nDATAPATH=/d/\r\nSAVEROOT=/s/\r\nFONTNAME=Mono\r\nFONTSIZE=9\r\n"
                            "LASTPATH=0\r\nSAVESETTINGS=0\r\nLINEWIDTH=3\r\nAUTONAME=1\r\nAUTOSAVE=1\r\n"
                            "PORT=3\r\nPORT_COM=2\r\nPORT_BT1=3\r\nPORT_BT2=4\r\nCONNECTION=BT\r\n"
                            "[MAIN]\r\nREPLISTWIDTH=300\r\nCURVELISTHEIGHT=132\r\nCHARTLIST=2\r\n"
                            "STATE=2\r\nTOP=11\r\nLEFT=12\r\nWIDTH=900\r\nHEIGHT=600\r\n"
                            "NAMEWIDTH=333\r\nDESCWIDTH=222\r\nINVERTCOLORS=1\r\nCHARTLINES=0\r\n"
                            "[CURVES]\r\nINFO=0\r\n[EVENTS]\r\nSENSITIVITY=6,5\r\nFLOOR=2,5\r\nTABLE=1\r\n"
                            "[ARCHIVE]\r\nENABLED=1\r\nENGINE=SQLITE\r\nFILE=\r\nHOST=\r\nPORT=5432\r\n"
                            "DATABASE=lumidrax\r\nUSER=\r\n");
    Settings back = ReadSettings(IniFile::Parse(ini.ToText()), kData).Values;
    // PORT is written with the value of Bluetooth port 1.
    s.Port = 3;
    EXPECT_EQ(back, s);

    // Maximised: STATE 3 with the designed geometry.
    s.WindowState = kWindowStateMaximized;
    IniFile max;
    WriteSettings(max, s, true);
    EXPECT_EQ(max.Get("MAIN", "STATE"), "3");
    EXPECT_EQ(max.Get("MAIN", "TOP"), "0");
    EXPECT_EQ(max.Get("MAIN", "WIDTH"), "800");
    EXPECT_EQ(max.Get("MAIN", "HEIGHT"), "500");
}

TEST(SettingsFile, ArchiveSectionRoundTrip)
{
    const auto pg = [](Settings& s) {
        s.ArchiveEngine = kArchiveEnginePostgreSQL;
        s.ArchiveHost = "db.example";
        s.ArchivePort = 6543;
        s.ArchiveDatabase = "cables";
        s.ArchiveUser = "tech";
    };
    const struct {
        const char* what;
        std::string text;                    // the section as a user may have written it
        std::function<void(Settings&)> want; // the defaults changed to what is read
        std::vector<std::string> problems;
    } cases[] = {
        {"no section: enabled, the default SQLite file", "", [](Settings&) {}, {}},
        {"disabled, own file",
         "[ARCHIVE]\r\nENABLED=0\r\nFILE=/srv/a.sqlite\r\n",
         [](Settings& s) {
             s.ArchiveEnabled = false;
             s.ArchiveFile = "/srv/a.sqlite";
         },
         {}},
        {"a team server",
         "[ARCHIVE]\r\nENGINE=PostgreSQL\r\nHOST=db.example\r\nPORT=6543\r\n"
         "DATABASE=cables\r\nUSER=tech\r\n",
         pg,
         {}},
        {"a password in the file is never taken",
         "[ARCHIVE]\r\nENGINE=POSTGRESQL\r\nHOST=db.example\r\n"
         "PORT=6543\r\nDATABASE=cables\r\nUSER=tech\r\nPASSWORD=x\r\n",
         pg,
         {}},
        {"unknown engine and port",
         "[ARCHIVE]\r\nENGINE=MYSQL\r\nPORT=70000\r\n",
         [](Settings&) {},
         {"ARCHIVE/ENGINE=MYSQL is not SQLITE or POSTGRESQL; SQLITE is used",
          "ARCHIVE/PORT=70000 is out of range; 5432 is used"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> problems;
        const Settings read = Read(c.text, &problems);
        Settings want = DefaultSettings(kData);
        c.want(want);
        EXPECT_EQ(read, want);
        EXPECT_EQ(problems, c.problems);
        // Written in the full form and read back: the same value, no password.
        IniFile ini;
        WriteSettings(ini, read, true);
        EXPECT_EQ(ReadSettings(IniFile::Parse(ini.ToText()), kData).Values, read);
        EXPECT_EQ(ini.ToText().find("PASSWORD"), std::string::npos);
        IniFile partial;
        WriteSettings(partial, read, false);
        EXPECT_EQ(partial.Get("ARCHIVE", "ENGINE"), std::nullopt);
    }
}

TEST(SettingsFile, MinimisedAtExitKeepsStoredStateAndGeometry)
{
    IniFile ini = IniFile::Parse("[MAIN]\r\nSTATE=2\r\nTOP=5\r\nLEFT=6\r\nWIDTH=700\r\nHEIGHT=400\r\n");
    Settings s = DefaultSettings(kData);
    s.WindowState = kWindowStateMinimized;
    s.Top = -32000;
    s.Left = -32000;
    WriteSettings(ini, s, true);
    EXPECT_EQ(ini.Get("MAIN", "STATE"), "2");
    EXPECT_EQ(ini.Get("MAIN", "TOP"), "5");
    EXPECT_EQ(ini.Get("MAIN", "LEFT"), "6");
    EXPECT_EQ(ini.Get("MAIN", "WIDTH"), "700");
    EXPECT_EQ(ini.Get("MAIN", "HEIGHT"), "400");
}

TEST(SettingsFile, PartialFormWritesOnlyItsKeys)
{
    // With SAVESETTINGS=0 the exit writes the partial form: fonts, line
    // width, automatic saving, column widths and the info panel keep the
    // values in the file.
    const std::string before = "[GENERAL]\r\nFONTNAME=Old\r\nFONTSIZE=8\r\nLINEWIDTH=5\r\nAUTOSAVE=0\r\n"
                               "SAVESETTINGS=0\r\n[MAIN]\r\nNAMEWIDTH=100\r\nDESCWIDTH=90\r\n"
                               "[CURVES]\r\nINFO=1\r\n";
    IniFile ini = IniFile::Parse(before);
    Settings s = Read(before);
    s.ReportFontName = "New";
    s.ReportFontSize = 14;
    s.LineWidth = 3;
    s.AutoSave = true;
    s.NameWidth = 500;
    s.DescWidth = 400;
    s.RefInfoVisible = false;
    s.SaveRoot = "/elsewhere/";
    s.DataPath = "/data/";
    s.WindowState = kWindowStateMaximized;
    s.Top = 3;
    s.Left = 4;
    s.Width = 1920;
    s.Height = 1080;
    s.ChartListMode = kChartListDisplayed;
    s.ChartListHeight = 80;
    s.PortBT1 = 9;
    WriteSettings(ini, s, false);
    EXPECT_EQ(ini.ToText(), "[GENERAL]\r\nFONTNAME=Old\r\nFONTSIZE=8\r\nLINEWIDTH=5\r\nAUTOSAVE=0\r\n"
                            "SAVESETTINGS=0\r\nDATAPATH=/data/\r\nPORT=9\r\nPORT_COM=0\r\nPORT_BT1=9\r\n"
                            "PORT_BT2=0\r\nCONNECTION=COM\r\n"
                            "[MAIN]\r\nNAMEWIDTH=100\r\nDESCWIDTH=90\r\n"
                            "TOP=3\r\nLEFT=4\r\nWIDTH=1920\r\nHEIGHT=1080\r\nCURVELISTHEIGHT=80\r\n"
                            "CHARTLIST=1\r\nSTATE=3\r\nINVERTCOLORS=0\r\n"
                            "[CURVES]\r\nINFO=1\r\n");

    // Minimised: no STATE, but the geometry is written whatever the state.
    IniFile fresh;
    s.WindowState = kWindowStateMinimized;
    WriteSettings(fresh, s, false);
    EXPECT_EQ(fresh.Get("MAIN", "STATE"), std::nullopt);
    EXPECT_EQ(fresh.Get("MAIN", "TOP"), "3");
    EXPECT_EQ(fresh.Get("GENERAL", "SAVEROOT"), std::nullopt);
    EXPECT_EQ(fresh.Get("MAIN", "REPLISTWIDTH"), std::nullopt);
}

TEST(SettingsFile, SavedFileReadsBackAndKeepsForeignLines)
{
    TempDir dir;
    const SettingsLocation loc{dir.File("cfg/lumidrax.INI"), dir.Path() + "/DATA/"};
    dir.Write("cfg/lumidrax.INI", "[PORTS]\r\nCOM5=/dev/rfcomm0\r\n[GENERAL]\r\nFONTNAME=Star\xe1\r\n");
    LoadedSettings l = LoadSettingsFile(loc);
    EXPECT_EQ(l.Values.ReportFontName, "Star\xc3\xa1"); // Windows-1250 a-acute read as UTF-8
    EXPECT_EQ(l.Values.DeviceOfPort(5), "/dev/rfcomm0");

    Settings s = l.Values;
    s.DataPath = "/d\xc3\xa1ta/";
    s.Width = 1234;
    std::string error;
    ASSERT_TRUE(SaveSettingsFile(loc, s, true, error)) << error;
    const std::string text = ReadFile(loc.File);
    EXPECT_EQ(text.rfind("[PORTS]\r\nCOM5=/dev/rfcomm0\r\n[GENERAL]\r\n", 0), 0u) << text;
    const Settings back = LoadSettingsFile(loc).Values;
    EXPECT_EQ(back, s);
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.File("cfg")), {}), 1);

    // The remembered Bluetooth port changes only its keys.
    ASSERT_TRUE(SaveRememberedPorts(loc, 6, 5, error)) << error;
    const Settings ports = LoadSettingsFile(loc).Values;
    EXPECT_EQ(ports.Port, 6);
    EXPECT_EQ(ports.PortBT1, 6);
    EXPECT_EQ(ports.PortBT2, 5);
    EXPECT_EQ(ports.Width, 1234);
}

TEST(SettingsFile, TestReportValuesAreWrittenAloneAndReadBack)
{
    TempDir dir;
    const SettingsLocation loc{dir.File("lumidrax.INI"), dir.Path() + "/DATA/"};
    dir.Write("lumidrax.INI", "[MAIN]\r\nWIDTH=1234\r\n; a comment\r\n");
    TestReportSettings report{"J-7",          "Town grid", "Street 5", "Feeder 7",
                              "P. Novák",     "VKR104",    "40117",    "/srv/limits/pair.json",
                              "/home/u/r.pdf"};
    std::string error;
    ASSERT_TRUE(SaveTestReportSettings(loc, report, error)) << error;
    const std::string text = ReadFile(loc.File);
    EXPECT_NE(text.find("; a comment"), std::string::npos);
    EXPECT_NE(text.find("[REPORT]\r\nJOB=J-7\r\nCUSTOMER=Town grid\r\n"), std::string::npos) << text;
    const Settings back = LoadSettingsFile(loc).Values;
    EXPECT_EQ(back.TestReport, report);
    EXPECT_EQ(back.Width, 1234);
    // The full form carries them too; the partial one leaves them.
    Settings changed = back;
    changed.TestReport.Job = "J-8";
    ASSERT_TRUE(SaveSettingsFile(loc, changed, false, error)) << error;
    EXPECT_EQ(LoadSettingsFile(loc).Values.TestReport.Job, "J-7");
    ASSERT_TRUE(SaveSettingsFile(loc, changed, true, error)) << error;
    EXPECT_EQ(LoadSettingsFile(loc).Values.TestReport.Job, "J-8");
}

TEST(SettingsFile, UnwritablePlaceFailsWithReasonAndKeepsTheOldFile)
{
    TempDir dir;
    // A folder that cannot be created (a file stands in its way).
    dir.Write("blocker", "x");
    const SettingsLocation blocked{dir.File("blocker/lumidrax.INI"), dir.Path() + "/DATA/"};
    std::string error;
    EXPECT_FALSE(SaveSettingsFile(blocked, DefaultSettings(blocked.DataFolder), true, error));
    EXPECT_EQ(error.rfind("cannot write " + blocked.File + ": ", 0), 0u) << error;

    // A read-only folder (not for root, who writes anyway): the old file stays.
    if (::geteuid() != 0) {
        const std::string old = "[GENERAL]\r\nFONTNAME=Old\r\n";
        const SettingsLocation loc{dir.Write("ro/lumidrax.INI", old), dir.Path() + "/DATA/"};
        ::chmod(dir.File("ro").c_str(), 0555);
        EXPECT_FALSE(SaveSettingsFile(loc, DefaultSettings(loc.DataFolder), true, error));
        EXPECT_EQ(ReadFile(loc.File), old);
        ::chmod(dir.File("ro").c_str(), 0755);
    }
}

TEST(SettingsFile, InstalledOrReadOnlyProgramKeepsSettingsAndDataInTheXdgFolders)
{
    struct Case {
        const char* programDir;
        bool writable;
        const char* xdgConfig;
        const char* xdgData;
        const char* file;
        const char* data;
    };
    const Case cases[] = {
        // A build tree or a folder of one's own: beside the program.
        {"/work/lumidrax/build/bin", true, "/x", "/y", "/work/lumidrax/build/bin/lumidrax.INI",
         "/work/lumidrax/build/bin/DATA/"},
        {"/home/u/usr/bin", true, "", "", "/home/u/usr/bin/lumidrax.INI", "/home/u/usr/bin/DATA/"},
        {"/usr2/bin/", true, "", "", "/usr2/bin/lumidrax.INI", "/usr2/bin/DATA/"},
        // Installed, even where root may write: the XDG folders.
        {"/usr/bin", true, "/home/u/cfg", "/home/u/dat", "/home/u/cfg/lumidrax/lumidrax.INI",
         "/home/u/dat/lumidrax/DATA/"},
        {"/usr/local/bin", true, "", "", "/home/u/.config/lumidrax/lumidrax.INI",
         "/home/u/.local/share/lumidrax/DATA/"},
        {"/opt/lumidrax/bin", true, "", "", "/home/u/.config/lumidrax/lumidrax.INI",
         "/home/u/.local/share/lumidrax/DATA/"},
        {"/home/u/.local/bin", true, "", "", "/home/u/.config/lumidrax/lumidrax.INI",
         "/home/u/.local/share/lumidrax/DATA/"},
        // Read-only anywhere: the XDG folders; relative ones are not used.
        {"/srv/tools", false, "relative", "also/relative", "/home/u/.config/lumidrax/lumidrax.INI",
         "/home/u/.local/share/lumidrax/DATA/"},
    };
    for (const Case& c : cases) {
        const SettingsLocation loc =
            LocateSettings(c.programDir, c.writable, c.xdgConfig, c.xdgData, "/home/u");
        EXPECT_EQ(loc.File, c.file) << c.programDir;
        EXPECT_EQ(loc.DataFolder, c.data) << c.programDir;
    }
    // No home: nowhere else than beside the program.
    EXPECT_EQ(LocateSettings("/usr/bin", false, "", "", "").File, "/usr/bin/lumidrax.INI");

    TempDir dir;
    const SettingsLocation mine{dir.File("lumidrax.INI"), dir.File("DATA/")};
    Settings s = DefaultSettings(mine.DataFolder);
    std::string error;
    ASSERT_TRUE(EnsureDefaultDataFolder(mine, s, error)) << error;
    EXPECT_TRUE(std::filesystem::is_directory(mine.DataFolder));
}

} // namespace
} // namespace lumidrax

namespace lumidrax {
namespace {

// Text of BMP characters as the bytes of a file in an encoding (Windows-1250
// only for the Latin-1 letters it shares, such as a-acute and y-acute).
std::string Bytes(std::u16string_view text, SettingsTextCode code, bool mark)
{
    std::string out;
    const auto unit = [&](char16_t c) {
        const char hi = static_cast<char>(c >> 8), lo = static_cast<char>(c & 0xFF);
        if (code == SettingsTextCode::Utf16LE)
            out += std::string{lo, hi};
        else if (code == SettingsTextCode::Utf16BE)
            out += std::string{hi, lo};
        else if (code == SettingsTextCode::Cp1250 || c < 0x80)
            out += lo;
        else
            out += std::string{static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
    };
    const bool wide = code == SettingsTextCode::Utf16LE || code == SettingsTextCode::Utf16BE;
    if (mark && wide)
        unit(0xFEFF);
    else if (mark)
        out += "\xEF\xBB\xBF";
    for (const char16_t c : text)
        unit(c);
    return out;
}

// Each encoding a settings file comes in is read (the first section too)
// and kept when the file is written again.
TEST(SettingsFile, ReadsEveryEncodingAndWritesTheFileBackInIt)
{
    using enum SettingsTextCode;
    const SettingsFileEncoding encodings[] = {{Utf8, false},    {Utf8, true},    {Cp1250, false},
                                              {Cp1250, true},   {Utf16LE, true}, {Utf16BE, true},
                                              {Utf16LE, false}, {Utf16BE, false}};
    for (const SettingsFileEncoding& e : encodings) {
        SCOPED_TRACE(testing::Message()
                     << "code " << static_cast<int>(e.Code) << ", mark " << e.ByteOrderMark);
        TempDir dir;
        const SettingsLocation loc{dir.Write("lumidrax.INI", Bytes(u"[GENERAL]\r\nFONTNAME=Star\u00fd\r\n"
                                                                   u"[MAIN]\r\nWIDTH=640\r\n",
                                                                   e.Code, e.ByteOrderMark)),
                                   dir.Path() + "/DATA/"};
        LoadedSettings l = LoadSettingsFile(loc);
        EXPECT_EQ(l.FileProblem, "");
        EXPECT_EQ(l.Values.ReportFontName, "Star\xc3\xbd");
        EXPECT_EQ(l.Values.Width, 640);
        EXPECT_EQ(l.Values.FileEncoding, e);

        l.Values.DataPath = "/d\xc3\xa1ta/";
        std::string error;
        ASSERT_TRUE(SaveSettingsFile(loc, l.Values, false, error)) << error;
        const std::string bytes = ReadFile(loc.File);
        EXPECT_EQ(bytes.rfind(Bytes(u"[GENERAL]\r\nFONTNAME=Star\u00fd\r\nDATAPATH=/d\u00e1ta/\r\n", e.Code,
                                    e.ByteOrderMark),
                              0),
                  0u);
        const LoadedSettings back = LoadSettingsFile(loc);
        EXPECT_EQ(back.Values, l.Values);
    }
}

// Windows-1250 cannot hold every character: such a file becomes UTF-8
// rather than lose what the user set.
TEST(SettingsFile, TextOutsideTheCodePageTurnsTheFileIntoUtf8)
{
    TempDir dir;
    const SettingsLocation loc{dir.Write("lumidrax.INI", "[GENERAL]\r\nFONTNAME=Star\xfd\r\n"),
                               dir.Path() + "/"};
    LoadedSettings l = LoadSettingsFile(loc);
    l.Values.DataPath = "/\xe6\x95\xb0\xe6\x8d\xae/"; // two CJK characters
    std::string error;
    ASSERT_TRUE(SaveSettingsFile(loc, l.Values, false, error)) << error;
    EXPECT_EQ(ReadFile(loc.File).rfind("[GENERAL]\r\nFONTNAME=Star\xc3\xbd\r\nDATAPATH=/\xe6\x95\xb0", 0),
              0u);
    EXPECT_EQ(LoadSettingsFile(loc).Values.DataPath, l.Values.DataPath);
}

// Settings files that the round trip once changed: the file is written back
// and read again, and every value, the encoding and the bytes of the lines
// the program did not rewrite stay as they were.
TEST(SettingsFile, WrittenBackFilesReadAsTheyWere)
{
    using enum SettingsTextCode;
    const struct {
        const char* what;
        std::string bytes;
        SettingsFileEncoding encoding;
        std::string kept;     // bytes the written file still holds
        std::string dataPath; // DATAPATH as read; empty: the default
    } cases[] = {
        // The only bytes that are not UTF-8 are in WIDTH, which is written
        // anew: the rest (Windows-1250 "/dĂ©/") must not turn into UTF-8
        // ("/dé/").
        {"Windows-1250 that is UTF-8 but for a rewritten key",
         "[MAIN]\r\nWIDTH=8\xE9"
         "0\r\n[GENERAL]\r\nDATAPATH=/d\xC3\xA9/\r\n",
         {Cp1250, false},
         "[GENERAL]\r\nDATAPATH=/d\xC3\xA9/\r\n",
         "/d\xC4\x82\xC2\xA9/"},
        {"the same behind a UTF-8 mark, with LF line ends",
         "\xEF\xBB\xBF[MAIN]\nWIDTH=8\xE9"
         "0\n[GENERAL]\nDATAPATH=/d\xC3\xA9/\n",
         {Cp1250, true},
         "[GENERAL]\nDATAPATH=/d\xC3\xA9/\n",
         "/d\xC4\x82\xC2\xA9/"},
        // Behind the marks a zero character: with one mark the file would
        // start as UTF-32 does.
        {"UTF-16LE with two marks and a zero character",
         Bytes(std::u16string(u"\uFEFF\0;x\r\n[MAIN]\r\nWIDTH=640\r\n", 23), Utf16LE, true),
         {Utf16LE, true},
         Bytes(u";x\r\n[MAIN]\r\nWIDTH=640\r\n", Utf16LE, false),
         ""},
        {"UTF-16BE with two marks and a zero character",
         Bytes(std::u16string(u"\uFEFF\0;x\r\n[MAIN]\r\nWIDTH=640\r\n", 23), Utf16BE, true),
         {Utf16BE, true},
         Bytes(u";x\r\n[MAIN]\r\nWIDTH=640\r\n", Utf16BE, false),
         ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const SettingsLocation loc{dir.Write("lumidrax.INI", c.bytes), dir.Path() + "/DATA/"};
        const LoadedSettings l = LoadSettingsFile(loc);
        ASSERT_EQ(l.FileProblem, "");
        EXPECT_EQ(l.Values.FileEncoding, c.encoding);
        EXPECT_EQ(l.Values.DataPath, c.dataPath.empty() ? loc.DataFolder : c.dataPath);

        std::string error;
        ASSERT_TRUE(SaveSettingsFile(loc, l.Values, true, error)) << error;
        const std::string written = ReadFile(loc.File);
        EXPECT_NE(written.find(c.kept), std::string::npos);
        const LoadedSettings back = LoadSettingsFile(loc);
        EXPECT_EQ(back.FileProblem, "");
        EXPECT_EQ(back.Values.FileEncoding, c.encoding);
        EXPECT_EQ(back.Values.DataPath, l.Values.DataPath);
        Settings expected = l.Values;
        expected.Port = l.Values.PortBT1; // the full form writes the Bluetooth port as PORT
        EXPECT_EQ(back.Values, expected);

        // Written once more, the file does not change.
        ASSERT_TRUE(SaveSettingsFile(loc, back.Values, true, error)) << error;
        EXPECT_EQ(ReadFile(loc.File), written);
    }
}

// Bytes that are not text this program reads: the defaults are used, the
// reason is given for the status bar and on standard error, and the file is
// never overwritten.
TEST(SettingsFile, UnreadableFileIsNamedAndLeftAlone)
{
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"UTF-32", std::string("\xFF\xFE\0\0[\0\0\0", 8)},
        {"UTF-16 of an odd length", std::string("\xFF\xFE[\0G", 5)},
        {"UTF-16 with a lone surrogate", std::string("\xFE\xFF\xD8\x00\x00[", 6)},
        {"zero bytes in single-byte text", std::string("[GENERAL]\r\nFONT\0NAME=x\r\n", 24)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const SettingsLocation loc{dir.Write("lumidrax.INI", c.bytes), dir.Path() + "/DATA/"};
        testing::internal::CaptureStderr();
        const LoadedSettings l = LoadSettingsFile(loc);
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_NE(l.FileProblem.find("cannot read " + loc.File), std::string::npos) << l.FileProblem;
        EXPECT_NE(said.find(l.FileProblem), std::string::npos) << said;
        EXPECT_TRUE(l.Problems.empty());
        EXPECT_EQ(l.Values, DefaultSettings(loc.DataFolder));

        std::string error;
        EXPECT_FALSE(SaveSettingsFile(loc, l.Values, true, error));
        EXPECT_EQ(error.rfind("cannot read " + loc.File, 0), 0u) << error;
        EXPECT_EQ(ReadFile(loc.File), c.bytes);
    }
}

} // namespace
} // namespace lumidrax
