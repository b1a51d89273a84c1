// Every question the viewer asks runs an event loop, and the instrument keeps
// sending while it is open. Each story opens one kind of question, lets a
// transfer arrive while it is open (50 Bluetooth charts, or a report over
// RS-232), answers it, and then checks what the person sees: nothing
// crashed, the command worked on the chart or report it was given for, and
// every chart and report received is listed (unsaved) or on disk.

#include "AppTestSupport.h"
#include "ChartFile.h"
#include "ChartListPanel.h"
#include "ChartMenus.h"
#include "ChartPage.h"
#include "InstrumentLink.h"
#include "PortTestSupport.h"
#include "ReportCommands.h"
#include "ReportMenus.h"
#include "ReportPage.h"
#include "TFrm_main_Lumidrax32.h"
#include "TestSupport.h"

#include <QAction>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace lumidrax {
namespace {

namespace fs = std::filesystem;
using test::FakeDialogs;
using test::SimArgs;
using test::SimPty;

constexpr int kWaitMs = 30000;
constexpr int kBluetoothCharts = 50;

std::string FirstLine(const std::string& path)
{
    const std::string text = test::ReadFile(path);
    return text.substr(0, text.find("\r\n"));
}

// A viewer with its settings file in a temporary folder and one port on a
// simulated instrument that sends when a question is open.
struct QuestionViewer : test::SettingsFileViewer {
    std::unique_ptr<SimPty> sim;
    bool reports = false;
    int chartsBefore = 0;
    int reportsBefore = 0;
    bool arrived = false;

    bool Start(bool withReports, bool autoSave)
    {
        reports = withReports;
        sim = std::make_unique<SimPty>(
            withReports
                ? SimArgs("VKR102", {"--report", "--generate", "3"})
                : SimArgs("VKR104", {"--generate", std::to_string(kBluetoothCharts), "--samples", "300"}));
        const std::string mode = withReports ? "CONNECTION=COM\r\nPORT_COM=2\r\n"
                                             : "CONNECTION=BT\r\nPORT_BT1=2\r\n"
                                               "PORT_BT2=0\r\n";
        return SettingsFileViewer::Start(std::string("AUTOSAVE=") + (autoSave ? "1" : "0") + "\r\n" + mode,
                                         "COM2=" + sim->Path() + "\r\n") &&
               w->Link().Port(1).Connected();
    }

    // While the first dialog of this kind is open, the instrument sends and
    // the dialog waits until the transfer has been taken in, as a person
    // reading the question would.
    void SendWhileOpen(const std::string& kind)
    {
        dialogs.WhileOpen = [this, kind](const FakeDialogs::Shown& shown) {
            if (arrived || shown.Kind != kind)
                return;
            arrived = true;
            // A real dialog is a modal window; the queue waits for it.
            UiQueue::Hold hold(w->Queue());
            chartsBefore = w->Charts().Count;
            reportsBefore = w->RepCommands().Reports().Count();
            ASSERT_TRUE(sim->Release());
            const bool done = QTest::qWaitFor(
                [this] {
                    const bool idle = w->Link().Transfer(1).Machine().IsIdle();
                    return idle && (reports ? w->RepCommands().Reports().Count() == reportsBefore + 1
                                            : w->Charts().Count == chartsBefore + kBluetoothCharts);
                },
                kWaitMs);
            ASSERT_TRUE(done) << "charts " << w->Charts().Count << ", reports "
                              << w->RepCommands().Reports().Count();
        };
    }

    std::string Chart(const std::string& name, const std::string& description)
    {
        return test::WriteChart(dir.Path(), name, description);
    }
    void Open(const std::vector<std::string>& paths)
    {
        for (const std::string& p : paths)
            w->ReceiveHandedOverName(p);
        w->OpenPendingFiles();
    }
    // Chart n's description edited: unsaved.
    void Edit(int n, const std::string& description)
    {
        w->Charts().Rec(n).Description = description;
        w->Charts().Rec(n).Saved = false;
    }
    void Select(const std::vector<int>& charts)
    {
        w->ChartsPage().ListPanel()->SelectCharts(charts, charts.front());
    }
    int ChartNamed(const std::string& path) const
    {
        for (int i = 1; i <= w->Charts().Count; ++i)
            if (w->Charts().Rec(i).FileName == path)
                return i;
        return 0;
    }
    // Chart 1 selected and saved by `command` into `path`: the file starts
    // with `firstLine` and chart 1 carries that name.
    void SaveFirstChart(QAction* command, const std::string& path, const std::string& firstLine)
    {
        Select({1});
        command->trigger();
        EXPECT_EQ(FirstLine(path), firstLine);
        EXPECT_EQ(ChartNamed(path), 1);
    }
    std::string OpenReport(const std::string& name, const std::string& text)
    {
        const std::string path = dir.File(name);
        dir.Write(name, text);
        dialogs.OpenAnswers.push_back({path});
        w->Pages()->setCurrentIndex(1);
        w->RepMenus().mi_rep_file_open->trigger();
        return path;
    }

