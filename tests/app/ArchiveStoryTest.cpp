// The archive as a technician uses it: charts arrive from the instrument,
// are found on the Archive page by a word of their description, one becomes
// its cable's baseline, and a later chart of that cable is compared with it:
// the settings difference is named before, the Event Table shows the new
// fault after. A tagged chart's test report starts from its tags, and its
// verdict shows on the Archive page.

#include "AppTestSupport.h"
#include "ArchiveMenus.h"
#include "ArchivePage.h"
#include "ArchiveTableModel.h"
#include "ChartFile.h"
#include "ChartGenerator.h"
#include "ChartMenus.h"
#include "ChartNotifier.h"
#include "ChartPage.h"
#include "DirectoryChooser.h"
#include "EventPanel.h"
#include "HistoryDialog.h"
#include "HistoryPlot.h"
#include "IDialogs.h"
#include "SettingsDialog.h"
#include "TFrm_main_Lumidrax32.h"
#include "TagsDialog.h"
#include "TestSupport.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>

namespace lumidrax {
namespace {

constexpr int kArchiveWaitMs = 15000;
constexpr int kPairs = 12;

// Pair k of the feeder, measured on day k of March; the last one later
// with the impedance set otherwise and a new break at 80 m.
TJednoMereni Pair(int k)
{
    chartgen::ChartOptions o;
    o.form = chartgen::HeaderForm::Tokens23;
    o.seed = 5;
    o.sampleCount = 2000;
    o.cableLength = 200;
    o.faults = {{120, -25}};
    o.impedance = 100;
    if (k == kPairs) {
        o.impedance = 120;
        o.faults.push_back({80, 25});
    }
    o.description = "Substation 2 feeder, pair " + std::to_string(k);
    char when[32];
    std::snprintf(when, sizeof when, "%02d.03.2025 10:00:00", k);
    o.datumCas = when;
    o.serialNumber = 4711;
    return chartgen::GenerateChart(o);
}

// The archive of this test alone, whatever the process's data folder.
class ScopedDataHome {
  public:
    explicit ScopedDataHome(const std::string& dir) : old_(qgetenv("XDG_DATA_HOME"))
    {
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(dir));
    }
    ~ScopedDataHome() { qputenv("XDG_DATA_HOME", old_); }

  private:
    QByteArray old_;
};

int RowOf(ArchiveTableModel& model, const QString& description)
{
    for (int row = 0; row < model.rowCount(); ++row)
        if (model.index(row, static_cast<int>(ArchiveColumn::Description)).data().toString() == description)
            return row;
    return -1;
}

// The chosen rows get `cable` (and `site`) in the tags dialog (Ctrl+E);
// back once the first row shows the cable.
void TagChosenRows(ArchivePage& page, const QString& cable, const QString& site = {})
{
    test::WhenModalOpens([cable, site](QWidget& modal) {
        auto* tags = qobject_cast<TagsDialog*>(&modal);
        ASSERT_NE(tags, nullptr);
        QTest::keyClicks(tags->e_cable, cable);
        QTest::keyClicks(tags->e_site, site);
        QTest::keyClick(tags->e_cable, Qt::Key_Return);
    });
    QTest::keyClick(page.Table(), Qt::Key_E, Qt::ControlModifier);
    const int cableColumn = static_cast<int>(ArchiveColumn::Cable);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return page.Model()->index(0, cableColumn).data().toString() == cable; }));
}

// The window is active again (after a dialog) and the row chosen.
void ChooseRow(QTableView* table, int row)
{
    table->window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(table->window()));
    table->setFocus();
    table->selectionModel()->clearSelection();
    table->selectRow(row);
}

