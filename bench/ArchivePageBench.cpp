// The Archive page opened on the 100,000-entry archive of bench_archive
// (lumidrax-bench-archive/search.sqlite below the temporary folder; run
// build/bin/bench_archive once first): the page made, the entries counted,
// the first page of rows fetched and the table painted as it first shows.
// Then a scroll to the middle (a page fetched at an offset of 50,000) and a
// search typed into the field.

#include "ArchivePage.h"
#include "ArchiveTableModel.h"
#include "BenchSupport.h"
#include "ChartArchive.h"

#include <QLineEdit>
#include <QScrollBar>
#include <QTableView>

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

using namespace lumidrax;

std::string ArchiveFile()
{
    return (std::filesystem::temp_directory_path() / "lumidrax-bench-archive" / "search.sqlite").string();
}

bool HaveArchive(benchmark::State& state)
{
    if (std::filesystem::exists(ArchiveFile()))
        return true;
    state.SkipWithError("no archive: run build/bin/bench_archive first");
    return false;
}

void BM_ArchivePageOpen(benchmark::State& state)
{
    if (!HaveArchive(state))
        return;
    ArchiveLocation where;
    where.File = ArchiveFile();
    int rows = 0;
    for (auto _ : state) {
        ChartArchive archive(where, "bench-archive-page");
        ArchivePage page;
        page.resize(1200, 700);
        page.Model()->SetArchive(&archive);
        page.UpdateButtons(true);
        page.show();
        benchmark::DoNotOptimize(page.grab());
        rows = page.Model()->rowCount();
        page.Model()->SetArchive(nullptr);
    }
    state.counters["entries"] = rows;
}
BENCHMARK(BM_ArchivePageOpen)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ArchivePageScrollAndSearch(benchmark::State& state)
{
    if (!HaveArchive(state))
        return;
    ArchiveLocation where;
    where.File = ArchiveFile();
    ChartArchive archive(where, "bench-archive-page");
    ArchivePage page;
    page.resize(1200, 700);
    page.Model()->SetArchive(&archive);
    page.show();
    for (auto _ : state) {
        QScrollBar* bar = page.Table()->verticalScrollBar();
        bar->setValue(bar->maximum() / 2);
        benchmark::DoNotOptimize(page.grab());
        ArchiveQuery q;
        q.Text = "feeder tower";
        page.Model()->SetQuery(q);
        benchmark::DoNotOptimize(page.grab());
        page.Model()->SetQuery({});
    }
    page.Model()->SetArchive(nullptr);
}
BENCHMARK(BM_ArchivePageScrollAndSearch)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    return lumidrax::bench::RunWithQt(argc, argv);
}