    // Every chart and report that arrived is listed; the saved ones are on
    // disk as they are in memory.
    void ExpectNothingReceivedLost()
    {
        ASSERT_TRUE(arrived) << "the transfer never came: no question of the expected kind";
        // What the transfer left to do waits for the question; it is done now.
        ASSERT_TRUE(QTest::qWaitFor([this] { return w->Queue().Empty(); }, kWaitMs));
        const TMereni& charts = w->Charts();
        int received = 0;
        for (int i = 1; i <= charts.Count; ++i) {
            const TJednoMereni& c = charts.Rec(i);
            if (c.VerzeVKR != "VKR104")
                continue;
            ++received;
            if (c.Saved) {
                EXPECT_EQ(test::ReadFile(c.FileName), ChartFileText(c)) << c.DisplayName;
            }
        }
        if (!reports) {
            EXPECT_EQ(received, kBluetoothCharts);
            EXPECT_EQ(w->ChartsPage().ChartList()->count(), charts.Count);
        }
        const TReportList& list = w->RepCommands().Reports();
        int receivedReports = 0;
        for (int i = 0; i < list.Count(); ++i)
            if (list.At(i).FileName.empty() || list.At(i).FileName.rfind(SaveRoot(), 0) == 0)
                ++receivedReports;
        if (reports) {
            EXPECT_EQ(receivedReports, 1);
            EXPECT_EQ(w->ReportsPage().ReportList()->count(), list.Count());
        }
        EXPECT_TRUE(dialogs.ScriptUsed());
    }
};

struct QuestionStory {
    const char* name;
    bool reports;     // a report arrives (else 50 Bluetooth charts)
    bool autoSave;    // automatic saving on
    const char* kind; // the dialog during which it arrives
    std::function<void(QuestionViewer&)> run;
};

void PrintTo(const QuestionStory& story, std::ostream* os)
{
    *os << story.name;
}

QAction* UserFilterItem(ChartMenus& m)
{
    for (QAction* a : m.mi_filter)
        if (a && a->data().toInt() == kFilterAskWindow)
            return a;
    return nullptr;
}

const QuestionStory kStories[] = {
    {"OverwriteOnSaveAs", false, true, "ask",
     [](QuestionViewer& v) {
         v.Open({v.Chart("a.ndt", "chart a")});
         const std::string b = v.Chart("b.ndt", "old b");
         v.dialogs.SaveAnswers.push_back(b);
         v.dialogs.Answers.push_back(kAnswerYes);
         v.SaveFirstChart(v.w->Menus().mi_file_saveas, b, "chart a");
         EXPECT_TRUE(v.w->Charts().Rec(1).Saved);
     }},
    {"CodePageOnSave", false, false, "ask",
     [](QuestionViewer& v) {
         const std::string a = v.Chart("a.ndt", "chart a");
         v.Open({a});
         v.Edit(1, "snow \u2603");
         v.dialogs.Answers.push_back(kAnswerYes);
         v.Select({1});
         v.w->Menus().mi_save_selected->trigger();
         EXPECT_EQ(FirstLine(a), "snow ?");
         EXPECT_TRUE(v.w->Charts().Rec(1).Saved);
     }},
    {"CloseAllKeepsWhatArrived", false, false, "ask3",
     [](QuestionViewer& v) {
         v.Open({v.Chart("a.ndt", "chart a")});
         v.Edit(1, "edited");
         v.dialogs.Answers.push_back(kAnswerNo);
         v.w->Menus().mi_file_close_all->trigger();
         EXPECT_EQ(v.ChartNamed(v.dir.File("a.ndt")), 0);
         EXPECT_EQ(v.w->Charts().Count, kBluetoothCharts);
     }},
    {"CloseSelectedClosesTheSelected", false, false, "ask3",
     [](QuestionViewer& v) {
         v.Open({v.Chart("a.ndt", "chart a"), v.Chart("b.ndt", "chart b"), v.Chart("c.ndt", "chart c")});
         v.Edit(1, "edited a");
         v.Edit(3, "edited c");
         v.Select({1, 3});
         v.dialogs.Answers.push_back(kAnswerNo);
         v.w->Menus().mi_file_close_selected->trigger();
         EXPECT_EQ(v.w->Charts().Count, kBluetoothCharts + 1);
         EXPECT_EQ(v.ChartNamed(v.dir.File("b.ndt")), 1);
     }},
    {"DirectoryCreationOnSave", false, false, "ask",
     [](QuestionViewer& v) {
         v.Open({v.Chart("a.ndt", "chart a")});
         const std::string target = v.dir.Path() + "/day/a.ndt";
         v.w->Charts().Rec(1).FileName.clear();
         v.w->Charts().Rec(1).AutoFileName = target;
         v.Edit(1, "to a new folder");
         v.dialogs.Answers = {kAnswerYes};
         v.SaveFirstChart(v.w->Menus().mi_save_selected, target, "to a new folder");
     }},
    {"MessageBoxWhileOpeningABatch", false, false, "message",
     [](QuestionViewer& v) {
         v.dir.Write("broken.ndt", "not a chart\r\nat all\r\n");
         v.Open({v.dir.File("broken.ndt"), v.Chart("c.ndt", "chart c")});
         EXPECT_NE(v.ChartNamed(v.dir.File("c.ndt")), 0);
         EXPECT_EQ(v.dialogs.Messages().size(), 1u);
     }},
    {"FileDialogOfSaveAs", false, false, "save",
     [](QuestionViewer& v) {
         v.Open({v.Chart("a.ndt", "chart a")});
         const std::string target = v.dir.File("new.ndt");
         v.dialogs.SaveAnswers.push_back(target);
         v.SaveFirstChart(v.w->Menus().mi_file_saveas, target, "chart a");
     }},
    {"InputBoxOfTheFilterFiltersTheReferenceItWasAskedFor", false, false, "input",
     [](QuestionViewer& v) {
         v.Open({v.Chart("a.ndt", "chart a")});
         ASSERT_EQ(v.w->Charts().RefIndex, 1);
         v.dialogs.InputAnswers.push_back("5");
         QAction* user = UserFilterItem(v.w->Menus());
         ASSERT_NE(user, nullptr);
         user->trigger();
         const TMereni& charts = v.w->Charts();
         ASSERT_EQ(charts.Count, kBluetoothCharts + 2);
         // The filtered chart is chart a's, not the last one received.
         EXPECT_EQ(fs::path(charts.Rec(charts.Count).FileName).filename(), "a_F5.ndt");
         EXPECT_EQ(charts.Rec(charts.Count).Description, "chart a");
         EXPECT_EQ(charts.Rec(charts.Count).FilterPost, 5);
     }},
    {"ColourDialogPaintsTheReferenceItWasOpenedFor", false, false, "color",
     [](QuestionViewer& v) {
         v.Open({v.Chart("a.ndt", "chart a")});
         v.dialogs.ColorAnswers.push_back(0x123456u);
         v.w->Menus().mi_tools_refcolor->trigger();
         EXPECT_EQ(v.w->Charts().Rec(1).Color, 0x123456u);
         for (int i = 2; i <= v.w->Charts().Count; ++i)
             EXPECT_NE(v.w->Charts().Rec(i).Color, 0x123456u);
     }},
    {"ReportCodePageOnSave", true, false, "ask",
     [](QuestionViewer& v) {
         const std::string path = v.OpenReport("r.txt", "first\r\n");
         v.w->ReportsPage().Memo()->setPlainText(QString::fromUtf8("snow \u2603"));
         v.dialogs.Answers.push_back(kAnswerYes);
         v.w->RepMenus().mi_rep_file_save->trigger();
         EXPECT_EQ(test::ReadFile(path), "snow ?\r\n");
     }},
    {"ReportCloseAllKeepsWhatArrived", true, false, "ask3",
     [](QuestionViewer& v) {
         v.OpenReport("r.txt", "first\r\n");
         v.w->ReportsPage().Memo()->setPlainText("edited");
         v.dialogs.Answers.push_back(kAnswerYes);
         v.w->RepMenus().mi_rep_file_closeall->trigger();
         ASSERT_EQ(v.w->RepCommands().Reports().Count(), 1);
         EXPECT_NE(v.w->RepCommands().Reports().At(0).FileName, v.dir.File("r.txt"));
     }},
    {"ReportCloseClosesTheReportItAskedAbout", true, false, "ask",
     [](QuestionViewer& v) {
         const std::string path = v.OpenReport("r.txt", "first\r\n");
         v.w->ReportsPage().Memo()->setPlainText("edited");
         v.dialogs.Answers.push_back(kAnswerYes);
         v.w->RepMenus().mi_rep_file_close->trigger();
         const TReportList& list = v.w->RepCommands().Reports();
         ASSERT_EQ(list.Count(), 1);
         EXPECT_NE(list.At(0).FileName, path);
         EXPECT_EQ(test::ReadFile(path), "first\r\n");
     }},
    {"ReportDirectoryCreationOnSave", true, false, "ask",
     [](QuestionViewer& v) {
         v.OpenReport("r.txt", "first\r\n");
         TReport& r = v.w->RepCommands().Reports().At(0);
         const std::string target = v.dir.Path() + "/day/r.txt";
         r.FileName.clear();
         r.AutoFileName = target;
         v.w->ReportsPage().Memo()->setPlainText("first");
         v.dialogs.Answers.push_back(kAnswerYes);
         v.w->RepMenus().mi_rep_file_save->trigger();
         EXPECT_EQ(test::ReadFile(target), "first\r\n");
     }},
};

class QuestionDuringTransfer : public testing::TestWithParam<QuestionStory> {};

TEST_P(QuestionDuringTransfer, NothingReceivedIsLostAndTheCommandKeepsItsItem)
{
    const QuestionStory& story = GetParam();
    QuestionViewer v;
    ASSERT_TRUE(v.Start(story.reports, story.autoSave));
    v.SendWhileOpen(story.kind);
    story.run(v);
    v.ExpectNothingReceivedLost();
}

INSTANTIATE_TEST_SUITE_P(Stories, QuestionDuringTransfer, testing::ValuesIn(kStories),
                         [](const testing::TestParamInfo<QuestionStory>& info) { return info.param.name; });

// Five unsaved charts, the window is closed, and 50 charts arrive while "Save
// all unsaved charts and reports ?" is open. They were not part of the No:
// the question comes again, and Cancel keeps the window with all 55.
TEST(CloseQuestionDuringTransfer, WhatArrivesWhileItIsOpenIsAskedAbout)
{
    QuestionViewer v;
    ASSERT_TRUE(v.Start(false, false));
    for (int k = 1; k <= 5; ++k)
        v.Open({v.Chart("c" + std::to_string(k) + ".ndt", "chart")});
    for (int k = 1; k <= 5; ++k)
        v.Edit(k, "edited " + std::to_string(k));
    v.SendWhileOpen("ask3");
    v.dialogs.Answers = {kAnswerNo, kAnswerCancel};
    EXPECT_FALSE(v.w->close());
    const std::vector<std::string> asked(2, "Save all unsaved charts and reports ?");
    EXPECT_EQ(v.dialogs.Questions(), asked);
    EXPECT_EQ(v.w->Charts().Count, 5 + kBluetoothCharts);
    EXPECT_TRUE(v.w->isVisible());
    // The ports are open again for the next transfer.
    EXPECT_TRUE(v.w->Link().Port(1).Connected());
    v.ExpectNothingReceivedLost();
}

// An RS-232 chart has arrived but its two seconds of silence have not
// passed when the window is closed: it is decoded first and asked about.
TEST(CloseQuestionDuringTransfer, TransferStillArrivingIsDecodedBeforeTheQuestion)
{
    SimPty sim(SimArgs("VKR103", {test::SourcePath("examples/vkr103-street5-pair14.ndt")}));
    test::SettingsFileViewer v;
    ASSERT_TRUE(v.Start("AUTOSAVE=0\r\nCONNECTION=COM\r\nPORT_COM=3\r\n", "COM3=" + sim.Path() + "\r\n"));
    TFrm_main_Lumidrax32& w = *v.w;
    ASSERT_GT(sim.Deliver(), 0u);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return w.Link().Transfer(1).Machine().BytesWaiting() > 0 || w.Charts().Count > 0; }, kWaitMs));
    v.dialogs.Answers = {kAnswerCancel};
    EXPECT_FALSE(w.close());
    EXPECT_EQ(w.Charts().Count, 1);
    EXPECT_EQ(v.dialogs.Questions(), std::vector<std::string>{"Save all unsaved charts and reports ?"});
}

} // namespace
} // namespace lumidrax
