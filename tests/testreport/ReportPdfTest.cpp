// The report as a reader gets it: the PDF read back with poppler's pdftotext
// (header fields, every event row, every criterion with its value, limit
// and outcome, the verdict) and pdfimages (no raster image: the chart is
// vector), and a document of several charts with its summary first.

#include "ReportTestCharts.h"
#include "TestReportContent.h"
#include "TestReportPainter.h"
#include "TestSupport.h"

#include <QBuffer>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <fstream>

namespace lumidrax {
namespace {

// Standard output of a poppler tool run on `pdf`.
std::string Poppler(const QString& tool, QStringList args, const std::string& pdf)
{
    QProcess p;
    args << QString::fromStdString(pdf) << "-";
    if (tool == "pdfimages")
        args.removeLast();
    p.start(tool, args);
    EXPECT_TRUE(p.waitForFinished(20000))
        << tool.toStdString() << " (Debian package poppler-utils) did not run";
    EXPECT_EQ(p.exitCode(), 0) << tool.toStdString();
    return QString::fromUtf8(p.readAllStandardOutput()).toStdString();
}

// Blanks and line ends as one blank: a cell's text wraps where the column
// ends.
std::string Words(const std::string& text)
{
    return QString::fromStdString(text).simplified().toStdString();
}

struct Report {
    test::TempDir dir;
    TMereni charts;
    ReportRequest request;

    Report()
    {
        EXPECT_TRUE(test::WriteReportCharts(dir.Path()));
        EXPECT_EQ(charts.LoadChart(dir.Path() + "/base.ndt"), 1);
        EXPECT_EQ(charts.LoadChart(dir.Path() + "/after.ndt"), 2);
        request.Charts = &charts;
        request.Reported = {2};
        request.Baseline = 1;
        request.Limits = ParseLimitTemplate(test::kMixedTemplate, "mixed.json");
        request.TemplateFile = "mixed.json";
        request.Header = {"J-2031", "Town grid", "Substation 2", "Feeder 7", "P. Novak", "", "", ""};
    }
    std::string Pdf(const TestReportContent& content, const std::string& name)
    {
        const QByteArray bytes = TestReportPdf(content);
        EXPECT_FALSE(bytes.isEmpty());
        const std::string path = dir.Path() + "/" + name;
        std::ofstream(path, std::ios::binary).write(bytes.constData(), bytes.size());
        return path;
    }
};

TEST(ReportPdf, CarriesHeaderEventsCriteriaAndVerdictAsVectorText)
{
    Report r;
    const TestReportContent content = BuildTestReport(r.request);
    ASSERT_EQ(content.Sections.size(), 1u);
    const ReportChartSection& s = content.Sections.front();
    const std::string pdf = r.Pdf(content, "report.pdf");
    const std::string text = Words(Poppler("pdftotext", {"-raw"}, pdf));

    for (const char* field :
         {"Job J-2031", "Customer Town grid", "Site Substation 2", "Cable Feeder 7", "Operator P. Novak",
          "Date 02.04.2012 10:12:44", "Instrument VKR104", "Serial number 40122"})
        EXPECT_NE(text.find(field), std::string::npos) << field;
    EXPECT_NE(text.find("Limits: Core 4 after repair (mixed.json)"), std::string::npos);
    EXPECT_NE(text.find("Baseline: base.ndt"), std::string::npos);

    // Every event row, compared with the baseline: the new fault at 180 m.
    ASSERT_GE(s.Events.Rows.size(), 5u);
    bool sawNew = false;
    for (const EventRow& e : s.Events.Rows) {
        const std::string row = Words(e.Number + " " + e.Distance + " " + e.Kind + " " + e.Peak + " " +
                                      e.FromPrevious + " " + e.Change);
        EXPECT_NE(text.find(row), std::string::npos) << row;
        sawNew = sawNew || e.Change == "new";
    }
    EXPECT_TRUE(sawNew);

    // Every criterion with its value, limit and outcome; this template gives
    // both passes and fails.
    ASSERT_EQ(s.Results.size(), 6u);
    int failed = 0;
    for (const CriterionResult& c : s.Results) {
        const std::string row = Words(c.Title + " " + c.Value + " " + c.Limit + " " +
                                      std::string(OutcomeName(c.Outcome)) + " " + c.Reason);
        EXPECT_NE(text.find(row), std::string::npos) << row;
        failed += c.Outcome == CriterionOutcome::Fail;
    }
    EXPECT_EQ(failed, 2);
    EXPECT_EQ(s.ChartVerdict, Verdict::Fail);
    EXPECT_NE(text.find("Verdict: FAIL"), std::string::npos);
    EXPECT_NE(text.find("Chart 2: FAIL"), std::string::npos);
    EXPECT_NE(text.find("DC resistance 4,0 MOhm > 20 MOhm"), std::string::npos);

    // Only the table's two header lines: not one raster image.
    const std::string images = Poppler("pdfimages", {"-list"}, pdf);
    EXPECT_EQ(std::count(images.begin(), images.end(), '\n'), 2) << images;
}

TEST(ReportPdf, SeveralChartsGetASummaryFirstAndTheWorstVerdict)
{
    Report r;
    // Both reported against chart 2: chart 1 compared with it passes (its
    // fault is only gone there); chart 2, not compared with itself, cannot
    // have its new events and moves evaluated and fails on its resistance.
    r.request.Reported = {1, 2};
    r.request.Baseline = 2;
    TestReportContent content = BuildTestReport(r.request);
    ASSERT_EQ(content.Sections.size(), 2u);
    EXPECT_EQ(content.Sections[0].BaselineName, "after.ndt");
    EXPECT_EQ(content.Sections[1].BaselineName, "");
    EXPECT_EQ(content.Sections[1].ChartVerdict, Verdict::Fail);
    EXPECT_EQ(content.Overall, Verdict::Fail);

    int pages = 0;
    {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter pdf(&buffer);
        SetReportPageLayout(pdf);
        ASSERT_TRUE(PaintTestReport(pdf, content, &pages));
    }
    const std::string pdf = r.Pdf(content, "two.pdf");
    const std::string first = Words(Poppler("pdftotext", {"-raw", "-f", "1", "-l", "1"}, pdf));
    EXPECT_NE(first.find("Charts No. Chart Measured Failed Not evaluated Verdict"), std::string::npos)
        << first;
    EXPECT_NE(first.find("1 base.ndt 14.03.2012 09:41:07 0 0 PASS"), std::string::npos) << first;
    EXPECT_NE(first.find("2 after.ndt 02.04.2012 10:12:44 1 2 FAIL"), std::string::npos) << first;
    EXPECT_EQ(first.find("Chart 1: base.ndt"), std::string::npos) << "the sections start on page 2";
    const std::string all = Words(Poppler("pdftotext", {"-raw"}, pdf));
    EXPECT_NE(all.find("Page " + std::to_string(pages) + " of " + std::to_string(pages)), std::string::npos);
    EXPECT_GE(pages, 3);
}

} // namespace
} // namespace lumidrax
