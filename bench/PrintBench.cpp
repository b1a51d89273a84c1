// Printing the chart page with ten charts of 10000 samples (chart 1 the
// reference, a 1660 x 1180 window):
//   BM_PrintToPdf        the whole print command as Ctrl+P runs it once the
//                        printer is chosen (a PDF file) and the preview is
//                        closed with Print: the print layout entered and
//                        left, the page painted onto the PDF, the file
//                        written;
//   BM_CopyToClipboard   the whole copy command with the info strip;
//   BM_PaintPdfOnly      the page painted into a PDF in memory, no window.
//
//   build/bin/bench_print              (offscreen unless QT_QPA_PLATFORM is set)

#include "BenchSupport.h"
#include "ChartMenus.h"
#include "ChartNotifier.h"
#include "ChartPagePainter.h"
#include "ChartPrinting.h"
#include "IDialogs.h"
#include "StartedViewer.h"
#include "TFrm_main_Lumidrax32.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QPrinter>
#include <QTimer>

#include <benchmark/benchmark.h>

namespace {

using namespace lumidrax;

// The printer is a PDF file; the preview is closed with Print; the copy
// includes the strip.
class PrintAnswers : public IDialogs {
  public:
    std::string pdf = (QDir::tempPath() + "/lumidrax-bench-print.pdf").toStdString();
    int AskYesNo(const std::string&, const std::string&, bool) override { return kAnswerYes; }
    void ShowMessageBox(const std::string&, const std::string& text) override
    {
        std::fprintf(stderr, "%s\n", text.c_str());
    }
    std::vector<std::string> OpenFileNames(const FileDialogRequest&) override { return {}; }
    std::optional<std::string> SaveFileName(const FileDialogRequest&) override { return {}; }
    std::optional<std::string> InputBox(const std::string&, const std::string&, const std::string&) override
    {
        return {};
    }
    std::optional<std::uint32_t> ChooseColor(std::uint32_t) override { return {}; }
    bool SetUpPrinter(QPrinter& printer) override
    {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf));
        return true;
    }
};

struct Viewer {
    PrintAnswers dialogs;
    std::unique_ptr<TFrm_main_Lumidrax32> w;
    Viewer()
    {
        w = bench::StartViewer(&dialogs);
        w->Charts() = bench::TenCharts(300);
        emit w->Notifier().chartsAdded();
        QApplication::processEvents();
    }
    ~Viewer() { std::remove(dialogs.pdf.c_str()); }
};

void BM_PrintToPdf(benchmark::State& state)
{
    Viewer v;
    for (auto _ : state) {
        v.w->Menus().mi_file_print->trigger();
        // The window repaints in its normal layout before the next command.
        QApplication::processEvents();
    }
    state.counters["pdf_kB"] = double(QFileInfo(QString::fromStdString(v.dialogs.pdf)).size()) / 1024;
}
BENCHMARK(BM_PrintToPdf)->Unit(benchmark::kMillisecond);

void BM_CopyToClipboard(benchmark::State& state)
{
    Viewer v;
    for (auto _ : state) {
        v.w->Menus().mi_edit_copy->trigger();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_CopyToClipboard)->Unit(benchmark::kMillisecond);

void BM_PaintPdfOnly(benchmark::State& state)
{
    const TMereni m = bench::TenCharts(300);
    Palette colours;
    TMereni copy = m;
    ApplyColorScheme(colours, copy, false);
    const ChartPageLayout page = PrintPageLayout(copy, colours, QSize(1660, 1000), true);
    for (auto _ : state)
        benchmark::DoNotOptimize(ChartPagePdf(page));
}
BENCHMARK(BM_PaintPdfOnly)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return lumidrax::bench::RunWithQt(argc, argv);
}
