// The real viewer program started as a user starts it from a shell: file
// names whose bytes are not UTF-8 reach the file open unchanged, from the
// command line of a first viewer, through the hand-over of a second one, and
// several at once.
//
// Each viewer runs offscreen from its own copy of the program (so its
// settings file beside the program belongs to this test) with its own
// temporary folder (where the instance's socket lives) and home. What the
// viewer opened is seen from outside: the folder of the charts is watched
// (inotify), and a chart counts as opened when the viewer opened the file of
// exactly that name, read it and closed it. Beside each chart lies a decoy
// under the name its bytes would get once decoded and encoded again (U+FFFD
// or Latin-1 for each byte that is not UTF-8); the viewer must never open one.

#include "ChartFile.h"
#include "FolderEvents.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <optional>
#include <poll.h>
#include <set>
#include <spawn.h>
#include <string>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace lumidrax::test {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// How long a viewer may take to start and open its files, or a second one to
// hand over and end (a loaded machine is slow; a passing run takes about a
// second).
constexpr auto kPatience = std::chrono::seconds(30);

int MillisecondsLeft(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// A started program with a descriptor that becomes readable when it ends.
class Process {
  public:
    Process(const std::string& program, const std::vector<std::string>& args, const std::string& folder,
            const std::vector<std::string>& environment, const std::string& log)
    {
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        std::vector<char*> envp;
        for (const std::string& e : environment)
            envp.push_back(const_cast<char*>(e.c_str()));
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log.c_str(), O_WRONLY | O_CREAT | O_APPEND,
                                         0644);
        posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
        if (::posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        if (pid_ > 0)
            pidfd_ = static_cast<int>(::syscall(SYS_pidfd_open, pid_, 0));
    }
    ~Process()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            Reap();
        }
        if (pidfd_ >= 0)
            ::close(pidfd_);
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool Started() const { return pid_ > 0 && pidfd_ >= 0; }
    int EndDescriptor() const { return pidfd_; }
    bool Running() const
    {
        pollfd p{pidfd_, POLLIN, 0};
        return pid_ > 0 && ::poll(&p, 1, 0) == 0;
    }

    // Waits until it ends by itself; its exit status, or nothing when it was
    // still running at the deadline or ended by a signal.
    std::optional<int> WaitForExit(Clock::time_point deadline)
    {
        pollfd p{pidfd_, POLLIN, 0};
        if (pid_ <= 0 || ::poll(&p, 1, MillisecondsLeft(deadline)) != 1)
            return std::nullopt;
        const int status = Reap();
        if (!WIFEXITED(status))
            return std::nullopt;
        return WEXITSTATUS(status);
    }

    // Asks it to end, as the system does at log-out, and makes sure it does.
    void Stop()
    {
        if (pid_ <= 0)
            return;
        ::kill(pid_, SIGTERM);
        if (!WaitForExit(Clock::now() + std::chrono::seconds(5)) && pid_ > 0) {
            ::kill(pid_, SIGKILL);
            Reap();
        }
    }

  private:
    int Reap()
    {
        int status = 0;
        while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
        pid_ = -1;
        return status;
    }

    pid_t pid_ = -1;
    int pidfd_ = -1;
};

// The files of one folder that were opened, read and closed.
class FolderWatch {
  public:
    explicit FolderWatch(const std::string& folder) : events_(folder, IN_OPEN | IN_ACCESS | IN_CLOSE_NOWRITE)
    {
    }

    bool Watching() const { return events_.Watching(); }
    const std::set<std::string>& Opened() const { return opened_; }
    const std::set<std::string>& Read() const { return read_; }

    // Takes the events until every one of `names` was read, a name of
    // `never` was opened, `viewer` ended, or the deadline passed. True in the
    // first case.
    bool WaitUntilRead(const std::set<std::string>& names, const std::set<std::string>& never,
                       const Process& viewer, Clock::time_point deadline)
    {
        while (true) {
            const bool allRead = std::includes(read_.begin(), read_.end(), names.begin(), names.end());
            for (const std::string& n : never)
                if (opened_.count(n))
                    return false;
            if (allRead)
                return true;
            pollfd p[2] = {{events_.Descriptor(), POLLIN, 0}, {viewer.EndDescriptor(), POLLIN, 0}};
            if (::poll(p, 2, MillisecondsLeft(deadline)) <= 0 || (p[1].revents & POLLIN) != 0) {
                Drain();
                return std::includes(read_.begin(), read_.end(), names.begin(), names.end());
            }
            Drain();
        }
    }

  private:
    void Drain()
    {
        events_.TakeEvents([this](const std::string& name, std::uint32_t mask) {
            if (mask & IN_OPEN) {
                opened_.insert(name);
                accessed_.erase(name);
            }
            if (mask & IN_ACCESS)
                accessed_.insert(name);
            if ((mask & IN_CLOSE_NOWRITE) && accessed_.count(name))
                read_.insert(name);
        });
    }

    FolderEvents events_;
    std::set<std::string> opened_;
    std::set<std::string> accessed_;
    std::set<std::string> read_;
};

// The name a byte string gets when each byte that is not ASCII is decoded
// as a replacement character, or as Latin-1, and encoded as UTF-8 again.
std::string Replaced(const std::string& name)
{
    std::string out;
    for (char c : name)
        out += static_cast<unsigned char>(c) < 0x80 ? std::string(1, c) : std::string("\xEF\xBF\xBD");
    return out;
}

