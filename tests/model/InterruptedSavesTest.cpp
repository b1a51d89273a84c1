// What a write into a folder does with the temporary files that saves cut
// short left there: whole charts get their names, the rest goes, and files
// of saves still running are left alone.

#include "InterruptedSaves.h"
#include "ChartFile.h"
#include "FileIO.h"
#include "TMereni.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <set>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumidrax {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::TempDir;

std::string WholeChart()
{
    TJednoMereni c = test::RampChart();
    c.Description = "Feeder 3";
    return ChartFileText(c);
}

// A save cut short after `written` bytes: the file already has its whole
// size, the rest is zero bytes.
std::string CutShort(const std::string& whole, std::size_t written)
{
    return whole.substr(0, written) + std::string(whole.size() - written, '\0');
}

// The names in a folder, sorted.
std::set<std::string> Names(const std::string& folder)
{
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.insert(e.path().filename().string());
    return names;
}

// Holds an exclusive lock on a file as a running save does.
struct Lock {
    explicit Lock(const std::string& path) : fd(::open(path.c_str(), O_RDONLY))
    {
        held = ::flock(fd, LOCK_EX) == 0;
    }
    ~Lock() { ::close(fd); }
    int fd;
    bool held = false;
};

enum class Fate { Left, Removed, Recovered };

TEST(InterruptedSaves, StaleTemporariesOfEveryNameAreRecoveredOrRemovedAndLockedOnesLeft)
{
    const std::string whole = WholeChart();
    const std::string longName(kMaxCarriedName, 'n');
    struct Case {
        const char* what;
        std::string temp;   // the temporary file's name
        std::string target; // the name it carries ("" when none)
        std::string content;
        bool locked;
        bool targetExists;
        Fate fate;
    };
    const std::vector<Case> cases = {
        {"a whole chart whose save was cut before the rename", ".a.ndt.lumidrax-tmp-Ab12Cd", "a.ndt", whole,
         false, false, Fate::Recovered},
        {"the same when the target exists: an older copy", ".a.ndt.lumidrax-tmp-Ab12Cd", "a.ndt", whole,
         false, true, Fate::Removed},
        {"a whole chart still being saved", ".a.ndt.lumidrax-tmp-Ab12Cd", "a.ndt", whole, true, false,
         Fate::Left},
        {"a chart still being saved over its target", ".a.ndt.lumidrax-tmp-Ab12Cd", "a.ndt", whole, true,
         true, Fate::Left},
        {"a chart cut short in its samples", ".a.ndt.lumidrax-tmp-Ab12Cd", "a.ndt",
         CutShort(whole, whole.size() / 2), false, false, Fate::Removed},
        {"a chart cut short one byte before its end", ".a.ndt.lumidrax-tmp-Ab12Cd", "a.ndt",
         CutShort(whole, whole.size() - 1), false, false, Fate::Removed},
        {"a chart cut short in its settings line", ".a.ndt.lumidrax-tmp-Ab12Cd", "a.ndt", CutShort(whole, 14),
         false, false, Fate::Removed},
        {"a chart being written, cut short so far", ".a.ndt.lumidrax-tmp-Ab12Cd", "a.ndt",
         CutShort(whole, whole.size() / 2), true, false, Fate::Left},
        {"a save killed before it wrote anything", ".a.ndt.lumidrax-tmp-Ab12Cd", "a.ndt", "", false, false,
         Fate::Removed},
        {"a chart without its last line end", ".a.ndt.lumidrax-tmp-Ab12Cd", "a.ndt",
         whole.substr(0, whole.size() - 2), false, false, Fate::Removed},
        {"text that is not a chart", ".a.ndt.lumidrax-tmp-Ab12Cd", "a.ndt", "not a chart\r\n", false, false,
         Fate::Removed},
        {"a chart named in capitals", ".B.NDT.lumidrax-tmp-zz9900", "B.NDT", whole, false, false,
         Fate::Recovered},
        {"a settings file: made again from memory", ".lumidrax.INI.lumidrax-tmp-Ab12Cd", "lumidrax.INI",
         "[MAIN]\r\nWIDTH=800\r\n", false, false, Fate::Removed},
        {"a name that may have been cut: its target is unknown", "." + longName + ".lumidrax-tmp-Ab12Cd",
         longName, whole, false, false, Fate::Removed},
        {"a name without the leading dot", "a.ndt.lumidrax-tmp-Ab12Cd", "a.ndt", whole, false, false,
         Fate::Left},
        {"a random part too short", ".a.ndt.lumidrax-tmp-Ab12C", "a.ndt", whole, false, false, Fate::Left},
        {"a random part that mkostemp does not make", ".a.ndt.lumidrax-tmp-Ab 2Cd", "a.ndt", whole, false,
         false, Fate::Left},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const std::string temp = dir.Write(c.temp, c.content);
        const std::string target = dir.File(c.target);
        if (c.targetExists)
            dir.Write(c.target, "newer");
        std::unique_ptr<Lock> lock;
        if (c.locked) {
            lock = std::make_unique<Lock>(temp);
            ASSERT_TRUE(lock->held);
        }

        const FolderCleanup done = CleanUpInterruptedSaves(dir.Path());
        switch (c.fate) {
        case Fate::Left:
            EXPECT_EQ(ReadFile(temp), c.content);
            EXPECT_EQ(fs::exists(target), c.targetExists);
            EXPECT_TRUE(done.Removed.empty());
            EXPECT_TRUE(done.Recovered.empty());
            break;
        case Fate::Removed:
            EXPECT_FALSE(fs::exists(temp));
            EXPECT_EQ(done.Removed, std::vector<std::string>{temp});
            EXPECT_TRUE(done.Recovered.empty());
            if (c.targetExists)
                EXPECT_EQ(ReadFile(target), "newer");
            else
                EXPECT_FALSE(fs::exists(target));
            break;
        case Fate::Recovered:
            EXPECT_FALSE(fs::exists(temp));
            EXPECT_EQ(ReadFile(target), c.content);
            EXPECT_EQ(done.Recovered, std::vector<std::string>{target});
            EXPECT_TRUE(done.Removed.empty());
            break;
        }
        const std::size_t expected = (c.fate == Fate::Removed ? 0 : 1) + (c.targetExists ? 1 : 0);
        EXPECT_EQ(Names(dir.Path()).size(), expected);
    }
}

