#include "TestSupport.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace lumidrax::test {

namespace fs = std::filesystem;

TempDir::TempDir()
{
    std::string tmpl = (fs::temp_directory_path() / "lumidrax-test-XXXXXX").string();
    if (!::mkdtemp(tmpl.data()))
        throw std::runtime_error("cannot create a temporary folder");
    path_ = tmpl;
}

TempDir::~TempDir()
{
    std::error_code ec;
    fs::remove_all(path_, ec);
}

std::string TempDir::File(std::string_view name) const
{
    return (fs::path(path_) / name).string();
}

std::string TempDir::Write(std::string_view name, std::string_view bytes) const
{
    const std::string path = File(name);
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::string SourcePath(std::string_view relative)
{
    return (fs::path(LUMIDRAX_SOURCE_DIR) / relative).string();
}

std::vector<std::string> ExampleChartFiles()
{
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(SourcePath("examples")))
        if (entry.path().extension() == ".ndt")
            files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

int SpawnWithOutputPipe(const std::vector<std::string>& args, bool quietErrors, pid_t& pid)
{
    pid = -1;
    int fds[2];
    if (::pipe(fds) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addclose(&actions, fds[1]);
    if (quietErrors)
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<std::string> all = args;
    std::vector<char*> argv;
    for (std::string& a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t child = -1;
    if (::posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0)
        pid = child;
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    return fds[0];
}

std::string BinPath(std::string_view name)
{
    return (fs::path(LUMIDRAX_BIN_DIR) / name).string();
}

int RunCommand(const std::string& commandLine, std::string& output)
{
    output.clear();
    FILE* pipe = ::popen(commandLine.c_str(), "r");
    if (!pipe)
        return -1;
    std::array<char, 4096> buf{};
    std::size_t got;
    while ((got = std::fread(buf.data(), 1, buf.size(), pipe)) > 0)
        output.append(buf.data(), got);
    const int status = ::pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TJednoMereni RampChart(const std::string& file, bool isNew)
{
    TJednoMereni c;
    c.Interval = 2000;
    c.Velocity = 0.66L;
    c.Pozice0X = 1;
    c.FilterPost = 1;
    c.FileName = file;
    c.DisplayName = file;
    c.Saved = !file.empty();
    c.IsNew = isNew;
    std::vector<long double> s;
    for (int k = 1; k <= 101; ++k)
        s.push_back(k);
    c.SetSamples(s);
    return c;
}

} // namespace lumidrax::test
