// Printing, copying and exporting the chart page in the running viewer:
// printed to a PDF file through the scripted printer dialog, read back with
// poppler's pdftotext and pdfimages; the clipboard picture; the layout
// afterwards.

#include "ChartPrinting.h"
#include "AppTestSupport.h"
#include "ChartInfoPanel.h"
#include "ChartMenus.h"
#include "ChartNotifier.h"
#include "ChartPage.h"
#include "ChartViewPanel.h"
#include "CursorCoordsPanel.h"
#include "CursorReadoutPanels.h"
#include "EventPanel.h"
#include "PrintInfoStrip.h"
#include "TFrm_main_Lumidrax32.h"
#include "TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QListWidget>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

#include <QThread>

#include <cstdlib>
#include <filesystem>

namespace lumidrax {
namespace {

using test::FakeDialogs;
using test::TempDir;
using test::WriteChart;

// Standard output of a poppler tool run on `pdf`.
QString Poppler(const QString& tool, QStringList args, const std::string& pdf)
{
    QProcess p;
    args << QString::fromStdString(pdf);
    if (tool == "pdftotext")
        args << "-";
    if (tool == "pdftoppm") // the picture goes to PDF.png
        args << QString::fromStdString(pdf);
    p.start(tool, args);
    EXPECT_TRUE(p.waitForFinished(10000))
        << tool.toStdString() << " (Debian package poppler-utils) did not run";
    EXPECT_EQ(p.exitCode(), 0) << tool.toStdString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

// What the window shows around the plot, to compare before and after.
struct Layout {
    QString chartTab;
    bool reportTab, toolBar, refInfo, activeInfo, coords, list, status, strip;
    bool operator==(const Layout&) const = default;
};

// A description of numbered words, far longer than three strip lines.
std::string LongDescription()
{
    std::string d;
    for (int k = 100; k < 400; ++k)
        d += "w" + std::to_string(k) + " ";
    return d;
}

struct PrintViewer : test::ChartViewer {
    PrintViewer() : ChartViewer(QSize(1000, 700))
    {
        if (!started)
            return;
        started = OpenBatch({WriteChart(dir.Path(), "site/alpha.ndt", LongDescription()),
                             WriteChart(dir.Path(), "site/beta.ndt", "second", 20)});
        // Chart 1 the reference, as a click on its curve makes it.
        w->Charts().SetReference(1);
        emit w->Notifier().referenceChanged(true);
    }
    Layout Now() const
    {
        ChartPage& p = w->ChartsPage();
        return {w->Pages()->tabText(0),
                w->Pages()->isTabVisible(1),
                w->Menus().ToolBar->isVisible(),
                p.Readouts()->RefInfo()->isVisible(),
                p.Readouts()->ActiveInfo()->isVisible(),
                p.Readouts()->Coords()->isVisible(),
                p.ChartList()->isVisible(),
                w->statusBar()->isVisible(),
                p.PrintInfo()->isVisible()};
    }
    int TextHeight() const { return MetricsOf(PrintInfoFont()).TextHeight; }
    std::string Pdf(const char* name) const { return dir.Path() + "/" + name; }
};

TEST(ChartPrinting, PrintsThePageWithItsInfoStripToAVectorPdfAndRestoresTheLayout)
{
    PrintViewer v;
    ASSERT_TRUE(v.started);
    const Layout before = v.Now();
    ASSERT_EQ(before, (Layout{"Chart", true, true, true, true, true, true, true, false}));

    v.dialogs.PrinterAnswers = {v.Pdf("ref.pdf")};
    v.w->Menus().mi_file_print->trigger();
    EXPECT_TRUE(v.dialogs.ScriptUsed());
    ASSERT_EQ(v.dialogs.Log.size(), 2u);
    EXPECT_EQ(v.dialogs.Log[1].Kind, "preview");
    EXPECT_EQ(v.Now(), before);

    // A reference chart whose description needs more than three lines:
    // th x (3 + 7) + 14, the description cut after the third line.
    const auto& page = v.w->Printing().LastPage();
    ASSERT_TRUE(page.has_value());
    EXPECT_EQ(page->Info.Height, v.TextHeight() * 10 + 14);
    EXPECT_EQ(page->Info.DescriptionLines, 3);
    EXPECT_TRUE(page->View.Grid);
    const QString text = Poppler("pdftotext", {"-raw"}, v.Pdf("ref.pdf"));
    for (const char* shown : {"Lumidrax for 32-bit Windows - CHART", "1 site/alpha.ndt", "2 site/beta.ndt",
                              "Ref. Chart (1): Imp.", "Description:", "w100"})
        EXPECT_TRUE(text.contains(shown)) << shown << "\n" << text.toStdString();
    EXPECT_FALSE(text.contains("w399"));
    // Vector: the text above came out as text, and the page holds no
    // bitmap (pdfimages lists a two-line header and no image).
    EXPECT_EQ(Poppler("pdfimages", {"-list"}, v.Pdf("ref.pdf")).trimmed().split('\n').size(), 2);
}

TEST(ChartPrinting, WithoutAReferenceTheStripHasLegendRowsOnlyAndCancelPrintsNothing)
{
    PrintViewer v;
    ASSERT_TRUE(v.started);
    v.w->Menus().mi_panels_refinfo->trigger(); // "&Ref. Chart Info" off
    v.w->Charts().RefIndex = 0;
    emit v.w->Notifier().referenceChanged(false);
    const Layout before = v.Now();
    EXPECT_FALSE(before.refInfo);

    v.dialogs.PrinterAnswers = {std::nullopt};
    v.w->Menus().mi_file_print->trigger();
    EXPECT_FALSE(v.w->Printing().LastPage().has_value());
    EXPECT_FALSE(std::filesystem::exists(v.Pdf("cancelled.pdf")));
    EXPECT_EQ(v.Now(), before);

    v.dialogs.PrinterAnswers = {v.Pdf("plain.pdf")};
    v.w->Menus().mi_file_print->trigger();
    EXPECT_EQ(v.w->Printing().LastPage()->Info.Height, v.TextHeight() * 8 + 14);
    const QString text = Poppler("pdftotext", {"-raw"}, v.Pdf("plain.pdf"));
    EXPECT_TRUE(text.contains("2 site/beta.ndt"));
    EXPECT_FALSE(text.contains("Ref. Chart"));
    EXPECT_EQ(v.Now(), before);
}

TEST(ChartPrinting, CopyPutsThePageOnTheClipboardWithTheStripOnlyAfterYes)
{
    PrintViewer v;
    ASSERT_TRUE(v.started);
    const Layout before = v.Now();
    v.dialogs.Answers = {kAnswerNo, kAnswerYes};

    v.w->Menus().mi_edit_copy->trigger();
    ASSERT_EQ(v.dialogs.Questions(), std::vector<std::string>{"Include Charts Info ?"});
    EXPECT_EQ(v.dialogs.Log[0].Caption, "Copy");
    const ChartPageLayout without = *v.w->Printing().LastPage();
    EXPECT_EQ(without.Info.Height, 0);
    // Still the print layout: the retitled tab above and no tool bar, panels
    // or list: the plot is taller than on screen.
    EXPECT_EQ(without.Title, "Lumidrax for 32-bit Windows - CHART");
    EXPECT_GT(without.View.View.PlotHeight, v.w->ChartsPage().View()->height() - without.View.AxisXHeight);
    EXPECT_EQ(QApplication::clipboard()->image().size(), without.Size());
    EXPECT_EQ(v.Now(), before);

    v.w->Menus().mi_edit_copy->trigger();
    const ChartPageLayout with = *v.w->Printing().LastPage();
    EXPECT_EQ(with.Info.Height, v.TextHeight() * 10 + 14);
    EXPECT_EQ(with.Size().height(), without.Size().height());
    EXPECT_EQ(with.View.View.PlotHeight, without.View.View.PlotHeight - with.Info.Height);
    const QImage image = QApplication::clipboard()->image();
    ASSERT_EQ(image.size(), with.Size());
    // The strip's white inside, left of the legend squares.
    EXPECT_EQ(image.pixel(5, with.TitleHeight + 5), qRgb(255, 255, 255));
    EXPECT_EQ(v.Now(), before);
}

TEST(ChartPrinting, ExportWritesThePrintedPageAsPngOrPdfAtTheChosenWidth)
{
    PrintViewer v;
    ASSERT_TRUE(v.started);
    v.dialogs.SaveAnswers = {v.Pdf("page.png"), v.Pdf("page.pdf"), v.Pdf("bad.png")};
    v.dialogs.InputAnswers = {"2000", "1200", "12"};
    for (int k = 0; k < 3; ++k)
        v.w->Menus().mi_file_export->trigger();
    EXPECT_TRUE(v.dialogs.ScriptUsed());

    const QSize page = v.w->Printing().LastPage()->Size();
    const QImage png(QString::fromStdString(v.Pdf("page.png")));
    EXPECT_EQ(png.width(), 2000);
    EXPECT_NEAR(png.height(), page.height() * 2000.0 / page.width(), 1.0);
    const QString info = Poppler("pdfinfo", {}, v.Pdf("page.pdf"));
    EXPECT_TRUE(info.contains(QRegularExpression(QString("Page size: +%1 x").arg(1200 * 72 / 96))))
        << info.toStdString();
    EXPECT_TRUE(Poppler("pdftotext", {"-raw"}, v.Pdf("page.pdf")).contains("Ref. Chart (1)"));
    EXPECT_FALSE(std::filesystem::exists(v.Pdf("bad.png")));
    EXPECT_EQ(v.dialogs.Messages(),
              std::vector<std::string>{"Error: the width must be a whole number from 80 to 20000."});
}

// The printed sheet as poppler renders it at 36 dpi, and what is inked on
// it.
struct Inked {
    QSize sheet;
    QRect ink;
};

Inked InkOf(const std::string& pdf)
{
    Poppler("pdftoppm", {"-r", "36", "-gray", "-singlefile", "-png"}, pdf);
    const QImage image(QString::fromStdString(pdf + ".png"));
    Inked out{image.size(), {}};
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 250)
                out.ink |= QRect(x, y, 1, 1);
    std::filesystem::remove(pdf + ".png");
    return out;
}

// The page keeps the sheet margin on every side and, printed landscape,
// runs along the sheet's long side from margin to margin (whichever way
// the sheet is turned).
void ExpectInsideTheMarginsAcrossTheSheet(const Inked& s)
{
    ASSERT_FALSE(s.sheet.isEmpty());
    const int margin = int(kSheetMarginMm * 36 / 25.4) - 1;
    EXPECT_TRUE(QRect(QPoint(0, 0), s.sheet).adjusted(margin, margin, -margin, -margin).contains(s.ink))
        << s.ink.x() << "," << s.ink.y() << " " << s.ink.width() << " x " << s.ink.height();
    const int inkLong = std::max(s.ink.width(), s.ink.height());
    EXPECT_GT(inkLong, 0.9 * (std::max(s.sheet.width(), s.sheet.height()) - 2 * margin));
}

QString PdfTitle(const std::string& pdf)
{
    return QRegularExpression("Title: +([^\n]*)").match(Poppler("pdfinfo", {}, pdf)).captured(1).trimmed();
}

// Seven charts in a folder whose name, with the file names, is too long
// for a legend column.
struct LongNamesViewer : test::ChartViewer {
    LongNamesViewer() : ChartViewer(QSize(1000, 700))
    {
        const std::string folder = "north-shaft-measurements-of-the-second-cable-run-2024";
        std::vector<std::string> files;
        for (int k = 1; k <= 7; ++k)
            files.push_back(WriteChart(
                dir.Path(), folder + "/cable-" + std::to_string(k) + "-pair-a-and-b.ndt", "d", 3 * k));
        started = started && OpenBatch(files);
    }
    std::string ActiveFileName() const
    {
        return std::filesystem::path(w->Charts().Rec(w->Charts().ActiveIndex).FileName).filename().string();
    }
};

// Each legend text ends before the right column's squares (left column) or
// inside the frame (right column).
void ExpectLegendInsideItsColumns(const ChartPageLayout& page, std::size_t legendRows)
{
    const PrintInfoMetrics m = MetricsOf(page.InfoFont);
    ASSERT_GE(page.Info.Texts.size(), legendRows);
    for (std::size_t k = 0; k < legendRows; ++k) {
        const PrintInfoText& t = page.Info.Texts[k];
        const int end = k < kPrintInfoRows ? page.Width / 2 + 10 : page.Width - 2;
        EXPECT_LE(t.X + m.TextWidth(t.Text), end) << t.Text.toStdString();
        EXPECT_TRUE(t.Text.endsWith("-pair-a-and-b.ndt")) << t.Text.toStdString();
    }
}

TEST(ChartPrinting, WithTheEventTableShownThePageIsPrintedFullWidthInsideMarginsAndNamedAfterTheChart)
{
    LongNamesViewer v;
    ASSERT_TRUE(v.started);
    ChartPage& chartPage = v.w->ChartsPage();
    v.w->Menus().mi_panels_events->trigger(); // "&Event Table" on
    // The table takes its room beside the plot.
    ASSERT_TRUE(QTest::qWaitFor([&] { return chartPage.View()->width() < chartPage.width() - 100; }));
    ASSERT_TRUE(chartPage.Events()->isVisible());
    const int plotWidth = chartPage.View()->width();

    const std::string pdf = v.dir.Path() + "/events.pdf";
    v.dialogs.PrinterAnswers = {pdf};
    v.w->Menus().mi_file_print->trigger();
    ASSERT_TRUE(v.dialogs.ScriptUsed());
    // The job, and the PDF it makes, are called after the active chart.
    EXPECT_EQ(v.dialogs.Log[0].Caption, v.ActiveFileName());
    EXPECT_EQ(PdfTitle(pdf).toStdString(), v.ActiveFileName());

    const ChartPageLayout& page = *v.w->Printing().LastPage();
    EXPECT_EQ(page.Width, chartPage.width());
    ExpectLegendInsideItsColumns(page, 7);
    ExpectInsideTheMarginsAcrossTheSheet(InkOf(pdf));
    const QString text = Poppler("pdftotext", {"-raw"}, pdf);
    EXPECT_TRUE(text.contains(QString("7 ") + QChar(0x2026))) << text.toStdString();

    // The table is back beside the plot.
    EXPECT_TRUE(chartPage.Events()->isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return chartPage.View()->width() == plotWidth; }));
}

