// One chart list row painted by the real delegate, with a description of
// 1 KB to 1 MB in its 300-pixel column: the cost of a row paint must not grow
// with the length of the text the column cuts off.
//
//   build/bin/bench_list_text_fit          (offscreen unless QT_QPA_PLATFORM is set)

#include "BenchSupport.h"
#include "ChartListDelegate.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QStandardItemModel>
#include <QStyleOptionViewItem>

#include <benchmark/benchmark.h>

namespace {

using namespace lumidrax;

void BM_PaintRowWithLongDescription(benchmark::State& state)
{
    TMereni charts;
    TJednoMereni c;
    c.FileName = "/home/user/charts/" + std::string(200, 'n') + ".ndt";
    c.DisplayName = c.FileName;
    // A description as typed: words and spaces, with Czech letters.
    const std::string words = "Kabel \xc4\x8d. 3, p\xc3\xa1r 2 po oprav\xc4\x9b; ";
    while (c.Description.size() < static_cast<std::size_t>(state.range(0)))
        c.Description += words;
    c.SetSamples(std::vector<long double>(50, 1.0L));
    charts.AppendRecord(std::move(c));

    ChartListDelegate delegate;
    delegate.SetCollection(&charts);
    ChartListColumns columns;
    columns.NameWidth = 300;
    columns.DescWidth = 300;
    delegate.SetColumns(columns);
    QStandardItemModel model;
    model.appendRow(new QStandardItem("1"));
    QStyleOptionViewItem option;
    option.rect = QRect(0, 0, columns.DescEnd(), ChartListDelegate::kRowHeight);
    option.font = QApplication::font();
    QImage image(option.rect.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        delegate.paint(&painter, option, model.index(0, 0));
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PaintRowWithLongDescription)
    ->ArgName("bytes")
    ->Arg(1 << 10)
    ->Arg(10 << 10)
    ->Arg(100 << 10)
    ->Arg(1 << 20)
    ->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    return lumidrax::bench::RunWithQt(argc, argv);
}