TEST(InterruptedSaves, NamesThatAreNotTemporaryFilesAreLeftAlone)
{
    TempDir dir;
    const std::string whole = WholeChart();
    // A link, a folder and a FIFO named as temporary files, and plain charts.
    dir.Write("a.ndt", whole);
    dir.Write(".a.ndt", whole);
    fs::create_symlink("a.ndt", dir.File(".l.ndt.lumidrax-tmp-Ab12Cd"));
    fs::create_directory(dir.File(".d.ndt.lumidrax-tmp-Ab12Cd"));
    ASSERT_EQ(::mkfifo(dir.File(".f.ndt.lumidrax-tmp-Ab12Cd").c_str(), 0644), 0);
    const std::set<std::string> before = Names(dir.Path());
    const FolderCleanup done = CleanUpInterruptedSaves(dir.Path());
    EXPECT_TRUE(done.Recovered.empty());
    EXPECT_TRUE(done.Removed.empty());
    EXPECT_EQ(Names(dir.Path()), before);
    EXPECT_FALSE(fs::exists(dir.File("l.ndt")));
    EXPECT_FALSE(fs::exists(dir.File("d.ndt")));
    EXPECT_FALSE(fs::exists(dir.File("f.ndt")));
}

TEST(InterruptedSaves, AnyWriteIntoTheFolderCleansItAndTheOutcomeNamesWhatCameBack)
{
    TempDir dir;
    const std::string whole = WholeChart();
    // Left by a killed automatic save, by a killed save of another chart
    // over its file, by a save cut short, and by a save still running.
    const std::string lost = dir.Write(".220301-101500.ndt.lumidrax-tmp-Qw12Er", whole);
    dir.Write("old.ndt", "kept");
    dir.Write(".old.ndt.lumidrax-tmp-Ty34Ui", whole);
    dir.Write(".cut.ndt.lumidrax-tmp-Op56As", CutShort(whole, 100));
    const std::string running = dir.Write(".busy.ndt.lumidrax-tmp-Df78Gh", CutShort(whole, 50));
    Lock busy(running);
    ASSERT_TRUE(busy.held);

    // A report written into the folder, not a chart: the clean-up is the same.
    const SaveOutcome saved = WriteFileAtomically(dir.File("report.txt"), "lines\r\n");
    ASSERT_TRUE(saved.Done());
    EXPECT_EQ(saved.Recovered, std::vector<std::string>{dir.File("220301-101500.ndt")});
    EXPECT_EQ(ReadFile(dir.File("220301-101500.ndt")), whole);
    EXPECT_EQ(ReadFile(dir.File("old.ndt")), "kept");
    EXPECT_EQ(Names(dir.Path()), (std::set<std::string>{"220301-101500.ndt", "old.ndt", "report.txt",
                                                        ".busy.ndt.lumidrax-tmp-Df78Gh"}));
    EXPECT_EQ(RecoveredFilesNote(saved.Recovered),
              "Recovered " + dir.File("220301-101500.ndt") + " from an interrupted save");
    EXPECT_EQ(RecoveredFilesNote({"/d/a.ndt", "/d/b.ndt"}),
              "Recovered /d/a.ndt, /d/b.ndt from interrupted saves");
    EXPECT_EQ(RecoveredFilesNote({}), "");
    EXPECT_FALSE(fs::exists(lost));

    // A chart save passes the list on; a temporary of the chart being saved
    // is replaced by this save, not recovered.
    dir.Write(".220301-101600.ndt.lumidrax-tmp-Jk90Lz", whole);
    dir.Write(".mine.ndt.lumidrax-tmp-Xc12Vb", whole);
    TMereni m;
    m.AppendRecord(test::RampChart());
    m.Rec(1).FileName = dir.File("mine.ndt");
    const SaveOutcome chart = SaveChartFile(m, 1, false);
    ASSERT_TRUE(chart.Done());
    EXPECT_EQ(chart.Recovered, std::vector<std::string>{dir.File("220301-101600.ndt")});
    EXPECT_EQ(ReadFile(dir.File("mine.ndt")), ChartFileText(m.Rec(1)));
    EXPECT_FALSE(fs::exists(dir.File(".mine.ndt.lumidrax-tmp-Xc12Vb")));
    EXPECT_TRUE(fs::exists(running));
}