TEST(ArchiveStory, ReceivedChartsAreFoundTaggedAndComparedWithTheCablesBaseline)
{
    test::TempDir dir;
    const ScopedDataHome data(dir.File("data"));
    test::FakeDialogs dialogs;
    std::unique_ptr<TFrm_main_Lumidrax32> w;
    ASSERT_TRUE(test::StartViewer(w, dialogs, {}, QSize(1200, 800)));

    // Twelve charts arrive as a transfer adds them, and one of another cable.
    for (int k = 1; k <= kPairs; ++k) {
        TJednoMereni c = Pair(k);
        c.IsNew = true;
        w->Charts().AddChart(std::move(c), {.Baseline = RawBaseline::FirstSampleBelowStart});
    }
    chartgen::ChartOptions other;
    other.form = chartgen::HeaderForm::Tokens23;
    other.description = "Street 5, pair 14";
    w->Charts().AddChart(chartgen::GenerateChart(other));
    emit w->Notifier().chartsAdded();

    // Ctrl+Shift+A: the Archive page, with every chart recorded.
    QTest::keyClick(w.get(), Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_EQ(w->Pages()->currentWidget(), &w->ArchivesPage());
    ArchivePage& page = w->ArchivesPage();
    ArchiveTableModel& model = *page.Model();
    ASSERT_TRUE(QTest::qWaitFor([&] { return model.rowCount() == kPairs + 1; }, kArchiveWaitMs))
        << model.rowCount() << " " << page.StateText().toStdString();

    // Part of the description finds the feeder's twelve.
    ASSERT_TRUE(page.e_search->hasFocus());
    QTest::keyClicks(page.e_search, "feeder");
    ASSERT_TRUE(QTest::qWaitFor([&] { return model.rowCount() == kPairs; }));
    EXPECT_EQ(page.StateText().left(17), "12 entries found ");

    // All twelve get their cable at once.
    QTableView* table = page.Table();
    table->setFocus();
    QTest::keyClick(table, Qt::Key_A, Qt::ControlModifier);
    ASSERT_EQ(page.SelectedRows().size(), static_cast<std::size_t>(kPairs));
    TagChosenRows(page, "SUB2-F7", "Substation 2");
    const int cableColumn = static_cast<int>(ArchiveColumn::Cable);
    for (int row = 0; row < kPairs; ++row)
        EXPECT_EQ(model.index(row, cableColumn).data().toString(), "SUB2-F7") << row;

    // The first pair measured becomes the baseline (Ctrl+B).
    const int first = RowOf(model, "Substation 2 feeder, pair 1");
    ASSERT_GE(first, 0);
    ChooseRow(table, first);
    QTest::keyClick(table, Qt::Key_B, Qt::ControlModifier);
    const int baselineRow = RowOf(model, "Substation 2 feeder, pair 1");
    EXPECT_EQ(model.index(baselineRow, ArchiveTableModel::kBaselineColumn).data().toString(), "baseline");
    EXPECT_EQ(model.index(RowOf(model, "Substation 2 feeder, pair 3"), ArchiveTableModel::kBaselineColumn)
                  .data()
                  .toString(),
              "");

    // The last one compared with it (Ctrl+K): the impedance difference is
    // named first and the comparison confirmed.
    ChooseRow(table, RowOf(model, "Substation 2 feeder, pair 12"));
    dialogs.Answers.push_back(kAnswerYes);
    QTest::keyClick(table, Qt::Key_K, Qt::ControlModifier);
    ASSERT_EQ(dialogs.Questions().size(), 1u);
    EXPECT_NE(dialogs.Questions().front().find("- impedance 120 vs 100: every reflection level changes"),
              std::string::npos)
        << dialogs.Questions().front();

    // The chart page: the baseline is the reference, the later chart the
    // active one, and the Event Table lists the new break.
    ASSERT_EQ(w->Pages()->currentWidget(), &w->ChartsPage());
    TMereni& charts = w->Charts();
    ASSERT_GE(charts.RefIndex, 1);
    ASSERT_GE(charts.ActiveIndex, 1);
    EXPECT_EQ(charts.Rec(charts.RefIndex).Description, "Substation 2 feeder, pair 1");
    EXPECT_EQ(charts.Rec(charts.ActiveIndex).Description, "Substation 2 feeder, pair 12");
    // Both were on the page already (received, without a file): no copy.
    EXPECT_EQ(charts.Count, kPairs + 1);
    EXPECT_TRUE(w->Menus().mi_panels_events->isChecked());
    EventPanel& events = *w->ChartsPage().Events();
    ASSERT_TRUE(QTest::qWaitFor([&] { return events.isVisible() && events.Table()->rowCount() > 0; }));
    QStringList changes;
    for (int row = 0; row < events.Table()->rowCount(); ++row)
        if (QTableWidgetItem* item = events.Table()->item(row, EventPanel::kChange))
            changes << item->text();
    EXPECT_TRUE(changes.contains("new")) << changes.join(", ").toStdString();
    EXPECT_TRUE(dialogs.ScriptUsed());
}

// Old chart files of one pair, measured on day k of May, with its end
// moving in by a metre a month (the cable end at 200 m, then 199 m, ...).
TJednoMereni OldPair(int k)
{
    chartgen::ChartOptions o;
    o.form = chartgen::HeaderForm::Tokens23;
    o.seed = 9;
    o.sampleCount = 2000;
    o.cableLength = 201 - k;
    o.description = "Riser 3, pair 7";
    char when[32];
    std::snprintf(when, sizeof when, "%02d.05.2024 08:30:00", k);
    o.datumCas = when;
    o.serialNumber = 4711;
    return chartgen::GenerateChart(o);
}

std::string FirstLine(const std::string& text)
{
    return text.substr(0, text.find('\n'));
}

// The chooser confirms `folder` with "&Select".
void ChooseFolderWhenAsked(const std::string& folder)
{
    test::WhenModalOpens([folder](QWidget& modal) {
        auto* chooser = qobject_cast<DirectoryChooser*>(&modal);
        ASSERT_NE(chooser, nullptr);
        chooser->SetDirectory(QString::fromStdString(folder));
        chooser->findChildren<QPushButton*>().at(0)->click();
    });
}

TEST(ArchiveStory, AFolderOfOldChartsIsImportedAndTheCablesHistoryShownOldestFirst)
{
    constexpr int kOld = 4;
    test::TempDir dir;
    const ScopedDataHome data(dir.File("data"));
    for (int k = kOld; k >= 1; --k)
        dir.Write("old/2024/pair7-" + std::to_string(k) + ".NDT", ChartFileText(OldPair(k)));
    dir.Write("old/2024/damaged.NDT", "this is not a chart\n");
    test::FakeDialogs dialogs;
    std::unique_ptr<TFrm_main_Lumidrax32> w;
    ASSERT_TRUE(test::StartViewer(w, dialogs, {}, QSize(1200, 800)));
    QTest::keyClick(w.get(), Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    ArchivePage& page = w->ArchivesPage();
    ArchiveTableModel& model = *page.Model();
    QTableView* table = page.Table();

    // Ctrl+I: the folder is chosen, the import runs under its progress
    // dialog, and the summary names the file it could not read.
    ChooseFolderWhenAsked(dir.File("old"));
    QTest::keyClick(table, Qt::Key_I, Qt::ControlModifier);
    ASSERT_FALSE(dialogs.Messages().empty());
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    const std::string summary = dialogs.Messages().back();
    EXPECT_EQ(FirstLine(summary), "Import finished: 4 added, 0 already in the archive, 1 could not be read.");
    EXPECT_NE(summary.find("damaged.NDT: "), std::string::npos) << summary;
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return model.rowCount() == kOld; })) << model.rowCount();

    // The same folder again adds nothing.
    ChooseRow(table, 0);
    ChooseFolderWhenAsked(dir.File("old"));
    QTest::keyClick(table, Qt::Key_I, Qt::ControlModifier);
    ASSERT_EQ(dialogs.Messages().size(), 2u);
    EXPECT_EQ(FirstLine(dialogs.Messages().back()),
              "Import finished: 0 added, 4 already in the archive, 1 could not be read.");
    EXPECT_EQ(model.rowCount(), kOld);

    // History needs a cable: without one the user is told how to give it.
    ChooseRow(table, 0);
    QTest::keyClick(table, Qt::Key_H, Qt::ControlModifier);
    EXPECT_NE(dialogs.Messages().back().find("The chart has no cable yet"), std::string::npos)
        << dialogs.Messages().back();

    // All four get their cable, then Ctrl+H lists them oldest first with
    // the end moving in, and plots one point a chart.
    table->setFocus();
    QTest::keyClick(table, Qt::Key_A, Qt::ControlModifier);
    TagChosenRows(page, "R3-P7");
    ChooseRow(table, 2);
    QStringList measured, ends;
    std::size_t points = 0;
    QString title;
    test::WhenModalOpens([&](QWidget& modal) {
        auto* history = qobject_cast<HistoryDialog*>(&modal);
        ASSERT_NE(history, nullptr);
        title = history->windowTitle();
        for (int row = 0; row < history->Table()->rowCount(); ++row) {
            measured << history->Table()->item(row, 0)->text();
            ends << history->Table()->item(row, 1)->text();
        }
        points = history->Plot()->Points().size();
        history->reject();
    });
    QTest::keyClick(table, Qt::Key_H, Qt::ControlModifier);
    EXPECT_EQ(title, "History of R3-P7");
    EXPECT_EQ(measured, QStringList({"01.05.2024 08:30:00", "02.05.2024 08:30:00", "03.05.2024 08:30:00",
                                     "04.05.2024 08:30:00"}));
    ASSERT_EQ(ends.size(), kOld);
    // "199,40 m": the end a metre nearer each month.
    for (int k = 1; k < kOld; ++k) {
        ASSERT_TRUE(ends[k].endsWith(" m")) << ends[k].toStdString();
        const double before = QString(ends[k - 1]).chopped(2).replace(',', '.').toDouble();
        const double now = QString(ends[k]).chopped(2).replace(',', '.').toDouble();
        EXPECT_NEAR(before - now, 1.0, 0.5) << ends.join(" | ").toStdString();
    }
    EXPECT_EQ(points, static_cast<std::size_t>(kOld));
}

