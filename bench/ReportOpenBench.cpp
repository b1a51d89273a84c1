// Opening 100 report files at once, the most the report page holds: the
// file command alone (read, decode, split into lines) and the whole Open
// command on the page (dialog answer, reading, list and memo filled).
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
#include <QMainWindow>
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
    ReportCommands commands({&menus, page, &settings, &dialogs, pages, &window});
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

} // namespace

int main(int argc, char** argv)
{
    return lumidrax::bench::RunWithQt(argc, argv);
}
