// Saves killed at random moments, as a kill of the viewer during an
// automatic save of received charts: what is left on disk must be whole
// charts, and the next write into the folder must leave no temporary file
// and give back every chart whose save had written everything.

#include "ChartFile.h"
#include "FileIO.h"
#include "FolderEvents.h"
#include "InterruptedSaves.h"
#include "SaverCharts.h"
#include "TMereni.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <poll.h>
#include <random>
#include <set>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace lumidrax::test {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kRuns = 50;
constexpr int kChartsPerRun = 50;
// A run is killed before its first save or during one of the next ones.
constexpr int kLatestKill = 12;
// Bounds the whole test: a saver that stops talking fails it.
constexpr auto kTestBudget = std::chrono::seconds(40);

// interrupted_saver running with its standard output on a pipe.
class Saver {
  public:
    Saver(const std::string& folder, int run, int count)
    {
        out_ = SpawnWithOutputPipe(
            {BinPath("interrupted_saver"), folder, std::to_string(run), std::to_string(count)}, false, pid_);
    }
    ~Saver()
    {
        Kill();
        if (out_ >= 0)
            ::close(out_);
    }
    Saver(const Saver&) = delete;
    Saver& operator=(const Saver&) = delete;

    bool Started() const { return pid_ > 0; }

    // The next line it printed; nothing at the end of its output or when no
    // line came before the deadline.
    std::optional<std::string> Line(Clock::time_point deadline)
    {
        while (true) {
            const auto newline = buffer_.find('\n');
            if (newline != std::string::npos) {
                std::string line = buffer_.substr(0, newline);
                buffer_.erase(0, newline + 1);
                return line;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            pollfd p{out_, POLLIN, 0};
            if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count()) + 1) <= 0)
                return std::nullopt;
            char chunk[4096];
            const ssize_t got = ::read(out_, chunk, sizeof chunk);
            if (got <= 0)
                return std::nullopt;
            buffer_.append(chunk, static_cast<std::size_t>(got));
        }
    }

    // Every further line until it ends (or the deadline).
    std::vector<std::string> Rest(Clock::time_point deadline)
    {
        std::vector<std::string> lines;
        while (auto line = Line(deadline))
            lines.push_back(*line);
        return lines;
    }

    void Kill()
    {
        if (pid_ <= 0)
            return;
        ::kill(pid_, SIGKILL);
        Wait();
    }

    // Waits for it to end; its exit status, or -1 when it was killed.
    int Wait()
    {
        int status = 0;
        while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

  private:
    pid_t pid_ = -1;
    int out_ = -1;
    std::string buffer_;
};

// Sees the saver's temporary files come and go in its folder (inotify), so
// that a kill can be aimed at the time one exists.
class TemporaryWatch {
  public:
    explicit TemporaryWatch(const std::string& folder)
        : events_(folder, IN_CREATE | IN_MOVED_FROM | IN_DELETE)
    {
    }

    bool Watching() const { return events_.Watching(); }
    // How long a temporary file lived, last seen (from its creation to its
    // rename or removal).
    std::chrono::microseconds Lifetime() const { return lifetime_; }

    // Forgets what happened so far: the count starts again.
    void Restart()
    {
        Take();
        created_ = 0;
        born_.clear();
    }

    // Waits until `count` temporary files were created since Restart; false
    // at the deadline.
    bool WaitForCreated(int count, Clock::time_point deadline)
    {
        while (created_ < count) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            pollfd p{events_.Descriptor(), POLLIN, 0};
            if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count()) + 1) <= 0)
                return false;
            Take();
        }
        return true;
    }

  private:
    // Takes the events that are there.
    void Take()
    {
        events_.TakeEvents([this](const std::string& name, std::uint32_t mask) {
            const auto now = Clock::now();
            std::string target;
            if (!IsTemporaryName(name, target))
                return;
            if (mask & IN_CREATE) {
                ++created_;
                born_[name] = now;
            } else if (const auto it = born_.find(name); it != born_.end()) {
                lifetime_ = std::chrono::duration_cast<std::chrono::microseconds>(now - it->second);
                born_.erase(it);
            }
        });
    }

    FolderEvents events_;
    int created_ = 0;
    std::map<std::string, Clock::time_point> born_;
    std::chrono::microseconds lifetime_{500};
};

