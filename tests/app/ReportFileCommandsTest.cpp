// The report file commands without a window: where a report is saved and
// what is asked on the way, the code page warning, and the text lines.

#include "ReportFileCommands.h"
#include "AppTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace lumidrax {
namespace {

namespace fs = std::filesystem;
using test::FakeDialogs;
using test::TempDir;

TEST(ReportFileCommands, LinesAreSplitAtEveryLineEnd)
{
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"", {}},
        {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        {"a\r\n", {"a"}},
        {"a\r\n\r\n", {"a", ""}},
    };
    for (const auto& [text, lines] : cases) {
        EXPECT_EQ(SplitLines(text), lines) << text;
        EXPECT_EQ(SplitLines(ReportFileBytes(lines)), lines) << text;
    }
}

// What the page cannot show promptly is refused when it is opened, with the
// reason, and the files around it still open in their order.
TEST(ReportFileCommands, OpenRefusesLinesAndTextsThePageCannotShowPromptly)
{
    const std::string longest(kMaxReportLineChars, 'x');
    const std::size_t most = static_cast<std::size_t>(kMaxReportFileBytes);
    // Exactly the most bytes, in lines of 10 bytes and a shorter last one.
    const std::string full = ReportFileBytes(std::vector<std::string>(most / 10, "12,5 m  ")) +
                             std::string(most % 10 - 2, 'x') + "\r\n";
    const struct {
        const char* what;
        std::string bytes;
        std::string refusal; // the reason given; empty: the report opens
    } cases[] = {
        {"a line of the most characters", "head\r\n" + longest + "\r\n", ""},
        {"a line of one more", "head\r\n" + longest + "x\r\n",
         "line 2 is " + std::to_string(kMaxReportLineChars + 1) + " characters long, more than the " +
             std::to_string(kMaxReportLineChars) + " the Report page shows"},
        {"the most characters, each two bytes in UTF-8", std::string(kMaxReportLineChars, '\x9A'),
         ""}, // Windows-1250 s-caron
        {"one line of 15 MB, as one that froze the window for seconds", std::string(15u << 20, '7'),
         "larger than " + std::to_string(most) + " bytes, the most the Report page shows"},
        {"the most bytes in short lines", full, ""},
        {"a byte more", full + "y",
         "larger than " + std::to_string(most) + " bytes, the most the Report page shows"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        TReportList reports;
        Settings settings;
        FakeDialogs dialogs;
        ReportFileCommands commands{reports, settings, dialogs};
        const std::string path = dir.Write("b.txt", c.bytes);
        EXPECT_EQ(commands.Open({dir.Write("a.txt", "a\r\n"), path, dir.Write("c.txt", "c\r\n")}),
                  c.refusal.empty() ? 3 : 2);
        std::vector<std::string> names;
        for (int k = 0; k < reports.Count(); ++k)
            names.push_back(reports.At(k).DisplayName);
        if (c.refusal.empty()) {
            EXPECT_EQ(names, (std::vector<std::string>{dir.File("a.txt"), path, dir.File("c.txt")}));
            EXPECT_EQ(dialogs.Log.size(), 0u);
            const std::string ended = c.bytes.ends_with("\r\n") ? c.bytes : c.bytes + "\r\n";
            EXPECT_TRUE(ReportFileBytes(reports.At(1).Lines) == ended); // the text whole
        } else {
            EXPECT_EQ(names, (std::vector<std::string>{dir.File("a.txt"), dir.File("c.txt")}));
            EXPECT_EQ(dialogs.Messages(), std::vector<std::string>{"Error: could not open report " + path +
                                                                   " (" + c.refusal + ")."});
        }
    }
}

// A report with an automatic name whose day folder is missing.
struct AutoNamed {
    TempDir dir;
    TReportList reports;
    Settings settings;
    FakeDialogs dialogs;
    ReportFileCommands commands{reports, settings, dialogs};
    std::string folder;
    std::string autoName;

    explicit AutoNamed(const std::string& day = "26-12-09")
    {
        settings.SaveRoot = dir.Path() + "/";
        folder = settings.SaveRoot + day + "/";
        autoName = folder + "101500.txt";
        reports.AddReceived({"line"}, autoName);
    }
};

TEST(ReportFileCommands, SaveOfAnAutomaticNameAsksForItsMissingFolder)
{
    struct Case {
        int answer;
        std::optional<std::string> chosen; // save dialog: nothing = not shown or cancelled
        bool dialogShown;
        bool savedAtAutoName;
    };
    const Case cases[] = {
        {kAnswerYes, std::nullopt, false, true},
        {kAnswerNo, "chosen.txt", true, false},
        {kAnswerNo, std::nullopt, true, false},
    };
    for (const Case& c : cases) {
        AutoNamed t;
        t.dialogs.Answers.push_back(c.answer);
        std::string chosen;
        if (c.dialogShown) {
            chosen = c.chosen ? t.dir.File(*c.chosen) : "";
            t.dialogs.SaveAnswers.push_back(c.chosen ? std::optional(chosen) : std::nullopt);
        }
        const bool written = t.commands.Save(0);
        EXPECT_EQ(t.dialogs.Questions(),
                  std::vector<std::string>{"Directory " + t.folder + " does not exist. Create it ?"});
        const TReport& r = t.reports.At(0);
        const std::string expected = c.savedAtAutoName ? t.autoName : chosen;
        EXPECT_EQ(written, !expected.empty());
        EXPECT_EQ(r.Saved, written);
        EXPECT_EQ(r.DisplayName, written ? expected : t.autoName);
        EXPECT_EQ(r.AutoFileName, written ? "" : t.autoName);
        if (written) {
            EXPECT_EQ(test::ReadFile(expected), "line\r\n");
        }
        if (c.dialogShown) {
            const FileDialogRequest& shown = t.dialogs.Log.back().Request;
            EXPECT_EQ(shown.Title, "Save");
            EXPECT_EQ(shown.FileName, "101500.txt");
            EXPECT_EQ(shown.Folder, t.settings.SaveRoot);
            EXPECT_EQ(shown.Filter, "Report files|*.txt");
        }
        EXPECT_TRUE(t.dialogs.ScriptUsed());
    }
}

TEST(ReportFileCommands, AFolderThatCannotBeMadeIsReportedAndTheSaveDialogOffered)
{
    AutoNamed t("blocked/26-12-09");
    t.dir.Write("blocked", "a file where the folder should be");
    t.dialogs.Answers.push_back(kAnswerYes);
    t.dialogs.SaveAnswers.push_back(std::nullopt);
    EXPECT_FALSE(t.commands.Save(0));
    EXPECT_EQ(t.dialogs.Messages(),
              std::vector<std::string>{"Error: unable to create directory " + t.folder + "."});
    EXPECT_FALSE(t.reports.At(0).Saved);
    // Automatic saving of a received report asks nothing.
    EXPECT_FALSE(t.commands.Save(0, true));
    EXPECT_EQ(t.dialogs.Messages().size(), 2u);
    EXPECT_TRUE(t.dialogs.ScriptUsed());
}

TEST(ReportFileCommands, CharactersOutsideTheCodePageAreWrittenOnlyAfterYes)
{
    AutoNamed t;
    fs::create_directories(t.folder);
    t.reports.At(0).Lines = {"Kabel \xE4\xB8\xAD \xC4\x8D"}; // a CJK sign and "č"
    t.dialogs.Answers = {kAnswerNo, kAnswerYes};
    EXPECT_FALSE(t.commands.Save(0));
    EXPECT_FALSE(fs::exists(t.autoName));
    EXPECT_TRUE(t.commands.Save(0));
    EXPECT_EQ(test::ReadFile(t.autoName), "Kabel ? \xE8\r\n");
    ASSERT_EQ(t.dialogs.Questions().size(), 2u);
    EXPECT_NE(t.dialogs.Questions()[0].find("\xE4\xB8\xAD"), std::string::npos);
}

// The report asked about is closed while "Save anyway ?" is open, and
// reports arrive meanwhile: the save names it and writes nothing; Close All
// keeps what arrived during its question.
TEST(ReportFileCommands, ReportClosedOrArrivingWhileAQuestionIsOpen)
{
    TempDir dir;
    TReportList reports;
    Settings settings;
    FakeDialogs dialogs;
    ReportFileCommands commands{reports, settings, dialogs};
    const std::string path = dir.File("r.txt");
    reports.AddOpened(path, {"snow \u2603"});
    reports.At(0).Saved = false;
    dialogs.Answers = {kAnswerYes};
    dialogs.WhileOpen = [&](const FakeDialogs::Shown& shown) {
        if (shown.Kind != "ask")
            return;
        reports.AddReceived({"arrived"}, "");
        reports.AddReceived({"arrived too"}, "");
        reports.RemoveReport(1);
    };
    EXPECT_FALSE(commands.Save(0));
    EXPECT_FALSE(fs::exists(path));
    EXPECT_EQ(dialogs.Messages(),
              std::vector<std::string>{"Error: report " + path +
                                       " was closed while the question was open; it was not "
                                       "saved."});
    ASSERT_EQ(reports.Count(), 2);

    // Close All, Yes: the two asked about go, the one that arrived stays.
    dialogs.Answers = {kAnswerYes};
    dialogs.WhileOpen = [&](const FakeDialogs::Shown&) { reports.AddReceived({"third"}, ""); };
    EXPECT_EQ(commands.CloseAll(), CloseAllOutcome::AllClosed);
    ASSERT_EQ(reports.Count(), 1);
    EXPECT_EQ(reports.At(0).Lines, std::vector<std::string>{"third"});
    EXPECT_EQ(reports.IndexOf(reports.At(0).Id), 0);
    EXPECT_EQ(reports.Find(reports.LastId()), &reports.At(0));
}

} // namespace
} // namespace lumidrax
