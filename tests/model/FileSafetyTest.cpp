// Saving over protected files, links and leftovers of interrupted saves, and
// text that must come back from a chart file as it went in.

#include "ChartFile.h"
#include "Cp1250.h"
#include "FileIO.h"
#include "TMereni.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumidrax {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::TempDir;

const std::string kHeader =
    "2000     660     50     5     0     1     11     1     0     0     -1     0     0";

std::string Chart(const std::string& description)
{
    return description + "\r\n" + kHeader + "\r\n1,00\r\n2,00\r\n";
}

struct Stat {
    explicit Stat(const std::string& path) { ::lstat(path.c_str(), &st); }
    struct stat st {};
};

TEST(FileSafety, SavingRefusesProtectedFilesFollowsLinksAndKeepsOwnerGroupAndMode)
{
    TempDir dir;
    // Write-protected by its mode: refused for every user, root included.
    const std::string locked = dir.Write("locked.ndt", "old");
    ::chmod(locked.c_str(), 0444);
    FileOutcome out = ReplaceFileAtomically(locked, "new");
    EXPECT_EQ(out.Status, FileStatus::WriteProtected);
    EXPECT_EQ(ReadFile(locked), "old");
    TMereni m;
    ASSERT_EQ(m.LoadChart(dir.Write("in.ndt", Chart("x"))), 1);
    m.Rec(1).FileName = locked;
    try {
        SaveChart(m, 1, false);
        ADD_FAILURE() << "saved over a write-protected file";
    } catch (const ChartFileError& e) {
        EXPECT_EQ(std::string(e.what()), "could not write file " + locked + " (the file is write-protected)");
    }
    EXPECT_EQ(ReadFile(locked), "old");

    // A link is followed: the file it names is replaced, the link stays.
    fs::create_directory(dir.File("real"));
    const std::string real = dir.Write("real/target.ndt", "old");
    fs::create_symlink("real/target.ndt", dir.File("link.ndt"));
    ASSERT_TRUE(ReplaceFileAtomically(dir.File("link.ndt"), "through the link").Ok());
    EXPECT_TRUE(fs::is_symlink(dir.File("link.ndt")));
    EXPECT_EQ(ReadFile(real), "through the link");

    // Owner, group and mode of the replaced file are kept.
    const std::string shared = dir.Write("shared.ndt", "old");
    ::chmod(shared.c_str(), 0640);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(shared.c_str(), 4321, 4322), 0);
    }
    ASSERT_TRUE(ReplaceFileAtomically(shared, "new").Ok());
    const Stat after(shared);
    EXPECT_EQ(after.st.st_mode & 07777, 0640u);
    if (root) {
        EXPECT_EQ(after.st.st_uid, 4321u);
        EXPECT_EQ(after.st.st_gid, 4322u);
    }
    // Nothing else may be replaced: a folder, a FIFO.
    ::mkfifo(dir.File("pipe.ndt").c_str(), 0644);
    EXPECT_EQ(ReplaceFileAtomically(dir.File("pipe.ndt"), "x").Status, FileStatus::NotRegular);
    EXPECT_EQ(ReplaceFileAtomically(dir.File("real"), "x").Status, FileStatus::NotRegular);
}

TEST(FileSafety, ASaveRemovesWhatInterruptedSavesLeftBehind)
{
    TempDir dir;
    const std::string target = dir.Write("chart.ndt", "old");
    // Left by a killed save, one still held by a save in progress, and one
    // of another file (not a whole chart, so nothing to recover).
    const std::string stale = dir.Write(".chart.ndt.lumidrax-tmp-Ab12Cd", "half");
    const std::string held = dir.Write(".chart.ndt.lumidrax-tmp-Ef34Gh", "busy");
    const std::string other = dir.Write(".other.ndt.lumidrax-tmp-Ij56Kl", "half");
    const int fd = ::open(held.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);

    ASSERT_TRUE(WriteFileAtomically(target, "new").Done());
    EXPECT_EQ(ReadFile(target), "new");
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(held));
    EXPECT_FALSE(fs::exists(other));
    EXPECT_FALSE(fs::exists(dir.File("other.ndt")));
    ::close(fd);
    int files = 0;
    for (const auto& e : fs::directory_iterator(dir.Path()))
        files += e.path().filename().string().find(".lumidrax-tmp-") != std::string::npos ? 1 : 0;
    EXPECT_EQ(files, 1);
    // A name near the longest allowed still has room for its temporary file.
    const std::string longest = dir.File(std::string(250, 'n') + ".ndt");
    EXPECT_EQ(WriteFileAtomically(longest, "x").Message, "");
    EXPECT_EQ(ReadFile(longest), "x");
}