// Through a real CUPS queue printing to PDF files (cups-pdf), as
// scripts/cups-print-check.sh sets one up: LUMIDRAX_CUPS_QUEUE names the
// queue, LUMIDRAX_CUPS_OUT the folder cups-pdf writes into. cups-pdf makes
// its PDF from PostScript, which keeps the glyphs but not which letters
// they are: the page is checked by where its ink lies, its wording on the
// PDF printer above.
TEST(ChartPrintingCups, ThePagePrintedOnACupsPdfQueueIsNamedAfterTheChartAndFillsTheSheetInsideMargins)
{
    const char* queue = std::getenv("LUMIDRAX_CUPS_QUEUE");
    const char* out = std::getenv("LUMIDRAX_CUPS_OUT");
    if (queue == nullptr || out == nullptr)
        GTEST_SKIP() << "no CUPS queue to print on: scripts/cups-print-check.sh sets one up and runs this";
    LongNamesViewer v;
    ASSERT_TRUE(v.started);
    const std::string name = v.ActiveFileName();
    const std::string stem = std::filesystem::path(name).stem().string();
    auto printed = [&] {
        std::string found;
        if (std::filesystem::is_directory(out))
            for (const auto& e : std::filesystem::directory_iterator(out))
                if (e.path().filename().string().rfind(stem, 0) == 0)
                    found = e.path().string();
        return found;
    };
    ASSERT_EQ(printed(), "") << "left over from an earlier run in " << out;

    v.w->Menus().mi_panels_events->trigger();
    v.dialogs.PrinterAnswers = {std::string("queue:") + queue};
    v.w->Menus().mi_file_print->trigger();
    ASSERT_TRUE(v.dialogs.ScriptUsed());
    ASSERT_TRUE(v.dialogs.Messages().empty()) << v.dialogs.Messages().front();
    // cups-pdf names its file after the job.
    std::string pdf;
    for (int k = 0; k < 600 && (pdf = printed()).empty(); ++k)
        QThread::msleep(100);
    ASSERT_NE(pdf, "") << "cups-pdf wrote no file named after " << name << " into " << out;
    QThread::msleep(500); // the file is complete once Ghostscript has closed it
    EXPECT_TRUE(PdfTitle(pdf).contains(QString::fromStdString(name))) << PdfTitle(pdf).toStdString();

    ExpectInsideTheMarginsAcrossTheSheet(InkOf(pdf));
    std::filesystem::remove(pdf);
}

} // namespace
} // namespace lumidrax
