// One mouse move over the plot: 10 displayed charts of 10000 samples on a
// 1551 x 875 plot. Measures the cursor tracking alone (samples close
// together and far apart) and the whole move through the plot widget: the
// mouse event, the tracking and the repaint of the cursor strips over the
// cached curves.
//
//   build/bin/bench_cursor                 (offscreen unless QT_QPA_PLATFORM is set)

#include "BenchSupport.h"
#include "CursorTracking.h"
#include "PlotWidget.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>

#include <benchmark/benchmark.h>

namespace {

using namespace lumidrax;

constexpr int kPlotWidth = 1551;
constexpr int kPlotHeight = 875;

TMereni& TenCharts()
{
    static TMereni charts = bench::TenCharts(200);
    return charts;
}

// Mouse positions walking over the plot in a zigzag.
QPoint MousePoint(int step)
{
    const int x = (step * 7) % kPlotWidth;
    const int y = (step * 13) % kPlotHeight;
    return {x, y};
}

void SetView(TMereni& m, bool sparse)
{
    m.SetViewToFull();
    if (sparse) {
        // About 60 samples across the plot: far more than 10 pixels apart.
        long double step = 0;
        for (int i = 1; i <= m.Count; ++i)
            step = std::fmax(step, m.Rec(i).Step);
        m.ViewXMin = m.Rec(1).XStart + 1000 * step;
        m.ViewXMax = m.ViewXMin + 60 * step;
    }
}

// The ten charts in the view the benchmark's argument asks for (non-zero:
// samples far apart) and a plot widget tracking them. The view goes back to
// the full extent afterwards.
struct TrackedPlot {
    explicit TrackedPlot(const benchmark::State& state) : m(TenCharts())
    {
        SetView(m, state.range(0) != 0);
        plot.SetTrackedCharts(&m);
        plot.resize(kPlotWidth, kPlotHeight);
    }
    ~TrackedPlot() { SetView(m, false); }

    TMereni& m;
    PlotWidget plot;
};

void BM_TrackMouse(benchmark::State& state)
{
    TMereni& m = TenCharts();
    const bool sparse = state.range(0) != 0;
    SetView(m, sparse);
    ViewTransform v(m, kPlotWidth, kPlotHeight);
    v.UpdateScales(m.ShownCount);
    if (UsesSparseTracking(m, v) != sparse)
        state.SkipWithError("the view does not give the tracking mode asked for");
    int step = 0;
    for (auto _ : state) {
        const QPoint p = MousePoint(step++);
        benchmark::DoNotOptimize(TrackMouse(m, v, p.x(), p.y()));
    }
    SetView(m, false);
}
BENCHMARK(BM_TrackMouse)->ArgName("sparse")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The whole move as the window does it: the mouse event to the plot widget
// (tracking, update of the cursor strips) and the paint that follows.
void BM_MouseMoveOverPlot(benchmark::State& state)
{
    TrackedPlot tracked(state);
    PlotWidget& plot = tracked.plot;
    plot.show();
    plot.repaint();
    QApplication::processEvents();
    const int cachePaints = plot.CacheRepaints();
    int step = 0;
    for (auto _ : state) {
        const QPoint p = MousePoint(step++);
        QMouseEvent e(QEvent::MouseMove, p, plot.mapToGlobal(p), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&plot, &e);
        QApplication::processEvents();
    }
    if (plot.CacheRepaints() != cachePaints)
        state.SkipWithError("a cursor move painted the curves again");
}
BENCHMARK(BM_MouseMoveOverPlot)->ArgName("sparse")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The same move without the window system: the tracking, then the plot
// widget painting the strips the cursors left and entered into an image (as
// its paint event does into the window's backing store).
void BM_MouseMovePaintOnly(benchmark::State& state)
{
    TrackedPlot tracked(state);
    TMereni& m = tracked.m;
    PlotWidget& plot = tracked.plot;
    QImage screen(kPlotWidth, kPlotHeight, QImage::Format_RGB32);
    plot.render(&screen);
    const int cachePaints = plot.CacheRepaints();
    ViewTransform v(m, kPlotWidth, kPlotHeight);
    v.UpdateScales(m.ShownCount);
    int step = 0;
    for (auto _ : state) {
        const QRegion before = plot.CursorRegion();
        const QPoint p = MousePoint(step++);
        TrackMouse(m, v, p.x(), p.y());
        plot.render(&screen, QPoint(), before | plot.CursorRegion(), QWidget::DrawChildren);
        benchmark::DoNotOptimize(screen.constBits());
    }
    if (plot.CacheRepaints() != cachePaints)
        state.SkipWithError("a cursor move painted the curves again");
}
BENCHMARK(BM_MouseMovePaintOnly)->ArgName("sparse")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    return lumidrax::bench::RunWithQt(argc, argv);
}