// What the saver writes for chart `number` of run `run`.
const std::string& Expected(int run, int number)
{
    static std::map<std::pair<int, int>, std::string> made;
    auto [at, fresh] = made.try_emplace({run, number});
    if (fresh)
        at->second = ChartFileText(SaverChart(run, number));
    return at->second;
}

// What is on disk: chart files by name, and temporary files by name with
// the name they carry.
struct FolderState {
    std::map<std::string, std::string> charts;
    std::map<std::string, std::string> temporaries;
    std::vector<std::string> others;
};

FolderState Look(const std::string& folder)
{
    FolderState state;
    for (const auto& e : fs::directory_iterator(folder)) {
        const std::string name = e.path().filename().string();
        std::string target;
        if (IsTemporaryName(name, target))
            state.temporaries[name] = target;
        else if (name.size() > 4 && name.substr(name.size() - 4) == ".ndt")
            state.charts[name] = ReadFile(e.path().string());
        else
            state.others.push_back(name);
    }
    return state;
}

// Every chart file on disk is whole and holds what its saver wrote.
void ExpectWholeCharts(const FolderState& state)
{
    for (const auto& [name, bytes] : state.charts) {
        int run = 0;
        int number = 0;
        ASSERT_TRUE(ParseSaverChartName(name, run, number)) << name;
        ASSERT_TRUE(bytes == Expected(run, number)) << name << " holds " << bytes.size() << " bytes, not the "
                                                    << Expected(run, number).size() << " its saver wrote";
    }
    EXPECT_TRUE(state.others.empty());
}

