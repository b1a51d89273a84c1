// Zoom and keyboard steps on the chart page, 10 displayed charts of 10000
// samples:
//   BM_WheelZoomStep      one wheel step on a 1600 x 900 plot: the new view
//                         and the full repaint of the curves that follows;
//   BM_CursorStepKey      one Right / Left key press through the running
//                         window (key preview, cursor step, read-outs, the
//                         cursor strips painted) with the view not moving;
//   BM_CursorStepKeyHandlingOnly  the same press without the paint that
//                         follows it;
//   BM_MouseMoveInWindow  for comparison, a mouse move over the same plot;
//   BM_CursorStepPaintOnly  the step and the cursor strips painted by the
//                         plot alone, without the window system;
//   BM_CursorStepOnly     the cursor step with its view check alone;
//   BM_KeyAutoRepeat      a key held down: 30 presses a second for 2 s; for
//                         each press the time until the plot paints its
//                         frame, the largest reported as max_key_to_frame_ms
//                         and presses whose frame was not painted before the
//                         next press as frames_missed.
//
//   build/bin/bench_zoom_keys              (offscreen unless QT_QPA_PLATFORM is set)

#include "BenchSupport.h"
#include "ChartGenerator.h"
#include "ChartListPanel.h"
#include "ChartNotifier.h"
#include "ChartPage.h"
#include "ChartViewPanel.h"
#include "CursorStep.h"
#include "PlotWidget.h"
#include "PlotZoomTool.h"
#include "StartedViewer.h"
#include "TFrm_main_Lumidrax32.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QTimer>
#include <QWheelEvent>

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

using namespace lumidrax;

TJednoMereni Generated(int i)
{
    chartgen::ChartOptions o;
    o.seed = static_cast<std::uint64_t>(300 + i);
    o.sampleCount = kMaxSamples;
    o.faultCount = 3;
    o.noiseLevel = 1.5L;
    return chartgen::GenerateChart(o);
}

TMereni& TenCharts()
{
    static TMereni charts = [] {
        TMereni m;
        for (int i = 0; i < kMaxShown; ++i)
            m.AppendRecord(Generated(i));
        m.ComputeFullRange(true);
        m.SetViewToFull();
        m.SetReference(1);
        m.ActiveIndex = 2;
        m.ActiveCursor = 5000;
        return m;
    }();
    return charts;
}

// A 1600 x 900 plot widget on the ten charts at their full extent, drawn once
// into an image of its size.
struct DrawnPlot {
    DrawnPlot() : m(TenCharts())
    {
        m.SetViewToFull();
        plot.SetTrackedCharts(&m);
        plot.resize(1600, 900);
        plot.render(&screen);
    }

    TMereni& m;
    PlotWidget plot;
    QImage screen{QSize(1600, 900), QImage::Format_RGB32};
};

void BM_WheelZoomStep(benchmark::State& state)
{
    DrawnPlot drawn;
    auto& [m, plot, screen] = drawn;
    PlotZoomTool tool(&plot, &m);
    const int paints = plot.CacheRepaints();
    const QPoint at(700, 400);
    int step = 0;
    for (auto _ : state) {
        // In and out in turn, so the view stays about the same size.
        QWheelEvent e(at, plot.mapToGlobal(at), QPoint(), QPoint(0, (step++ % 2) ? -120 : 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&plot, &e);
        plot.render(&screen);
        benchmark::DoNotOptimize(screen.constBits());
    }
    if (plot.CacheRepaints() - paints != step)
        state.SkipWithError("a wheel step did not repaint the curves");
    m.SetViewToFull();
}
BENCHMARK(BM_WheelZoomStep)->Unit(benchmark::kMillisecond);

void BM_CursorStepOnly(benchmark::State& state)
{
    TMereni& m = TenCharts();
    m.SetViewToFull();
    int step = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(StepActiveCursor(m, (step++ % 2) ? -1 : 1));
}
BENCHMARK(BM_CursorStepOnly)->Unit(benchmark::kMicrosecond);

// A started viewer, about 1600 x 900 of plot, holding the ten charts.
struct Viewer {
    std::unique_ptr<TFrm_main_Lumidrax32> w;
    Viewer()
    {
        w = bench::StartViewer();
        for (int i = 0; i < kMaxShown; ++i) {
            TJednoMereni c = Generated(i);
            c.IsNew = true;
            w->Charts().AppendRecord(std::move(c));
        }
        w->Charts().ComputeFullRange(true);
        w->Charts().SetViewToFull();
        emit w->Notifier().chartsAdded();
        w->Charts().ActiveCursor = 5000;
        QApplication::processEvents();
    }
    PlotWidget* Plot() const { return w->ChartsPage().View()->Plot(); }
    QWidget* Target() const { return w->ChartsPage().ChartList(); }
    void Press(Qt::Key key, bool repeat = false)
    {
        QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier, QString(), repeat);
        QApplication::sendEvent(Target(), &e);
    }
};

