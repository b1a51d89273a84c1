// The report page as a person uses it: reports received and opened, edited,
// saved, closed, printed, and saved when the window closes.

#include "ReportPage.h"
#include "AppTestSupport.h"
#include "ReportCommands.h"
#include "ReportListDelegate.h"
#include "ReportMenus.h"
#include "TFrm_main_Lumidrax32.h"
#include "TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

namespace lumidrax {
namespace {

namespace fs = std::filesystem;
using test::FakeDialogs;
using test::TempDir;

struct ReportViewer {
    TempDir dir;
    FakeDialogs dialogs;
    std::unique_ptr<TFrm_main_Lumidrax32> w;

    bool Start()
    {
        if (!test::StartViewer(w, dialogs))
            return false;
        w->AppSettings().SaveRoot = w->AppSettings().DataPath = dir.Path() + "/";
        w->Pages()->setCurrentIndex(1);
        return true;
    }
    ReportCommands& Commands() { return w->RepCommands(); }
    ReportMenus& Menus() { return w->RepMenus(); }
    QListWidget* List() { return w->ReportsPage().ReportList(); }
    QPlainTextEdit* Memo() { return w->ReportsPage().Memo(); }
    QStringList Rows()
    {
        QStringList rows;
        for (int k = 0; k < List()->count(); ++k)
            rows << List()->item(k)->text();
        return rows;
    }
    // What the instrument link does with a report received while automatic
    // names are off.
    void Receive(const std::string& line)
    {
        Commands().ReportReceived(Commands().Reports().AddReceived({line}, ""));
    }
    void Open(std::vector<std::string> names)
    {
        dialogs.OpenAnswers.push_back(std::move(names));
        Menus().mi_rep_file_open->trigger();
    }
    // The row as painted shows the red "unsaved" picture.
    bool ShowsUnsaved(int row)
    {
        const QImage image = List()->viewport()->grab().toImage();
        const QPoint centre =
            List()->visualItemRect(List()->item(row)).topLeft() + QPoint(8, 4); // above the white bar
        return image.pixelColor(centre * image.devicePixelRatio()) == QColor(200, 0, 0);
    }
};

TEST(ReportPage, UnnamedReportsAreNumberedAndTheNumberStartsAgainWhenAllAreSaved)
{
    ReportViewer v;
    ASSERT_TRUE(v.Start());
    EXPECT_FALSE(v.Menus().mi_rep_file_close->isEnabled());
    EXPECT_FALSE(v.Memo()->isEnabled());
    for (const char* line : {"first", "second", "third"})
        v.Receive(line);
    EXPECT_EQ(v.Rows(), QStringList({"UNNAMED 1", "UNNAMED 2", "UNNAMED 3"}));
    EXPECT_EQ(v.Memo()->toPlainText(), "third");
    EXPECT_TRUE(v.ShowsUnsaved(0));

    for (int row = 0; row < 3; ++row) {
        v.List()->setCurrentRow(row);
        v.dialogs.SaveAnswers.push_back(v.dir.File("r" + std::to_string(row) + ".txt"));
        v.Menus().mi_rep_file_save->trigger();
    }
    ASSERT_EQ(v.dialogs.Log.size(), 3u);
    EXPECT_EQ(v.dialogs.Log[0].Caption, "Save");
    EXPECT_EQ(v.dialogs.Log[0].Request.Folder, v.dir.Path() + "/");
    EXPECT_EQ(test::ReadFile(v.dir.File("r1.txt")), "second\r\n");
    EXPECT_FALSE(v.ShowsUnsaved(1));
    EXPECT_FALSE(v.Menus().mi_rep_file_save->isEnabled());

    v.List()->setCurrentRow(0);
    v.Menus().mi_rep_file_close->trigger();
    v.Receive("fourth");
    EXPECT_EQ(v.Rows(), QStringList({QString::fromStdString(v.dir.File("r1.txt")),
                                     QString::fromStdString(v.dir.File("r2.txt")), "UNNAMED 1"}));
}

TEST(ReportPage, TypingMarksTheReportUnsavedAndSaveWritesTheMemo)
{
    ReportViewer v;
    ASSERT_TRUE(v.Start());
    const std::string path = v.dir.Write("a.txt", "line one\r\nline \x9A\r\n");
    v.Open({path});
    ASSERT_EQ(v.Rows(), QStringList({QString::fromStdString(path)}));
    EXPECT_EQ(v.Memo()->toPlainText(), "line one\nline š");
    EXPECT_FALSE(v.ShowsUnsaved(0));
    EXPECT_FALSE(v.Menus().mi_rep_file_save->isEnabled());

    v.Memo()->setFocus();
    QTest::keyClick(v.Memo(), Qt::Key_X);
    EXPECT_TRUE(v.ShowsUnsaved(0));
    EXPECT_TRUE(v.Menus().mi_rep_file_save->isEnabled());

    QTest::keyClick(v.Memo(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(test::ReadFile(path), "xline one\r\nline \x9A\r\n");
    EXPECT_FALSE(v.ShowsUnsaved(0));
    EXPECT_TRUE(v.dialogs.Log.size() == 1u); // the open dialog only
}

// No-break spaces (0xA0 in Windows-1250) line up the instruments' columns:
// they come back as they were, whether the report is saved as it is, after
// another report was shown, or after an edit elsewhere.
TEST(ReportPage, NoBreakSpacesComeBackOnSave)
{
    ReportViewer v;
    ASSERT_TRUE(v.Start());
    const std::string bytes = "Bod\xA0"
                              "1\xA0\xA0"
                              "12,5 m\r\n\xA0\r\nkonec\r\n";
    const std::string path = v.dir.Write("a.txt", bytes);
    v.Open({path, v.dir.Write("b.txt", "other\r\n")});
    v.List()->setCurrentRow(0);
    EXPECT_EQ(v.Memo()->document()->toRawText().count(QChar::Nbsp), 4);

    // Nothing edited; the memo went back into the report when b.txt was shown.
    v.List()->setCurrentRow(1);
    v.List()->setCurrentRow(0);
    v.dialogs.SaveAnswers.push_back(v.dir.File("copy.txt"));
    v.Menus().mi_rep_file_saveas->trigger();
    EXPECT_EQ(test::ReadFile(v.dir.File("copy.txt")), bytes);

    // An edit at the end of the text, and a line broken with Shift+Return.
    v.Memo()->setFocus();
    v.Memo()->moveCursor(QTextCursor::End);
    QTest::keyClicks(v.Memo(), "!");
    QTest::keyClick(v.Memo(), Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(v.Memo(), "x");
    QTest::keyClick(v.Memo(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(test::ReadFile(v.dir.File("copy.txt")), "Bod\xA0"
                                                      "1\xA0\xA0"
                                                      "12,5 m\r\n\xA0\r\nkonec!\r\nx\r\n");
    EXPECT_EQ(v.dialogs.Questions(), std::vector<std::string>{}); // nothing to warn about
}

// A report with a line of 65536 characters (the memo would lay it out for
// a while each time it is shown) is
// refused before it reaches the list or the memo; the report being edited
// stays as it is.
TEST(ReportPage, AReportOfOneHugeLineIsRefusedBeforeItIsShown)
{
    ReportViewer v;
    ASSERT_TRUE(v.Start());
    v.Open({v.dir.Write("a.txt", "abc\r\n")});
    v.Memo()->setFocus();
    QTest::keyClick(v.Memo(), Qt::Key_X);
    const std::string huge = v.dir.Write("huge.txt", "head\r\n" + std::string(65536, '7'));
    v.Open({huge});
    EXPECT_EQ(v.Rows(), QStringList({QString::fromStdString(v.dir.File("a.txt"))}));
    EXPECT_EQ(v.Memo()->toPlainText(), "xabc");
    EXPECT_TRUE(v.ShowsUnsaved(0));
    ASSERT_EQ(v.dialogs.Messages().size(), 1u);
    EXPECT_EQ(v.dialogs.Messages()[0], "Error: could not open report " + huge +
                                           " (line 2 is 65536 characters long, more than the " +
                                           std::to_string(kMaxReportLineChars) + " the Report page shows).");
}

TEST(ReportPage, PasteTakesOnlyTextFromTheClipboard)
{
    ReportViewer v;
    ASSERT_TRUE(v.Start());
    v.Open({v.dir.Write("a.txt", "abc\r\n")});
    QGuiApplication::clipboard()->clear();
    v.Memo()->setFocus();
    QTest::keyClick(v.Memo(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(v.Memo()->toPlainText(), "abc");
    EXPECT_TRUE(v.Commands().Reports().At(0).Saved);

    QGuiApplication::clipboard()->setText("123");
    v.Menus().mi_rep_edit_paste->trigger();
    EXPECT_EQ(v.Memo()->toPlainText(), "123abc");
    EXPECT_FALSE(v.Commands().Reports().At(0).Saved);
}

TEST(ReportPage, CloseAllWithNoKeepsExactlyTheUnsavedReport)
{
    ReportViewer v;
    ASSERT_TRUE(v.Start());
    v.Open({v.dir.Write("a.txt", "a\r\n"), v.dir.Write("b.txt", "b\r\n")});
    v.Receive("received");
    v.dialogs.Answers.push_back(kAnswerNo);
    v.Menus().mi_rep_file_closeall->trigger();
    EXPECT_EQ(v.dialogs.Questions(), std::vector<std::string>{"Close unsaved Reports and lost Changes ?"});
    EXPECT_EQ(v.Rows(), QStringList({"UNNAMED 1"}));
    EXPECT_EQ(v.Memo()->toPlainText(), "received");
}

TEST(ReportPage, OpeningStopsAtOneHundredReportsAndLeavesTheRestUntouched)
{
    ReportViewer v;
    ASSERT_TRUE(v.Start());
    std::vector<std::string> names;
    for (int k = 0; k < 103; ++k)
        names.push_back(
            v.dir.Write("r" + std::to_string(1000 + k) + ".txt", "report " + std::to_string(k) + "\r\n"));
    const auto before = fs::last_write_time(names.back());
    v.Open({names.begin(), names.begin() + 98});
    ASSERT_EQ(v.List()->count(), 98);
    v.Open({names.begin() + 98, names.end()});
    ASSERT_EQ(v.List()->count(), 100);
    EXPECT_EQ(v.Rows().back().toStdString(), names[99]);
    EXPECT_EQ(v.Memo()->toPlainText(), "report 99");
    EXPECT_EQ(v.dialogs.Messages().size(), 0u);
    EXPECT_EQ(test::ReadFile(names.back()), "report 102\r\n");
    EXPECT_EQ(fs::last_write_time(names.back()), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(v.dir.Path()), fs::directory_iterator()), 103);
}

TEST(ReportPage, PrintingWritesTheMemosCurrentTextToAPdf)
{
    ReportViewer v;
    ASSERT_TRUE(v.Start());
    const std::string path = v.dir.Write("a.txt", "Cable 1 open at 152,4 m\r\nCable 2 short\r\n");
    v.Open({path});
    v.Memo()->moveCursor(QTextCursor::End);
    QTest::keyClick(v.Memo(), Qt::Key_Return);
    QTest::keyClicks(v.Memo(), "checked");
    const std::string pdf = v.dir.File("report.pdf");
    v.Commands().SetPrinterSetUp([&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf));
        return true;
    });
    v.Memo()->setFocus();
    QTest::keyClick(v.Memo(), Qt::Key_P, Qt::ControlModifier);
    ASSERT_TRUE(fs::exists(pdf));

    std::string text;
    ASSERT_EQ(test::RunCommand("pdftotext -layout '" + pdf + "' -", text), 0) << "pdftotext (poppler-utils)";
    // Trailing blanks and the final form feed are the extractor's own.
    std::string lines;
    for (const QString& line : QString::fromStdString(text).split('\n'))
        lines += line.trimmed().remove(QChar('\f')).toStdString() + "\n";
    EXPECT_EQ(lines, "Lumidrax Report " + path + "\n\nCable 1 open at 152,4 m\nCable 2 short\nchecked\n\n");
    EXPECT_FALSE(v.Commands().Reports().At(0).Saved); // printing does not save
    // The PDF is named after the report's file.
    std::string info;
    ASSERT_EQ(test::RunCommand("pdfinfo '" + pdf + "'", info), 0);
    const auto title = info.find("Title:");
    ASSERT_NE(title, std::string::npos) << info;
    EXPECT_EQ(QString::fromStdString(info.substr(title + 6, info.find('\n', title) - title - 6)).trimmed(),
              "a.txt");
}

TEST(ReportPage, ClosingTheWindowSavesUnsavedReportsOnYes)
{
    ReportViewer v;
    ASSERT_TRUE(v.Start());
    v.Receive("to keep");
    v.Memo()->moveCursor(QTextCursor::End);
    QTest::keyClicks(v.Memo(), "!");
    v.dialogs.Answers.push_back(kAnswerYes);
    v.dialogs.SaveAnswers.push_back(std::nullopt); // first the save dialog is cancelled
    QSignalSpy closed(v.w.get(), &TFrm_main_Lumidrax32::Closed);
    v.w->close();
    EXPECT_EQ(closed.count(), 0);
    EXPECT_EQ(v.Rows(), QStringList({"UNNAMED 1"}));

    v.dialogs.Answers.push_back(kAnswerYes);
    v.dialogs.SaveAnswers.push_back(v.dir.File("kept.txt"));
    v.w->close();
    EXPECT_EQ(closed.count(), 1);
    EXPECT_EQ(test::ReadFile(v.dir.File("kept.txt")), "to keep!\r\n");
    EXPECT_EQ(v.dialogs.Questions(), std::vector<std::string>(2, "Save all unsaved charts and reports ?"));
}

TEST(ReportPage, ReportWidthMovesTheSplitterInTwentyPixelSteps)
{
    ReportViewer v;
    ASSERT_TRUE(v.Start());
    EXPECT_EQ(v.w->ReportsPage().ListWidth(), v.w->width() / 2);
    v.w->ReportsPage().SetListWidth(110);
    v.Menus().mi_rep_width_inc->trigger();
    EXPECT_EQ(v.w->ReportsPage().ListWidth(), 90);
    v.Menus().mi_rep_width_inc->trigger();
    EXPECT_EQ(v.w->ReportsPage().ListWidth(), 90);
    v.Menus().mi_rep_width_dec->trigger();
    EXPECT_EQ(v.w->ReportsPage().ListWidth(), 110);
    EXPECT_EQ(v.List()->width(), 110);
}

} // namespace
} // namespace lumidrax