TEST(InterruptedSave, SavesKilledAtRandomMomentsLeaveWholeChartsAndTheNextSaveCleansUp)
{
    TempDir dir;
    const auto deadline = Clock::now() + kTestBudget;
    std::mt19937 random(8812);
    // The time one save takes, as last seen: kills are aimed inside a save.
    auto saveTime = std::chrono::microseconds(2000);
    // Charts whose temporary file was whole while no file had their name:
    // the only copies, which a later write must give back.
    std::set<std::string> onlyCopies;
    std::set<std::string> recovered;
    int temporariesLeft = 0;
    int cutShort = 0;

    TemporaryWatch watch(dir.Path());
    ASSERT_TRUE(watch.Watching());

    for (int run = 1; run <= kRuns; ++run) {
        SCOPED_TRACE("run " + std::to_string(run));
        watch.Restart();
        Saver saver(dir.Path(), run, kChartsPerRun);
        ASSERT_TRUE(saver.Started());
        ASSERT_EQ(saver.Line(deadline), std::optional<std::string>("ready"));
        const int savesBeforeKill = static_cast<int>(random() % kLatestKill);
        const double into = std::uniform_real_distribution<double>(0, 1)(random);
        if (run % 2 == 0) {
            // Every other run is killed while the temporary file of its
            // save exists, where on a fast disk a kill seldom lands.
            ASSERT_TRUE(watch.WaitForCreated(savesBeforeKill + 1, deadline));
            std::this_thread::sleep_for(watch.Lifetime() * into);
        } else {
            auto last = Clock::now();
            for (int saved = 0; saved < savesBeforeKill;) {
                const std::optional<std::string> line = saver.Line(deadline);
                ASSERT_TRUE(line) << "the saver stopped after " << saved << " saves";
                if (line->rfind("recovered ", 0) == 0) {
                    recovered.insert(fs::path(line->substr(10)).filename().string());
                    continue;
                }
                ASSERT_EQ(line->rfind("saved ", 0), 0u) << *line;
                ++saved;
                const auto now = Clock::now();
                saveTime = std::chrono::duration_cast<std::chrono::microseconds>(now - last);
                last = now;
            }
            // Somewhere in the next save.
            std::this_thread::sleep_for(saveTime * into);
        }
        saver.Kill();
        for (const std::string& line : saver.Rest(deadline))
            if (line.rfind("recovered ", 0) == 0)
                recovered.insert(fs::path(line.substr(10)).filename().string());

        const FolderState state = Look(dir.Path());
        ExpectWholeCharts(state);
        if (HasFatalFailure())
            return;
        for (const auto& [temp, target] : state.temporaries) {
            ++temporariesLeft;
            int tempRun = 0;
            int number = 0;
            ASSERT_TRUE(ParseSaverChartName(target, tempRun, number)) << temp;
            if (ReadFile(dir.File(temp)) == Expected(tempRun, number) && !state.charts.count(target))
                onlyCopies.insert(target);
            else
                ++cutShort;
        }
    }

    // One more save into the folder: nothing temporary is left, and each
    // whole chart that had no file is back under its name.
    const FolderState before = Look(dir.Path());
    std::vector<std::string> toRecover;
    for (const auto& [temp, target] : before.temporaries)
        if (!before.charts.count(target) && onlyCopies.count(target))
            toRecover.push_back(dir.File(target));
    std::sort(toRecover.begin(), toRecover.end());
    TMereni charts;
    TJednoMereni last = SaverChart(kRuns + 1, 1);
    last.FileName = dir.File(SaverChartName(kRuns + 1, 1));
    charts.AppendRecord(std::move(last));
    SaveOutcome saved = SaveChartFile(charts, 1, false);
    ASSERT_TRUE(saved.Done()) << saved.Message;
    std::sort(saved.Recovered.begin(), saved.Recovered.end());
    EXPECT_EQ(saved.Recovered, toRecover);
    for (const std::string& path : saved.Recovered)
        recovered.insert(fs::path(path).filename().string());

    const FolderState after = Look(dir.Path());
    EXPECT_TRUE(after.temporaries.empty())
        << after.temporaries.size() << " temporary files left, " << after.temporaries.begin()->first;
    ExpectWholeCharts(after);
    for (const std::string& name : onlyCopies)
        EXPECT_TRUE(after.charts.count(name)) << name << " was whole in a temporary file and is lost";
    for (const std::string& name : recovered)
        EXPECT_TRUE(onlyCopies.count(name)) << name << " was recovered from no whole temporary file";
    // The kills did hit saves: some left temporary files behind.
    EXPECT_GT(temporariesLeft, 0);
    std::printf("%d kills left %d temporary files: %zu whole charts with no file (all recovered), %d "
                "other\n",
                kRuns, temporariesLeft, onlyCopies.size(), cutShort);
}

TEST(InterruptedSave, TwoProcessesSavingIntoOneFolderLeaveEachOthersFilesAlone)
{
    TempDir dir;
    const auto deadline = Clock::now() + kTestBudget;
    // Each cleans the folder before each of its saves while the other's
    // temporary files come and go.
    Saver first(dir.Path(), 1, kChartsPerRun);
    Saver second(dir.Path(), 2, kChartsPerRun);
    ASSERT_TRUE(first.Started());
    ASSERT_TRUE(second.Started());
    std::vector<std::string> lines = first.Rest(deadline);
    const std::vector<std::string> more = second.Rest(deadline);
    lines.insert(lines.end(), more.begin(), more.end());
    EXPECT_EQ(first.Wait(), 0);
    EXPECT_EQ(second.Wait(), 0);
    int saves = 0;
    for (const std::string& line : lines) {
        EXPECT_TRUE(line == "ready" || line.rfind("saved ", 0) == 0) << line;
        saves += line.rfind("saved ", 0) == 0 ? 1 : 0;
    }
    EXPECT_EQ(saves, 2 * kChartsPerRun);
    const FolderState state = Look(dir.Path());
    EXPECT_EQ(state.charts.size(), static_cast<std::size_t>(2 * kChartsPerRun));
    EXPECT_TRUE(state.temporaries.empty());
    ExpectWholeCharts(state);
}

} // namespace
} // namespace lumidrax::test