TEST(ArchiveStory, AnArchiveThatIsOffIsTurnedOnFromItsOwnPage)
{
    test::TempDir dir;
    test::FakeDialogs dialogs;
    std::unique_ptr<TFrm_main_Lumidrax32> w;
    ASSERT_TRUE(test::StartViewerWithSettings(
        w, dialogs, dir, "[ARCHIVE]\r\nENABLED=0\r\nFILE=" + dir.File("team.sqlite") + "\r\n"));
    QTest::keyClick(w.get(), Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    ArchivePage& page = w->ArchivesPage();
    EXPECT_EQ(page.StateText(), "The archive is off: turn it on in the Settings (Archive).");
    EXPECT_FALSE(page.b_import->isEnabled());

    // The Settings are in the page's own menu, on F12 as on the other pages.
    QStringList items;
    for (QAction* a : w->ArchMenus().MainMenuArch->actions().front()->menu()->actions())
        if (!a->isSeparator())
            items << a->text();
    EXPECT_TRUE(items.contains("&Settings...")) << items.join(", ").toStdString();
    bool opened = false;
    test::WhenModalOpens([&](QWidget& modal) {
        auto* settings = qobject_cast<SettingsDialog*>(&modal);
        ASSERT_NE(settings, nullptr);
        opened = true;
        settings->chb_archive->click();
        // Saved and applied; the dialog stays open until closed (no port
        // is set), and closing it keeps what was saved.
        settings->b_save->click();
        settings->b_cancel->click();
    });
    QTest::keyClick(page.e_search, Qt::Key_F12);
    EXPECT_TRUE(opened);

    // Turned on, the page shows the archive file at once.
    EXPECT_TRUE(page.b_import->isEnabled());
    EXPECT_TRUE(page.StateText().startsWith("0 entries found in the SQLite file " +
                                            QString::fromStdString(dir.File("team.sqlite"))))
        << page.StateText().toStdString();
    EXPECT_NE(test::ReadFile(dir.File("lumidrax.INI")).find("ENABLED=1"), std::string::npos);
}

TEST(ArchiveStory, AReportStartsFromTheChartsTagsAndItsVerdictShowsInTheArchive)
{
    test::TempDir dir;
    const ScopedDataHome data(dir.File("data"));
    const std::string limits = dir.Write("pair.json", R"({
  "name": "Feeder pair, length",
  "criteria": [{"type": "end-length", "length": 200, "tolerance": 5}]
})");
    test::FakeDialogs dialogs;
    std::unique_ptr<TFrm_main_Lumidrax32> w;
    ASSERT_TRUE(test::StartViewer(w, dialogs, {}, QSize(1200, 800)));
    // The values the last report left: the entry's tags replace some.
    TestReportSettings& remembered = w->AppSettings().TestReport;
    remembered.Job = "J-2031";
    remembered.Customer = "Town grid";
    remembered.Cable = "Feeder 7";
    remembered.Template = limits;
    remembered.Output = dir.File("last-report.pdf");

    // A chart arrives, is recorded and gets its cable and site.
    TJednoMereni c = Pair(1);
    c.IsNew = true;
    w->Charts().AddChart(std::move(c), {.Baseline = RawBaseline::FirstSampleBelowStart});
    emit w->Notifier().chartsAdded();
    QTest::keyClick(w.get(), Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    ArchivePage& page = w->ArchivesPage();
    ArchiveTableModel& model = *page.Model();
    ASSERT_TRUE(QTest::qWaitFor([&] { return model.rowCount() == 1; }, kArchiveWaitMs))
        << page.StateText().toStdString();
    page.Table()->setFocus();
    QTest::keyClick(page.Table(), Qt::Key_A, Qt::ControlModifier);
    TagChosenRows(page, "SUB2-F7", "Substation 2");
    const int verdictColumn = static_cast<int>(ArchiveColumn::Verdict);
    EXPECT_EQ(model.headerData(verdictColumn, Qt::Horizontal).toString(), "Verdict");
    EXPECT_EQ(model.index(0, verdictColumn).data().toString(), "");

    // File > Test Report... on the chart page: the cable and site are the
    // entry's, the job (no tag) and the customer the remembered ones.
    w->ArchMenus().mi_arch_chartpage->trigger();
    ASSERT_EQ(w->Pages()->currentWidget(), &w->ChartsPage());
    ASSERT_EQ(w->Charts().ActiveIndex, 1);
    std::map<std::string, QString> shown;
    QString pdf;
    test::WhenModalOpens([&](QWidget& dialog) {
        for (const char* name :
             {"e_report_cable", "e_report_site", "e_report_job", "e_report_customer", "e_report_operator"}) {
            auto* edit = dialog.findChild<QLineEdit*>(name);
            ASSERT_NE(edit, nullptr) << name;
            shown[name] = edit->text();
        }
        pdf = dialog.findChild<QLineEdit*>("e_report_output")->text();
        QTest::mouseClick(dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                          Qt::LeftButton);
    });
    w->Menus().mi_file_report->trigger();
    EXPECT_EQ(shown["e_report_cable"], "SUB2-F7");
    EXPECT_EQ(shown["e_report_site"], "Substation 2");
    EXPECT_EQ(shown["e_report_job"], "J-2031");
    EXPECT_EQ(shown["e_report_customer"], "Town grid");
    EXPECT_EQ(shown["e_report_operator"], "");
    ASSERT_FALSE(pdf.isEmpty());
    ASSERT_TRUE(QTest::qWaitFor([&] { return std::filesystem::exists(pdf.toStdString()); }));
    EXPECT_TRUE(dialogs.Messages().empty());
    EventPanel& events = *w->ChartsPage().Events();
    EXPECT_NE(events.VerdictLabel()->text().indexOf("Verdict: PASS"), -1)
        << events.VerdictLabel()->text().toStdString();

    // File > Archive: the page's Verdict column shows it.
    w->ArchMenus().mi_file_archive->trigger();
    ASSERT_EQ(w->Pages()->currentWidget(), &w->ArchivesPage());
    ASSERT_TRUE(QTest::qWaitFor([&] { return model.index(0, verdictColumn).data().toString() == "PASS"; },
                                kArchiveWaitMs))
        << model.index(0, verdictColumn).data().toString().toStdString();
    EXPECT_EQ(model.index(0, static_cast<int>(ArchiveColumn::Cable)).data().toString(), "SUB2-F7");
}

} // namespace
} // namespace lumidrax
