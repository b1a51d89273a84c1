#pragma once
// Helpers shared by the test suites: temporary folders, fixture paths, files.

#include "TJednoMereni.h"

#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace lumidrax::test {

// A fresh folder below the system's temporary folder, removed with its
// content when the object goes.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return path_; }
    // Path of a name inside the folder.
    std::string File(std::string_view name) const;
    // Writes bytes to a name inside the folder and returns its path.
    std::string Write(std::string_view name, std::string_view bytes) const;

  private:
    std::string path_;
};

std::string ReadFile(const std::string& path);
// Path below the source tree (examples, fixtures).
std::string SourcePath(std::string_view relative);
// The example charts (examples/*.ndt), sorted by path.
std::vector<std::string> ExampleChartFiles();
// Path of a built executable (build/bin/NAME).
std::string BinPath(std::string_view name);

// Runs a command line through the shell; returns its exit status and fills
// the standard output.
int RunCommand(const std::string& commandLine, std::string& output);

// Starts a program (args[0] its path) with its standard output on a pipe,
// and with its standard error on /dev/null when quietErrors. Fills pid (-1
// when it did not start) and returns the pipe's read end (-1 without one,
// and then nothing was started).
int SpawnWithOutputPipe(const std::vector<std::string>& args, bool quietErrors, pid_t& pid);

// The chart most collection tests use: 101 samples 0,2 m apart (interval
// 2000 ps, velocity 0,66), level = sample number, cable start at sample 1.
// A file name makes it saved under that name; isNew flags it for the list.
TJednoMereni RampChart(const std::string& file = "", bool isNew = true);

} // namespace lumidrax::test
