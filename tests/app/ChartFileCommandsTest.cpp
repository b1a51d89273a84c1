// The chart file commands without a window: open batch, save, save as,
// close, exit saving, and the catalogue texts they show.

#include "ChartFileCommands.h"
#include "AppTestSupport.h"
#include "MessageCatalogue.h"
#include "TMereni.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace lumidrax {
namespace {

namespace fs = std::filesystem;
using test::FakeDialogs;
using test::ReadFile;
using test::TempDir;
using test::WriteChart;

// A chart as the instrument hands it over: unsaved, maybe with an automatic
// name.
void AddReceived(TMereni& charts, const std::string& autoName, const std::string& description = "received")
{
    TJednoMereni r;
    r.Interval = 1000;
    r.Velocity = 0.66L;
    r.Impedance = 50;
    r.Pozice0X = 10;
    r.Description = description;
    r.SetSamples(std::vector<long double>(30, 12.5L));
    r.AutoFileName = autoName;
    r.DisplayName = autoName.empty() ? "new chart" : autoName;
    r.Saved = false;
    charts.AppendRecord(std::move(r));
}

struct Commands {
    TMereni charts;
    Settings settings;
    FakeDialogs dialogs;
    ChartFileCommands commands{charts, settings, dialogs};
};

TEST(ChartFileCommands, OpenBatchSortsFiltersAndReportsDuplicatesOnce)
{
    TempDir dir;
    Commands c;
    const std::string b = WriteChart(dir.Path(), "B.ndt");
    const std::string a = WriteChart(dir.Path(), "a.NDT");
    const std::string txt = WriteChart(dir.Path(), "c.txt");
    EXPECT_EQ(c.commands.OpenBatch({b, a, txt}), 2);
    ASSERT_EQ(c.charts.Count, 2);
    EXPECT_EQ(c.charts.Rec(1).FileName, a);
    EXPECT_EQ(c.charts.Rec(2).FileName, b);
    EXPECT_TRUE(c.dialogs.Log.empty());

    // The same file again, alone: named in the message.
    EXPECT_EQ(c.commands.OpenBatch({a}), 0);
    // Three names of which two are open: one general message.
    const std::string d = WriteChart(dir.Path(), "d.ndt");
    EXPECT_EQ(c.commands.OpenBatch({a, b, d}), 1);
    EXPECT_EQ(c.dialogs.Messages(),
              (std::vector<std::string>{"Error: chart " + a + " already loaded.",
                                        "Error: some of selected charts are already loaded."}));
    EXPECT_EQ(c.dialogs.Log[0].Caption, "Error");
    EXPECT_EQ(c.charts.Count, 3);
}

TEST(ChartFileCommands, OpenBatchReportsUnreadableFilesAndGoesOn)
{
    TempDir dir;
    Commands c;
    c.settings.LastPath = true;
    const std::string bad =
        dir.Write("a_bad.ndt", "description\r\n1000 660 50 0 0 0 10 0 0 0 0 0 0\r\n1,5\r\nxyz\r\n");
    const std::string missing = dir.File("b_missing.ndt");
    const std::string good = WriteChart(dir.Path() + "/sub", "c_good.ndt");
    EXPECT_EQ(c.commands.OpenBatch({good, missing, bad}), 1);
    ASSERT_EQ(c.dialogs.Messages().size(), 1u);
    EXPECT_EQ(c.dialogs.Messages()[0],
              "Error: " + bad + ", line 4: 'xyz' is not a valid floating point value.");
    EXPECT_EQ(c.charts.Count, 1);
    EXPECT_EQ(c.charts.Rec(1).FileName, good);
    // The data path follows the last name of the sorted batch.
    EXPECT_EQ(c.settings.DataPath, dir.Path() + "/sub/");
}

TEST(ChartFileCommands, SaveOneChartTakesStoredAutomaticOrChosenPath)
{
    TempDir dir;
    Commands c;
    c.settings.SaveRoot = dir.Path() + "/";
    const std::string loaded = WriteChart(dir.Path(), "loaded.ndt", "old text");
    ASSERT_EQ(c.commands.OpenBatch({loaded}), 1);
    c.charts.Rec(1).Description = "new text";
    c.charts.Rec(1).Saved = false;

    // A loaded chart is rewritten without a question.
    EXPECT_TRUE(c.commands.SaveOneChart(1));
    EXPECT_TRUE(c.charts.Rec(1).Saved);
    EXPECT_EQ(ReadFile(loaded).substr(0, 10), "new text\r\n");
    EXPECT_TRUE(c.dialogs.Log.empty());

    // Missing automatic folder, AutoSave on: made without asking.
    const std::string autoName = dir.Path() + "/26-12-08/101500.ndt";
    AddReceived(c.charts, autoName);
    c.settings.AutoSave = true;
    EXPECT_TRUE(c.commands.SaveOneChart(2));
    EXPECT_TRUE(fs::exists(autoName));
    EXPECT_TRUE(c.dialogs.Log.empty());
    EXPECT_TRUE(c.charts.Rec(2).Saved);
    EXPECT_EQ(c.charts.Rec(2).FileName, autoName);
    EXPECT_EQ(c.charts.Rec(2).DisplayName, autoName);
    EXPECT_TRUE(c.charts.Rec(2).AutoFileName.empty());

    // AutoSave off, No to the folder question: the save dialog in SAVEROOT
    // proposes the automatic name; Cancel leaves the chart as it was.
    c.settings.AutoSave = false;
    const std::string autoName2 = dir.Path() + "/26-12-09/111111.ndt";
    AddReceived(c.charts, autoName2);
    c.dialogs.Answers = {kAnswerNo};
    c.dialogs.SaveAnswers = {std::nullopt};
    EXPECT_FALSE(c.commands.SaveOneChart(3));
    EXPECT_EQ(c.dialogs.Questions(),
              std::vector<std::string>{"Directory " + dir.Path() + "/26-12-09/ does not exist. Create it ?"});
    ASSERT_EQ(c.dialogs.Log.back().Kind, "save");
    EXPECT_EQ(c.dialogs.Log.back().Request.Title, "Save");
    EXPECT_EQ(c.dialogs.Log.back().Request.FileName, "111111.ndt");
    EXPECT_EQ(c.dialogs.Log.back().Request.Folder, dir.Path() + "/");
    EXPECT_EQ(c.dialogs.Log.back().Request.DefaultExt, "ndt");
    EXPECT_EQ(c.dialogs.Log.back().Request.Filter, "Chart files|*.ndt");
    EXPECT_FALSE(c.charts.Rec(3).Saved);
    EXPECT_TRUE(c.charts.Rec(3).FileName.empty());
    EXPECT_EQ(c.charts.Rec(3).AutoFileName, autoName2);

    // Yes: the folder is made and the chart written there.
    c.dialogs.Answers = {kAnswerYes};
    EXPECT_TRUE(c.commands.SaveOneChart(3));
    EXPECT_TRUE(fs::exists(autoName2));
    EXPECT_TRUE(c.dialogs.ScriptUsed());
}

TEST(ChartFileCommands, DeclinedOverwriteAndWriteErrorsLeaveTheChartUnsaved)
{
    TempDir dir;
    Commands c;
    c.settings.SaveRoot = dir.Path() + "/";
    const std::string existing = WriteChart(dir.Path(), "existing.ndt", "keep me");
    AddReceived(c.charts, "");

    // No names: the save dialog; an existing file asks before overwriting.
    c.dialogs.SaveAnswers = {existing};
    c.dialogs.Answers = {kAnswerNo};
    EXPECT_FALSE(c.commands.SaveOneChart(1));
    EXPECT_EQ(c.dialogs.Questions(),
              std::vector<std::string>{"File " + existing + " already exists. Overwrite ?"});
    EXPECT_FALSE(c.charts.Rec(1).Saved);
    EXPECT_TRUE(c.charts.Rec(1).FileName.empty());
    EXPECT_EQ(ReadFile(existing).substr(0, 9), "keep me\r\n");
    EXPECT_TRUE(c.dialogs.Messages().empty());

    // A path that cannot be written (a folder): the message, nothing lost.
    const std::string folder = dir.Path() + "/taken.ndt";
    fs::create_directories(folder + "/inside");
    c.dialogs.SaveAnswers = {folder};
    c.dialogs.Answers = {kAnswerYes};
    EXPECT_FALSE(c.commands.SaveOneChart(1));
    ASSERT_EQ(c.dialogs.Messages().size(), 1u);
    EXPECT_EQ(c.dialogs.Messages()[0].rfind("Error: could not write file " + folder + " (", 0), 0u)
        << c.dialogs.Messages()[0];
    EXPECT_EQ(c.dialogs.Messages()[0].back(), '.');
    EXPECT_FALSE(c.charts.Rec(1).Saved);
    EXPECT_TRUE(c.charts.Rec(1).FileName.empty());
    EXPECT_EQ(c.charts.Count, 1);

    // Save as with a declined overwrite keeps the old file name.
    const std::string loaded = WriteChart(dir.Path(), "loaded.ndt");
    ASSERT_EQ(c.commands.OpenBatch({loaded}), 1);
    c.charts.Rec(2).Saved = false;
    c.dialogs.SaveAnswers = {existing};
    c.dialogs.Answers = {kAnswerNo};
    EXPECT_FALSE(c.commands.SaveAs(2));
    EXPECT_EQ(c.dialogs.Log.back().Kind, "ask");
    EXPECT_EQ(c.charts.Rec(2).FileName, loaded);
    EXPECT_FALSE(c.charts.Rec(2).Saved);
    // ... and a new name saves it there.
    const std::string copy = dir.Path() + "/copy.ndt";
    c.dialogs.SaveAnswers = {copy};
    EXPECT_TRUE(c.commands.SaveAs(2));
    EXPECT_EQ(c.dialogs.Log.back().Request.Title, "Save as ...");
    EXPECT_EQ(c.dialogs.Log.back().Request.FileName, "loaded.ndt");
    EXPECT_TRUE(c.charts.Rec(2).Saved);
    EXPECT_EQ(c.charts.Rec(2).DisplayName, copy);
    EXPECT_TRUE(fs::exists(copy));
    EXPECT_TRUE(c.dialogs.ScriptUsed());
}

TEST(ChartFileCommands, SaveAsAsksForAMissingAutomaticFolderWhateverAutoSaveSays)
{
    TempDir dir;
    Commands c;
    c.settings.AutoSave = true;
    c.settings.SaveRoot = dir.Path() + "/";
    AddReceived(c.charts, dir.Path() + "/26-01-02/090000.ndt");
    c.dialogs.Answers = {kAnswerYes};
    c.dialogs.SaveAnswers = {std::nullopt};
    EXPECT_FALSE(c.commands.SaveAs(1));
    EXPECT_EQ(c.dialogs.Log[0].Caption, "Save as");
    EXPECT_TRUE(fs::is_directory(dir.Path() + "/26-01-02"));
    EXPECT_EQ(c.dialogs.Log[1].Request.FileName, "090000.ndt");
    EXPECT_FALSE(c.charts.Rec(1).Saved);
}

TEST(ChartFileCommands, CloseCommandsFollowTheAnswer)
{
    TempDir dir;
    auto fill = [&](Commands& c) {
        // 1 saved, 2 unsaved, 3 saved, 4 unsaved
        c.commands.OpenBatch({WriteChart(dir.Path(), "1.ndt")});
        AddReceived(c.charts, "", "two");
        c.commands.OpenBatch({WriteChart(dir.Path(), "3.ndt")});
        AddReceived(c.charts, "", "four");
    };
    {
        Commands c;
        fill(c);
        c.dialogs.Answers = {kAnswerYes};
        EXPECT_EQ(c.commands.CloseAll(), CloseOutcome::Deleted);
        ASSERT_EQ(c.charts.Count, 2);
        EXPECT_EQ(c.charts.Rec(1).Description, "two");
        EXPECT_EQ(c.charts.Rec(2).Description, "four");
        EXPECT_EQ(c.dialogs.Log[0].Kind, "ask3");
        EXPECT_EQ(c.dialogs.Log[0].Caption, "Close");
        EXPECT_EQ(c.dialogs.Log[0].Text, "Save all unsaved charts ?");
    }
    {
        Commands c;
        fill(c);
        c.dialogs.Answers = {kAnswerCancel, kAnswerNo};
        EXPECT_EQ(c.commands.CloseAll(), CloseOutcome::Cancelled);
        EXPECT_EQ(c.charts.Count, 4);
        EXPECT_EQ(c.commands.CloseAll(), CloseOutcome::Deleted);
        EXPECT_EQ(c.charts.Count, 0);
    }
    {
        Commands c;
        fill(c);
        c.charts.SetReference(4);
        // Selected 1, 2, 4; Yes closes the saved one only, renumbering.
        c.dialogs.Answers = {kAnswerYes, kAnswerCancel, kAnswerNo};
        EXPECT_EQ(c.commands.CloseSelected({1, 2, 4}), CloseOutcome::Deleted);
        ASSERT_EQ(c.charts.Count, 3);
        EXPECT_EQ(c.charts.Rec(1).Description, "two");
        EXPECT_EQ(c.charts.RefIndex, 3);
        EXPECT_EQ(c.charts.Rec(c.charts.RefIndex).Description, "four");
        EXPECT_EQ(c.commands.CloseSelected({1}), CloseOutcome::Cancelled);
        EXPECT_EQ(c.charts.Count, 3);
        EXPECT_EQ(c.commands.CloseSelected({1, 3}), CloseOutcome::Deleted);
        ASSERT_EQ(c.charts.Count, 1);
        EXPECT_EQ(c.charts.RefIndex, 0);
        // Only saved charts selected: closed without a question.
        EXPECT_EQ(c.commands.CloseSelected({1}), CloseOutcome::Deleted);
        EXPECT_EQ(c.charts.Count, 0);
        EXPECT_TRUE(c.dialogs.ScriptUsed());
        EXPECT_EQ(c.dialogs.Log.size(), 3u);
    }
}

TEST(ChartFileCommands, ExitSavingWritesEveryUnsavedChartAndAsksWhereNoNameExists)
{
    TempDir dir;
    Commands c;
    c.settings.SaveRoot = dir.Path() + "/";
    const std::string loaded = WriteChart(dir.Path(), "loaded.ndt", "before");
    c.commands.OpenBatch({loaded});
    c.charts.Rec(1).Description = "after";
    c.charts.Rec(1).Saved = false;
    const std::string autoName = dir.Path() + "/26-02-03/120000.ndt";
    AddReceived(c.charts, autoName);
    AddReceived(c.charts, "");
    const std::string chosen = dir.Path() + "/chosen.ndt";
    c.dialogs.SaveAnswers = {chosen};
    EXPECT_TRUE(c.commands.SaveAllForExit());
    EXPECT_EQ(ReadFile(loaded).substr(0, 7), "after\r\n");
    EXPECT_TRUE(fs::exists(autoName));
    EXPECT_TRUE(fs::exists(chosen));
    EXPECT_EQ(c.charts.Rec(3).FileName, chosen);
    EXPECT_FALSE(c.commands.AnyUnsaved());
    EXPECT_TRUE(c.dialogs.ScriptUsed());

    // A cancelled dialog leaves that chart unsaved, and the caller knows.
    AddReceived(c.charts, "");
    c.dialogs.SaveAnswers = {std::nullopt};
    EXPECT_FALSE(c.commands.SaveAllForExit());
    EXPECT_FALSE(c.charts.Rec(4).Saved);
}

TEST(ChartFileCommands, TextTheFileCannotHoldIsNamedAndNoKeepsTheChartUnsaved)
{
    TempDir dir;
    Commands c;
    const std::string loaded = WriteChart(dir.Path(), "loaded.ndt", "before");
    ASSERT_EQ(c.commands.OpenBatch({loaded}), 1);
    c.charts.Rec(1).Description = "\u03A9 after";
    c.charts.Rec(1).Saved = false;
    c.dialogs.Answers = {kAnswerNo, kAnswerYes};
    EXPECT_FALSE(c.commands.SaveOneChart(1));
    ASSERT_EQ(c.dialogs.Questions().size(), 1u);
    EXPECT_EQ(c.dialogs.Questions()[0], "The characters \u03A9 of chart " + loaded +
                                            " cannot be stored in a chart file (Windows-1250) and will be "
                                            "written as ?. Save anyway ?");
    EXPECT_EQ(c.dialogs.Log[0].Caption, "Save");
    EXPECT_FALSE(c.charts.Rec(1).Saved);
    EXPECT_EQ(ReadFile(loaded).substr(0, 8), "before\r\n");
    EXPECT_TRUE(c.commands.SaveOneChart(1));
    EXPECT_EQ(ReadFile(loaded).substr(0, 9), "? after\r\n");
    EXPECT_TRUE(c.dialogs.Messages().empty());
    EXPECT_TRUE(c.dialogs.ScriptUsed());
}

// A chart closed while one of the save's questions is open (another command
// ran in the event loop) is named in a message; nothing is written, and the
// charts that stay keep their names. Charts appended meanwhile move nothing.
TEST(ChartFileCommands, ChartClosedWhileASaveQuestionIsOpenIsNamedAndNotWritten)
{
    struct Case {
        const char* question; // the text the question starts with
        bool overwrite;       // the target exists (else: text the code page cannot hold)
    };
    for (const Case& k : {Case{"File ", true}, Case{"The characters ", false}}) {
        SCOPED_TRACE(k.question);
        TempDir dir;
        Commands c;
        const std::string path = WriteChart(dir.Path(), "a.ndt", "on disk");
        AddReceived(c.charts, "", "before");
        AddReceived(c.charts, "", k.overwrite ? "to save" : "snow \u2603");
        c.dialogs.SaveAnswers.push_back(path);
        c.dialogs.Answers = {kAnswerYes};
        c.dialogs.WhileOpen = [&](const FakeDialogs::Shown& shown) {
            if (shown.Text.rfind(k.question, 0) != 0)
                return;
            for (int n = 0; n < 30; ++n)
                AddReceived(c.charts, "", "arrived");
            c.charts.DeleteChart(2);
        };
        if (!k.overwrite)
            fs::remove(path);
        EXPECT_FALSE(c.commands.SaveOneChart(2));
        EXPECT_EQ(c.dialogs.Messages(),
                  std::vector<std::string>{"Error: chart " + path +
                                           " was closed while the question was open; it was not saved."});
        EXPECT_EQ(fs::exists(path), k.overwrite);
        if (k.overwrite) {
            EXPECT_EQ(ReadFile(path).substr(0, 7), "on disk");
        }
        EXPECT_EQ(c.charts.Count, 31);
        EXPECT_EQ(c.charts.Rec(1).Description, "before");
        EXPECT_TRUE(c.charts.Rec(1).FileName.empty());
    }
}

// A chart an interrupted save had written whole into the folder is back under
// its name after the next save there, and the user is told.
TEST(ChartFileCommands, ChartRecoveredFromAnInterruptedSaveIsNamed)
{
    TempDir dir;
    Commands c;
    const std::string lost = dir.File("lost.ndt");
    dir.Write(".lost.ndt.lumidrax-tmp-Ab12Cd", test::ChartFileBytes("only copy"));
    AddReceived(c.charts, dir.File("new.ndt"));
    EXPECT_TRUE(c.commands.SaveOneChart(1));
    EXPECT_EQ(ReadFile(lost), test::ChartFileBytes("only copy"));
    EXPECT_EQ(c.dialogs.Messages(),
              std::vector<std::string>{"Recovered " + lost + " from an interrupted save."});
}

TEST(ChartFileCommands, IdsNameChartsAcrossClosingAndAdding)
{
    Commands c;
    for (int n = 0; n < 5; ++n)
        AddReceived(c.charts, "", "chart " + std::to_string(n + 1));
    const ChartId third = c.charts.Rec(3).Id;
    const ChartId fifth = c.charts.Rec(5).Id;
    const TJednoMereni* held = &c.charts.Rec(3);
    for (int n = 0; n < 100; ++n)
        AddReceived(c.charts, "", "more");
    // Appending moves no chart in memory.
    EXPECT_EQ(&c.charts.Rec(3), held);
    c.charts.DeleteChart(1);
    EXPECT_EQ(c.charts.NumberOf(third), 2);
    EXPECT_EQ(c.charts.Find(third)->Description, "chart 3");
    EXPECT_EQ(c.charts.NumberOf(fifth), 4);
    c.charts.DeleteChart(2);
    EXPECT_EQ(c.charts.NumberOf(third), 0);
    EXPECT_EQ(c.charts.Find(third), nullptr);
    EXPECT_EQ(c.charts.NumberOf(0), 0);
    EXPECT_GT(c.charts.Rec(c.charts.Count).Id, fifth);
    EXPECT_EQ(c.charts.LastId(), c.charts.Rec(c.charts.Count).Id);
}

TEST(MessageCatalogue, EveryCodeShowsItsTextInTheErrorBox)
{
    FakeDialogs dialogs;
    const std::vector<std::pair<int, std::string>> cases = {
        {-1, "Error: file x does not exists."},
        {-2, "Error: could not open file x."},
        {-3, "Error: chart x already loaded."},
        {-4, "Error: noise on line."},
        {-5, "Error: data read error."},
        {-6, "Error: data read error."},
        {-7, "Error: too many charts opened."},
        {-8, "Error: unable to create directory x."},
        {-9, "Error: unable to open port x."},
        {-10, "Error: some of selected charts are already loaded."},
        {-11, "Error: Selected charts were not measured in batch mode."},
        {-12, "Error: Incorrect byte count (chart was not transfered)."},
        {-13, "Error: Port numbers for BT communication can not be the same."},
        {5, "Error: internal error no. 5."},
        {-14, "Error: internal error no. -14."},
    };
    for (const auto& [code, text] : cases)
        dialogs.ShowError(code, "x");
    ASSERT_EQ(dialogs.Log.size(), cases.size());
    for (std::size_t k = 0; k < cases.size(); ++k) {
        EXPECT_EQ(dialogs.Log[k].Caption, "Error");
        EXPECT_EQ(dialogs.Log[k].Text, cases[k].second) << "code " << cases[k].first;
    }
}

} // namespace
} // namespace lumidrax