std::string AsLatin1(const std::string& name)
{
    std::string out;
    for (char c : name) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (b >> 6));
            out += static_cast<char>(0x80 | (b & 0x3F));
        }
    }
    return out;
}

// A home, a temporary folder and a program folder of its own for each
// viewer this test starts, and the folder of the charts.
class Sandbox {
  public:
    Sandbox()
    {
        for (const char* sub : {"bin", "tmp", "run", "home", "charts"})
            fs::create_directories(root_.File(sub));
        fs::permissions(root_.File("run"), fs::perms::owner_all);
        // Its own program file: the settings file is looked for beside it.
        program_ = root_.File("bin/lumidrax");
        std::error_code ec;
        fs::create_hard_link(BinPath("lumidrax"), program_, ec);
        if (ec)
            fs::copy_file(BinPath("lumidrax"), program_, ec);
        for (char** e = environ; *e; ++e) {
            const std::string entry = *e;
            const std::string key = entry.substr(0, entry.find('='));
            if (key != "QT_QPA_PLATFORM" && key != "TMPDIR" && key != "XDG_RUNTIME_DIR" && key != "HOME" &&
                key != "XDG_CONFIG_HOME" && key.rfind("LC_", 0) != 0 && key != "LANG" && key != "LANGUAGE")
                environment_.push_back(entry);
        }
        environment_.push_back("QT_QPA_PLATFORM=offscreen");
        environment_.push_back("TMPDIR=" + root_.File("tmp"));
        environment_.push_back("XDG_RUNTIME_DIR=" + root_.File("run"));
        environment_.push_back("HOME=" + root_.File("home"));
        environment_.push_back("XDG_CONFIG_HOME=" + root_.File("home/.config"));
        environment_.push_back("LC_ALL=C.UTF-8");
    }

    bool Ready() const { return fs::exists(program_); }
    std::string Charts() const { return root_.File("charts"); }

    // Writes a chart under `name` in the charts folder, and a decoy under
    // each name it would have after a text conversion.
    void WriteChart(const std::string& name)
    {
        TJednoMereni c = RampChart();
        c.Description = "chart " + std::to_string(++charts_);
        root_.Write("charts/" + name, ChartFileText(c));
        for (const std::string& decoy : {Replaced(name), AsLatin1(name)}) {
            root_.Write("charts/" + decoy, ChartFileText(c));
            decoys_.insert(decoy);
        }
    }
    const std::set<std::string>& Decoys() const { return decoys_; }

    // Starts `lumidrax ARGS` in the charts folder.
    std::unique_ptr<Process> Start(const std::vector<std::string>& args)
    {
        return std::make_unique<Process>(program_, args, Charts(), environment_, root_.File("viewers.log"));
    }

    // What the viewers wrote on standard output and error.
    std::string Log() const { return ReadFile(root_.File("viewers.log")); }

  private:
    TempDir root_;
    std::string program_;
    std::vector<std::string> environment_;
    std::set<std::string> decoys_;
    int charts_ = 0;
};

TEST(ViewerProcess, NamesThatAreNotUtf8OpenFromTheCommandLineAndThroughTheHandOver)
{
    Sandbox box;
    ASSERT_TRUE(box.Ready());
    // Bytes that are not UTF-8 (Latin-1 letters), as an old archive or a
    // Windows share names files.
    const std::string first = "bad\xFF.ndt";
    const std::vector<std::string> handed = {"two\xFE.ndt", "thr\xE9\x65.ndt"};
    const std::vector<std::string> batch = {"f\xFCnf.ndt", "s\xE9\x63hs.ndt"};
    for (const std::string& name : {first, handed[0], handed[1], batch[0], batch[1]})
        box.WriteChart(name);
    FolderWatch watch(box.Charts());
    ASSERT_TRUE(watch.Watching());
    // The viewer reads each of the names and keeps running.
    const auto expectRead = [&](const std::vector<std::string>& names, const Process& viewer) {
        EXPECT_TRUE(
            watch.WaitUntilRead({names.begin(), names.end()}, box.Decoys(), viewer, Clock::now() + kPatience))
            << "opened: " << ::testing::PrintToString(watch.Opened()) << "\n"
            << box.Log();
        EXPECT_TRUE(viewer.Running()) << box.Log();
    };

    // A first viewer with one name, relative to the folder it starts in.
    auto viewer = box.Start({first});
    ASSERT_TRUE(viewer->Started());
    expectRead({first}, *viewer);

    // A second viewer hands two names over and ends without a window.
    {
        auto second = box.Start(handed);
        ASSERT_TRUE(second->Started());
        EXPECT_EQ(second->WaitForExit(Clock::now() + kPatience), std::optional<int>(0)) << box.Log();
    }
    expectRead(handed, *viewer);
    viewer->Stop();

    // A new first viewer with two names at once (its predecessor's socket
    // is still there: it takes the name over).
    viewer = box.Start(batch);
    ASSERT_TRUE(viewer->Started());
    expectRead(batch, *viewer);
    viewer->Stop();

    // Each chart was opened under its own name, and nothing else was.
    EXPECT_EQ(watch.Opened(), (std::set<std::string>{first, handed[0], handed[1], batch[0], batch[1]}));
}

} // namespace
} // namespace lumidrax::test
