// Readers meet FIFOs, devices, link loops and huge files: each is a file that
// cannot be opened, and nothing waits for a writer that never comes. These
// tests run under a ctest TIMEOUT: a reader that blocks fails by time-out.

#include "AppTestSupport.h"
#include "FileIO.h"
#include "SettingsFile.h"
#include "TFrm_main_Lumidrax32.h"
#include "TMereni.h"
#include "TestSupport.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace lumidrax {
namespace {

namespace fs = std::filesystem;
using test::FakeDialogs;
using test::TempDir;
using test::WriteChart;

// The special files every reader is offered: name -> path.
struct SpecialFiles {
    TempDir dir;
    std::string fifo = dir.File("pipe.ndt");
    std::string loop = dir.File("loop.ndt");
    std::string huge = dir.File("huge.ndt");
    std::string folder = dir.File("folder.ndt");
    SpecialFiles()
    {
        ::mkfifo(fifo.c_str(), 0644);
        fs::create_symlink("loop2.ndt", loop);
        fs::create_symlink("loop.ndt", dir.File("loop2.ndt"));
        fs::resize_file(dir.Write("huge.ndt", ""), kMaxChartFileBytes + 1); // sparse
        fs::create_directory(folder);
    }
    std::vector<std::string> All() const { return {fifo, "/dev/zero", loop, huge, folder}; }
};

TEST(FileReaders, ChartFilesThatAreNotPlainFilesCannotBeOpened)
{
    SpecialFiles f;
    TMereni m;
    for (const std::string& path : f.All())
        EXPECT_EQ(m.LoadChart(path), -2) << path;
    EXPECT_EQ(m.LoadChart(f.dir.File("missing.ndt")), -1);
    EXPECT_EQ(m.Count, 0);

    // The tool reports each as the catalogue's -2, and a transfer likewise.
    std::string out;
    EXPECT_EQ(test::RunCommand(test::BinPath("lumidrax-tool") + " info " + f.fifo + " " + f.loop, out), 1);
    for (const std::string& path : {f.fifo, f.loop})
        EXPECT_NE(out.find("\"result\": -2,\n   \"message\": \"Error: could not open file " + path + ".\""),
                  std::string::npos)
            << out;
    EXPECT_EQ(test::RunCommand(test::BinPath("lumidrax-tool") + " decode " + f.fifo, out), 1);
    EXPECT_NE(out.find("\"error\": \"Error: could not open file " + f.fifo + ".\""), std::string::npos)
        << out;
}

TEST(FileReaders, SettingsThatAreNotAPlainFileGiveDefaultsAndAreLeftAlone)
{
    SpecialFiles f;
    const std::string big =
        f.dir.Write("big.INI", "[GENERAL]\r\nFONTSIZE=20\r\n" + std::string(1 << 20, ';'));
    for (const std::string& path : {f.fifo, std::string("/dev/zero"), big}) {
        const SettingsLocation loc{path, f.dir.Path() + "/DATA/"};
        EXPECT_EQ(LoadSettingsFile(loc).Values, DefaultSettings(loc.DataFolder)) << path;
    }
    // The exit save leaves the FIFO a FIFO.
    const SettingsLocation loc{f.fifo, f.dir.Path() + "/DATA/"};
    std::string error;
    testing::internal::CaptureStderr();
    EXPECT_TRUE(SaveSettingsFile(loc, DefaultSettings(loc.DataFolder), true, error)) << error;
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "lumidrax: " + f.fifo + " is not a regular file; the settings are not saved there\n");
    EXPECT_TRUE(fs::is_fifo(f.fifo));
}

TEST(FileReaders, ControlBytesInSettingsValuesAreShownEscaped)
{
    const LoadedSettings l =
        ReadSettings(IniFile::Parse(std::string("[MAIN]\r\nWIDTH=12\0wide\r\n", 23)), "/data/");
    EXPECT_EQ(l.Problems, std::vector<std::string>{"MAIN/WIDTH=12\\x00wide is not an integer; 800 is used"});
}

TEST(FileReaders, TheViewerNamesAFifoOnItsCommandLineAndSkipsOneHandedOver)
{
    SpecialFiles f;
    const std::string good = WriteChart(f.dir.Path(), "good.ndt");
    FakeDialogs dialogs;
    MainWindowOptions options;
    options.Arguments = {f.fifo};
    options.Dialogs = &dialogs;
    options.UseSettingsFile = false;
    TFrm_main_Lumidrax32 w(options);
    QSignalSpy initialised(&w, &TFrm_main_Lumidrax32::Initialised);
    ASSERT_TRUE(initialised.wait(5000));
    EXPECT_EQ(dialogs.Messages(), std::vector<std::string>{"Error: could not open file " + f.fifo + "."});

    // Handed over by a second start together with a chart: the batch opens
    // the chart and skips the FIFO, as it skips any file it cannot open.
    w.ReceiveHandedOverName(f.fifo);
    w.ReceiveHandedOverName(good);
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.Charts().Count == 1; }, 5000));
    EXPECT_EQ(w.Charts().Rec(1).FileName, good);
    EXPECT_EQ(dialogs.Messages().size(), 1u);
}

} // namespace
} // namespace lumidrax
