// Full repaint of the chart view through ChartRenderer: 10 displayed charts
// of 10000 samples on a 1600 x 900 page (plot, cursors and both axis
// strips), as the viewer repaints after a zoom or a resize.
//
//   build/bin/bench_render                 (offscreen unless QT_QPA_PLATFORM is set)

#include "BenchSupport.h"
#include "ChartRenderer.h"
#include "Palette.h"

#include <QGuiApplication>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

using namespace lumidrax;

TMereni& TenCharts()
{
    static TMereni charts = [] {
        TMereni m = bench::TenCharts(100);
        m.ActiveIndex = 2;
        m.ActiveCursor = 5000;
        return m;
    }();
    return charts;
}

// The page painted into one reused image of the given format, once per
// iteration.
void RepaintPages(benchmark::State& state, const ChartViewState& view, QImage::Format format)
{
    QImage image(1600, 900, format);
    for (auto _ : state) {
        const ChartRenderer renderer(view);
        QPainter painter(&image);
        renderer.PaintPage(painter);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

// The whole page into a reused 32-bit image (what the widget's cache and the
// render command paint into).
void BM_FullRepaint(benchmark::State& state)
{
    TMereni& charts = TenCharts();
    charts.LineWidth = static_cast<int>(state.range(0));
    RepaintPages(state, ChartViewState::ForPage(charts, 1600, 900, Palette(state.range(1) != 0)),
                 QImage::Format_RGB32);
    state.SetItemsProcessed(state.iterations() * kMaxShown * kMaxSamples);
}
const bench::ArgSets kRepaintArgs = {{1, 0}, {3, 0}, {5, 0}, {1, 1}};
BENCHMARK(BM_FullRepaint)
    ->ArgNames({"width", "dark"})
    ->Apply(bench::EachArgs<kRepaintArgs>)
    ->Unit(benchmark::kMillisecond);

// Only the cursors over a cached plot: what a cursor move costs.
void BM_CursorsOverCache(benchmark::State& state)
{
    TMereni& charts = TenCharts();
    charts.LineWidth = 1;
    const ChartRenderer renderer(ChartViewState::ForPlot(charts, 1551, 875, Palette(false)));
    QImage cache(1551, 875, QImage::Format_RGB32);
    {
        QPainter p(&cache);
        renderer.PaintPlot(p);
    }
    QImage screen(1551, 875, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&screen);
        painter.drawImage(0, 0, cache);
        renderer.PaintCursors(painter);
        painter.end();
        benchmark::DoNotOptimize(screen.constBits());
    }
}
BENCHMARK(BM_CursorsOverCache)->Unit(benchmark::kMillisecond);

// The same page through ordinary QPainter calls (a 24-bit image is not
// written directly): the path of PDF files and printers.
void BM_FullRepaintQPainterPath(benchmark::State& state)
{
    TMereni& charts = TenCharts();
    charts.LineWidth = static_cast<int>(state.range(0));
    RepaintPages(state, ChartViewState::ForPage(charts, 1600, 900, Palette(false)), QImage::Format_RGB888);
}
BENCHMARK(BM_FullRepaintQPainterPath)->ArgName("width")->Arg(1)->Arg(5)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return lumidrax::bench::RunWithQt(argc, argv);
}
