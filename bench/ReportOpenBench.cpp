// Opening 100 report files at once, the most the report page holds: the
// file command alone (read, decode, split into lines) and the whole Open
// command on the page (dialog answer, reading, list and memo filled). And
// choosing long reports in the list, which sets the limits of what the page
// opens.
//
//   build/bin/bench_report_open          (offscreen unless QT_QPA_PLATFORM is set)

#include "BenchSupport.h"
#include "IDialogs.h"
#include "ReportCommands.h"
#include "ReportFileCommands.h"
#include "ReportMenus.h"
#include "ReportPage.h"
#include "Settings.h"

#include <QAction>
#include <QListWidget>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QTabWidget>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace {

using namespace lumidrax;
namespace fs = std::filesystem;

constexpr int kFiles = 100;
constexpr int kLinesPerReport = 200;

// A folder of 100 report files of 200 lines each (about 12 KB), laid out as
// the instruments' summaries are: a heading per measurement and one line per
// marked point, Windows-1250 with CR LF.
class ReportFolder {
  public:
    ReportFolder()
    {
        folder_ = fs::temp_directory_path() / ("lumidrax-bench-reports-" + std::to_string(::getpid()));
        fs::create_directories(folder_);
        for (int f = 0; f < kFiles; ++f) {
            std::vector<std::string> lines;
            for (int k = 0; k < kLinesPerReport; ++k)
                lines.push_back(k % 10 == 0
                                    ? "Mereni " + std::to_string(k / 10 + 1) + "  Vel. 0,660  Imp. 100 Ohm"
                                    : "  Bod " + std::to_string(k % 10) + "   " + std::to_string(f * 7 + k) +
                                          ",4 m   \xC3\xBAtlum " + std::to_string(k % 40) + ",5 %");
            const fs::path path = folder_ / ("report" + std::to_string(100 + f) + ".txt");
            std::ofstream(path, std::ios::binary) << ReportFileBytes(lines);
            names_.push_back(path.string());
        }
    }
    ~ReportFolder()
    {
        std::error_code ec;
        fs::remove_all(folder_, ec);
    }
    const std::vector<std::string>& Names() const { return names_; }

  private:
    fs::path folder_;
    std::vector<std::string> names_;
};

// Answers the open dialog with the folder's files; asks nothing else.
class OpenAnswer : public IDialogs {
  public:
    explicit OpenAnswer(std::vector<std::string> names) : names_(std::move(names)) {}
    int AskYesNo(const std::string&, const std::string&, bool) override { return kAnswerYes; }
    void ShowMessageBox(const std::string&, const std::string&) override {}
    std::vector<std::string> OpenFileNames(const FileDialogRequest&) override { return names_; }
    std::optional<std::string> SaveFileName(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> InputBox(const std::string&, const std::string&, const std::string&) override
    {
        return std::nullopt;
    }
    std::optional<std::uint32_t> ChooseColor(std::uint32_t) override { return std::nullopt; }

  private:
    std::vector<std::string> names_;
};

void BM_OpenReportFiles(benchmark::State& state)
{
    const ReportFolder folder;
    OpenAnswer dialogs(folder.Names());
    Settings settings;
    for (auto _ : state) {
        TReportList reports;
        ReportFileCommands commands(reports, settings, dialogs);
        benchmark::DoNotOptimize(commands.Open(folder.Names()));
        if (reports.Count() != kFiles)
            state.SkipWithError("not every report opened");
    }
    state.SetItemsProcessed(state.iterations() * kFiles);
}
BENCHMARK(BM_OpenReportFiles)->Unit(benchmark::kMillisecond);

void BM_OpenCommandOnThePage(benchmark::State& state)
{
    const ReportFolder folder;
    OpenAnswer dialogs(folder.Names());
    Settings settings;
    QMainWindow window;
    window.resize(1024, 700);
    ReportMenus menus(&window);
    auto* pages = new QTabWidget(&window);
    auto* page = new ReportPage(pages);
    pages->addTab(new QWidget(pages), "Chart");
    pages->addTab(page, "Report");
    window.setCentralWidget(pages);
    window.show();
    ReportCommands commands({{{.Window = &window, .Dialogs = &dialogs}, page, &menus}, &settings, pages});
    for (auto _ : state) {
        menus.mi_rep_file_open->trigger();
        state.PauseTiming();
        if (commands.Reports().Count() != kFiles)
            state.SkipWithError("not every report opened");
        menus.mi_rep_file_closeall->trigger();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kFiles);
}
BENCHMARK(BM_OpenCommandOnThePage)->Unit(benchmark::kMillisecond);

// The report page in a shown window, as the viewer has it.
struct ShownPage {
    explicit ShownPage(IDialogs& dialogs)
        : menus(&window), pages(new QTabWidget(&window)), page(new ReportPage(pages)),
          commands({{{.Window = &window, .Dialogs = &dialogs}, page, &menus}, &settings, pages})
    {
        window.resize(1024, 700);
        pages->addTab(new QWidget(pages), "Chart");
        pages->addTab(page, "Report");
        window.setCentralWidget(pages);
        window.show();
        pages->setCurrentIndex(1);
    }
    // Chooses a report in the list and paints the page, as the event loop
    // would right after the click.
    void Choose(int row)
    {
        page->ReportList()->setCurrentRow(row);
        page->Memo()->viewport()->repaint();
    }

    Settings settings;
    QMainWindow window;
    ReportMenus menus;
    QTabWidget* pages;
    ReportPage* page;
    ReportCommands commands;
};

// A report whose text is `bytes` long: lines of `lineLength` characters
// (digits, blanks and commas as the instruments write), CR LF.
std::string ReportText(std::size_t bytes, std::size_t lineLength)
{
    std::string line;
    while (line.size() < lineLength)
        line += "12,5 m  ";
    line.resize(lineLength);
    std::string text;
    text.reserve(bytes + lineLength + 2);
    while (text.size() < bytes)
        text += line + "\r\n";
    return text;
}

// Choosing a report in the list (the memo's text goes back into the report
// shown before, the chosen text into the memo, and the page is painted),
// back and forth between a one-line report and one of `state.range(1)`
// bytes in lines of `state.range(0)` characters: what the page can show
// without freezing (goal under 200 ms for the pair).
void BM_ChooseReport(benchmark::State& state)
{
    // Put into the list directly: the Open command refuses the larger ones.
    OpenAnswer dialogs({});
    ShownPage shown(dialogs);
    shown.commands.Reports().AddOpened("/small.txt", {"Bod 1   12,5 m"});
    shown.commands.Reports().AddOpened("/big.txt",
                                       SplitLines(ReportText(static_cast<std::size_t>(state.range(1)),
                                                             static_cast<std::size_t>(state.range(0)))));
    shown.commands.ShowReports(0);
    for (auto _ : state) {
        shown.Choose(1);
        shown.Choose(0);
    }
}
const bench::ArgSets kChooseArgs = {
    {1000, 1000},       {10000, 10000},  {20000, 20000},  {50000, 50000},  {100000, 100000},
    {1000000, 1000000}, {80, 1 << 20},   {80, 4 << 20},   {80, 15 << 20},  {15 << 20, 15 << 20},
    {10000, 4 << 20},   {80, 2 << 20},   {1000, 1 << 20}, {2000, 1 << 20}, {5000, 1 << 20},
    {10000, 1 << 20},   {20000, 1 << 20}};
BENCHMARK(BM_ChooseReport)
    ->ArgNames({"line", "bytes"})
    ->Apply(bench::EachArgs<kChooseArgs>)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return lumidrax::bench::RunWithQt(argc, argv);
}