TEST(InterruptedSaves, ALinkedTargetIsWrittenAndCleanedInTheFolderOfTheFileItNames)
{
    TempDir dir;
    const std::string whole = WholeChart();
    fs::create_directory(dir.File("real"));
    dir.Write("real/target.ndt", "old");
    fs::create_symlink("real/target.ndt", dir.File("link.ndt"));
    // The save through the link wrote its temporary file beside the file
    // the link names; one left beside the link belongs to this folder.
    dir.Write("real/.lost.ndt.lumidrax-tmp-Ab12Cd", whole);
    dir.Write(".beside.ndt.lumidrax-tmp-Ab12Cd", whole);

    const FileOutcome out = ReplaceFileAtomically(dir.File("link.ndt"), "new");
    ASSERT_TRUE(out.Ok());
    EXPECT_EQ(out.Recovered, std::vector<std::string>{dir.File("real/lost.ndt")});
    EXPECT_EQ(ReadFile(dir.File("real/lost.ndt")), whole);
    EXPECT_EQ(ReadFile(dir.File("real/target.ndt")), "new");
    EXPECT_TRUE(fs::is_symlink(dir.File("link.ndt")));
    EXPECT_TRUE(fs::exists(dir.File(".beside.ndt.lumidrax-tmp-Ab12Cd")));

    // A link's own name carried by a temporary file: the name exists.
    dir.Write(".link.ndt.lumidrax-tmp-Ab12Cd", whole);
    const FileOutcome here = ReplaceFileAtomically(dir.File("other.ndt"), "x");
    ASSERT_TRUE(here.Ok());
    EXPECT_EQ(here.Recovered, std::vector<std::string>{dir.File("beside.ndt")});
    EXPECT_FALSE(fs::exists(dir.File(".link.ndt.lumidrax-tmp-Ab12Cd")));
    EXPECT_TRUE(fs::is_symlink(dir.File("link.ndt")));
    EXPECT_EQ(ReadFile(dir.File("real/target.ndt")), "new");
}

TEST(InterruptedSaves, ARecoveredChartHasTheModeItsSaveGaveIt)
{
    TempDir dir;
    // A save sets the mode before it writes: a temporary file left whole
    // has the new file's mode, which the recovery keeps.
    const std::string temp = dir.Write(".m.ndt.lumidrax-tmp-Ab12Cd", WholeChart());
    ::chmod(temp.c_str(), 0640);
    ASSERT_EQ(CleanUpInterruptedSaves(dir.Path()).Recovered.size(), 1u);
    struct stat st {};
    ASSERT_EQ(::stat(dir.File("m.ndt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    // And a save that is not interrupted leaves no temporary behind.
    ASSERT_TRUE(WriteFileAtomically(dir.File("n.ndt"), WholeChart()).Done());
    for (const std::string& name : Names(dir.Path()))
        EXPECT_EQ(name.find(std::string(kTempFileMark)), std::string::npos) << name;
}

} // namespace
} // namespace lumidrax