TEST(FileSafety, CodecGivesEveryWindows1250ByteBack)
{
    // Every byte alone, then random strings of them.
    for (int b = 0; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        EXPECT_EQ(Utf8ToCp1250(Cp1250ToUtf8(one)), one) << b;
    }
    EXPECT_EQ(Cp1250ToUtf8("\x81\x83\x88\x90\x98"), "\u0081\u0083\u0088\u0090\u0098");
    std::mt19937 random(1250);
    for (int k = 0; k < 2000; ++k) {
        std::string bytes(random() % 40, '\0');
        for (char& ch : bytes)
            ch = static_cast<char>(random());
        ASSERT_EQ(Utf8ToCp1250(Cp1250ToUtf8(bytes)), bytes);
        ASSERT_EQ(Cp1250Unrepresentable(Cp1250ToUtf8(bytes)), "");
    }
}

TEST(FileSafety, DescriptionBytesSurviveALoadSaveRoundTrip)
{
    // On disk: the bytes Windows-1250 leaves undefined among defined ones.
    TempDir dir;
    const std::string odd = "\x81 \x83 \x88 \x90 \x98 \xE8\x9A";
    TMereni m;
    ASSERT_EQ(m.LoadChart(dir.Write("in.ndt", Chart(odd))), 1);
    m.Rec(1).FileName = dir.File("out.ndt");
    ASSERT_EQ(SaveChart(m, 1, false), kSaveDone);
    EXPECT_EQ(ReadFile(dir.File("out.ndt")), Chart(odd));

    // Any description, read and written as the chart file reader and writer do.
    std::mt19937 random(7);
    int tried = 0;
    for (int k = 0; k < 3000; ++k) {
        std::string description(random() % 30, '\0');
        for (char& ch : description) {
            ch = static_cast<char>(random());
            if (ch == '\r' || ch == '\n')
                ch = '\x90';
        }
        // Bytes that also read as UTF-8 are taken as UTF-8 (by design).
        const bool ascii = std::all_of(description.begin(), description.end(),
                                       [](char ch) { return static_cast<unsigned char>(ch) < 0x80; });
        if ((!ascii && IsValidUtf8(description)) || description.rfind("\xEF\xBB\xBF", 0) == 0)
            continue;
        ++tried;
        TJednoMereni c;
        ReadChartText(c, Chart(description), "in.ndt");
        ASSERT_EQ(ChartFileText(c).substr(0, description.size() + 2), description + "\r\n");
    }
    EXPECT_GT(tried, 2000);
}

TEST(FileSafety, TextThatWouldChangeIsNamedBeforeSavingAndMarksAreDropped)
{
    TempDir dir;
    TMereni m;
    // A UTF-8 file with a byte order mark: the mark is not part of the text.
    ASSERT_EQ(m.LoadChart(dir.Write("bom.ndt", "\xEF\xBB\xBF" + Chart("P\xC5\x99\xC3\xADpojka"))), 1);
    EXPECT_EQ(m.Rec(1).Description, "P\u0159\u00EDpojka");

    // Characters the code page cannot hold: named, and No writes nothing.
    m.Rec(1).Description = "\u03A9 ok \u2603 \u03A9 \u0159";
    m.Rec(1).FileName = dir.Write("out.ndt", "old");
    std::vector<std::string> asked;
    auto answer = [&](bool yes) {
        return [&asked, yes](const std::string&, const std::string& text) {
            asked.push_back(text);
            return yes;
        };
    };
    EXPECT_EQ(SaveChartFile(m, 1, false, answer(false)).Status, SaveStatus::Declined);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_NE(asked[0].find("characters \u03A9 \u2603 of chart " + dir.File("out.ndt")), std::string::npos)
        << asked[0];
    EXPECT_EQ(ReadFile(dir.File("out.ndt")), "old");
    EXPECT_TRUE(SaveChartFile(m, 1, false, answer(true)).Done());
    EXPECT_EQ(ReadFile(dir.File("out.ndt")).substr(0, 12), "? ok ? ? \xF8\r\n");
    // Without anyone to ask, the outcome lists them.
    EXPECT_EQ(SaveChartFile(m, 1, false).Replaced, "\u03A9 \u2603");

    // Readable messages: UTF-16 text is named, a NUL byte is shown escaped.
    std::string utf16;
    for (char ch : Chart("x"))
        utf16 += std::string{ch, '\0'};
    for (const auto& [bytes, expected] : std::vector<std::pair<std::string, std::string>>{
             {"\xFF\xFE" + utf16, " holds UTF-16 text, not a chart file"},
             {utf16, " holds UTF-16 text, not a chart file"},
             {Chart("x") + std::string("1,5\0tail\r\n", 10), ", line 5: '1,5\\x00tail' is not a valid"},
         }) {
        const std::string path = dir.Write("bad.ndt", bytes);
        try {
            m.LoadChart(path);
            ADD_FAILURE() << "read: " << expected;
        } catch (const ChartFileError& e) {
            EXPECT_NE(std::string(e.what()).find(path + expected), std::string::npos) << e.what();
        }
    }
}

} // namespace
} // namespace lumidrax
