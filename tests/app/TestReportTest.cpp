// The test report in the running viewer, as a technician makes it: a chart
// and its baseline opened, File > Test Report..., the dialog filled (a
// broken template first, refused with its line named), the PDF written, the
// verdict and each criterion shown in the Event Table's panel; and the PDF
// carries the text lumidrax-tool report gives for the same charts.

#include "AppTestSupport.h"
#include "ChartListPanel.h"
#include "ChartMenus.h"
#include "ChartPage.h"
#include "EventPanel.h"
#include "ReportTestCharts.h"
#include "TFrm_main_Lumidrax32.h"
#include "TestReportDialog.h"
#include "TestSupport.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>

namespace lumidrax {
namespace {

std::string PdfText(const std::string& pdf)
{
    QProcess p;
    p.start("pdftotext", {"-raw", QString::fromStdString(pdf), "-"});
    EXPECT_TRUE(p.waitForFinished(20000)) << "pdftotext (Debian package poppler-utils) did not run";
    return QString::fromUtf8(p.readAllStandardOutput()).toStdString();
}

void Type(QWidget& dialog, const char* name, const std::string& text)
{
    auto* edit = dialog.findChild<QLineEdit*>(name);
    ASSERT_NE(edit, nullptr) << name;
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, QString::fromStdString(text));
}

void ClickMakeReport(QWidget& dialog)
{
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    QTest::mouseClick(buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
}

TEST(TestReport, ChartAndBaselineToAPdfAndTheVerdictInTheEventPanel)
{
    test::TempDir dir;
    ASSERT_TRUE(test::WriteReportCharts(dir.Path()));
    const std::string limits = dir.Write("core4.json", test::kMixedTemplate);
    const std::string broken =
        dir.Write("broken.json", "{\n \"criteria\": [\n  {\"type\": \"end-length\"}\n ]\n}\n");
    const std::string pdf = dir.File("core4-report.pdf");

    test::ChartViewer v(QSize(1100, 760));
    ASSERT_TRUE(v.started);
    v.dialogs.OpenAnswers.push_back({dir.File("base.ndt"), dir.File("after.ndt")});
    v.Menus().mi_file_open->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return v.Charts().Count == 2; }));
    auto number = [&](const char* name) {
        for (int i = 1; i <= v.Charts().Count; ++i)
            if (v.Charts().Rec(i).FileName == dir.File(name))
                return i;
        return 0;
    };
    const int after = number("after.ndt");
    const int base = number("base.ndt");
    ASSERT_GT(after, 0);
    ASSERT_GT(base, 0);
    // The repaired core made the active chart with a click on its row.
    QListWidget* list = v.List();
    auto row = [&](int chart) {
        return list->visualItemRect(list->item(v.w->ChartsPage().ListPanel()->RowOf(chart))).center();
    };
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row(after));
    ASSERT_TRUE(QTest::qWaitFor([&] { return v.Charts().ActiveIndex == after; }));
    ASSERT_TRUE(v.Menus().mi_file_report->isEnabled());

    QString refused;
    test::WhenModalOpens([&](QWidget& dialog) {
        ASSERT_EQ(dialog.objectName(), "dlg_test_report");
        Type(dialog, "e_report_job", "J-2031");
        Type(dialog, "e_report_customer", "Town grid");
        Type(dialog, "e_report_site", "Substation 2");
        Type(dialog, "e_report_cable", "Feeder 7");
        Type(dialog, "e_report_operator", "P. Novak");
        Type(dialog, "e_report_template", broken);
        auto* baseline = dialog.findChild<QComboBox*>("cb_report_baseline");
        ASSERT_NE(baseline, nullptr);
        const QString baseItem = QStringLiteral("Chart %1: base.ndt").arg(base);
        baseline->setCurrentIndex(baseline->findText(baseItem));
        ASSERT_EQ(baseline->currentText(), baseItem);
        Type(dialog, "e_report_output", pdf);
        ClickMakeReport(dialog);
        // The broken template keeps the dialog open and says where.
        refused = dialog.findChild<QLabel*>("lbl_report_problem")->text();
        ASSERT_TRUE(dialog.isVisible());
        Type(dialog, "e_report_template", limits);
        ClickMakeReport(dialog);
    });
    v.Menus().mi_file_report->trigger();
    EXPECT_NE(refused.indexOf("broken.json, line 3: criterion 1 (end-length) has no \"length\""), -1)
        << refused.toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return std::filesystem::exists(pdf); }));
    EXPECT_TRUE(v.dialogs.Messages().empty());

    // The verdict and every criterion next to the event table.
    EventPanel* panel = v.w->ChartsPage().Events();
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel->VerdictLabel()->isVisible(); }));
    EXPECT_TRUE(v.Menus().mi_panels_events->isChecked());
    EXPECT_NE(panel->VerdictLabel()->text().indexOf("Verdict: FAIL"), -1);
    QTableWidget* criteria = panel->CriteriaTable();
    ASSERT_EQ(criteria->rowCount(), 6);
    auto outcome = [&](int row) { return criteria->item(row, EventPanel::kOutcome)->text().toStdString(); };
    EXPECT_EQ(outcome(0), "pass");
    EXPECT_EQ(outcome(1), "fail");
    EXPECT_EQ(criteria->item(3, EventPanel::kValue)->text(), "4,0 MOhm");
    EXPECT_EQ(criteria->item(3, EventPanel::kLimit)->text(), "at least 10 MOhm");
    // The baseline has no report of its own: made active, the panel shows none.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row(base));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !panel->VerdictLabel()->isVisible(); }));

    // The values are remembered for the next report.
    EXPECT_EQ(v.w->AppSettings().TestReport.Job, "J-2031");
    EXPECT_EQ(v.w->AppSettings().TestReport.Template, limits);

    // The tool's report of the same charts, numbered as the viewer numbers
    // them, reads the same.
    const std::string toolPdf = dir.File("tool.pdf");
    const std::string files = after < base ? dir.File("after.ndt") + " " + dir.File("base.ndt")
                                           : dir.File("base.ndt") + " " + dir.File("after.ndt");
    std::string out;
    const int status = test::RunCommand(test::BinPath("lumidrax-tool") + " report --template " + limits +
                                            " --reference " + std::to_string(base) + " --header job=J-2031" +
                                            " --header 'customer=Town grid' --header 'site=Substation 2'" +
                                            " --header 'cable=Feeder 7' --header 'operator=P. Novak' -o " +
                                            toolPdf + " " + files,
                                        out);
    EXPECT_EQ(status, 1) << out;
    const std::string viewerText = PdfText(pdf);
    EXPECT_NE(viewerText.find("Verdict: FAIL"), std::string::npos);
    EXPECT_EQ(PdfText(toolPdf), viewerText);
}

} // namespace
} // namespace lumidrax