void BM_CursorStepKey(benchmark::State& state)
{
    Viewer v;
    const int paints = v.Plot()->CacheRepaints();
    int step = 0;
    for (auto _ : state) {
        v.Press((step++ % 2) ? Qt::Key_Left : Qt::Key_Right);
        QApplication::processEvents();
    }
    state.counters["plot_width"] = v.Plot()->width();
    state.counters["plot_height"] = v.Plot()->height();
    if (v.Plot()->CacheRepaints() != paints)
        state.SkipWithError("a cursor step painted the curves again");
}
BENCHMARK(BM_CursorStepKey)->Unit(benchmark::kMicrosecond);

void BM_CursorStepKeyHandlingOnly(benchmark::State& state)
{
    Viewer v;
    int step = 0;
    for (auto _ : state) {
        v.Press((step++ % 2) ? Qt::Key_Left : Qt::Key_Right);
        state.PauseTiming();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CursorStepKeyHandlingOnly)->Unit(benchmark::kMicrosecond);

// For comparison: a mouse move over the plot of the same running window
// (the cursor follows the mouse; read-outs, list row, cursor strips).
void BM_MouseMoveInWindow(benchmark::State& state)
{
    Viewer v;
    int step = 0;
    int changes = 0;
    int active = v.w->Charts().ActiveIndex;
    for (auto _ : state) {
        const QPoint p(400 + (step++ % 2) * 3, 300);
        QMouseEvent e(QEvent::MouseMove, p, v.Plot()->mapToGlobal(p), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(v.Plot(), &e);
        QApplication::processEvents();
        const int now = v.w->Charts().ActiveIndex;
        changes += now != active;
        active = now;
    }
    // How often the move made another chart the active one (the read-outs
    // and the list follow it).
    state.counters["active_changes"] = benchmark::Counter(changes, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_MouseMoveInWindow)->Unit(benchmark::kMicrosecond);

// The cursor step without the window system: the step, then the plot
// painting the strips the cursor left and entered into an image (as its
// paint event does into the window's backing store).
void BM_CursorStepPaintOnly(benchmark::State& state)
{
    DrawnPlot drawn;
    auto& [m, plot, screen] = drawn;
    const int paints = plot.CacheRepaints();
    int step = 0;
    for (auto _ : state) {
        const QRegion before = plot.CursorRegion();
        if (StepActiveCursor(m, (step++ % 2) ? -1 : 1).ViewChanged)
            state.SkipWithError("the view moved");
        plot.render(&screen, QPoint(), before | plot.CursorRegion(), QWidget::DrawChildren);
        benchmark::DoNotOptimize(screen.constBits());
    }
    if (plot.CacheRepaints() != paints)
        state.SkipWithError("a cursor step painted the curves again");
}
BENCHMARK(BM_CursorStepPaintOnly)->Unit(benchmark::kMicrosecond);

// Watches the plot's paints.
class PaintWatch : public QObject {
  public:
    QElapsedTimer clock;
    qint64 pressedAt = -1;
    qint64 maxDelay = 0;
    int missed = 0;
    int presses = 0;

    void Pressed()
    {
        if (pressedAt >= 0)
            ++missed; // the last press has no frame yet
        pressedAt = clock.nsecsElapsed();
        ++presses;
    }

  protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint && pressedAt >= 0) {
            maxDelay = std::max(maxDelay, clock.nsecsElapsed() - pressedAt);
            pressedAt = -1;
        }
        return false;
    }
};

void BM_KeyAutoRepeat(benchmark::State& state)
{
    Viewer v;
    for (auto _ : state) {
        PaintWatch watch;
        v.Plot()->installEventFilter(&watch);
        watch.clock.start();
        QTimer repeat;
        repeat.setInterval(1000 / 30);
        int sent = 0;
        QEventLoop loop;
        QObject::connect(&repeat, &QTimer::timeout, [&] {
            if (sent == 60) {
                loop.quit();
                return;
            }
            watch.Pressed();
            v.Press(Qt::Key_Right, sent++ > 0);
        });
        repeat.start();
        loop.exec();
        QApplication::processEvents();
        v.Plot()->removeEventFilter(&watch);
        state.counters["presses"] = watch.presses;
        state.counters["frames_missed"] = watch.missed + (watch.pressedAt >= 0 ? 1 : 0);
        state.counters["max_key_to_frame_ms"] = watch.maxDelay / 1e6;
    }
}
BENCHMARK(BM_KeyAutoRepeat)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return lumidrax::bench::RunWithQt(argc, argv);
}
